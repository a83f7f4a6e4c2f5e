#include "reports/NumberFormat.h"
#include "model/Numbers.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

namespace halvern {

namespace {

struct TToken {
    enum class TKind { Literal, Digits, Hours, Minutes, Seconds, AmPm };
    TKind Kind = TKind::Literal;
    std::string Text; // the literal, or the digit pattern ("#,##0.00", "0.0E+00")
    int Width = 1;    // "hh" is 2
};

// One section of a format, split into literals, one digit pattern and time parts.
std::vector<TToken> Tokenise(const std::string& section) {
    std::vector<TToken> tokens;
    auto literal = [&tokens](const std::string& text) {
        if (!tokens.empty() && tokens.back().Kind == TToken::TKind::Literal)
            tokens.back().Text += text;
        else
            tokens.push_back({TToken::TKind::Literal, text});
    };
    std::size_t i = 0;
    while (i < section.size()) {
        const char c = section[i];
        if (c == '"') {
            const std::size_t end = section.find('"', i + 1);
            literal(section.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1));
            i = end == std::string::npos ? section.size() : end + 1;
        } else if (c == '\\' && i + 1 < section.size()) {
            literal(section.substr(i + 1, 1));
            i += 2;
        } else if (c == '[') {
            // "[$-F400]" names a locale; "[$R-1C09]" shows its symbol.
            const std::size_t end = section.find(']', i);
            const std::string inside =
                section.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
            if (inside.size() > 1 && inside[0] == '$') literal(inside.substr(1, inside.find('-') - 1));
            i = end == std::string::npos ? section.size() : end + 1;
        } else if (c == '0' || c == '#' || c == ',' || c == '.') {
            std::size_t end = i;
            while (end < section.size() && std::string("0#,.").find(section[end]) != std::string::npos)
                ++end;
            if (end + 1 < section.size() && (section[end] == 'E' || section[end] == 'e') &&
                (section[end + 1] == '+' || section[end + 1] == '-')) {
                end += 2;
                while (end < section.size() && section[end] == '0')
                    ++end;
            }
            tokens.push_back({TToken::TKind::Digits, section.substr(i, end - i)});
            i = end;
        } else if (section.compare(i, 5, "AM/PM") == 0) {
            tokens.push_back({TToken::TKind::AmPm, ""});
            i += 5;
        } else if (c == 'h' || c == 'H' || c == 'm' || c == 'M' || c == 's' || c == 'S') {
            std::size_t end = i;
            while (end < section.size() && std::tolower(section[end]) == std::tolower(c))
                ++end;
            const char kind = static_cast<char>(std::tolower(c));
            tokens.push_back({kind == 'h'   ? TToken::TKind::Hours
                              : kind == 'm' ? TToken::TKind::Minutes
                                            : TToken::TKind::Seconds,
                              "", static_cast<int>(end - i)});
            i = end;
        } else {
            literal(std::string(1, c));
            ++i;
        }
    }
    return tokens;
}

std::string Padded(long long value, int width) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
    return buffer;
}

// A digit pattern: "#,##0.00" (grouped, two decimals), "0.0E+00".
std::string ShowDigits(double magnitude, const std::string& pattern) {
    const auto e = pattern.find_first_of("Ee");
    const std::string mantissa = pattern.substr(0, e);
    const auto point = mantissa.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
    const bool grouped = mantissa.find(',') != std::string::npos;
    const std::string integerPattern = mantissa.substr(0, point);
    const bool leadingZero = integerPattern.find('0') != std::string::npos;
    if (e != std::string::npos) {
        int exponent = magnitude == 0 ? 0 : static_cast<int>(std::floor(std::log10(magnitude)));
        // Scaled in two steps below 1E-300: the power of ten of the smallest numbers a double
        // holds (1E-323) is itself too small for one and would come out as zero.
        double scaled = exponent < -300 ? magnitude * 1e300 / std::pow(10.0, exponent + 300)
                                        : magnitude / std::pow(10.0, exponent);
        std::string digits = FormatFixed(scaled, 18, decimals);
        if (digits.rfind("10", 0) == 0) { // 9.99 rounded up to 10.0
            ++exponent;
            digits = FormatFixed(scaled / 10, 18, decimals);
        }
        const int exponentDigits = static_cast<int>(pattern.size() - e - 2);
        return digits + "E" + (exponent < 0 ? "-" : "+") + Padded(std::abs(exponent), exponentDigits);
    }
    std::string text = FormatFixed(magnitude, 18, decimals);
    if (!leadingZero && text.rfind("0", 0) == 0 && (text.size() == 1 || text[1] == '.')) text.erase(0, 1);
    if (!grouped) return text;
    // The integer digits again, a comma before every group of three.
    const std::size_t end = std::min(text.find('.'), text.size());
    std::string withCommas;
    for (std::size_t i = 0; i < end; ++i) {
        if (i > 0 && (end - i) % 3 == 0) withCommas.push_back(',');
        withCommas.push_back(text[i]);
    }
    return withCommas.append(text, end, std::string::npos);
}

