// The number rule of the fields that hold one number (the numeric edits, the hourly
// table's cells, the N1 window's measurements): what a typed key or a pasted text may do
// to the text, so that a letter never sits in a field and is counted as 0.
#pragma once
#include <string>

namespace halvern {

// Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+Z as they arrive as characters: commands to the
// field (select, copy, paste, cut, undo), not characters for its text.
bool IsEditingKey(char key);

// The key filter: Backspace and the editing keys always pass; any other key passes when the
// text with the key appended still reads as a number (or the start of one, as "." does).
bool NumberKeyAccepted(const std::string& text, char key);

// Any change of the text by other means than a typed key (a paste, a cut, an undo, a drop):
// accepted when the new text reads as a number or is empty, or when it only takes
// characters out of the old text (as Backspace may, whatever is left).
bool NumberChangeAccepted(const std::string& before, const std::string& after);

// A time of day being typed: empty, or the start of "hh:mm" or "hh:mm:ss" (one-digit hours
// too) with hours below 24 and minutes and seconds below 60.
bool TimeTextAccepted(const std::string& text);
// The key filter and the change rule of a time cell, as those of a number cell.
bool TimeKeyAccepted(const std::string& text, char key);
bool TimeChangeAccepted(const std::string& before, const std::string& after);

} // namespace halvern
