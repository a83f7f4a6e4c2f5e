// Any bytes as an hourly import file, parsed: a file is taken whole or refused whole. A
// file taken gives every hour four numbers the table can hold, none carrying a separator
// or a line break; a file refused says why, in text a message box can show.
#include "io/HourlyImport.h"
#include "io/TextCodec.h"
#include "model/Numbers.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace halvern;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = DecodeFileText(bytes);
    const THourlyImport hours = ParseHourlyImport(text);

    Check(hours.Separator == ',' || hours.Separator == ';' || hours.Separator == '\t');
    Check(hours.HeaderLines >= 0);
    if (hours.Ok()) {
        for (const auto& fields : hours.Fields)
            for (const std::string& field : fields) {
                Check(ParseNumber(field).has_value());
                Check(field.find(hours.Separator) == std::string::npos);
                Check(field.find('\n') == std::string::npos && field.find('\r') == std::string::npos);
            }
    }

    const std::string refusal = ImportRefusal(hours, "fuzz.txt");
    Check(refusal.empty() == hours.Ok());
    Check(IsValidUtf8(refusal) && IsValidUtf8(ImportLayoutText(hours)));
    // A refusal shows no control character from the file (a message box would act on none,
    // a terminal on many); only its own line breaks.
    for (const char c : refusal)
        Check(c == '\n' || static_cast<unsigned char>(c) >= 0x20);
    return 0;
}
