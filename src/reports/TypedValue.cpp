#include "reports/TypedValue.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace halvern {

namespace {

struct TNumberShape {
    double Value = 0;
    bool Grouped = false;    // thousands separators were typed
    bool Scientific = false; // "1.5E3"
    int Decimals = 0;        // digits typed after the point (of the mantissa)
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// Digits with the thousands separator between groups of three ("182,625"), or plain digits;
// the digits without separators go to `digits`.
std::size_t ReadIntegerPart(std::string_view text, const std::string& separator, std::string& digits,
                            bool& grouped) {
    std::size_t pos = 0;
    while (pos < text.size() && IsDigit(text[pos]))
        digits.push_back(text[pos++]);
    if (digits.empty() || digits.size() > 3 || separator.empty()) return pos;
    // Groups of exactly three digits after a first group of one to three.
    std::size_t end = pos;
    std::string more;
    while (StartsWith(text.substr(end), separator)) {
        const std::size_t groupStart = end + separator.size();
        std::size_t groupEnd = groupStart;
        while (groupEnd < text.size() && IsDigit(text[groupEnd]))
            ++groupEnd;
        if (groupEnd - groupStart != 3) break;
        more.append(text.substr(groupStart, 3));
        end = groupEnd;
    }
    if (!more.empty()) {
        grouped = true;
        digits += more;
        pos = end;
    }
    return pos;
}

// A number as the spreadsheet reads one typed: sign, digits (grouped or not), a point and
// decimals, an exponent. Nothing may follow.
std::optional<TNumberShape> ReadNumber(std::string_view text, const std::string& separator) {
    TNumberShape shape;
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    std::string digits;
    pos += ReadIntegerPart(text.substr(pos), separator, digits, shape.Grouped);
    std::string canonical = digits.empty() ? "0" : digits;
    std::size_t fraction = 0;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        canonical.push_back('.');
        while (pos < text.size() && IsDigit(text[pos])) {
            canonical.push_back(text[pos++]);
            ++fraction;
        }
        if (fraction == 0) canonical.push_back('0');
    }
    if (digits.empty() && fraction == 0) return std::nullopt;
    shape.Decimals = static_cast<int>(fraction);
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        if (shape.Grouped) return std::nullopt;
        std::size_t e = pos + 1;
        std::string exponent = "e";
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) exponent.push_back(text[e++]);
        const std::size_t digitsStart = e;
        while (e < text.size() && IsDigit(text[e]))
            exponent.push_back(text[e++]);
        if (e == digitsStart) return std::nullopt;
        canonical += exponent;
        shape.Scientific = true;
        pos = e;
    }
    if (pos != text.size()) return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    // A number below the smallest a double holds at full precision ("100.39E-323") would
    // show as digits that read back as another number: it stays the text typed.
    if (result.ec != std::errc() || result.ptr != canonical.data() + canonical.size() ||
        !std::isfinite(value) || (value != 0 && value < std::numeric_limits<double>::min()))
        return std::nullopt;
    shape.Value = negative ? -value : value;
    return shape;
}

std::string Zeros(int count) {
    return std::string(static_cast<std::size_t>(count), '0');
}

std::string NumberFormatOf(const TNumberShape& shape) {
    std::string decimals;
    if (shape.Decimals > 0) decimals.append(1, '.').append(Zeros(shape.Decimals));
    if (shape.Scientific) return std::string("0").append(decimals).append("E+00");
    if (shape.Grouped) return std::string("#,##0").append(decimals);
    // "5.0" keeps its decimal, as a payback of 5.0 months is written.
    if (shape.Decimals > 0) return std::string("0").append(decimals);
    return {};
}

