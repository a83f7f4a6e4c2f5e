// The code page of project and import files. The program holds texts as UTF-8; files
// from Windows-era copies are Windows-1252, so both are read, and a file is written in
// Windows-1252 whenever every character fits, so those copies can still read it.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace halvern {

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// One character, U+0000 to U+10FFFF, appended as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// File bytes to the program's UTF-8: a leading UTF-8 byte-order mark is skipped; bytes
// that are valid UTF-8 are taken as they are, anything else is read as Windows-1252.
std::string DecodeFileText(std::string_view bytes);

// The program's UTF-8 to file bytes: Windows-1252 when every character has a place in it,
// otherwise UTF-8 behind a byte-order mark so that nothing is lost. A text whose Windows-1252
// bytes would read back as UTF-8 ("Ã©" as "é") is written in UTF-8 too.
std::string EncodeFileText(std::string_view utf8);

// Windows-1252 bytes to UTF-8 (the five unassigned bytes map to the control characters
// of the same number, so every byte reads back as it was written).
std::string Windows1252ToUtf8(std::string_view bytes);

// Lines of a text: a line ends at a line feed or at a carriage return followed by a line
// feed; a carriage return anywhere else is dropped. A final line without a line feed still
// counts; nothing after the last line feed makes no line.
std::vector<std::string> SplitLines(std::string_view text);

// The same lines, one at a time: a reader keeps only the line it is reading, so a file of
// millions of empty lines costs no more than its bytes.
class TLineCursor {
public:
    explicit TLineCursor(std::string_view text) : text_(text) {}
    // The next line, false at the end of the text.
    bool Next(std::string& line);
    // The same line as it stands in the text, carriage returns and all (no copy is made).
    bool NextRaw(std::string_view& line);
    // A line as it stands made the line Next gives: its carriage returns dropped.
    static void DropReturns(std::string_view raw, std::string& line);
    // How many lines have been taken so far: the number of the last one.
    std::size_t LinesTaken() const { return taken_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t taken_ = 0;
};

// A text from a file as a message shows it: in quotes, at most 40 characters, control
// characters (which a message box or a terminal would act on) as "?".
std::string QuotedForMessage(std::string_view text);

} // namespace halvern
