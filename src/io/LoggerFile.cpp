// Logger files: units, the texts of a record, its hourly bins and their means.
#include "io/LoggerFile.h"

#include "io/LoggerNumbers.h"
#include "io/TextCodec.h"
#include "io/TimeStamp.h"
#include "model/FlowUnits.h"
#include "model/Messages.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace halvern {
namespace {

constexpr int64_t kDay = 86400;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Metres of water per kPa: a metre of water presses 9.80665 kPa.
constexpr double kMetresPerKPa = 1.0 / 9.80665;

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace

std::optional<TLoggerUnit> ParseLoggerUnit(std::string_view text) {
    std::string unit;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "\xC2\xB3") {
            unit += '3';
            ++i;
        } else if (text[i] != ' ') {
            unit += text[i];
        }
    }
    unit = Lower(unit);
    if (unit == "m3/h" || unit == "m3/hr" || unit == "m3h" || unit == "m3/hour")
        return TLoggerUnit::M3PerHour;
    if (unit == "l/s" || unit == "ls" || unit == "lps") return TLoggerUnit::LitresPerSecond;
    if (unit == "m3/d" || unit == "m3/day" || unit == "m3d") return TLoggerUnit::M3PerDay;
    if (unit == "m" || unit == "mh2o" || unit == "mwc") return TLoggerUnit::Metres;
    if (unit == "bar") return TLoggerUnit::Bar;
    if (unit == "kpa") return TLoggerUnit::KiloPascal;
    return std::nullopt;
}

std::string LoggerUnitText(TLoggerUnit unit) {
    switch (unit) {
    case TLoggerUnit::M3PerHour:
        return "m³/hr";
    case TLoggerUnit::LitresPerSecond:
        return "l/s";
    case TLoggerUnit::M3PerDay:
        return "m³/d";
    case TLoggerUnit::Metres:
        return "m";
    case TLoggerUnit::Bar:
        return "bar";
    case TLoggerUnit::KiloPascal:
        return "kPa";
    }
    return {};
}

bool IsFlowUnit(TLoggerUnit unit) {
    return unit == TLoggerUnit::M3PerHour || unit == TLoggerUnit::LitresPerSecond ||
           unit == TLoggerUnit::M3PerDay;
}

double ToTableUnit(double value, TLoggerUnit unit) {
    switch (unit) {
    case TLoggerUnit::M3PerHour:
        return value;
    case TLoggerUnit::LitresPerSecond:
        return CubicMetresPerHour(value);
    case TLoggerUnit::M3PerDay:
        return value / 24.0;
    case TLoggerUnit::Metres:
        return value;
    case TLoggerUnit::Bar:
        return value * 100.0 * kMetresPerKPa;
    case TLoggerUnit::KiloPascal:
        return value * kMetresPerKPa;
    }
    return value;
}

std::optional<TLoggerUnit> UnitInHeading(std::string_view heading) {
    for (const auto& [open, close] : {std::pair{'(', ')'}, std::pair{'[', ']'}}) {
        const std::size_t a = heading.rfind(open);
        const std::size_t b = heading.rfind(close);
        if (a != std::string_view::npos && b != std::string_view::npos && b > a)
            if (auto unit = ParseLoggerUnit(heading.substr(a + 1, b - a - 1))) return unit;
    }
    const std::size_t space = heading.find_last_of(" _");
    if (space != std::string_view::npos) return ParseLoggerUnit(heading.substr(space + 1));
    return std::nullopt;
}

std::string IntervalText(int seconds) {
    if (seconds % 3600 == 0) return std::to_string(seconds / 3600) + " h";
    if (seconds % 60 == 0) return std::to_string(seconds / 60) + " min";
    return std::to_string(seconds) + " s";
}

std::string RecordRangeText(const TLoggerFile& file) {
    if (file.SampleCount == 0) return {};
    const auto stampText = [](int64_t local) {
        const int64_t day = DayOfSeconds(local);
        const int64_t second = local - day * kDay;
        const int h = static_cast<int>(second / 3600), m = static_cast<int>(second / 60 % 60);
        const char clock[] = {static_cast<char>('0' + h / 10), static_cast<char>('0' + h % 10), ':',
                              static_cast<char>('0' + m / 10), static_cast<char>('0' + m % 10)};
        return DayText(day) + " " + std::string(clock, 5);
    };
    return stampText(file.FirstLocal) + " to " + stampText(file.LastLocal);
}

std::string MarksText(const TLoggerFile& file) {
    std::string text = file.Separator == '\t' ? "tab" : file.Separator == ';' ? "semicolon" : "comma";
    text += file.DecimalComma ? ", decimal comma" : ", decimal point";
    if (file.GroupingRead)
        text += file.DecimalComma ? ", thousands grouped with points" : ", thousands grouped with commas";
    return text;
}

std::string UtcOffsetText(int minutes) {
    const int whole = minutes < 0 ? -minutes : minutes;
    const int h = whole / 60, m = whole % 60;
    const char text[] = {minutes < 0 ? '-' : '+',         static_cast<char>('0' + h / 10 % 10),
                         static_cast<char>('0' + h % 10), ':',
                         static_cast<char>('0' + m / 10), static_cast<char>('0' + m % 10)};
    return std::string(text, 6);
}

