// The strict time-stamp parser of logger files.
#include "io/TimeStamp.h"

#include <charconv>

namespace halvern {
namespace {

// Reads 1..maxDigits digits at text[pos]; at least minDigits.
bool Digits(std::string_view text, std::size_t& pos, int minDigits, int maxDigits, int& value) {
    int count = 0;
    value = 0;
    while (pos < text.size() && count < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++count;
    }
    return count >= minDigits;
}

bool At(std::string_view text, std::size_t pos, char c) {
    return pos < text.size() && text[pos] == c;
}

bool ReadDate(std::string_view text, std::size_t& pos, TStampParts& parts) {
    const std::size_t start = pos;
    int a = 0;
    if (!Digits(text, pos, 1, 4, a)) return false;
    const std::size_t lengthA = pos - start;
    if (pos >= text.size()) return false;
    const char sep = text[pos];
    if (sep != '-' && sep != '/' && sep != '.') return false;
    ++pos;
    int b = 0, c = 0;
    if (lengthA == 4) {
        // yyyy-mm-dd or yyyy/mm/dd
        if (sep == '.' || !Digits(text, pos, 1, 2, b) || !At(text, pos, sep)) return false;
        ++pos;
        if (!Digits(text, pos, 1, 2, c)) return false;
        parts.Kind = sep == '-' ? TDateKind::Iso : TDateKind::YearSlash;
        parts.Year = a;
        parts.First = b;
        parts.Second = c;
        if (!ValidDate(a, b, c)) return false;
    } else {
        if (lengthA > 2 || !Digits(text, pos, 1, 2, b) || !At(text, pos, sep)) return false;
        ++pos;
        const std::size_t yearStart = pos;
        if (!Digits(text, pos, 4, 4, c) || pos - yearStart != 4) return false;
        parts.Kind = TDateKind::Numeric;
        parts.First = a;
        parts.Second = b;
        parts.Year = c;
        // Either order must name a real day.
        if (!ValidDate(c, b, a) && !ValidDate(c, a, b)) return false;
    }
    parts.DateSeparator = sep;
    parts.HasDate = true;
    return true;
}

bool ReadTime(std::string_view text, std::size_t& pos, TStampParts& parts) {
    if (!Digits(text, pos, 1, 2, parts.Hour) || !At(text, pos, ':')) return false;
    ++pos;
    const std::size_t minuteStart = pos;
    if (!Digits(text, pos, 2, 2, parts.Minute) || pos - minuteStart != 2) return false;
    if (At(text, pos, ':')) {
        ++pos;
        if (!Digits(text, pos, 2, 2, parts.Second_)) return false;
        parts.HasSeconds = true;
        if (At(text, pos, '.') || At(text, pos, ',')) {
            ++pos;
            double scale = 0.1;
            const std::size_t fracStart = pos;
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
                parts.Fraction += (text[pos] - '0') * scale;
                scale /= 10;
                ++pos;
            }
            if (pos == fracStart) return false;
        }
    }
    if (parts.Hour > 23 || parts.Minute > 59 || parts.Second_ > 59) return false;
    // 12-hour clocks: "2:15 PM".
    std::size_t look = pos;
    while (At(text, look, ' '))
        ++look;
    if (look + 2 <= text.size()) {
        const char m0 = static_cast<char>(text[look] | 0x20);
        const char m1 = static_cast<char>(text[look + 1] | 0x20);
        if ((m0 == 'a' || m0 == 'p') && m1 == 'm') {
            if (parts.Hour < 1 || parts.Hour > 12) return false;
            parts.Hour = parts.Hour % 12 + (m0 == 'p' ? 12 : 0);
            pos = look + 2;
        }
    }
    // A UTC offset: "Z", "+02:00", "+0200", "+02".
    if (At(text, pos, 'Z')) {
        ++pos;
        parts.HasOffset = true;
        parts.Utc = true;
    } else if (At(text, pos, '+') || At(text, pos, '-')) {
        const int sign = text[pos] == '-' ? -1 : 1;
        ++pos;
        int hours = 0, minutes = 0;
        const std::size_t hStart = pos;
        if (!Digits(text, pos, 2, 2, hours) || pos - hStart != 2) return false;
        if (At(text, pos, ':')) ++pos;
        if (pos < text.size() && !Digits(text, pos, 2, 2, minutes)) return false;
        if (hours > 14 || minutes > 59) return false;
        parts.HasOffset = true;
        parts.OffsetMinutes = sign * (hours * 60 + minutes);
    }
    parts.HasTime = true;
    return true;
}

} // namespace

int64_t DayOfSeconds(int64_t seconds) {
    const int64_t q = seconds / 86400;
    return seconds % 86400 < 0 ? q - 1 : q;
}

std::optional<TStampParts> ParseStampParts(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    TStampParts parts;
    std::size_t pos = 0;
    // A time alone (the time column beside a date column).
    if (const std::size_t colon = text.find(':'); colon != std::string_view::npos && colon <= 2) {
        if (!ReadTime(text, pos, parts) || pos != text.size()) return std::nullopt;
        return parts;
    }
    if (!ReadDate(text, pos, parts)) return std::nullopt;
    if (pos == text.size()) return parts;
    if (At(text, pos, 'T') && parts.Kind == TDateKind::Iso) {
        parts.TimeSeparator = 'T';
        ++pos;
    } else if (At(text, pos, ' ')) {
        while (At(text, pos, ' '))
            ++pos;
    } else {
        return std::nullopt;
    }
    if (!ReadTime(text, pos, parts) || pos != text.size()) return std::nullopt;
    return parts;
}

int64_t DaysFromCivil(int year, int month, int day) {
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

bool ValidDate(int year, int month, int day) {
    if (year < 1900 || year > 2200 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

int WeekdayOfDays(int64_t days) {
    // 1970-01-01 was a Thursday.
    const int64_t w = (days + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

std::string DayText(int64_t days) {
    int y = 0, m = 0, d = 0;
    CivilFromDays(days, y, m, d);
    char text[16];
    auto put = [&](char* at, int value, int width) {
        for (int i = width - 1; i >= 0; --i) {
            at[i] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
    };
    put(text, y, 4);
    text[4] = '-';
    put(text + 5, m, 2);
    text[7] = '-';
    put(text + 8, d, 2);
    return std::string(text, 10);
}

std::optional<int64_t> ParseDayText(std::string_view text) {
    const auto parts = ParseStampParts(text);
    if (!parts || parts->HasTime || parts->Kind != TDateKind::Iso) return std::nullopt;
    return DaysFromCivil(parts->Year, parts->First, parts->Second);
}

} // namespace halvern
