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

// The comma-terminated fields of each hour's line (at most four are kept); an empty line
// is an hour without fields. Lines after the 24th are not kept.
struct THourlyImport {
    // Inflow, inlet, AZP and critical point pressure.
    static constexpr std::size_t FieldsUsed = 4;
    std::array<std::vector<std::string>, HoursPerDay> Fields{};
};

// Splits the decoded text of an import file.
THourlyImport ParseHourlyImport(std::string_view text);

} // namespace halvern