std::optional<int> ParseUtcOffset(std::string_view text) {
    text = TrimBlanks(text);
    if (text == "Z" || text == "z") return 0;
    int sign = 1;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        sign = text.front() == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    const auto digits = [](std::string_view d, int& value) {
        if (d.empty() || d.size() > 2) return false;
        value = 0;
        for (const char c : d) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        return true;
    };
    int hours = 0, minutes = 0;
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
        if (!digits(text.substr(0, colon), hours) || text.size() - colon - 1 != 2 ||
            !digits(text.substr(colon + 1), minutes))
            return std::nullopt;
    } else if (text.size() == 4) {
        if (!digits(text.substr(0, 2), hours) || !digits(text.substr(2), minutes)) return std::nullopt;
    } else if (!digits(text, hours)) {
        return std::nullopt;
    }
    if (hours > 14 || minutes > 59) return std::nullopt;
    return sign * (hours * 60 + minutes);
}

int64_t TLoggerFile::SpanDays() const {
    return SampleCount == 0 ? 0 : DayOfSeconds(LastLocal) - DayOfSeconds(FirstLocal) + 1;
}

std::vector<int64_t> TLoggerFile::Days(bool stampAtEnd) const {
    std::vector<int64_t> days;
    for (const TLoggerChannel& channel : Channels)
        for (const TDayBins& bins : channel.Bins(stampAtEnd).Days)
            if (std::any_of(bins.Hours.begin(), bins.Hours.end(),
                            [](const THourBin& b) { return b.Seconds > 0; }))
                days.push_back(bins.Day);
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

const TLoggerChannel* TLoggerFile::FindChannel(std::string_view nameOrColumn) const {
    const bool number = !nameOrColumn.empty() && std::all_of(nameOrColumn.begin(), nameOrColumn.end(),
                                                             [](char c) { return c >= '0' && c <= '9'; });
    for (const TLoggerChannel& channel : Channels) {
        if (number ? std::to_string(channel.Column) == nameOrColumn
                   : Lower(channel.Name) == Lower(nameOrColumn))
            return &channel;
    }
    return nullptr;
}

const std::array<THourBin, 24>* TChannelBins::Find(int64_t day) const {
    const auto at = std::lower_bound(Days.begin(), Days.end(), day,
                                     [](const TDayBins& bins, int64_t d) { return bins.Day < d; });
    return at != Days.end() && at->Day == day ? &at->Hours : nullptr;
}

std::array<THourBin, 24>& TChannelBins::At(int64_t day) {
    // Samples come in time order: nearly always the last day, or the one after it.
    if (Days.empty() || Days.back().Day < day) {
        Days.push_back({day, {}});
        return Days.back().Hours;
    }
    if (Days.back().Day == day) return Days.back().Hours;
    auto at = std::lower_bound(Days.begin(), Days.end(), day,
                               [](const TDayBins& bins, int64_t d) { return bins.Day < d; });
    if (at == Days.end() || at->Day != day) at = Days.insert(at, {day, {}});
    return at->Hours;
}

double TChannelBins::DayCoverage(int64_t day) const {
    const auto* hours = Find(day);
    if (!hours) return 0;
    double covered = 0;
    for (const THourBin& bin : *hours)
        covered += std::min(1.0, bin.Seconds / 3600.0);
    return covered / 24.0;
}

THourlyMeans HourlyMeans(const TChannelBins& bins, const std::vector<int64_t>& days, double minCoverage) {
    THourlyMeans means;
    std::array<double, 24> sum{}, seconds{}, coverage{};
    means.LowestCoverage.fill(days.empty() ? 0.0 : 1.0);
    means.LowestDay.fill(days.empty() ? 0 : days.front());
    for (const int64_t day : days) {
        const auto* hours = bins.Find(day);
        for (std::size_t h = 0; h < 24; ++h) {
            const THourBin bin = hours ? (*hours)[h] : THourBin{};
            sum[h] += bin.Sum;
            seconds[h] += bin.Seconds;
            // A clock put back gives an hour twice: covered, not more than covered.
            const double covered = std::min(1.0, bin.Seconds / 3600.0);
            coverage[h] += covered;
            if (covered < means.LowestCoverage[h]) {
                means.LowestCoverage[h] = covered;
                means.LowestDay[h] = day;
            }
            if (covered < minCoverage) means.Low.push_back({day, static_cast<int>(h), covered});
        }
    }
    for (std::size_t h = 0; h < 24; ++h) {
        means.Mean[h] = seconds[h] > 0 ? sum[h] / seconds[h] : kNaN;
        // Values near the largest a number holds add up past it: no mean, and said so.
        if (seconds[h] > 0 && !std::isfinite(means.Mean[h])) {
            means.Mean[h] = kNaN;
            if (!means.NotFinite) means.NotFinite = static_cast<int>(h);
        }
        means.Coverage[h] = days.empty() ? 0.0 : coverage[h] / static_cast<double>(days.size());
    }
    return means;
}

std::vector<int64_t> DaysBetween(int64_t from, int64_t to, TDayFilter filter) {
    std::vector<int64_t> days;
    for (int64_t d = from; d <= to; ++d) {
        const int w = WeekdayOfDays(d);
        const bool weekend = w == 0 || w == 6;
        if (filter == TDayFilter::All || (filter == TDayFilter::Weekends) == weekend) days.push_back(d);
    }
    return days;
}

} // namespace halvern