// "03:00:00 AM", "00:00", "9:30": a time of day, and the format that shows it as typed.
std::optional<TTypedValue> ReadTime(std::string_view text) {
    std::size_t pos = 0;
    auto readPart = [&](int maxDigits, int& value) {
        const std::size_t start = pos;
        value = 0;
        while (pos < text.size() && IsDigit(text[pos]) && static_cast<int>(pos - start) < maxDigits)
            value = value * 10 + (text[pos++] - '0');
        return static_cast<int>(pos - start);
    };
    int hours = 0, minutes = 0, seconds = 0;
    const int hourDigits = readPart(2, hours);
    if (hourDigits == 0 || pos >= text.size() || text[pos] != ':') return std::nullopt;
    ++pos;
    if (readPart(2, minutes) != 2) return std::nullopt;
    bool hasSeconds = false;
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        if (readPart(2, seconds) != 2) return std::nullopt;
        hasSeconds = true;
    }
    bool twelveHour = false;
    bool afternoon = false;
    const std::string_view rest = TrimBlanks(text.substr(pos));
    if (!rest.empty()) {
        if (rest.size() != 2 || (rest[1] != 'M' && rest[1] != 'm')) return std::nullopt;
        if (rest[0] == 'P' || rest[0] == 'p')
            afternoon = true;
        else if (rest[0] != 'A' && rest[0] != 'a')
            return std::nullopt;
        // "AM" must stand apart from the digits, as it is typed.
        if (pos >= text.size() || text[pos] != ' ') return std::nullopt;
        twelveHour = true;
    }
    if (minutes > 59 || seconds > 59) return std::nullopt;
    if (twelveHour) {
        if (hours < 1 || hours > 12) return std::nullopt;
        hours = hours % 12 + (afternoon ? 12 : 0);
    } else if (hours > 23) {
        return std::nullopt;
    }
    TTypedValue typed;
    typed.Kind = TTypedValue::TKind::Number;
    typed.Number = (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0;
    typed.NumberFormat = std::string(hourDigits == 2 ? "hh" : "h") + ":mm" + (hasSeconds ? ":ss" : "") +
                         (twelveHour ? " AM/PM" : "");
    return typed;
}

// "R160,000.00", "-R5.00", "160 000.00 €": an amount in the money form.
std::optional<double> ReadMoney(std::string_view text, const TMoneyForm& money) {
    if (money.Symbol.empty()) return std::nullopt;
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    std::string_view amount;
    if (money.SymbolFirst) {
        if (!StartsWith(text, money.Symbol)) return std::nullopt;
        amount = TrimBlanks(text.substr(money.Symbol.size()));
    } else {
        if (text.size() < money.Symbol.size() ||
            text.substr(text.size() - money.Symbol.size()) != money.Symbol)
            return std::nullopt;
        amount = TrimBlanks(text.substr(0, text.size() - money.Symbol.size()));
    }
    if (amount.empty() || amount[0] == '-' || amount[0] == '+') return std::nullopt;
    const auto shape = ReadNumber(amount, money.ThousandsSeparator);
    if (!shape || shape->Scientific) return std::nullopt;
    return negative ? -shape->Value : shape->Value;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += "\"\"";
        else
            quoted += c;
    }
    return quoted + "\"";
}

} // namespace

std::string MoneyNumberFormat(const TMoneyForm& money) {
    const std::string gap = money.Spaced ? " " : "";
    const std::string positive = money.SymbolFirst
                                     ? Quoted(money.Symbol + gap) + "#,##0.00"
                                     : std::string("#,##0.00").append(Quoted(gap + money.Symbol));
    return positive + ";-" + positive;
}

TTypingForms TTypingForms::User() {
    const TNumberConventions user = ReadNumberConventions();
    return {user.ThousandsSeparator,
            {user.CurrencySymbol, user.SymbolFirst, user.SymbolSpaced, user.MoneyThousandsSeparator}};
}

TTypedValue TypeIn(std::string_view text, const TTypingForms& forms) {
    const TMoneyForm& money = forms.Money;
    const std::string_view body = TrimBlanks(text);
    TTypedValue typed;
    if (body.empty()) return typed;
    if (const auto number = ReadNumber(body, forms.ThousandsSeparator)) {
        typed.Kind = TTypedValue::TKind::Number;
        typed.Number = number->Value;
        typed.NumberFormat = NumberFormatOf(*number);
        return typed;
    }
    if (auto time = ReadTime(body)) return *time;
    if (const auto amount = ReadMoney(body, money)) {
        typed.Kind = TTypedValue::TKind::Number;
        typed.Number = *amount;
        typed.NumberFormat = MoneyNumberFormat(money);
        return typed;
    }
    typed.Kind = TTypedValue::TKind::Text;
    typed.Text = std::string(text);
    return typed;
}

} // namespace halvern