// The general format's E notation: six significant digits at most, no trailing zeros.
std::string ShowGeneralScientific(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.5E", value);
    std::string text = buffer;
    const auto e = text.find('E');
    std::string mantissa = text.substr(0, e);
    while (mantissa.back() == '0')
        mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
    return mantissa + text.substr(e);
}

// As the general format shows a number: up to ten significant digits, no trailing zeros.
std::string ShowGeneral(double value) {
    if (value == 0) return "0";
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e11 || magnitude < 1e-9) return ShowGeneralScientific(value);
    const int integerDigits = magnitude < 1 ? 1 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    std::string text = FormatFixed(value, 18, std::max(0, 10 - integerDigits));
    // Rounding can carry into a twelfth digit (99999999999.99 shows as 100000000000): such a
    // number is shown as every other number of that length is.
    const std::size_t digits = std::min(text.find('.'), text.size()) - (text[0] == '-' ? 1 : 0);
    if (digits > 11) return ShowGeneralScientific(value);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::string ShowSection(double value, const std::vector<TToken>& tokens) {
    bool isTime = false, twelveHour = false;
    for (const TToken& t : tokens) {
        if (t.Kind == TToken::TKind::Hours || t.Kind == TToken::TKind::Seconds) isTime = true;
        if (t.Kind == TToken::TKind::AmPm) twelveHour = isTime = true;
    }
    long long seconds = 0;
    if (isTime) {
        const double fraction = value - std::floor(value);
        seconds = std::llround(fraction * 86400.0) % 86400;
    }
    const int hours24 = static_cast<int>(seconds / 3600);
    std::string text;
    for (const TToken& t : tokens) {
        switch (t.Kind) {
        case TToken::TKind::Literal:
            text += t.Text;
            break;
        case TToken::TKind::Digits:
            text += ShowDigits(value, t.Text);
            break;
        case TToken::TKind::Hours: {
            const int hours = twelveHour ? (hours24 % 12 == 0 ? 12 : hours24 % 12) : hours24;
            text += Padded(hours, std::min(t.Width, 2));
            break;
        }
        case TToken::TKind::Minutes:
            text += Padded(seconds / 60 % 60, std::min(t.Width, 2));
            break;
        case TToken::TKind::Seconds:
            text += Padded(seconds % 60, std::min(t.Width, 2));
            break;
        case TToken::TKind::AmPm:
            text += hours24 < 12 ? "AM" : "PM";
            break;
        }
    }
    return text;
}

} // namespace

std::string ShowNumber(double value, const std::string& numberFormat) {
    if (numberFormat.empty() || numberFormat == "General") return ShowGeneral(value);
    std::vector<std::string> sections(1);
    bool quoted = false;
    for (const char c : numberFormat) {
        if (c == '"') quoted = !quoted;
        if (c == ';' && !quoted)
            sections.emplace_back();
        else
            sections.back() += c;
    }
    // A second section shows negative amounts, without their sign of its own.
    if (value < 0 && sections.size() > 1) return ShowSection(-value, Tokenise(sections[1]));
    // As the spreadsheet does, a negative amount keeps its sign even where it rounds to
    // zero ("-0.0").
    std::string shown = ShowSection(std::fabs(value), Tokenise(sections[0]));
    if (value < 0) shown.insert(shown.begin(), '-');
    return shown;
}

} // namespace halvern
