// The hourly import: a logger's or spreadsheet's comma-delimited text put into the hourly
// table, one line per hour with inflow, inlet, AZP and critical point pressure, each field
// ended by a comma. Cells are stored as they stand; nothing is calculated. The whole file is
// checked before a cell changes: a field that is not a number, or a file without any hour,
// leaves the table as it was.
#pragma once
#include "model/Project.h"
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace halvern {

// The comma-terminated fields of each hour's line (at most four are kept); an empty line
// is an hour without fields. Lines after the 24th are not kept, nor read.
struct THourlyImport {
    // Inflow, inlet, AZP and critical point pressure.
    static constexpr std::size_t FieldsUsed = 4;
    std::array<std::vector<std::string>, HoursPerDay> Fields{};
    int HoursWithData = 0;       // hour lines with at least one field
    int CompleteHours = 0;       // hour lines with all four
    int FirstIncompleteLine = 0; // the first hour line with one to three fields (0: none)
    int BadLine = 0;             // the first field that is not a number: its line (0: none),
    int BadField = 0;            // its place on the line (1 to 4)
    std::string BadText;         // and its text
};

// Splits the decoded text of an import file and checks its fields by the number rule of the
// input collection, so that nothing imported is refused later.
THourlyImport ParseHourlyImport(std::string_view text);

// Why the file must not be imported (no hour in it, or a field that is not a number), or
// empty when it may be.
std::string ImportRefusal(const THourlyImport& hours, const std::string& fileName);

// What to say after an import that filled fewer than 24 hours completely, or empty.
std::string ImportShortfall(const THourlyImport& hours, const std::string& fileName);

} // namespace halvern
