// Texts as the workbook file can hold them. A project's texts may hold any byte: control
// characters typed or pasted, a NUL, the non-characters U+FFFE and U+FFFF, broken UTF-8, or
// more characters than a cell holds. None of them may make a part of the file malformed,
// and none may vanish without a word: a character the file can hold only in its own escape
// is escaped, one it cannot hold at all is shown as U+FFFD, and a text too long for a cell
// is cut, each with a note the user is shown.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace halvern {

// The most characters one cell holds.
constexpr std::size_t kCellTextLimit = 32767;

// What became of one text on its way into the file.
struct TFileText {
    std::string Text;
    bool Replaced = false; // a character the file cannot hold is shown as U+FFFD
    bool Cut = false;      // the text was longer than a cell holds
};

// A cell's text: control characters other than tab, line feed and carriage return are
// written in the workbook's own escape (_x0001_), which spreadsheets read back as the
// character; an underscore that would otherwise read as the start of such an escape is
// escaped itself. NUL, U+FFFE, U+FFFF and bytes that are no UTF-8 become U+FFFD. The text is
// cut at the cell's limit.
TFileText CellFileText(std::string_view text);

// A text of a chart or a footer, where the file knows no escape: every character XML cannot
// hold becomes U+FFFD.
TFileText PlainFileText(std::string_view text);

// Whether `xml` is a well-formed XML document: UTF-8, only characters XML allows, tags that
// close in order, quoted attributes, known entities, one root. Empty when it is; else why not.
std::string XmlWellFormedFault(std::string_view xml);

} // namespace halvern
