// The time stamps of logger files, read by a strict parser of the few formats loggers and
// spreadsheets write: ISO 8601 (a space or a T between date and time, an optional UTC
// offset), yyyy/mm/dd, and dd/mm/yyyy or mm/dd/yyyy (with "/", "." or "-"), each with
// hh:mm or hh:mm:ss (a fraction of a second and AM/PM allowed). Nothing of the user's
// locale is consulted: the same file reads the same everywhere.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halvern {

// How the date of a stamp is written.
enum class TDateKind : uint8_t {
    Iso,       // yyyy-mm-dd
    YearSlash, // yyyy/mm/dd
    Numeric,   // dd/mm/yyyy or mm/dd/yyyy: which is decided over the whole record
};

// A stamp as written, before the order of day and month is known.
struct TStampParts {
    TDateKind Kind = TDateKind::Iso;
    int First = 0, Second = 0, Year = 0; // Iso and YearSlash: First = month, Second = day
    bool HasDate = false, HasTime = false;
    char DateSeparator = '-';
    char TimeSeparator = ' '; // ' ' or 'T' between date and time
    int Hour = 0, Minute = 0, Second_ = 0;
    bool HasSeconds = false;
    double Fraction = 0; // of a second
    bool HasOffset = false;
    bool Utc = false;      // the offset is "Z": the clock is UTC, not the zone's
    int OffsetMinutes = 0; // east of UTC
};

// Reads one stamp, a date with its time, a date alone or a time alone; nothing when the
// text is not exactly one of the formats (or names no real day or time).
std::optional<TStampParts> ParseStampParts(std::string_view text);

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(int64_t days, int& year, int& month, int& day);
bool ValidDate(int year, int month, int day);
// 0 Sunday .. 6 Saturday.
int WeekdayOfDays(int64_t days);

// The day (since 1970-01-01) that local clock seconds since 1970-01-01 fall on.
int64_t DayOfSeconds(int64_t seconds);

// "2024-03-05".
std::string DayText(int64_t days);
// "2024-03-05" read back; nothing when it is not such a date.
std::optional<int64_t> ParseDayText(std::string_view text);

} // namespace halvern
