// The code page rules of project and import files: Windows-1252 or UTF-8 on disk, UTF-8
// in the program.
#include "io/TextCodec.h"

#include <array>
#include <cstdint>
#include <optional>

namespace halvern {
namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252; the rest of the upper half is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Decodes one UTF-8 character at pos, advancing pos; nullopt for a malformed sequence.
std::optional<char32_t> NextCodePoint(std::string_view bytes, std::size_t& pos) {
    const auto byte = [&bytes](std::size_t i) { return static_cast<uint8_t>(bytes[i]); };
    const uint8_t lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + static_cast<std::size_t>(length) > bytes.size()) return std::nullopt;
    for (int i = 1; i < length; ++i) {
        const uint8_t next = byte(pos + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    pos += static_cast<std::size_t>(length);
    return cp;
}

// The Windows-1252 byte of a code point, if it has one.
std::optional<uint8_t> Windows1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<uint8_t>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp) return static_cast<uint8_t>(0x80 + i);
    return std::nullopt;
}

} // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size())
        if (!NextCodePoint(bytes, pos)) return false;
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        if (b < 0x80)
            out += c;
        else if (b < 0xA0)
            AppendUtf8(out, kHighControls[b - 0x80]);
        else
            AppendUtf8(out, b);
    }
    return out;
}

std::string DecodeFileText(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) bytes.remove_prefix(kByteOrderMark.size());
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return Windows1252ToUtf8(bytes);
}

std::string EncodeFileText(std::string_view utf8) {
    // A text that is not UTF-8 did not come from us; write its bytes as they are.
    if (!IsValidUtf8(utf8)) return std::string(utf8);
    std::string narrow;
    narrow.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto cp = NextCodePoint(utf8, pos);
        const auto b = Windows1252Byte(*cp);
        if (!b) return std::string(kByteOrderMark) + std::string(utf8);
        narrow += static_cast<char>(*b);
    }
    // A few sequences of Windows-1252 characters ("Ã©") happen to spell valid UTF-8 ("é")
    // and would read back as something else; such a text is kept safe in UTF-8.
    // So does a text whose Windows-1252 bytes begin as the byte-order mark would ("ï»¿"):
    // the reader would skip them.
    const bool pureAscii = narrow.size() == utf8.size();
    const bool looksMarked = narrow.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (!pureAscii && (IsValidUtf8(narrow) || looksMarked))
        return std::string(kByteOrderMark) + std::string(utf8);
    return narrow;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    TLineCursor cursor(text);
    for (std::string line; cursor.Next(line);)
        lines.push_back(line);
    return lines;
}

bool TLineCursor::NextRaw(std::string_view& line) {
    // Characters (or a dropped carriage return) after the last line feed make a last line.
    if (pos_ >= text_.size()) return false;
    const std::size_t feed = text_.find('\n', pos_);
    const std::size_t end = feed == std::string_view::npos ? text_.size() : feed;
    line = text_.substr(pos_, end - pos_);
    pos_ = feed == std::string_view::npos ? text_.size() : feed + 1;
    ++taken_;
    return true;
}

void TLineCursor::DropReturns(std::string_view raw, std::string& line) {
    line.clear();
    for (const char c : raw)
        if (c != '\r') line += c;
}

bool TLineCursor::Next(std::string& line) {
    std::string_view raw;
    if (!NextRaw(raw)) return false;
    DropReturns(raw, line);
    return true;
}

std::string QuotedForMessage(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::string out = "\"";
    std::size_t characters = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (characters == kShown) {
            out += "...";
            break;
        }
        const std::size_t start = pos;
        const auto cp = NextCodePoint(text, pos);
        if (!cp) {
            ++pos; // not from a decoded file; shown as a control character would be
            out += '?';
        } else if (*cp < 0x20 || *cp == 0x7F || (*cp >= 0x80 && *cp < 0xA0)) {
            out += '?';
        } else {
            out.append(text.substr(start, pos - start));
        }
        ++characters;
    }
    return out + "\"";
}

} // namespace halvern
