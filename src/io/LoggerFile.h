// Logger files: pressure and flow loggers' exports, a time stamp per sample every few
// seconds to 60 minutes over days or weeks, one channel or several side by side. The reader
// finds each file's layout by itself (code page, separator, decimal mark, the lines before
// the data, the time stamp's column and format, quoted fields), reads every channel, and
// turns a choice of days into 24 hourly means weighted by time, with each hour's coverage.
//
// Logger files come from other people's software: every byte is taken as hostile. A file is
// read exactly as it says or refused with its line and the reason, never guessed at in
// silence. A record is binned by hour as it is read, a piece of the file at a time, so that
// a gigabyte of one-second samples needs no more memory than its bins.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
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
// The unit a channel's heading names ("Flow (l/s)", "P1 [bar]", "Zufluss l/s"), if any.
std::optional<TLoggerUnit> UnitInHeading(std::string_view heading);

// A logger file is read up to this size (one-second samples of several channels over weeks
// run to a gigabyte); a larger one is refused with its own message.
constexpr std::uint64_t MaxLoggerBytes = std::uint64_t{4} << 30;
// More columns than any logger writes: a file this wide is something else.
constexpr std::size_t MaxLoggerColumns = 1000;

struct TLoggerOptions {
    // The dates are mm/dd/yyyy (the user says so); otherwise dd/mm/yyyy unless the days
    // written prove the month comes first.
    bool MonthFirst = false;
    // The zone's offset from UTC in minutes east, when the user gives it: stamps that carry an
    // offset or "Z" are then read as the zone's local time (UTC plus this). Without it, stamps
    // with an offset are read as the local time they are written in, and stamps in UTC ("Z")
    // are refused, since which local hour a sample belongs to is not known.
    std::optional<int> ZoneOffsetMinutes;
    // Keep every sample's stamps and values (tests and the fuzz target look at them); without
    // it only the hourly bins are kept.
    bool KeepSamples = false;
    // Told the fraction of the file read now and then (from the reading thread); returning
    // false stops the read, which then ends Cancelled.
    std::function<bool(double)> Progress;
};

// Each day's hourly bins of one channel: the value times seconds and the seconds covered.
struct THourBin {
    double Sum = 0;
    double Seconds = 0;
};
// A stretch of the local clock without samples between two that have them.
struct TGap {
    int64_t From = 0, To = 0; // local clock seconds since 1970-01-01
};
struct TDayBins {
    int64_t Day = 0; // days since 1970-01-01
    std::array<THourBin, 24> Hours{};
};
// The bins of one channel under one rule for the interval a stamp marks. Only days that
// hold a sample have bins, so a record that jumps years ahead costs nothing for the years.
struct TChannelBins {
    std::vector<TDayBins> Days; // ascending by day
    std::vector<TGap> Gaps;     // ascending; the first MaxGapsKept of them
    static constexpr std::size_t MaxGapsKept = 10000;
    // The day's hours, or nullptr when the day holds no sample.
    const std::array<THourBin, 24>* Find(int64_t day) const;
    // The day's hours, added where the day is new.
    std::array<THourBin, 24>& At(int64_t day);
    // The share of the day's 86,400 s covered (an hour given twice by a clock put back counts once).
    double DayCoverage(int64_t day) const;
};

struct TLoggerChannel {
    std::string Name;        // the heading, or "Column N"
    int Column = 0;          // 1-based column in the file
    std::size_t Samples = 0; // values present
    // A sample stands for the interval that starts at its stamp (StartBins) or ends there
    // (EndBins); an interval is never taken longer than the usual step, so a gap in the
    // record stays a gap, and its length is elapsed time, so a clock change neither
    // lengthens nor shortens it.
    TChannelBins StartBins, EndBins;
    const TChannelBins& Bins(bool stampAtEnd) const { return stampAtEnd ? EndBins : StartBins; }
    std::vector<double> Values; // one per sample, NaN where the line has none: KeepSamples only
};

// A day whose clock was put forward or back (23 or 25 hours long).
struct TClockChange {
    int64_t Day = 0; // days since 1970-01-01
    int Hours = 24;  // 23 or 25
    std::size_t Line = 0;
};

