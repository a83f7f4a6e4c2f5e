#include "reports/FileText.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace halvern {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One character of UTF-8 text and the bytes it took; nullopt for bytes that are no UTF-8
// (a stray continuation byte, a short or overlong sequence, a surrogate, beyond U+10FFFF).
struct TDecoded {
    char32_t Code;
    std::size_t Length;
};

std::optional<TDecoded> DecodeUtf8(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return TDecoded{lead, 1};
    std::size_t length = 0;
    char32_t code = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (at + length > text.size()) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    return TDecoded{code, length};
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// "_x0041_": what a spreadsheet reads as one escaped character.
bool LooksLikeEscape(std::string_view text, std::size_t at) {
    if (at + 7 > text.size() || text[at] != '_' || (text[at + 1] != 'x' && text[at + 1] != 'X') ||
        text[at + 6] != '_')
        return false;
    for (std::size_t i = at + 2; i < at + 6; ++i)
        if (!IsHex(text[i])) return false;
    return true;
}

std::string Escape(char32_t code) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out = "_x";
    for (int shift = 12; shift >= 0; shift -= 4)
        out.push_back(kHex[(code >> shift) & 0xF]);
    return out + "_";
}

} // namespace

TFileText CellFileText(std::string_view text) {
    TFileText out;
    out.Text.reserve(text.size());
    // The spreadsheet counts what it shows in UTF-16 units; the writing library counts the
    // characters written, escapes included. Neither may pass the cell's limit.
    std::size_t shownUnits = 0;
    std::size_t written = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto decoded = DecodeUtf8(text, at);
        char32_t code = decoded ? decoded->Code : kReplacement;
        at += decoded ? decoded->Length : 1;
        std::string piece;
        bool escaped = false;
        if (!decoded || code == 0 || (code >= 0x20 && !IsXmlChar(code))) {
            code = kReplacement;
            out.Replaced = true;
            AppendUtf8(piece, code);
        } else if ((code < 0x20 && code != 0x9 && code != 0xA) ||
                   (code == '_' && LooksLikeEscape(text, at - 1))) {
            // A carriage return is escaped too: a reader of the XML would make a line feed of it.
            piece = Escape(code);
            escaped = true;
        } else {
            AppendUtf8(piece, code);
        }
        const std::size_t units = code >= 0x10000 ? 2 : 1;
        const std::size_t characters = escaped ? piece.size() : 1;
        if (shownUnits + units > kCellTextLimit || written + characters > kCellTextLimit) {
            out.Cut = true;
            break;
        }
        shownUnits += units;
        written += characters;
        out.Text += piece;
    }
    return out;
}

TFileText PlainFileText(std::string_view text) {
    TFileText out;
    out.Text.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto decoded = DecodeUtf8(text, at);
        at += decoded ? decoded->Length : 1;
        if (!decoded || !IsXmlChar(decoded->Code)) {
            out.Replaced = true;
            AppendUtf8(out.Text, kReplacement);
        } else {
            AppendUtf8(out.Text, decoded->Code);
        }
    }
    return out;
}

namespace {

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

class TXmlCheck {
public:
    explicit TXmlCheck(std::string_view xml) : x_(xml) {}

    std::string Fault() {
        for (std::size_t at = 0; at < x_.size();) {
            const auto decoded = DecodeUtf8(x_, at);
            if (!decoded) return At(at, "bytes that are no UTF-8");
            if (!IsXmlChar(decoded->Code)) return At(at, "a character XML cannot hold");
            at += decoded->Length;
        }
        while (i_ < x_.size() && fault_.empty()) {
            if (x_[i_] == '<')
                Markup();
            else if (x_[i_] == '&')
                Reference();
            else if (open_.empty() && !IsBlank(x_[i_]))
                Set("text outside the root element");
            else
                ++i_;
        }
        if (fault_.empty() && !open_.empty()) Set("<" + std::string(open_.back()) + "> is never closed");
        if (fault_.empty() && !rootSeen_) Set("no root element");
        return fault_;
    }

private:
    std::string At(std::size_t at, const std::string& what) const {
        return what + " at byte " + std::to_string(at);
    }
    void Set(const std::string& what) {
        if (fault_.empty()) fault_ = At(i_, what);
    }
    bool Starts(std::string_view s) const { return x_.substr(i_, s.size()) == s; }
    void SkipTo(std::string_view end, const char* what) {
        const std::size_t found = x_.find(end, i_);
        if (found == std::string_view::npos) return Set(what);
        i_ = found + end.size();
    }
    void SkipBlanks() {
        while (i_ < x_.size() && IsBlank(x_[i_]))
            ++i_;
    }
    std::string_view Name() {
        const std::size_t start = i_;
        if (i_ >= x_.size() || !IsNameStart(x_[i_])) return {};
        while (i_ < x_.size() && IsNameChar(x_[i_]))
            ++i_;
        return x_.substr(start, i_ - start);
    }

