// How the spreadsheet shows a number through a cell's number format, for the formats the
// report uses: the general format, digit patterns with thousands separators and decimals
// ("#,##0.0", "0.00"), the E notation, quoted texts and a separate section for negative
// amounts (the money format), and times of day ("hh:mm:ss AM/PM", "[$-F400]h:mm:ss AM/PM").
// The tests read the sheets through it as a user reads them.
#pragma once
#include <string>

namespace halvern {

std::string ShowNumber(double value, const std::string& numberFormat);

} // namespace halvern
