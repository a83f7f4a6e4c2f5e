// The hourly import format: a decoded file split into the fields of each hour, and checked.
#include "io/HourlyImport.h"

#include "io/TextCodec.h"
#include "model/Numbers.h"

namespace halvern {
namespace {

constexpr const char* kFieldNames[THourlyImport::FieldsUsed] = {"inflow", "inlet pressure", "AZP pressure",
                                                                "critical point pressure"};
constexpr const char* kTableKept = "\nThe hourly table was left as it was.";

} // namespace

THourlyImport ParseHourlyImport(std::string_view text) {
    THourlyImport result;
    TLineCursor lines(text);
    std::string line;
    for (int n = 0; n < HoursPerDay && lines.Next(line); ++n) {
        std::vector<std::string>& fields = result.Fields[static_cast<std::size_t>(n)];
        // Only text followed by a comma is a field; what follows the last comma is dropped.
        std::size_t start = 0;
        for (std::size_t comma = line.find(',');
             comma != std::string::npos && fields.size() < THourlyImport::FieldsUsed;
             comma = line.find(',', start)) {
            fields.push_back(line.substr(start, comma - start));
            start = comma + 1;
        }
        if (fields.empty()) continue;
        ++result.HoursWithData;
        if (fields.size() == THourlyImport::FieldsUsed)
            ++result.CompleteHours;
        else if (result.FirstIncompleteLine == 0)
            result.FirstIncompleteLine = n + 1;
        for (std::size_t f = 0; f < fields.size() && result.BadLine == 0; ++f)
            if (!ParseNumber(fields[f])) {
                result.BadLine = n + 1;
                result.BadField = static_cast<int>(f) + 1;
                result.BadText = fields[f];
            }
    }
    return result;
}

std::string ImportRefusal(const THourlyImport& hours, const std::string& fileName) {
    if (hours.HoursWithData == 0)
        return fileName + " holds no hourly data: no line has a field ended by a comma." + kTableKept;
    if (hours.BadLine > 0)
        return "Line " + std::to_string(hours.BadLine) + ", field " + std::to_string(hours.BadField) + " (" +
               kFieldNames[hours.BadField - 1] + ") of " + fileName +
               " is not a number: " + QuotedForMessage(hours.BadText) + "." + kTableKept;
    return {};
}

std::string ImportShortfall(const THourlyImport& hours, const std::string& fileName) {
    if (hours.CompleteHours == HoursPerDay) return {};
    std::string text = "Complete hourly data was imported for " + std::to_string(hours.CompleteHours) +
                       " of the 24 hours; the values missing from " + fileName + " were set to 0.";
    if (hours.FirstIncompleteLine > 0)
        text += "\nLine " + std::to_string(hours.FirstIncompleteLine) +
                " has fewer than four fields; each field, the last included, ends with a comma.";
    return text;
}

} // namespace halvern
