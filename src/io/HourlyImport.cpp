// The hourly import format: a decoded file split into the fields of each hour, and checked.
#include "io/HourlyImport.h"

#include "io/TextCodec.h"
#include "model/Messages.h"
#include "model/Numbers.h"

#include <algorithm>
#include <vector>

namespace halvern {
namespace {

constexpr const char* kFieldNames[THourlyImport::FieldsUsed] = {"inflow", "inlet pressure", "AZP pressure",
                                                                "critical point pressure"};

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// The separator most lines are split by: a tab or a semicolon when at least half the lines
// hold one (a file with decimal commas then also holds commas), else the comma. The lines
// are looked at where they stand, so a file of a million empty lines costs no copy.
char DetectSeparator(std::string_view text) {
    int filled = 0, tabs = 0, semicolons = 0;
    TLineCursor lines(text);
    std::string_view line;
    while (lines.NextRaw(line)) {
        if (line.find_first_not_of(" \t\r") == std::string_view::npos) continue;
        ++filled;
        tabs += line.find('\t') != std::string_view::npos;
        semicolons += line.find(';') != std::string_view::npos;
    }
    if (filled > 0 && 2 * tabs >= filled) return '\t';
    if (filled > 0 && 2 * semicolons >= filled) return ';';
    return ',';
}

// The fields of a line. A separator ends a field; the text after the last separator is a
// field too unless it is blank, so lines with and without a final separator read alike.
std::vector<std::string> SplitFields(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t at = line.find(separator); at != std::string::npos; at = line.find(separator, start)) {
        fields.push_back(line.substr(start, at - start));
        start = at + 1;
    }
    const std::string_view rest = std::string_view(line).substr(start);
    // "30.000, " ends with a separator and a blank: the blank is no fifth field.
    if (!IsBlank(rest)) fields.emplace_back(rest);
    return fields;
}

std::string LineText(std::size_t index) {
    return Msg::FileLine(index + 1);
}

} // namespace

THourlyImport ParseHourlyImport(std::string_view text) {
    THourlyImport result;
    result.Separator = DetectSeparator(text);
    const bool commaMayBeDecimal = result.Separator != ',';

    int hours = 0;
    std::size_t firstBlankInData = 0; // 1-based: a blank line met after the data began
    TLineCursor cursor(text);
    std::string line;
    for (std::size_t n = 0; cursor.Next(line); ++n) {
        if (IsBlank(line)) {
            if (hours > 0 && firstBlankInData == 0) firstBlankInData = n + 1;
            continue;
        }
        std::vector<std::string> fields = SplitFields(line, result.Separator);
        bool commaInNumbers = false;
        if (commaMayBeDecimal)
            for (std::string& field : fields)
                if (field.find(',') != std::string::npos) {
                    std::replace(field.begin(), field.end(), ',', '.');
                    commaInNumbers = true;
                }
        const bool anyNumber = std::any_of(fields.begin(), fields.end(),
                                           [](const std::string& f) { return ParseNumber(f).has_value(); });
        // Words before the first hour are a heading (the columns' names, a title).
        if (hours == 0 && !anyNumber) {
            ++result.HeaderLines;
            continue;
        }
        if (firstBlankInData != 0) {
            // A gap among the hours would move every later hour to the wrong time.
            result.Refusal = Msg::ImportLineEmpty(LineText(firstBlankInData - 1));
            return result;
        }
        if (hours == HoursPerDay) {
            result.Refusal = Msg::ImportLine25thHour(LineText(n));
            return result;
        }
        if (fields.size() < THourlyImport::FieldsUsed) {
            result.Refusal = Msg::ImportLineFieldsMissing(LineText(n), fields.size());
            return result;
        }
        if (fields.size() > THourlyImport::FieldsUsed) result.ExtraFields = true;
        if (commaInNumbers) result.DecimalComma = true;
        for (std::size_t f = 0; f < THourlyImport::FieldsUsed; ++f) {
            if (!ParseNumber(fields[f])) {
                // The text as the file has it, decimal comma and all.
                const std::vector<std::string> asWritten = SplitFields(line, result.Separator);
                result.Refusal = Msg::ImportFieldNotANumber(LineText(n), f + 1, kFieldNames[f],
                                                            QuotedForMessage(asWritten[f]));
                return result;
            }
            result.Fields[static_cast<std::size_t>(hours)][f] = fields[f];
        }
        ++hours;
    }
    if (hours == 0)
        result.Refusal = Msg::ImportNoHours;
    else if (hours < HoursPerDay)
        result.Refusal = Msg::ImportTooFewHours(hours);
    return result;
}

std::string ImportRefusal(const THourlyImport& hours, const std::string& fileName) {
    if (hours.Ok()) return {};
    return Msg::CannotImport(fileName, ImportLayoutText(hours), hours.Refusal);
}

std::string ImportLayoutText(const THourlyImport& hours) {
    std::string text = hours.Separator == '\t'  ? "tab-separated"
                       : hours.Separator == ';' ? "semicolon-separated"
                                                : "comma-separated";
    text += hours.DecimalComma ? ", decimal comma" : ", decimal point";
    if (hours.HeaderLines > 0)
        text += ", " + std::to_string(hours.HeaderLines) + " header line" +
                (hours.HeaderLines == 1 ? "" : "s") + " skipped";
    if (hours.ExtraFields) text += ", fields after the fourth not used";
    return text;
}

} // namespace halvern
