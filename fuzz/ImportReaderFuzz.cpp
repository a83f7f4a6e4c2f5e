// Any bytes as an hourly import file, parsed: the fields are what the file holds between its
// commas, the counts agree with them, and a file is refused exactly when it holds no hour or
// a field that is not a number.
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

    int withData = 0, complete = 0, firstBad = 0;
    for (std::size_t h = 0; h < hours.Fields.size(); ++h) {
        const auto& fields = hours.Fields[h];
        Check(fields.size() <= THourlyImport::FieldsUsed);
        withData += fields.empty() ? 0 : 1;
        complete += fields.size() == THourlyImport::FieldsUsed ? 1 : 0;
        for (std::size_t f = 0; f < fields.size(); ++f) {
            Check(fields[f].find(',') == std::string::npos);
            Check(fields[f].find('\n') == std::string::npos && fields[f].find('\r') == std::string::npos);
            if (firstBad == 0 && !ParseNumber(fields[f])) {
                firstBad = static_cast<int>(h) + 1;
                Check(hours.BadField == static_cast<int>(f) + 1 && hours.BadText == fields[f]);
            }
        }
    }
    Check(hours.HoursWithData == withData && hours.CompleteHours == complete && hours.BadLine == firstBad);

    const std::string refusal = ImportRefusal(hours, "fuzz.txt");
    Check(refusal.empty() == (withData > 0 && firstBad == 0));
    Check(IsValidUtf8(refusal) && IsValidUtf8(ImportShortfall(hours, "fuzz.txt")));
    // A refusal shows no control character from the file (a message box would act on none,
    // a terminal on many); only its own line breaks.
    for (const char c : refusal)
        Check(c == '\n' || static_cast<unsigned char>(c) >= 0x20);
    return 0;
}