struct TLoggerFile {
    std::string FileName;
    std::string Error;      // why the file cannot be used, naming the file and line; empty when read
    bool Cancelled = false; // the user stopped the read (Error says so too)
    bool Ok() const { return Error.empty(); }

    // The layout found.
    std::string CodePage; // "UTF-8", "UTF-8 with byte-order mark", "UTF-16 LE", "Windows-1252", ...
    char Separator = ','; // ',', ';' or '\t'
    bool DecimalComma = false;
    bool GroupingRead = false;   // thousands were grouped ("1,250.5", "1.012,5") and read so
    std::size_t LinesBefore = 0; // header and metadata lines before the data
    bool HasHeading = false;     // one of them names the columns
    int StampColumn = 0;         // 1-based
    int TimeColumn = 0;          // 1-based when the time stands in a column of its own, else 0
    std::string StampFormat;     // "yyyy-mm-dd hh:mm:ss", "dd/mm/yyyy hh:mm", ...
    // How the stamps' clock was read: "local time", "local time with UTC offsets",
    // "UTC read as UTC+02:00", "UTC offsets read as UTC+02:00".
    std::string TimeReading;
    std::size_t FirstDataLine = 0, LastDataLine = 0; // 1-based

    // The record. Local clock times are what the stamps say (or UTC turned into the zone's
    // time); elapsed times take out the clock changes, so that intervals are true lengths.
    int64_t FirstLocal = 0, LastLocal = 0; // the earliest and the latest stamp
    std::size_t SampleCount = 0;
    int IntervalSeconds = 0; // the usual step between samples
    std::vector<TLoggerChannel> Channels;
    std::vector<TClockChange> ClockChanges;
    std::vector<int64_t> Local, Elapsed; // one per sample: KeepSamples only

    // The days from the earliest stamp's to the latest's (what "record: … to …" spans).
    int64_t SpanDays() const;
    // The days on which some channel has a sample, under the rule for what a stamp marks
    // (with end stamps the closing stamp just after midnight marks no part of its day).
    std::vector<int64_t> Days(bool stampAtEnd = false) const;
    // A channel by its heading (any case) or 1-based column number; nullptr if none.
    const TLoggerChannel* FindChannel(std::string_view nameOrColumn) const;
};

// Reads a logger file's bytes; fileName is what the messages name.
TLoggerFile ReadLoggerBytes(std::string_view bytes, const std::string& fileName,
                            const TLoggerOptions& options = {});
// Reads a logger file a piece at a time (it may be far larger than memory should hold).
TLoggerFile ReadLoggerFile(const std::string& fileName, const TLoggerOptions& options = {});

// "2024-03-01 00:00 to 2024-03-07 23:45", from the earliest stamp to the latest.
std::string RecordRangeText(const TLoggerFile& file);
// "15 min", "1 min", "30 s", "1 h".
std::string IntervalText(int seconds);
// "comma, decimal point", "semicolon, decimal comma, thousands grouped with points", "tab, decimal point".
std::string MarksText(const TLoggerFile& file);
// "+02:00", "-03:30", "+00:00".
std::string UtcOffsetText(int minutes);
// "+02:00", "-0330", "+2", "2", "Z" read as minutes east of UTC; nothing for another text.
std::optional<int> ParseUtcOffset(std::string_view text);

struct TLowCoverage {
    int64_t Day = 0;
    int Hour = 0;
    double Coverage = 0;
};
struct THourlyMeans {
    std::array<double, 24> Mean{};           // NaN for an hour without any sample
    std::array<double, 24> Coverage{};       // 0..1, the mean over the chosen days
    std::array<double, 24> LowestCoverage{}; // 0..1, that of the chosen day covered least
    std::array<int64_t, 24> LowestDay{};     // which day that is
    std::vector<TLowCoverage> Low;           // hours of chosen days below the least coverage
    // The first hour whose values add up past what a number holds: no mean for it.
    std::optional<int> NotFinite;
};
// The time-weighted mean of each clock hour over the chosen days.
THourlyMeans HourlyMeans(const TChannelBins& bins, const std::vector<int64_t>& days, double minCoverage);

// The days of [from, to]: all, weekdays only or weekends only.
enum class TDayFilter { All, Weekdays, Weekends };
std::vector<int64_t> DaysBetween(int64_t from, int64_t to, TDayFilter filter);

} // namespace halvern
