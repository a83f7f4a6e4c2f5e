// Every text a box shows comes from the message table (model/Messages.h): a string literal
// handed to a box of TDialogs, or a Qt message box opened past it, fails here with its place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The source with its comments blanked out (line breaks kept, so lines still count); string
// and character literals stay as they are.
std::string WithoutComments(const std::string& text) {
    std::string out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        if (c == '"' || c == '\'') {
            for (++i; i < out.size() && out[i] != c; ++i)
                if (out[i] == '\\') ++i;
        } else if (c == '/' && i + 1 < out.size() && out[i + 1] == '/') {
            for (; i < out.size() && out[i] != '\n'; ++i)
                out[i] = ' ';
        } else if (c == '/' && i + 1 < out.size() && out[i + 1] == '*') {
            const std::size_t end = out.find("*/", i + 2);
            const std::size_t stop = end == std::string::npos ? out.size() : end + 2;
            for (; i < stop; ++i)
                if (out[i] != '\n') out[i] = ' ';
            --i;
        }
    }
    return out;
}

// The argument text of the call whose "(" is at `open`, up to its closing bracket.
std::string ArgumentOf(const std::string& code, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"' || c == '\'') {
            for (++i; i < code.size() && code[i] != c; ++i)
                if (code[i] == '\\') ++i;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            return code.substr(open + 1, i - open - 1);
        }
    }
    return code.substr(open + 1);
}

bool HoldsStringLiteral(const std::string& argument) {
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] == '"') return true;
        if (argument[i] == '\'') {
            for (++i; i < argument.size() && argument[i] != '\''; ++i)
                if (argument[i] == '\\') ++i;
        }
    }
    return false;
}

int LineAt(const std::string& code, std::size_t pos) {
    return 1 +
           static_cast<int>(std::count(code.begin(), code.begin() + static_cast<std::ptrdiff_t>(pos), '\n'));
}

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Where `word` stands on its own in `code` with only blanks between it and `before` (".",
// "->" or "::") and between it and "(": the positions of those brackets.
std::vector<std::size_t> CallsOf(const std::string& code, const std::string& before,
                                 const std::string& word) {
    std::vector<std::size_t> opens;
    for (std::size_t at = code.find(word); at != std::string::npos; at = code.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if ((at > 0 && IsWordChar(code[at - 1])) || (end < code.size() && IsWordChar(code[end]))) continue;
        std::size_t left = at;
        while (left > 0 && std::isspace(static_cast<unsigned char>(code[left - 1])))
            --left;
        if (left < before.size() || code.compare(left - before.size(), before.size(), before) != 0) continue;
        std::size_t open = end;
        while (open < code.size() && std::isspace(static_cast<unsigned char>(code[open])))
            ++open;
        if (open < code.size() && code[open] == '(') opens.push_back(open);
    }
    return opens;
}

// The lines of `source` that hand a box a text of their own, or open a Qt box past TDialogs.
std::vector<int> BoxTextsNotFromTable(const std::string& source) {
    const std::string code = WithoutComments(source);
    std::vector<std::size_t> places;
    for (const char* box : {"Error", "WarningOKIgnore", "ConfirmOKCancel", "Message", "AskSaveChanges"})
        for (const char* member : {".", "->"})
            for (const std::size_t open : CallsOf(code, member, box))
                if (HoldsStringLiteral(ArgumentOf(code, open))) places.push_back(open);
    for (const char* box : {"critical", "warning", "information", "question", "about"})
        for (const std::size_t open : CallsOf(code, "QMessageBox::", box))
            places.push_back(open);
    std::sort(places.begin(), places.end());
    std::vector<int> lines;
    for (const std::size_t place : places)
        lines.push_back(LineAt(code, place));
    return lines;
}

TEST(MessageTable, TheScanFindsATextHandedToABoxAndNothingElse) {
    struct Case {
        const char* source;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"dialogs.Error(\"Cannot paste\");", {1}},
        {"form_.Dialogs.Message(\"The report was written to \" + fileName);", {1}},
        {"Dialogs->ConfirmOKCancel(std::string(Msg::OkToExit) + \"?\");", {1}},
        {"x();\nform.Dialogs.WarningOKIgnore(\n    Msg::FileEndedEarly(name, 3) +\n    \"\\n\");", {2}},
        {"if (form.Dialogs.AskSaveChanges(\"Save?\") == TSaveChoice::Save) {}", {1}},
        {"QMessageBox::warning(this, \"Halvern\", text);", {1}},
        // From the table, in comments, and what only looks like a box.
        {"Dialogs.Error(Msg::CellInvalid(Msg::InletPressureAtInterval, Cell(col, row)) + "
         "Msg::CannotProceed);",
         {}},
        {"// dialogs.Error(\"an old text\");\n/* Dialogs.Message(\"another\"); */", {}},
        {"dialogs.Error(Msg::CannotPaste(std::string(1, '\"')));", {}},
        {"result.Error = \"not a box\";\nDialogs.Error(text);", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BoxTextsNotFromTable(c.source), c.lines) << c.source;
}

TEST(MessageTable, EveryBoxTextOfTheProgramComesFromTheTable) {
    const fs::path root = fs::path(HALVERN_SOURCE_DIR) / "src";
    ASSERT_TRUE(fs::is_directory(root)) << root;
    std::vector<std::string> found;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
        // The Qt boxes themselves, which show whatever text they are given.
        if (entry.path().filename() == "QtDialogs.cpp") continue;
        ++files;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        for (const int line : BoxTextsNotFromTable(text.str()))
            found.push_back(fs::relative(entry.path(), root).string() + ":" + std::to_string(line));
    }
    EXPECT_GT(files, 100); // the whole program was read
    EXPECT_TRUE(found.empty()) << "texts handed to a box that are not in model/Messages.h:\n"
                               << ::testing::PrintToString(found);
}

} // namespace
