// The hourly import: a day of hourly measurements from a spreadsheet or a logger's daily
// export put into the hourly table, one line per hour with inflow, inlet, AZP and critical
// point pressure. Fields are separated by commas (decimal point), or by semicolons or tabs
// (decimal point or comma); a line may end with a separator or not. An import is all or
// nothing: the whole file is checked before a cell changes, and a file that does not give
// each of the 24 hours its four numbers is refused with the line and the reason.
#pragma once
#include "model/Project.h"
#include <array>
#include <string>
#include <string_view>

namespace halvern {

struct THourlyImport {
    // Inflow, inlet, AZP and critical point pressure.
    static constexpr std::size_t FieldsUsed = 4;
    // Each hour's four texts as they go into the table: as the file has them, a decimal
    // comma turned into the program's point.
    std::array<std::array<std::string, FieldsUsed>, HoursPerDay> Fields;
    char Separator = ',';      // ',', ';' or '\t'
    bool DecimalComma = false; // the numbers were written with a decimal comma
    int HeaderLines = 0;       // lines of words before the data, skipped
    bool ExtraFields = false;  // some line has more than four fields, which are not used
    // Why the file is refused (empty when it may be imported), naming the line.
    std::string Refusal;
    bool Ok() const { return Refusal.empty(); }
};

// Reads the decoded text of an import file: the separator and decimal mark are found from
// the lines themselves, then every hour is checked by the number rule of the input
// collection, so that nothing imported is refused later.
THourlyImport ParseHourlyImport(std::string_view text);

// Why the file must not be imported, with the file's name, or empty when it may be.
std::string ImportRefusal(const THourlyImport& hours, const std::string& fileName);

// How the file was read: "semicolon-separated, decimal comma, 1 header line skipped".
std::string ImportLayoutText(const THourlyImport& hours);

} // namespace halvern
