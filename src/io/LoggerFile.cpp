// The logger file reader: layout detection, the record, and the hourly means.
#include "io/LoggerFile.h"

#include "io/FileAccess.h"
#include "io/TextCodec.h"
#include "io/TimeStamp.h"
#include "model/FlowUnits.h"
#include "model/Messages.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>

namespace halvern {
namespace {

constexpr int64_t kDay = 86400;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Metres of water per kPa: a metre of water presses 9.80665 kPa.
constexpr double kMetresPerKPa = 1.0 / 9.80665;

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::string_view TrimView(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The fields of a line; a field in double quotes may hold the separator ("" is a quote in it).
void SplitLine(std::string_view line, char sep, std::vector<std::string_view>& out) {
    out.clear();
    std::size_t pos = 0;
    for (;;) {
        if (pos < line.size() && line[pos] == '"') {
            std::size_t look = pos + 1;
            for (;;) {
                const std::size_t end = line.find('"', look);
                if (end == std::string_view::npos) {
                    out.push_back(line.substr(pos + 1));
                    return;
                }
                if (end + 1 < line.size() && line[end + 1] == '"') {
                    look = end + 2;
                    continue;
                }
                out.push_back(line.substr(pos + 1, end - pos - 1));
                pos = end + 1;
                break;
            }
            const std::size_t next = line.find(sep, pos);
            if (next == std::string_view::npos) return;
            pos = next + 1;
            continue;
        }
        const std::size_t next = line.find(sep, pos);
        if (next == std::string_view::npos) {
            out.push_back(line.substr(pos));
            return;
        }
        out.push_back(line.substr(pos, next - pos));
        pos = next + 1;
    }
}

enum class TCellKind { Empty, Number, Bad };

TCellKind ReadValue(std::string_view field, bool decimalComma, double& value) {
    field = TrimView(field);
    if (field.empty()) return TCellKind::Empty;
    char buffer[64];
    if (field.size() >= sizeof buffer) return TCellKind::Bad;
    std::size_t n = 0;
    for (std::size_t i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c == ',') {
            if (!decimalComma) return TCellKind::Bad;
            c = '.';
        }
        if (i == 0 && c == '+') continue; // from_chars takes no plus sign
        buffer[n++] = c;
    }
    const auto [end, ec] = std::from_chars(buffer, buffer + n, value);
    if (ec != std::errc() || end != buffer + n || !std::isfinite(value)) return TCellKind::Bad;
    return TCellKind::Number;
}

std::string Unquote(std::string_view field) {
    std::string text(TrimView(field));
    for (std::size_t at = text.find("\"\""); at != std::string::npos; at = text.find("\"\"", at + 1))
        text.erase(at, 1);
    return text;
}

// Where the time stamp stands on a line, if it has one: a column with date and time, or a
// date column followed by a time column.
bool FindStamp(const std::vector<std::string_view>& fields, int& stampCol, int& timeCol) {
    for (std::size_t c = 0; c < fields.size(); ++c) {
        const auto parts = ParseStampParts(fields[c]);
        if (!parts || !parts->HasDate) continue;
        if (parts->HasTime) {
            stampCol = static_cast<int>(c);
            timeCol = -1;
            return true;
        }
        if (c + 1 < fields.size()) {
            const auto time = ParseStampParts(fields[c + 1]);
            if (time && time->HasTime && !time->HasDate) {
                stampCol = static_cast<int>(c);
                timeCol = static_cast<int>(c + 1);
                return true;
            }
        }
    }
    return false;
}

// The stamp of a sample as read, before the order of day and month is settled.
struct TRawStamp {
    int16_t Year;
    int8_t First, Second;
    int32_t SecondOfDay;
    int16_t Offset; // minutes east of UTC
};

std::string StampFormatText(const TStampParts& first, bool monthFirst, bool twoColumns) {
    std::string date;
    const std::string s(1, first.DateSeparator);
    switch (first.Kind) {
    case TDateKind::Iso:
        date = "yyyy-mm-dd";
        break;
    case TDateKind::YearSlash:
        date = "yyyy/mm/dd";
        break;
    case TDateKind::Numeric:
        date = monthFirst ? "mm" + s + "dd" + s + "yyyy" : "dd" + s + "mm" + s + "yyyy";
        break;
    }
    std::string time = first.HasSeconds ? "hh:mm:ss" : "hh:mm";
    if (first.HasOffset) time += "±hh:mm";
    if (twoColumns) return date + " + " + time + " (two columns)";
    return date + (first.TimeSeparator == 'T' ? "T" : " ") + time;
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

std::vector<int64_t> TLoggerFile::Days() const {
    std::vector<int64_t> days;
    if (Local.empty()) return days;
    for (int64_t d = FloorDiv(Local.front(), kDay); d <= FloorDiv(Local.back(), kDay); ++d)
        days.push_back(d);
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

TLoggerFile ReadLoggerFile(const std::string& fileName, const TLoggerOptions& options) {
    const TFileResult file = ReadFileBytes(fileName);
    if (!file.Ok) {
        TLoggerFile failed;
        failed.FileName = fileName;
        failed.Error = FileFailureMessage(fileName, file);
        return failed;
    }
    return ReadLoggerBytes(file.Bytes, fileName, options);
}

TLoggerFile ReadLoggerBytes(std::string_view bytes, const std::string& fileName,
                            const TLoggerOptions& options) {
    TLoggerFile result;
    result.FileName = fileName;
    const auto fail = [&](std::size_t line, const std::string& reason) {
        result.Error = Msg::LoggerFileRefused(fileName, line, reason);
        result.Local.clear();
        result.Elapsed.clear();
        result.Channels.clear();
        return result;
    };

    // The code page: UTF-8, with or without its mark, else Windows-1252.
    std::string converted;
    std::string_view text = bytes;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        result.CodePage = "UTF-8 with byte-order mark";
        text.remove_prefix(3);
    } else if (IsValidUtf8(text)) {
        result.CodePage = "UTF-8";
    } else {
        result.CodePage = "Windows-1252";
        converted = Windows1252ToUtf8(text);
        text = converted;
    }

    std::vector<std::string_view> lines;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        pos = end + 1;
    }
    const auto blank = [](std::string_view line) { return TrimView(line).empty(); };

    // The separator: the one that splits the last lines (the data) into the same number of
    // fields, two at least. Tab and semicolon first: a file with decimal commas holds commas too.
    std::vector<std::size_t> sample;
    for (std::size_t i = lines.size(); i-- > 0 && sample.size() < 50;)
        if (!blank(lines[i])) sample.push_back(i);
    if (sample.empty()) return fail(0, Msg::LoggerFileEmpty);
    std::vector<std::string_view> fields;
    std::size_t columns = 0;
    for (const char sep : {'\t', ';', ','}) {
        SplitLine(lines[sample.front()], sep, fields);
        const std::size_t last = fields.size();
        std::size_t agree = 0;
        for (const std::size_t i : sample) {
            SplitLine(lines[i], sep, fields);
            agree += fields.size() == last;
        }
        // Metadata lines above the data may differ; most of the last lines may not.
        if (last >= 2 && agree * 2 >= sample.size()) {
            result.Separator = sep;
            columns = last;
            break;
        }
    }
    if (columns == 0) return fail(0, Msg::LoggerNoColumns);
    const char sep = result.Separator;
    if (sep != ',') {
        double value = 0;
        for (const std::size_t i : sample) {
            SplitLine(lines[i], sep, fields);
            for (std::string_view f : fields)
                if (f.find(',') != std::string_view::npos && ReadValue(f, true, value) == TCellKind::Number)
                    result.DecimalComma = true;
        }
    }
    const bool decimalComma = result.DecimalComma;

    // The first line of data: the time stamp, and a number beside it; so is the next line.
    int stampCol = -1, timeCol = -1;
    std::size_t first = lines.size();
    for (std::size_t i = 0; i < lines.size() && first == lines.size(); ++i) {
        if (blank(lines[i])) continue;
        SplitLine(lines[i], sep, fields);
        if (fields.size() != columns || !FindStamp(fields, stampCol, timeCol)) continue;
        double value = 0;
        bool number = false;
        for (std::size_t c = 0; c < fields.size(); ++c)
            if (static_cast<int>(c) != stampCol && static_cast<int>(c) != timeCol &&
                ReadValue(fields[c], decimalComma, value) == TCellKind::Number)
                number = true;
        if (!number) continue;
        std::size_t next = i + 1;
        while (next < lines.size() && blank(lines[next]))
            ++next;
        if (next < lines.size()) {
            SplitLine(lines[next], sep, fields);
            int s2 = -1, t2 = -1;
            if (!FindStamp(fields, s2, t2) || s2 != stampCol || t2 != timeCol) continue;
        }
        first = i;
    }
    if (first == lines.size()) return fail(0, Msg::LoggerNoTimeStamp);
    result.FirstDataLine = first + 1;
    result.LinesBefore = 0;
    for (std::size_t i = 0; i < first; ++i)
        if (!blank(lines[i])) ++result.LinesBefore;
    result.StampColumn = stampCol + 1;
    result.TimeColumn = timeCol >= 0 ? timeCol + 1 : 0;

    // The heading: the last line before the data with as many fields.
    std::vector<std::string> names(columns);
    for (std::size_t c = 0; c < columns; ++c)
        names[c] = "Column " + std::to_string(c + 1);
    for (std::size_t i = first; i-- > 0;) {
        if (blank(lines[i])) continue;
        SplitLine(lines[i], sep, fields);
        if (fields.size() == columns) {
            result.HasHeading = true;
            for (std::size_t c = 0; c < columns; ++c)
                if (!Unquote(fields[c]).empty()) names[c] = Unquote(fields[c]);
        }
        break;
    }

    // The channels: every other column whose first values are numbers (or empty).
    std::vector<int> channelCols;
    for (std::size_t c = 0; c < columns; ++c) {
        if (static_cast<int>(c) == stampCol || static_cast<int>(c) == timeCol) continue;
        std::size_t numbers = 0, words = 0;
        std::size_t seen = 0;
        for (std::size_t i = first; i < lines.size() && seen < 50; ++i) {
            if (blank(lines[i])) continue;
            ++seen;
            SplitLine(lines[i], sep, fields);
            double value = 0;
            const TCellKind kind =
                c < fields.size() ? ReadValue(fields[c], decimalComma, value) : TCellKind::Empty;
            numbers += kind == TCellKind::Number;
            words += kind == TCellKind::Bad;
        }
        // A column of words (a status, a logger's name) is no channel; a stray word in a
        // column of numbers is a fault of its line.
        if (numbers > 0 && numbers >= words) channelCols.push_back(static_cast<int>(c));
    }
    if (channelCols.empty()) return fail(first + 1, Msg::LoggerNoChannel);
    for (const int c : channelCols) {
        TLoggerChannel channel;
        channel.Name = names[static_cast<std::size_t>(c)];
        channel.Column = c + 1;
        result.Channels.push_back(std::move(channel));
    }

    // Every line of data.
    std::vector<TRawStamp> stamps;
    std::vector<std::size_t> lineOf;
    const std::size_t expected = lines.size() - first;
    stamps.reserve(expected);
    lineOf.reserve(expected);
    for (TLoggerChannel& channel : result.Channels)
        channel.Values.reserve(expected);
    TStampParts firstParts;
    bool dayFirstPossible = true, monthFirstPossible = true;
    std::size_t dayFirstBreaker = 0, monthFirstBreaker = 0;
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (blank(lines[i])) continue;
        SplitLine(lines[i], sep, fields);
        const std::size_t lineNo = i + 1;
        if (static_cast<std::size_t>(std::max(stampCol, timeCol)) >= fields.size())
            return fail(lineNo, Msg::LoggerLineFields(fields.size(), columns));
        std::optional<TStampParts> parts = ParseStampParts(fields[static_cast<std::size_t>(stampCol)]);
        if (parts && timeCol >= 0) {
            const auto time = ParseStampParts(fields[static_cast<std::size_t>(timeCol)]);
            if (parts->HasTime || !time || time->HasDate || !time->HasTime) {
                parts.reset();
            } else {
                const TStampParts date = *parts;
                parts = time;
                parts->Kind = date.Kind;
                parts->Year = date.Year;
                parts->First = date.First;
                parts->Second = date.Second;
                parts->HasDate = true;
                parts->DateSeparator = date.DateSeparator;
            }
        }
        if (parts && (!parts->HasDate || !parts->HasTime)) parts.reset();
        if (stamps.empty() && parts) firstParts = *parts;
        if (!parts || parts->Kind != firstParts.Kind || parts->HasOffset != firstParts.HasOffset)
            return fail(lineNo, Msg::LoggerLineNoTimeStamp(
                                    QuotedForMessage(fields[static_cast<std::size_t>(stampCol)])));
        if (parts->Kind == TDateKind::Numeric) {
            if (dayFirstPossible && !ValidDate(parts->Year, parts->Second, parts->First)) {
                dayFirstPossible = false;
                dayFirstBreaker = lineNo;
            }
            if (monthFirstPossible && !ValidDate(parts->Year, parts->First, parts->Second)) {
                monthFirstPossible = false;
                monthFirstBreaker = lineNo;
            }
        }
        stamps.push_back({static_cast<int16_t>(parts->Year), static_cast<int8_t>(parts->First),
                          static_cast<int8_t>(parts->Second),
                          static_cast<int32_t>(parts->Hour * 3600 + parts->Minute * 60 + parts->Second_ +
                                               std::lround(parts->Fraction)),
                          static_cast<int16_t>(parts->OffsetMinutes)});
        lineOf.push_back(lineNo);
        for (TLoggerChannel& channel : result.Channels) {
            const std::size_t c = static_cast<std::size_t>(channel.Column - 1);
            double value = kNaN;
            const TCellKind kind =
                c < fields.size() ? ReadValue(fields[c], decimalComma, value) : TCellKind::Empty;
            if (kind == TCellKind::Bad)
                return fail(lineNo,
                            Msg::LoggerLineNotANumber(QuotedForMessage(fields[c]), c + 1, channel.Name));
            if (kind == TCellKind::Empty)
                value = kNaN;
            else
                ++channel.Samples;
            channel.Values.push_back(value);
        }
        result.LastDataLine = lineNo;
    }
    if (stamps.size() < 2) return fail(result.FirstDataLine, Msg::LoggerSingleSample);

