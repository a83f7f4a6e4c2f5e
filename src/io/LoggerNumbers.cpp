// Numbers of logger files with marks the file does not name.
#include "io/LoggerNumbers.h"

#include "io/TextCodec.h"
#include "model/Messages.h"

#include <charconv>
#include <cmath>

namespace halvern {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits grouped by `mark` in threes: "1,234,567"; the first group has 1 to 3 digits and
// no leading zero.
bool Grouped(std::string_view digits, char mark) {
    std::size_t groupStart = 0;
    bool first = true;
    for (std::size_t i = 0; i <= digits.size(); ++i) {
        if (i < digits.size() && digits[i] != mark) continue;
        const std::size_t length = i - groupStart;
        if (first) {
            if (length < 1 || length > 3 || digits[groupStart] == '0') return false;
            first = false;
        } else if (length != 3) {
            return false;
        }
        groupStart = i + 1;
    }
    return !first;
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

TNumberShape ShapeOfNumber(std::string_view field) {
    TNumberShape shape;
    std::string_view text = TrimBlanks(field);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    // The mantissa, then an exponent.
    std::size_t end = 0, points = 0, commas = 0, digits = 0;
    while (end < text.size() && (IsDigit(text[end]) || text[end] == '.' || text[end] == ',')) {
        points += text[end] == '.';
        commas += text[end] == ',';
        digits += IsDigit(text[end]);
        ++end;
    }
    if (digits == 0) return shape;
    const std::string_view mantissa = text.substr(0, end);
    bool exponent = false;
    if (end < text.size()) {
        if (text[end] != 'e' && text[end] != 'E') return shape;
        std::size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (e == text.size()) return shape;
        for (; e < text.size(); ++e)
            if (!IsDigit(text[e])) return shape;
        exponent = true;
    }
    shape.Number = true;
    if (points == 0 && commas == 0) return shape;
    const auto single = [&](char mark) {
        const std::size_t at = mantissa.find(mark);
        const std::string_view before = mantissa.substr(0, at), after = mantissa.substr(at + 1);
        if (!exponent && after.size() == 3 && !before.empty() && before.size() <= 3 && before[0] != '0')
            return TMarkRole::Either;
        return TMarkRole::Decimal;
    };
    if (commas == 0 || points == 0) {
        const char mark = commas == 0 ? '.' : ',';
        const std::size_t count = commas == 0 ? points : commas;
        TMarkRole role = TMarkRole::Decimal;
        if (count == 1) {
            role = single(mark);
        } else if (!exponent && Grouped(mantissa, mark)) {
            role = TMarkRole::Grouping;
        } else {
            shape.Number = false;
            return shape;
        }
        (mark == '.' ? shape.Point : shape.Comma) = role;
        return shape;
    }
    // Both marks: the last is the decimal one, and the other groups every digit before it.
    const std::size_t last = mantissa.find_last_of(".,");
    const char decimal = mantissa[last], grouping = decimal == '.' ? ',' : '.';
    const std::string_view whole = mantissa.substr(0, last), fraction = mantissa.substr(last + 1);
    if (fraction.find(grouping) != std::string_view::npos || whole.find(decimal) != std::string_view::npos ||
        !Grouped(whole, grouping)) {
        shape.Number = false;
        return shape;
    }
    shape.Point = decimal == '.' ? TMarkRole::Decimal : TMarkRole::Grouping;
    shape.Comma = decimal == ',' ? TMarkRole::Decimal : TMarkRole::Grouping;
    return shape;
}

std::optional<double> ReadNumber(std::string_view field, const TNumberShape& shape, bool decimalComma) {
    if (!shape.Number) return std::nullopt;
    const TMarkRole decimalRole = decimalComma ? shape.Comma : shape.Point;
    const TMarkRole groupingRole = decimalComma ? shape.Point : shape.Comma;
    if (decimalRole == TMarkRole::Grouping || groupingRole == TMarkRole::Decimal) return std::nullopt;
    const char decimal = decimalComma ? ',' : '.';
    std::string_view text = TrimBlanks(field);
    // Nearly every reading has at most 15 digits and no exponent: the digits as a whole number
    // (exact in a double) divided once by an exact power of ten are the correctly rounded
    // value, as the library would read it.
    if (text.size() <= 24) {
        static constexpr double kTens[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
                                           1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};
        std::size_t i = 0;
        bool negative = false;
        if (text[0] == '-' || text[0] == '+') {
            negative = text[0] == '-';
            i = 1;
        }
        int64_t whole = 0;
        int digits = 0, decimals = -1;
        bool simple = true;
        for (; i < text.size(); ++i) {
            const char c = text[i];
            if (IsDigit(c)) {
                if (++digits > 15) {
                    simple = false;
                    break;
                }
                whole = whole * 10 + (c - '0');
                if (decimals >= 0) ++decimals;
            } else if (c == decimal) {
                decimals = 0;
            } else if (c != '.' && c != ',') {
                simple = false; // an exponent
                break;
            }
        }
        if (simple && digits <= 15) {
            const double value = static_cast<double>(whole) / kTens[decimals < 0 ? 0 : decimals];
            return negative ? -value : value;
        }
    }
    char buffer[128];
    if (text.size() >= sizeof buffer) {
        // Digits past what a double tells apart: read them as the library reads a long text.
        std::string copy;
        for (char c : text)
            if (c == decimal)
                copy += '.';
            else if (c != ',' && c != '.' && c != '+')
                copy += c;
            else if (c == '+' && !copy.empty())
                copy += c;
        double value = 0;
        const auto [end, ec] = std::from_chars(copy.data(), copy.data() + copy.size(), value);
        if (ec != std::errc() || end != copy.data() + copy.size() || !std::isfinite(value))
            return std::nullopt;
        return value;
    }
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == decimal)
            buffer[n++] = '.';
        else if (c == '.' || c == ',')
            continue; // grouping
        else if (c == '+' && i == 0)
            continue; // from_chars takes no leading plus sign
        else
            buffer[n++] = c;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(buffer, buffer + n, value);
    if (ec != std::errc() || end != buffer + n || !std::isfinite(value)) return std::nullopt;
    return value;
}

void TMarkEvidence::Note(std::optional<TSeen>& slot, std::string_view field, std::size_t line) {
    if (!slot) slot = TSeen{line, std::string(TrimBlanks(field))};
}

void TMarkEvidence::Check(const std::optional<TSeen>& a, const char* aRole, const std::optional<TSeen>& b,
                          const char* bRole) {
    if (!contradiction_.empty() || !a || !b) return;
    // Named at the later of the two, with the earlier as what it contradicts.
    const TSeen& later = a->Line >= b->Line ? *a : *b;
    const TSeen& earlier = a->Line >= b->Line ? *b : *a;
    contradictionLine_ = later.Line;
    contradiction_ = Msg::LoggerMarksMixed(QuotedForMessage(later.Text), a->Line >= b->Line ? aRole : bRole,
                                           QuotedForMessage(earlier.Text), earlier.Line,
                                           a->Line >= b->Line ? bRole : aRole);
}

void TMarkEvidence::Add(const TNumberShape& shape, std::string_view field, std::size_t line) {
    if (!shape.Number || (shape.Point == TMarkRole::Absent && shape.Comma == TMarkRole::Absent)) return;
    pointUsed_ |= shape.Point != TMarkRole::Absent;
    commaUsed_ |= shape.Comma != TMarkRole::Absent;
    // A role shown before tells nothing new: the rest of a record's numbers mostly repeat it.
    const auto known = [](TMarkRole role, const std::optional<TSeen>& decimal,
                          const std::optional<TSeen>& grouping) {
        return role == TMarkRole::Absent || role == TMarkRole::Either ||
               (role == TMarkRole::Decimal ? decimal.has_value() : grouping.has_value());
    };
    if (known(shape.Point, pointDecimal_, pointGrouping_) &&
        known(shape.Comma, commaDecimal_, commaGrouping_))
        return;
    if (shape.Point == TMarkRole::Decimal) Note(pointDecimal_, field, line);
    if (shape.Point == TMarkRole::Grouping) Note(pointGrouping_, field, line);
    if (shape.Comma == TMarkRole::Decimal) Note(commaDecimal_, field, line);
    if (shape.Comma == TMarkRole::Grouping) Note(commaGrouping_, field, line);
    Check(pointDecimal_, Msg::MarkPointDecimal, pointGrouping_, Msg::MarkPointGrouping);
    Check(commaDecimal_, Msg::MarkCommaDecimal, commaGrouping_, Msg::MarkCommaGrouping);
    Check(pointDecimal_, Msg::MarkPointDecimal, commaDecimal_, Msg::MarkCommaDecimal);
    Check(pointGrouping_, Msg::MarkPointGrouping, commaGrouping_, Msg::MarkCommaGrouping);
}

bool TMarkEvidence::DecimalComma(char separator) const {
    if (pointDecimal_ || commaGrouping_) return false;
    if (commaDecimal_ || pointGrouping_) return true;
    // Only numbers like "1,250" or "1.012": a point is the program's own decimal mark; a comma
    // is decimal where the file does not separate its fields with commas.
    if (commaUsed_ && !pointUsed_) return separator != ',';
    if (pointUsed_ && !commaUsed_) return false;
    return separator == ';';
}

} // namespace halvern
