// The JSON texts of halvern-cli.
#include "Json.h"

#include "io/TextCodec.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace halvern::cli {
namespace {

// The bidirectional control that starts at i (its code point), or 0.
unsigned BidiControlAt(std::string_view utf8, std::size_t i) {
    const auto at = [&](std::size_t k) {
        return i + k < utf8.size() ? static_cast<unsigned char>(utf8[i + k]) : 0u;
    };
    if (at(0) == 0xD8 && at(1) == 0x9C) return 0x061C;
    if (at(0) != 0xE2) return 0;
    const unsigned code = 0x2000u | ((at(1) & 0x3Fu) << 6) | (at(2) & 0x3Fu);
    if (at(1) != 0x80 && at(1) != 0x81) return 0;
    const bool bidi = code == 0x200E || code == 0x200F || (code >= 0x202A && code <= 0x202E) ||
                      (code >= 0x2066 && code <= 0x2069);
    return bidi ? code : 0;
}

} // namespace

std::string JsonString(std::string_view text) {
    const std::string utf8 = IsValidUtf8(text) ? std::string(text) : Windows1252ToUtf8(text);
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        // DEL and the C1 controls (U+0080 to U+009F, "\xC2\x80" to "\xC2\x9F") are escaped
        // too: a terminal showing the output would act on them.
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0u;
        if (c == '\x7F' || (static_cast<unsigned char>(c) == 0xC2 && next >= 0x80 && next <= 0x9F)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c == '\x7F' ? 0x7Fu : next);
            out += escape;
            if (c != '\x7F') ++i;
            continue;
        }
        // The bidirectional controls (U+202E and its kind) reorder what a terminal shows;
        // escaped, they read back as the same text.
        if (const unsigned bidi = BidiControlAt(utf8, i); bidi != 0) {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\u%04x", bidi);
            out += escape;
            i += bidi == 0x061C ? 1 : 2;
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace halvern::cli