    // Day and month: as the user says, else day first unless the days prove otherwise.
    bool monthFirst = false;
    if (firstParts.Kind == TDateKind::Numeric) {
        if (options.MonthFirst) {
            if (!monthFirstPossible) return fail(monthFirstBreaker, Msg::LoggerNotMonthFirst);
            monthFirst = true;
        } else if (!dayFirstPossible) {
            if (!monthFirstPossible) return fail(monthFirstBreaker, Msg::LoggerDatesMixed);
            monthFirst = true;
        }
    }
    (void)dayFirstBreaker;
    result.StampFormat = StampFormatText(firstParts, monthFirst, timeCol >= 0);

    result.Local.resize(stamps.size());
    for (std::size_t i = 0; i < stamps.size(); ++i) {
        const TRawStamp& s = stamps[i];
        int month = s.First, day = s.Second;
        if (firstParts.Kind == TDateKind::Numeric && !monthFirst) std::swap(month, day);
        result.Local[i] = DaysFromCivil(s.Year, month, day) * kDay + s.SecondOfDay;
    }

    // The usual step: the most frequent forward step of the clock.
    std::map<int64_t, std::size_t> steps;
    for (std::size_t i = 1; i < stamps.size(); ++i)
        if (const int64_t d = result.Local[i] - result.Local[i - 1]; d > 0) ++steps[d];
    if (steps.empty()) return fail(lineOf[1], Msg::LoggerTimeStandsStill);
    const int64_t interval = std::max_element(steps.begin(), steps.end(), [](const auto& a, const auto& b) {
                                 return a.second < b.second;
                             })->first;
    if (interval > 3600)
        return fail(0, Msg::LoggerSamplesTooFarApart(IntervalText(static_cast<int>(interval))));
    result.IntervalSeconds = static_cast<int>(interval);

