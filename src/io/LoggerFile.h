// Logger files: pressure and flow loggers' exports, a time stamp per sample every few
// seconds to 60 minutes over days or weeks, one channel or several side by side. The reader
// finds each file's layout by itself (code page, separator, decimal mark, the lines before
// the data, the time stamp's column and format, quoted fields), reads every channel, and
// turns a choice of days into 24 hourly means weighted by time, with each hour's coverage.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvern {

// The units a logger's channel may be in; the hourly table holds m³/hr and m.
enum class TLoggerUnit { M3PerHour, LitresPerSecond, M3PerDay, Metres, Bar, KiloPascal };

// "m3/h", "m³/hr", "l/s", "m3/d", "m", "bar", "kPa" (any case); nothing for another text.
std::optional<TLoggerUnit> ParseLoggerUnit(std::string_view text);
std::string LoggerUnitText(TLoggerUnit unit); // "m³/hr", "l/s", "m³/d", "m", "bar", "kPa"
bool IsFlowUnit(TLoggerUnit unit);
// A value in the unit to the table's unit: m³/hr for flows, m of water for pressures.
double ToTableUnit(double value, TLoggerUnit unit);
// The unit a channel's heading names ("Flow (l/s)", "P1 [bar]"), if any.
std::optional<TLoggerUnit> UnitInHeading(std::string_view heading);

struct TLoggerOptions {
    // The dates are mm/dd/yyyy (the user says so); otherwise dd/mm/yyyy unless the days
    // written prove the month comes first.
    bool MonthFirst = false;
};

struct TLoggerChannel {
    std::string Name;           // the heading, or "Column N"
    int Column = 0;             // 1-based column in the file
    std::vector<double> Values; // one per sample; NaN where the line has none
    std::size_t Samples = 0;    // values present
};

// A day whose clock was put forward or back (23 or 25 hours long).
struct TClockChange {
    int64_t Day = 0; // days since 1970-01-01
    int Hours = 24;  // 23 or 25
    std::size_t Line = 0;
};

struct TLoggerFile {
    std::string FileName;
    std::string Error; // why the file cannot be used, naming the file and line; empty when read
    bool Ok() const { return Error.empty(); }

    // The layout found.
    std::string CodePage; // "UTF-8", "UTF-8 with byte-order mark", "Windows-1252"
    char Separator = ','; // ',', ';' or '\t'
    bool DecimalComma = false;
    std::size_t LinesBefore = 0; // header and metadata lines before the data
    bool HasHeading = false;     // one of them names the columns
    int StampColumn = 0;         // 1-based
    int TimeColumn = 0;          // 1-based when the time stands in a column of its own, else 0
    std::string StampFormat;     // "yyyy-mm-dd hh:mm:ss", "dd/mm/yyyy hh:mm", ...
    std::size_t FirstDataLine = 0, LastDataLine = 0; // 1-based

    // The record. Local clock times are what the stamps say; elapsed times take out the
    // clock changes (and UTC offsets), so that intervals are true lengths of time.
    std::vector<int64_t> Local;   // seconds since 1970-01-01 00:00 of the local clock
    std::vector<int64_t> Elapsed; // seconds, continuous
    int IntervalSeconds = 0;      // the usual step between samples
    std::vector<TLoggerChannel> Channels;
    std::vector<TClockChange> ClockChanges;

    // The days the record touches, first to last (days since 1970-01-01).
    std::vector<int64_t> Days() const;
    // A channel by its heading (any case) or 1-based column number; nullptr if none.
    const TLoggerChannel* FindChannel(std::string_view nameOrColumn) const;
};

// Reads a logger file's bytes; fileName is what the messages name.
TLoggerFile ReadLoggerBytes(std::string_view bytes, const std::string& fileName,
                            const TLoggerOptions& options = {});
TLoggerFile ReadLoggerFile(const std::string& fileName, const TLoggerOptions& options = {});

// "2024-03-01 00:00 to 2024-03-07 23:45".
std::string RecordRangeText(const TLoggerFile& file);
// "15 min", "1 min", "30 s", "1 h".
std::string IntervalText(int seconds);

// Each day's hourly bins of one channel: the value times seconds and the seconds covered.
struct THourBin {
    double Sum = 0;
    double Seconds = 0;
};
struct TChannelBins {
    int64_t FirstDay = 0;
    std::vector<std::array<THourBin, 24>> Days; // from FirstDay on
};
// A sample stands for the interval that starts at its stamp, or (stampAtEnd) ends there;
// an interval is never taken longer than the usual step, so a gap in the record stays a gap.
TChannelBins BinChannel(const TLoggerFile& file, const TLoggerChannel& channel, bool stampAtEnd);

struct TLowCoverage {
    int64_t Day = 0;
    int Hour = 0;
    double Coverage = 0;
};
struct THourlyMeans {
    std::array<double, 24> Mean{};     // NaN for an hour without any sample
    std::array<double, 24> Coverage{}; // 0..1, over the chosen days
    std::vector<TLowCoverage> Low;     // hours of chosen days below the least coverage
};
// The time-weighted mean of each clock hour over the chosen days.
THourlyMeans HourlyMeans(const TChannelBins& bins, const std::vector<int64_t>& days, double minCoverage);

// The days of [from, to]: all, weekdays only or weekends only.
enum class TDayFilter { All, Weekdays, Weekends };
std::vector<int64_t> DaysBetween(int64_t from, int64_t to, TDayFilter filter);

} // namespace halvern
