// No table or label ever shows "INF" or "NAN": a project whose values overflow the
// calculation stops it with the floating-point error instead.
#include "forms/MainForm.h"
#include "forms/ProjectDocument.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace halvern;

namespace {

std::string DemoWithLine(int lineNumber, const std::string& text) {
    std::ifstream in(std::string(HALVERN_TEST_DATA) + "/../../examples/demo-zone.pru", std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    std::vector<std::string> lines;
    const std::string content = all.str();
    for (size_t start = 0, end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(content.substr(start, end - start));
    lines.at(static_cast<size_t>(lineNumber - 1)) = text;
    const std::string path = testing::TempDir() + "/overflow-" + std::to_string(lineNumber) + ".pru";
    std::ofstream out(path, std::ios::binary);
    for (const auto& l : lines)
        out << l << "\r\n";
    return path;
}

bool ShowsNonFinite(TMainForm& form) {
    for (TMarkStringGrid* grid : form.Controls.All<TMarkStringGrid>())
        for (int r = 0; r < grid->RowCount(); ++r)
            for (int c = 0; c < grid->ColCount(); ++c) {
                const std::string& t = grid->Cell(c, r);
                if (t.find("INF") != std::string::npos || t.find("NAN") != std::string::npos) return true;
            }
    for (TLabel* label : form.Controls.All<TLabel>())
        if (label->Caption.find("INF") != std::string::npos ||
            label->Caption.find("NAN") != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(NonFiniteTest, HugeNightUseRatesStopWithAnOverflowInsteadOfShowingInfinity) {
    // Lines 29 and 31 to 35: connection and property losses, cistern, active population,
    // non-residential and exceptional night use.
    for (int lineNumber : {29, 31, 32, 33, 34, 35}) {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs);
        form.FormShow();
        const std::string path = DemoWithLine(lineNumber, "1e300");
        form.Dispatch([&] { ReadProjectFile(form, path); });
        EXPECT_FALSE(ShowsNonFinite(form)) << "line " << lineNumber;
        bool overflow = false;
        for (const auto& m : dialogs.Messages)
            overflow = overflow || m.Text == "Floating point overflow";
        EXPECT_TRUE(overflow) << "line " << lineNumber;
        std::remove(path.c_str());
    }
}
