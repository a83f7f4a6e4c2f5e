// The hourly import: a logger's or spreadsheet's comma-delimited text put into the hourly
// table, one line per hour with inflow, inlet, AZP and critical point pressure, each field
// ended by a comma. Cells are stored as they stand; nothing is calculated.
#pragma once
#include "model/Project.h"
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace halvern {

class TMainForm;

// The comma-terminated fields of each hour's line (at most four are kept); an empty line
// is an hour without fields. Lines after the 24th are not kept.
struct THourlyImport {
    std::array<std::vector<std::string>, HoursPerDay> Fields{};
};

// Splits the decoded text of an import file.
THourlyImport ParseHourlyImport(std::string_view text);

// Puts parsed hours into FlowGrid: columns 1 to 5 of every hour row become "0", then each
// hour's fields go to the selected unit's columns (m³/hr: 1, 3, 4, 5; l/s: 2, 3, 4, 5), and
// the derived inflow column is refreshed.
void ApplyHourlyImport(TMainForm& form, const THourlyImport& hours);

// The import after the open dialog. A file that cannot be read shows the system's message
// and changes nothing. False in that case.
bool ImportHourlyFile(TMainForm& form, const std::string& fileName);

} // namespace halvern