    // "&amp;", "&#38;", "&#x26;": nothing else is known without a document type.
    void Reference() {
        if (open_.empty()) return Set("a reference outside the root element");
        ++i_;
        const std::size_t semicolon = x_.find(';', i_);
        if (semicolon == std::string_view::npos || semicolon - i_ > 12) return Set("an unfinished reference");
        const std::string_view body = x_.substr(i_, semicolon - i_);
        i_ = semicolon + 1;
        if (body == "lt" || body == "gt" || body == "amp" || body == "quot" || body == "apos") return;
        if (body.size() >= 2 && body[0] == '#') {
            const bool hex = body[1] == 'x';
            const std::string_view digits = body.substr(hex ? 2 : 1);
            std::uint32_t code = 0;
            const auto [end, ec] =
                std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
            if (!digits.empty() && ec == std::errc() && end == digits.data() + digits.size() &&
                IsXmlChar(code))
                return;
            return Set("a character reference to a character XML cannot hold");
        }
        Set("an unknown entity");
    }

    void Markup() {
        if (Starts("<?")) return SkipTo("?>", "an unfinished processing instruction");
        if (Starts("<!--")) return SkipTo("-->", "an unfinished comment");
        if (Starts("<![CDATA[")) {
            if (open_.empty()) return Set("character data outside the root element");
            return SkipTo("]]>", "unfinished character data");
        }
        if (Starts("<!")) return Set("a document type, which a workbook part has none of");
        if (Starts("</")) {
            i_ += 2;
            const std::string_view name = Name();
            SkipBlanks();
            if (name.empty() || i_ >= x_.size() || x_[i_] != '>') return Set("a malformed end tag");
            if (open_.empty() || open_.back() != name)
                return Set("</" + std::string(name) + "> closes nothing open");
            open_.pop_back();
            ++i_;
            return;
        }
        ++i_;
        const std::string_view name = Name();
        if (name.empty()) return Set("a '<' that starts no tag");
        if (open_.empty() && rootSeen_) return Set("a second root element");
        rootSeen_ = true;
        std::vector<std::string_view> attributes;
        for (;;) {
            const std::size_t before = i_;
            SkipBlanks();
            if (i_ >= x_.size()) return Set("an unfinished tag");
            if (Starts("/>")) {
                i_ += 2;
                return;
            }
            if (x_[i_] == '>') {
                ++i_;
                open_.push_back(name);
                return;
            }
            if (i_ == before) return Set("attributes not parted by blanks");
            const std::string_view attribute = Name();
            if (attribute.empty()) return Set("a malformed attribute");
            for (const std::string_view seen : attributes)
                if (seen == attribute) return Set("an attribute given twice");
            attributes.push_back(attribute);
            SkipBlanks();
            if (i_ >= x_.size() || x_[i_] != '=') return Set("an attribute without a value");
            ++i_;
            SkipBlanks();
            if (i_ >= x_.size() || (x_[i_] != '"' && x_[i_] != '\''))
                return Set("an unquoted attribute value");
            const char quote = x_[i_++];
            while (i_ < x_.size() && x_[i_] != quote && fault_.empty()) {
                if (x_[i_] == '<') return Set("a '<' in an attribute value");
                if (x_[i_] == '&') {
                    // The reference is checked as in text; the element counts as open meanwhile.
                    open_.push_back(name);
                    Reference();
                    open_.pop_back();
                } else {
                    ++i_;
                }
            }
            if (!fault_.empty()) return;
            if (i_ >= x_.size()) return Set("an unfinished attribute value");
            ++i_;
        }
    }

    std::string_view x_;
    std::size_t i_ = 0;
    std::vector<std::string_view> open_;
    bool rootSeen_ = false;
    std::string fault_;
};

} // namespace

std::string XmlWellFormedFault(std::string_view xml) {
    return TXmlCheck(xml).Fault();
}

} // namespace halvern
