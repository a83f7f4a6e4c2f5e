// The logger file reader. The layout is found from the first lines; the record is then read
// a line at a time and binned by hour as it goes, so a file is never held whole. What the
// layout cannot settle from the first lines (the order of day and month, the decimal mark,
// the usual step between samples) is taken from them and checked against the whole record;
// where the whole record says otherwise it is read again with what it says.
#include "io/LoggerFile.h"

#include "io/LoggerNumbers.h"
#include "io/LoggerText.h"
#include "io/TextCodec.h"
#include "io/TimeStamp.h"
#include "model/Messages.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>

namespace halvern {
namespace {

constexpr int64_t kDay = 86400;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The lines looked at for the layout: metadata above the data is never this long.
constexpr std::size_t kHeadLines = 1000;
constexpr std::size_t kHeadBytes = std::size_t{16} << 20;
// The lines whose fields decide the separator and the channels.
constexpr std::size_t kLayoutSample = 50;
// Clocks change at night: the last stamp before a change is between 22:00 and 04:00.
constexpr int64_t kNightStarts = 22 * 3600, kNightEnds = 4 * 3600;
// How often a long read tells how far it is.
constexpr std::size_t kProgressLines = 1u << 16;

bool Blank(std::string_view line) {
    return TrimBlanks(line).empty();
}

// A field as a message quotes it: bytes that are not UTF-8 are Windows-1252.
std::string Quoted(std::string_view field) {
    return QuotedForMessage(IsValidUtf8(field) ? std::string(field) : Windows1252ToUtf8(field));
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

std::string Unquote(std::string_view field) {
    std::string text(TrimBlanks(field));
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

// The stamp of a data line, date and time together.
std::optional<TStampParts> LineStamp(const std::vector<std::string_view>& fields, int stampCol, int timeCol) {
    std::optional<TStampParts> parts = ParseStampParts(fields[static_cast<std::size_t>(stampCol)]);
    if (parts && timeCol >= 0) {
        const auto time = ParseStampParts(fields[static_cast<std::size_t>(timeCol)]);
        if (parts->HasTime || !time || time->HasDate || !time->HasTime) return std::nullopt;
        const TStampParts date = *parts;
        parts = time;
        parts->Kind = date.Kind;
        parts->Year = date.Year;
        parts->First = date.First;
        parts->Second = date.Second;
        parts->HasDate = true;
        parts->DateSeparator = date.DateSeparator;
    }
    if (parts && (!parts->HasDate || !parts->HasTime)) return std::nullopt;
    return parts;
}

// The clock seconds a stamp writes, day and month in the order given; nothing when that
// order names no real day.
std::optional<int64_t> WrittenSeconds(const TStampParts& p, bool monthFirst) {
    int month = p.First, day = p.Second;
    if (p.Kind == TDateKind::Numeric && !monthFirst) std::swap(month, day);
    if (!ValidDate(p.Year, month, day)) return std::nullopt;
    return DaysFromCivil(p.Year, month, day) * kDay + p.Hour * 3600 + p.Minute * 60 + p.Second_ +
           std::lround(p.Fraction);
}

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
    if (first.HasOffset) time += first.Utc ? "Z" : "±hh:mm";
    if (twoColumns) return date + " + " + time + " (two columns)";
    return date + (first.TimeSeparator == 'T' ? "T" : " ") + time;
}

// "4 GB", "5.2 GB".
std::string GigabytesText(std::uint64_t bytes) {
    const std::uint64_t tenths = (bytes * 10 + (std::uint64_t{1} << 29)) >> 30;
    return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "") + " GB";
}

// The most frequent forward step of the clock (the shortest of equally frequent ones).
int64_t UsualStep(const std::map<int64_t, std::size_t>& steps) {
    if (steps.empty()) return 0;
    return std::max_element(steps.begin(), steps.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

// Forward steps counted without a map operation for every line: a record's steps are nearly
// all the same.
class TStepCount {
public:
    void Add(int64_t step) {
        if (step == last_) {
            ++run_;
            return;
        }
        Flush();
        last_ = step;
        run_ = 1;
    }
    const std::map<int64_t, std::size_t>& Counts() {
        Flush();
        return counts_;
    }

private:
    void Flush() {
        if (run_ > 0) counts_[last_] += run_;
        run_ = 0;
    }
    std::map<int64_t, std::size_t> counts_;
    int64_t last_ = 0;
    std::size_t run_ = 0;
};

// Spreads a sample's interval over the clock hours it touches.
void Spread(TChannelBins& bins, int64_t start, int64_t length, double value) {
    while (length > 0) {
        const int64_t day = DayOfSeconds(start);
        const int64_t second = start - day * kDay;
        const int64_t take = std::min(length, 3600 - second % 3600);
        THourBin& bin = bins.At(day)[static_cast<std::size_t>(second / 3600)];
        bin.Sum += value * static_cast<double>(take);
        bin.Seconds += static_cast<double>(take);
        start += take;
        length -= take;
    }
}

void AddGap(TChannelBins& bins, int64_t from, int64_t to) {
    if (to > from && bins.Gaps.size() < TChannelBins::MaxGapsKept) bins.Gaps.push_back({from, to});
}

// Where each channel's coverage stands as the lines go by.
struct TChannelState {
    bool Pending = false; // a sample waits for the next stamp to end its interval
    double PendingValue = 0;
    int64_t PendingLocal = 0, PendingElapsed = 0;
    bool StartCovered = false, EndCovered = false;
    int64_t StartEndElapsed = 0, StartEndLocal = 0; // where coverage ends, stamps at the start
    int64_t EndEndElapsed = 0, EndEndLocal = 0;     // the same, stamps at the end
};

struct THeadLine {
    std::size_t Number = 0;
    std::string Text;
};

// What the first lines cannot settle for certain.
struct TDecisions {
    bool MonthFirst = false;
    bool DecimalComma = false;
    int64_t Interval = 0;
    bool operator==(const TDecisions&) const = default;
};

class TReader {
public:
    TReader(TLoggerText& text, TLoggerFile& file, const TLoggerOptions& options)
        : text_(text), file_(file), options_(options) {}

    void Read() {
        if (!FindLayout()) return;
        TDecisions decisions = first_;
        // Each read settles at least one more thing for good: the order of day and month and
        // the decimal mark from every stamp and number, then the step from every stamp.
        for (int pass = 0; pass < 4; ++pass) {
            std::optional<TDecisions> next = Pass(decisions);
            if (!next) return;
            if (*next == decisions) {
                Finish(decisions);
                return;
            }
            decisions = *next;
        }
        Fail(0, Msg::LoggerTimeStandsStill);
    }

private:
    bool Fail(std::size_t line, const std::string& reason) {
        file_.Error = Msg::LoggerFileRefused(file_.FileName, line, reason);
        file_.Channels.clear();
        file_.Local.clear();
        file_.Elapsed.clear();
        file_.ClockChanges.clear();
        file_.SampleCount = 0;
        return false;
    }
    bool TextFailed() {
        if (text_.Error().empty()) return false;
        return !Fail(text_.ErrorLine(), text_.Error());
    }
    void NoteBytes(std::string_view line) {
        if (!utf8_) return;
        // Most lines are plain ASCII: eight bytes at a time without a high bit.
        std::size_t i = 0;
        for (; i + 8 <= line.size(); i += 8) {
            uint64_t word = 0;
            std::memcpy(&word, line.data() + i, 8);
            if (word & 0x8080808080808080u) break;
        }
        for (; i < line.size(); ++i)
            if (static_cast<unsigned char>(line[i]) >= 0x80) {
                utf8_ = IsValidUtf8(line);
                return;
            }
    }
    bool Tell() {
        if (!options_.Progress || options_.Progress(text_.Fraction())) return true;
        file_.Cancelled = true;
        return Fail(0, Msg::LoggerReadStopped);
    }

    bool FindLayout();
    std::optional<TDecisions> Pass(const TDecisions& decisions);
    void Finish(const TDecisions& decisions);

    TLoggerText& text_;
    TLoggerFile& file_;
    const TLoggerOptions& options_;
    bool utf8_ = true;
    std::size_t columns_ = 0;
    int stampCol_ = -1, timeCol_ = -1;
    std::size_t firstData_ = 0;
    std::vector<int> channelCols_;
    TStampParts firstParts_;
    TDecisions first_;
    bool groupingRead_ = false;
};

bool TReader::FindLayout() {
    std::vector<THeadLine> head;
    std::size_t headBytes = 0;
    std::string_view line;
    while (head.size() < kHeadLines && headBytes < kHeadBytes) {
        if (!text_.Next(line)) {
            if (TextFailed()) return false;
            break;
        }
        headBytes += line.size() + 1;
        NoteBytes(line);
        if (!Blank(line)) head.push_back({text_.LineNumber(), std::string(line)});
    }
    if (head.empty()) return Fail(0, Msg::LoggerFileEmpty);

    // The separator: the one that splits the last lines (the data) into the same number of
    // fields, two at least. Tab and semicolon first: a file with decimal commas holds commas too.
    const std::size_t sampleFrom = head.size() > kLayoutSample ? head.size() - kLayoutSample : 0;
    std::vector<std::string_view> fields;
    for (const char sep : {'\t', ';', ','}) {
        SplitLine(head.back().Text, sep, fields);
        const std::size_t last = fields.size();
        std::size_t agree = 0;
        for (std::size_t i = sampleFrom; i < head.size(); ++i) {
            SplitLine(head[i].Text, sep, fields);
            agree += fields.size() == last;
        }
        // Metadata lines above the data may differ; most of the last lines may not.
        if (last >= 2 && agree * 2 >= head.size() - sampleFrom) {
            file_.Separator = sep;
            columns_ = last;
            break;
        }
    }
    if (columns_ == 0) return Fail(0, Msg::LoggerNoColumns);
    if (columns_ > MaxLoggerColumns) return Fail(0, Msg::LoggerTooManyColumns(columns_, MaxLoggerColumns));
    const char sep = file_.Separator;

    // The first line of data: the time stamp, and a number beside it; so is the next line.
    std::size_t first = head.size();
    for (std::size_t i = 0; i < head.size() && first == head.size(); ++i) {
        SplitLine(head[i].Text, sep, fields);
        if (fields.size() != columns_ || !FindStamp(fields, stampCol_, timeCol_)) continue;
        bool number = false;
        for (std::size_t c = 0; c < fields.size() && !number; ++c)
            number = static_cast<int>(c) != stampCol_ && static_cast<int>(c) != timeCol_ &&
                     ShapeOfNumber(fields[c]).Number;
        if (!number) continue;
        if (i + 1 < head.size()) {
            SplitLine(head[i + 1].Text, sep, fields);
            int s2 = -1, t2 = -1;
            if (!FindStamp(fields, s2, t2) || s2 != stampCol_ || t2 != timeCol_) continue;
        }
        first = i;
    }
    if (first == head.size()) return Fail(0, Msg::LoggerNoTimeStamp);
    // Lines just before it with a stamp in its place are data too, whatever their values say:
    // a first value that is not a number is a fault of its line, not a line of metadata.
    while (first > 0) {
        SplitLine(head[first - 1].Text, sep, fields);
        if (fields.size() != columns_ || !LineStamp(fields, stampCol_, timeCol_)) break;
        --first;
    }
    firstData_ = head[first].Number;
    file_.FirstDataLine = firstData_;
    file_.LinesBefore = first;
    file_.StampColumn = stampCol_ + 1;
    file_.TimeColumn = timeCol_ >= 0 ? timeCol_ + 1 : 0;

    // The heading: the last line before the data, when it has as many fields.
    std::vector<std::string> names(columns_);
    for (std::size_t c = 0; c < columns_; ++c)
        names[c] = "Column " + std::to_string(c + 1);
    if (first > 0) {
        SplitLine(head[first - 1].Text, sep, fields);
        if (fields.size() == columns_) {
            file_.HasHeading = true;
            for (std::size_t c = 0; c < columns_; ++c)
                if (!Unquote(fields[c]).empty()) names[c] = Unquote(fields[c]);
        }
    }

    // The channels: every other column whose first values are numbers (or empty). Each line
    // is split once, however many columns it has.
    std::vector<std::size_t> numbers(columns_), words(columns_);
    for (std::size_t i = first; i < head.size() && i < first + kLayoutSample; ++i) {
        SplitLine(head[i].Text, sep, fields);
        for (std::size_t c = 0; c < columns_ && c < fields.size(); ++c) {
            if (Blank(fields[c])) continue;
            (ShapeOfNumber(fields[c]).Number ? numbers : words)[c]++;
        }
    }
    for (std::size_t c = 0; c < columns_; ++c) {
        if (static_cast<int>(c) == stampCol_ || static_cast<int>(c) == timeCol_) continue;
        // A column of words (a status, a logger's name) is no channel; a stray word in a
        // column of numbers is a fault of its line.
        if (numbers[c] > 0 && numbers[c] >= words[c]) channelCols_.push_back(static_cast<int>(c));
    }
    if (channelCols_.empty()) return Fail(firstData_, Msg::LoggerNoChannel);
    for (const int c : channelCols_) {
        TLoggerChannel channel;
        channel.Name = names[static_cast<std::size_t>(c)];
        channel.Column = c + 1;
        file_.Channels.push_back(std::move(channel));
    }

    // What the first lines of data suggest; the whole record will confirm it or say otherwise.
    TMarkEvidence marks;
    bool dayFirstPossible = true, monthFirstPossible = true;
    std::vector<TStampParts> stamps;
    for (std::size_t i = first; i < head.size(); ++i) {
        SplitLine(head[i].Text, sep, fields);
        if (fields.size() != columns_) break;
        const auto parts = LineStamp(fields, stampCol_, timeCol_);
        if (!parts) break;
        if (parts->Kind == TDateKind::Numeric) {
            dayFirstPossible &= ValidDate(parts->Year, parts->Second, parts->First);
            monthFirstPossible &= ValidDate(parts->Year, parts->First, parts->Second);
        }
        stamps.push_back(*parts);
        for (const int c : channelCols_)
            marks.Add(ShapeOfNumber(fields[static_cast<std::size_t>(c)]), fields[static_cast<std::size_t>(c)],
                      head[i].Number);
    }
    first_.MonthFirst = options_.MonthFirst || (!dayFirstPossible && monthFirstPossible);
    first_.DecimalComma = marks.DecimalComma(sep);
    std::map<int64_t, std::size_t> steps;
    std::optional<int64_t> previous;
    for (const TStampParts& parts : stamps) {
        const auto seconds = WrittenSeconds(parts, first_.MonthFirst);
        if (!seconds) continue;
        if (previous && *seconds > *previous) ++steps[*seconds - *previous];
        previous = seconds;
    }
    first_.Interval = UsualStep(steps);
    return true;
}

std::optional<TDecisions> TReader::Pass(const TDecisions& decisions) {
    if (!text_.Rewind()) {
        TextFailed();
        return std::nullopt;
    }
    for (TLoggerChannel& channel : file_.Channels) {
        channel.Samples = 0;
        channel.StartBins = {};
        channel.EndBins = {};
        channel.Values.clear();
    }
    file_.Local.clear();
    file_.Elapsed.clear();
    file_.ClockChanges.clear();
    file_.SampleCount = 0;
    file_.LastDataLine = 0;

    const char sep = file_.Separator;
    const int64_t interval = decisions.Interval;
    std::vector<TChannelState> states(file_.Channels.size());
    std::vector<std::string_view> fields;
    TMarkEvidence marks;
    TStepCount steps;
    bool dayFirstPossible = true, monthFirstPossible = true;
    std::size_t monthFirstBreaker = 0;
    bool firstStamp = true, binning = true;
    // A fault that what is still to be settled may yet explain: named only once all is settled.
    std::size_t deferredLine = 0;
    std::string deferred;
    std::size_t secondSampleLine = 0;
    bool havePrevious = false;
    int64_t prevLocal = 0, prevElapsed = 0, prevWritten = 0, correction = 0, lastChangeDay = 0;
    bool changed = false;
    int prevOffset = 0;
    std::size_t prevLine = 0, lines = 0;
    std::vector<double> values(file_.Channels.size());
    std::string_view line;
    while (text_.Next(line)) {
        if (++lines % kProgressLines == 0 && !Tell()) return std::nullopt;
        const std::size_t lineNo = text_.LineNumber();
        NoteBytes(line);
        if (lineNo < firstData_ || Blank(line)) continue;
        SplitLine(line, sep, fields);
        if (fields.size() != columns_) {
            Fail(lineNo, Msg::LoggerLineFields(fields.size(), columns_));
            return std::nullopt;
        }
        const auto parts = LineStamp(fields, stampCol_, timeCol_);
        if (firstStamp && parts) firstParts_ = *parts;
        if (!parts || parts->Kind != firstParts_.Kind || parts->HasOffset != firstParts_.HasOffset) {
            Fail(lineNo, Msg::LoggerLineNoTimeStamp(Quoted(fields[static_cast<std::size_t>(stampCol_)])));
            return std::nullopt;
        }
        firstStamp = false;
        if (parts->Utc && !options_.ZoneOffsetMinutes) {
            Fail(lineNo, Msg::LoggerUtcNeedsOffset);
            return std::nullopt;
        }
        if (parts->Kind == TDateKind::Numeric) {
            dayFirstPossible &= ValidDate(parts->Year, parts->Second, parts->First);
            if (monthFirstPossible && !ValidDate(parts->Year, parts->First, parts->Second)) {
                monthFirstPossible = false;
                monthFirstBreaker = lineNo;
            }
        }

        // The values, each read with the marks decided, each telling what its marks are.
        for (std::size_t k = 0; k < file_.Channels.size(); ++k) {
            const std::size_t c = static_cast<std::size_t>(file_.Channels[k].Column - 1);
            values[k] = kNaN;
            if (Blank(fields[c])) continue;
            const TNumberShape shape = ShapeOfNumber(fields[c]);
            if (!shape.Number) {
                Fail(lineNo, Msg::LoggerLineNotANumber(Quoted(fields[c]), c + 1, file_.Channels[k].Name));
                return std::nullopt;
            }
            marks.Add(shape, fields[c], lineNo);
            if (const auto value = ReadNumber(fields[c], shape, decisions.DecimalComma)) {
                values[k] = *value;
            } else if (ReadNumber(fields[c], shape, !decisions.DecimalComma)) {
                binning = false; // read with the other mark once the whole file has shown which
            } else {
                Fail(lineNo, Msg::LoggerLineNumberTooLarge(Quoted(fields[c]), c + 1, file_.Channels[k].Name));
                return std::nullopt;
            }
        }

        // The clock: what the stamp writes, as the zone's local time and as elapsed time.
        const auto written = WrittenSeconds(*parts, decisions.MonthFirst);
        if (!written) {
            binning = false; // day and month the other way round, as the whole record will show
            continue;
        }
        int64_t local = *written, elapsed = *written;
        if (parts->HasOffset) {
            const int64_t utc = *written - int64_t{parts->OffsetMinutes} * 60;
            elapsed = utc;
            if (options_.ZoneOffsetMinutes) {
                local = utc + int64_t{*options_.ZoneOffsetMinutes} * 60;
            } else if (havePrevious && parts->OffsetMinutes != prevOffset) {
                // The logger's clock changed with its offset: by an hour, at night, once a day.
                const int change = parts->OffsetMinutes - prevOffset;
                const int64_t secondOfDay = prevWritten - DayOfSeconds(prevWritten) * kDay;
                const bool night = secondOfDay >= kNightStarts || secondOfDay < kNightEnds;
                const int64_t day = DayOfSeconds(local);
                if ((change != 60 && change != -60) || !night || (changed && lastChangeDay == day)) {
                    Fail(lineNo, Msg::LoggerOffsetChanges(UtcOffsetText(prevOffset),
                                                          UtcOffsetText(parts->OffsetMinutes)));
                    return std::nullopt;
                }
                file_.ClockChanges.push_back({day, 24 - change / 60, lineNo});
                changed = true;
                lastChangeDay = day;
            }
            prevOffset = parts->OffsetMinutes;
        } else if (havePrevious) {
            // Without offsets a clock put back shows as a step back of one hour less a sample,
            // a clock put forward as a step of one hour and a sample; at night, once a day, and
            // a clock put back stays on its day.
            const int64_t step = local - prevLocal;
            const int64_t secondOfDay = prevLocal - DayOfSeconds(prevLocal) * kDay;
            const bool night = secondOfDay >= kNightStarts || secondOfDay < kNightEnds;
            const int64_t day = DayOfSeconds(local);
            const bool again = changed && lastChangeDay == day;
            if (interval > 0 && step == interval - 3600 && night && !again &&
                day == DayOfSeconds(prevLocal)) {
                correction += 3600;
                file_.ClockChanges.push_back({day, 25, lineNo});
                changed = true;
                lastChangeDay = day;
            } else if (interval > 0 && step == interval + 3600 && night && !again) {
                correction -= 3600;
                file_.ClockChanges.push_back({day, 23, lineNo});
                changed = true;
                lastChangeDay = day;
            }
            elapsed = local + correction;
        }
        if (havePrevious && local > prevLocal) steps.Add(local - prevLocal);
        if (havePrevious && elapsed <= prevElapsed && deferred.empty()) {
            deferredLine = lineNo;
            deferred =
                elapsed == prevElapsed ? Msg::LoggerTimeRepeats(prevLine) : Msg::LoggerTimeGoesBack(prevLine);
            binning = false;
        }
        if (file_.SampleCount == 0) {
            file_.FirstLocal = file_.LastLocal = local;
        } else {
            file_.FirstLocal = std::min(file_.FirstLocal, local);
            file_.LastLocal = std::max(file_.LastLocal, local);
        }
        if (file_.SampleCount == 1) secondSampleLine = lineNo;
        ++file_.SampleCount;
        file_.LastDataLine = lineNo;

        if (binning) {
            for (std::size_t k = 0; k < file_.Channels.size(); ++k) {
                TLoggerChannel& channel = file_.Channels[k];
                TChannelState& st = states[k];
                if (st.Pending) {
                    // The sample before ends here, or after the usual step where the record has a gap.
                    const int64_t length = std::min(interval, elapsed - st.PendingElapsed);
                    if (st.StartCovered && st.PendingElapsed > st.StartEndElapsed)
                        AddGap(channel.StartBins, st.StartEndLocal, st.PendingLocal);
                    Spread(channel.StartBins, st.PendingLocal, length, st.PendingValue);
                    st.StartCovered = true;
                    st.StartEndElapsed = st.PendingElapsed + length;
                    st.StartEndLocal = st.PendingLocal + length;
                    st.Pending = false;
                }
                const double value = values[k];
                if (std::isnan(value)) continue;
                ++channel.Samples;
                st.Pending = true;
                st.PendingValue = value;
                st.PendingLocal = local;
                st.PendingElapsed = elapsed;
                const int64_t length = havePrevious ? std::min(interval, elapsed - prevElapsed) : interval;
                // An interval that ends at this stamp starts at the one before, on that stamp's
                // clock: across a clock change the two clocks differ by the hour.
                const int64_t start =
                    havePrevious && length == elapsed - prevElapsed ? prevLocal : local - length;
                if (st.EndCovered && elapsed - length > st.EndEndElapsed)
                    AddGap(channel.EndBins, st.EndEndLocal, start);
                Spread(channel.EndBins, start, length, value);
                st.EndCovered = true;
                st.EndEndElapsed = elapsed;
                st.EndEndLocal = local;
            }
            if (options_.KeepSamples) {
                file_.Local.push_back(local);
                file_.Elapsed.push_back(elapsed);
                for (std::size_t k = 0; k < file_.Channels.size(); ++k)
                    file_.Channels[k].Values.push_back(values[k]);
            }
        }
        havePrevious = true;
        prevLocal = local;
        prevElapsed = elapsed;
        prevWritten = *written;
        prevLine = lineNo;
    }
    if (TextFailed()) return std::nullopt;
    if (!Tell()) return std::nullopt;
    if (binning)
        for (std::size_t k = 0; k < file_.Channels.size(); ++k)
            if (states[k].Pending) {
                TLoggerChannel& channel = file_.Channels[k];
                TChannelState& st = states[k];
                if (st.StartCovered && st.PendingElapsed > st.StartEndElapsed)
                    AddGap(channel.StartBins, st.StartEndLocal, st.PendingLocal);
                Spread(channel.StartBins, st.PendingLocal, interval, st.PendingValue);
            }

    // What the whole record says.
    TDecisions settled = decisions;
    if (firstParts_.Kind == TDateKind::Numeric) {
        if (options_.MonthFirst) {
            if (!monthFirstPossible) {
                Fail(monthFirstBreaker, Msg::LoggerNotMonthFirst);
                return std::nullopt;
            }
            settled.MonthFirst = true;
        } else if (!dayFirstPossible) {
            if (!monthFirstPossible) {
                Fail(monthFirstBreaker, Msg::LoggerDatesMixed);
                return std::nullopt;
            }
            settled.MonthFirst = true;
        } else {
            settled.MonthFirst = false;
        }
    }
    if (marks.Contradicted()) {
        Fail(marks.ContradictionLine(), marks.Contradiction());
        return std::nullopt;
    }
    settled.DecimalComma = marks.DecimalComma(sep);
    groupingRead_ = marks.GroupingUsed(settled.DecimalComma);
    if (settled.MonthFirst != decisions.MonthFirst || settled.DecimalComma != decisions.DecimalComma)
        return settled; // read again: the stamps' steps too are another's
    if (file_.SampleCount < 2) {
        Fail(firstData_, Msg::LoggerSingleSample);
        return std::nullopt;
    }
    const auto& counts = steps.Counts();
    if (counts.empty()) {
        Fail(secondSampleLine, Msg::LoggerTimeStandsStill);
        return std::nullopt;
    }
    settled.Interval = UsualStep(counts);
    if (settled.Interval > 3600) {
        Fail(0, Msg::LoggerSamplesTooFarApart(IntervalText(static_cast<int>(settled.Interval))));
        return std::nullopt;
    }
    if (settled.Interval != decisions.Interval) return settled;
    if (!deferred.empty()) {
        Fail(deferredLine, deferred);
        return std::nullopt;
    }
    return settled;
}

void TReader::Finish(const TDecisions& decisions) {
    file_.IntervalSeconds = static_cast<int>(decisions.Interval);
    file_.DecimalComma = decisions.DecimalComma;
    file_.GroupingRead = groupingRead_;
    file_.StampFormat = StampFormatText(firstParts_, decisions.MonthFirst, timeCol_ >= 0);
    if (!firstParts_.HasOffset)
        file_.TimeReading = "local time";
    else if (!options_.ZoneOffsetMinutes)
        file_.TimeReading = "local time with UTC offsets";
    else
        file_.TimeReading = std::string(firstParts_.Utc ? "UTC" : "UTC offsets") + " read as UTC" +
                            UtcOffsetText(*options_.ZoneOffsetMinutes);
    if (!text_.Units().empty())
        file_.CodePage = text_.Units();
    else
        file_.CodePage = utf8_ ? "UTF-8" : "Windows-1252";
    if (!utf8_ && text_.Units().empty())
        for (TLoggerChannel& channel : file_.Channels)
            channel.Name = Windows1252ToUtf8(channel.Name);
}

} // namespace

TLoggerFile ReadLoggerBytes(std::string_view bytes, const std::string& fileName,
                            const TLoggerOptions& options) {
    TLoggerFile result;
    result.FileName = fileName;
    TLoggerText text(bytes);
    TReader(text, result, options).Read();
    return result;
}

TLoggerFile ReadLoggerFile(const std::string& fileName, const TLoggerOptions& options) {
    TLoggerFile result;
    result.FileName = fileName;
    TChunkedFile file;
    const TFileResult opened = file.Open(fileName, MaxLoggerBytes);
    if (!opened.Ok) {
        if (opened.Failure == TFileFailure::TooLarge) {
            result.Error = Msg::LoggerFileRefused(
                fileName, 0,
                Msg::LoggerFileTooLarge(GigabytesText(file.Size()), GigabytesText(MaxLoggerBytes)));
        } else {
            result.Error = FileFailureMessage(fileName, opened);
        }
        return result;
    }
    TLoggerText text(file);
    TReader(text, result, options).Read();
    return result;
}

} // namespace halvern
