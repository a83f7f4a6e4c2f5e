// Any bytes through the code page rules: what is read is UTF-8, what is written reads back as
// it was, lines are split alike one at a time and all at once, and a text quoted in a message
// carries no control character.
#include "io/TextCodec.h"

#include <cstdint>
#include <cstdlib>
#include <string>
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
    Check(IsValidUtf8(text));
    Check(DecodeFileText(EncodeFileText(text)) == text);
    if (IsValidUtf8(bytes)) Check(DecodeFileText(EncodeFileText(bytes)) == bytes);

    // One line at a time gives the same lines as all at once, and rebuilds the text but for
    // its carriage returns.
    const auto lines = SplitLines(bytes);
    TLineCursor cursor(bytes);
    std::string line, joined;
    std::size_t count = 0;
    while (cursor.Next(line)) {
        Check(count < lines.size() && line == lines[count]);
        Check(line.find('\n') == std::string::npos && line.find('\r') == std::string::npos);
        joined += line + '\n';
        ++count;
    }
    Check(count == lines.size() && cursor.LinesTaken() == count);
    // Text after the last line feed, even a lone carriage return, is one more line.
    const auto withoutReturns = [](std::string_view part) {
        std::string out;
        for (const char c : part)
            if (c != '\r') out += c;
        return out;
    };
    const std::size_t lastFeed = bytes.rfind('\n');
    const std::size_t tailStart = lastFeed == std::string_view::npos ? 0 : lastFeed + 1;
    std::string expected = withoutReturns(bytes.substr(0, tailStart));
    if (tailStart < bytes.size()) expected += withoutReturns(bytes.substr(tailStart)) + '\n';
    Check(joined == expected);

    const std::string quoted = QuotedForMessage(text);
    Check(IsValidUtf8(quoted));
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        const auto c = static_cast<unsigned char>(quoted[i]);
        Check(c >= 0x20 && c != 0x7F);
        if (c == 0xC2 && i + 1 < quoted.size())
            Check(static_cast<unsigned char>(quoted[i + 1]) >= 0xA0); // no C1
    }
    return 0;
}
