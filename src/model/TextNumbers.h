// How a number is read back from a text the program shows: a table cell, a label, an
// edit. Every text is read by one syntax, the point-decimal one of ParseNumber, whatever
// the user's locale; the policies below differ only in what a text without a number means.
#pragma once
#include "model/Numbers.h"
#include <optional>
#include <string>
#include <string_view>

namespace halvern {

// A result passed from one calculation to the next through its shown text: a cell or
// label not yet written (or holding no number) counts as 0.
inline double CellNumber(std::string_view text) {
    return ParseNumber(text).value_or(0.0);
}

// An input that may still be incomplete (the engineer is typing, a stage is not measured
// yet): nothing when the text holds no number.
inline std::optional<double> NumberIfAny(std::string_view text) {
    return ParseNumber(text);
}

// A cell as the table's editor leaves it, blanks either side allowed: nothing when it
// holds no number.
std::optional<double> TypedNumber(const std::string& text);

// A number the calculation cannot go on without is read by StrToFloat (Numbers.h): a text
// without one stops the calculation with "'<text>' is not a valid floating point value".

} // namespace halvern
