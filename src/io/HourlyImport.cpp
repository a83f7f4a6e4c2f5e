// The hourly import format: a decoded file split into the fields of each hour.
#include "io/HourlyImport.h"

#include "io/TextCodec.h"

namespace halvern {

THourlyImport ParseHourlyImport(std::string_view text) {
    THourlyImport result;
    const std::vector<std::string> lines = SplitLines(text);
    for (std::size_t n = 0; n < lines.size() && n < static_cast<std::size_t>(HoursPerDay); ++n) {
        std::vector<std::string>& fields = result.Fields[n];
        // Only text followed by a comma is a field; what follows the last comma is dropped.
        std::size_t start = 0;
        const std::string& line = lines[n];
        for (std::size_t comma = line.find(','); comma != std::string::npos && fields.size() < THourlyImport::FieldsUsed;
             comma = line.find(',', start)) {
            fields.push_back(line.substr(start, comma - start));
            start = comma + 1;
        }
    }
    return result;
}

} // namespace halvern