    // Elapsed time: the clock changes and UTC offsets taken out. Without offsets a clock put
    // back shows as a step back of one hour less a sample, a clock put forward (at night) as
    // a step of one hour and a sample.
    result.Elapsed.resize(stamps.size());
    int64_t correction = 0;
    for (std::size_t i = 0; i < stamps.size(); ++i) {
        const int64_t local = result.Local[i];
        if (firstParts.HasOffset) {
            result.Elapsed[i] = local - int64_t{stamps[i].Offset} * 60;
            if (i > 0 && stamps[i].Offset != stamps[i - 1].Offset)
                result.ClockChanges.push_back(
                    {FloorDiv(local, kDay), 24 - (stamps[i].Offset - stamps[i - 1].Offset) / 60, lineOf[i]});
        } else {
            if (i > 0) {
                const int64_t step = local - result.Local[i - 1];
                const int64_t secondOfDay = result.Local[i - 1] - FloorDiv(result.Local[i - 1], kDay) * kDay;
                if (step == interval - 3600 && step <= 0) {
                    correction += 3600;
                    result.ClockChanges.push_back({FloorDiv(local, kDay), 25, lineOf[i]});
                } else if (step == interval + 3600 && secondOfDay < 4 * 3600) {
                    correction -= 3600;
                    result.ClockChanges.push_back({FloorDiv(local, kDay), 23, lineOf[i]});
                }
            }
            result.Elapsed[i] = local + correction;
        }
        if (i > 0 && result.Elapsed[i] <= result.Elapsed[i - 1]) {
            if (result.Elapsed[i] == result.Elapsed[i - 1])
                return fail(lineOf[i], Msg::LoggerTimeRepeats(lineOf[i - 1]));
            return fail(lineOf[i], Msg::LoggerTimeGoesBack(lineOf[i - 1]));
        }
    }
    return result;
}

std::string IntervalText(int seconds) {
    if (seconds % 3600 == 0) return std::to_string(seconds / 3600) + " h";
    if (seconds % 60 == 0) return std::to_string(seconds / 60) + " min";
    return std::to_string(seconds) + " s";
}

std::string RecordRangeText(const TLoggerFile& file) {
    if (file.Local.empty()) return {};
    const auto stampText = [](int64_t local) {
        const int64_t day = FloorDiv(local, kDay);
        const int64_t second = local - day * kDay;
        const int h = static_cast<int>(second / 3600), m = static_cast<int>(second / 60 % 60);
        const char clock[] = {static_cast<char>('0' + h / 10), static_cast<char>('0' + h % 10), ':',
                              static_cast<char>('0' + m / 10), static_cast<char>('0' + m % 10)};
        return DayText(day) + " " + std::string(clock, 5);
    };
    return stampText(file.Local.front()) + " to " + stampText(file.Local.back());
}

TChannelBins BinChannel(const TLoggerFile& file, const TLoggerChannel& channel, bool stampAtEnd) {
    TChannelBins bins;
    const std::size_t n = file.Local.size();
    if (n == 0) return bins;
    const int64_t interval = file.IntervalSeconds;
    bins.FirstDay = FloorDiv(file.Local.front() - (stampAtEnd ? interval : 0), kDay);
    const int64_t lastDay = FloorDiv(file.Local.back() + (stampAtEnd ? 0 : interval), kDay);
    bins.Days.assign(static_cast<std::size_t>(lastDay - bins.FirstDay + 1), {});
    for (std::size_t i = 0; i < n; ++i) {
        const double value = channel.Values[i];
        if (std::isnan(value)) continue;
        int64_t length = interval;
        int64_t start = file.Local[i];
        if (stampAtEnd) {
            if (i > 0) length = std::min(length, file.Elapsed[i] - file.Elapsed[i - 1]);
            start -= length;
        } else if (i + 1 < n) {
            length = std::min(length, file.Elapsed[i + 1] - file.Elapsed[i]);
        }
        // Spread the interval over the clock hours it touches.
        while (length > 0) {
            const int64_t hourStart = FloorDiv(start, 3600) * 3600;
            const int64_t take = std::min(length, hourStart + 3600 - start);
            const int64_t day = FloorDiv(start, kDay);
            const auto hour = static_cast<std::size_t>((start - day * kDay) / 3600);
            THourBin& bin = bins.Days[static_cast<std::size_t>(day - bins.FirstDay)][hour];
            bin.Sum += value * static_cast<double>(take);
            bin.Seconds += static_cast<double>(take);
            start += take;
            length -= take;
        }
    }
    return bins;
}

THourlyMeans HourlyMeans(const TChannelBins& bins, const std::vector<int64_t>& days, double minCoverage) {
    THourlyMeans means;
    std::array<double, 24> sum{}, seconds{}, coverage{};
    for (const int64_t day : days) {
        const int64_t index = day - bins.FirstDay;
        const bool inRecord = index >= 0 && index < static_cast<int64_t>(bins.Days.size());
        for (std::size_t h = 0; h < 24; ++h) {
            const THourBin bin = inRecord ? bins.Days[static_cast<std::size_t>(index)][h] : THourBin{};
            sum[h] += bin.Sum;
            seconds[h] += bin.Seconds;
            // A clock put back gives an hour twice: covered, not more than covered.
            const double covered = std::min(1.0, bin.Seconds / 3600.0);
            coverage[h] += covered;
            if (covered < minCoverage) means.Low.push_back({day, static_cast<int>(h), covered});
        }
    }
    for (std::size_t h = 0; h < 24; ++h) {
        means.Mean[h] = seconds[h] > 0 ? sum[h] / seconds[h] : kNaN;
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
