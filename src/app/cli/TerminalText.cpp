// Texts from projects and messages made safe for a terminal.
#include "Views.h"

#include <cstdio>

namespace halvern::cli {
namespace {

// The length of the UTF-8 sequence that starts at pos, or 0 when the bytes there are not one.
std::size_t SequenceLength(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(pos);
    const std::size_t length = lead < 0x80             ? 1
                               : (lead & 0xE0) == 0xC0 ? 2
                               : (lead & 0xF0) == 0xE0 ? 3
                               : (lead & 0xF8) == 0xF0 ? 4
                                                       : 0;
    if (length == 0 || pos + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(pos + i) & 0xC0) != 0x80) return 0;
    // Overlong forms could hide a control character; they are not UTF-8.
    if (length == 2 && lead < 0xC2) return 0;
    if (length == 3 && lead == 0xE0 && byte(pos + 1) < 0xA0) return 0;
    if (length == 4 && (lead > 0xF4 || (lead == 0xF0 && byte(pos + 1) < 0x90))) return 0;
    return length;
}

// The invisible marks that reorder text on the screen (U+202E turns "gpj.exe" into
// "exe.jpg"): the bidirectional embeddings, overrides, isolates and marks.
bool IsBidiControl(unsigned codePoint) {
    return codePoint == 0x061C || codePoint == 0x200E || codePoint == 0x200F ||
           (codePoint >= 0x202A && codePoint <= 0x202E) || (codePoint >= 0x2066 && codePoint <= 0x2069);
}

// The code point of a three-byte sequence.
unsigned CodePoint3(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    return ((byte(0) & 0x0Fu) << 12) | ((byte(1) & 0x3Fu) << 6) | (byte(2) & 0x3Fu);
}

std::string Escape(const char* format, unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

} // namespace

std::string TerminalText(std::string_view text, bool keepLineFeeds) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto c = static_cast<unsigned char>(text[pos]);
        const std::size_t length = SequenceLength(text, pos);
        if (length == 0) {
            out += Escape("\\x%02x", c); // a byte that is not UTF-8
            ++pos;
        } else if (c == '\n' && keepLineFeeds) {
            out += '\n';
            ++pos;
        } else if (c < 0x20 || c == 0x7F) {
            out += Escape("\\x%02x", c);
            ++pos;
        } else if (c == 0xC2 && static_cast<unsigned char>(text[pos + 1]) < 0xA0) {
            out += Escape("\\u%04x", static_cast<unsigned char>(text[pos + 1])); // a C1 control
            pos += 2;
        } else if (length == 3 && IsBidiControl(CodePoint3(text, pos))) {
            out += Escape("\\u%04x", CodePoint3(text, pos));
            pos += 3;
        } else {
            out.append(text.substr(pos, length));
            pos += length;
        }
    }
    return out;
}

} // namespace halvern::cli
