// The logger file reader: layouts found by themselves, the record with its interval and
// clock changes, the hourly means worked out by hand, and the faults named by line.
#include "io/LoggerFile.h"
#include "io/TimeStamp.h"

#include <gmock/gmock.h>

#include <cmath>

using namespace halvern;
using ::testing::ElementsAre;

namespace {

constexpr int64_t kDay = 86400;

int64_t Day(const char* text) {
    return *ParseDayText(text);
}

// "2024-03-04 00:15" as seconds of the local clock.
int64_t At(const char* day, int hour, int minute) {
    return Day(day) * kDay + hour * 3600 + minute * 60;
}

// Two days of quarter-hour samples, the value 10 × hour + quarter (0 to 3), from Monday
// 2024-03-04 00:00; `skip` leaves out the samples for which it is true.
template <class Skip> std::string QuarterHours(Skip skip) {
    std::string text = "Time,Flow (l/s)\n";
    for (int d = 4; d <= 5; ++d)
        for (int h = 0; h < 24; ++h)
            for (int q = 0; q < 4; ++q) {
                if (skip(d, h, q)) continue;
                text += "2024-03-0" + std::to_string(d) + " " + (h < 10 ? "0" : "") + std::to_string(h) +
                        ":" + (q == 0 ? "00" : std::to_string(q * 15)) + "," + std::to_string(10 * h + q) +
                        "\n";
            }
    return text;
}
// Every sample kept, for the tests that look at stamps and values one by one.
TLoggerOptions Kept(TLoggerOptions options = {}) {
    options.KeepSamples = true;
    return options;
}

std::string QuarterHours() {
    return QuarterHours([](int, int, int) { return false; });
}

} // namespace

// Each separator, decimal mark, code page, quoting and heading reads to the same record.
TEST(LoggerLayout, EachLayoutIsFoundByItself) {
    const struct {
        std::string Bytes;
        char Separator;
        bool DecimalComma;
        std::string CodePage;
        std::size_t LinesBefore;
        std::vector<std::string> Names;
    } cases[] = {
        {"Time,Flow,P1\n2024-03-04 00:00,12.5,4.1\n2024-03-04 00:15,13.5,4.2\n",
         ',',
         false,
         "UTF-8",
         1,
         {"Flow", "P1"}},
        {"Time;Flow;P1\n2024-03-04 00:00;12,5;4,1\n2024-03-04 00:15;13,5;4,2\n",
         ';',
         true,
         "UTF-8",
         1,
         {"Flow", "P1"}},
        {"Time\tFlow\tP1\r\n2024-03-04 00:00\t12.5\t4.1\r\n2024-03-04 00:15\t13.5\t4.2\r\n",
         '\t',
         false,
         "UTF-8",
         1,
         {"Flow", "P1"}},
        {"Time\tFlow\tP1\n2024-03-04 00:00\t12,5\t4,1\n2024-03-04 00:15\t13,5\t4,2\n",
         '\t',
         true,
         "UTF-8",
         1,
         {"Flow", "P1"}},
        {"\xEF\xBB\xBFTime,Flow,P1\n2024-03-04 00:00,12.5,4.1\n2024-03-04 00:15,13.5,4.2\n",
         ',',
         false,
         "UTF-8 with byte-order mark",
         1,
         {"Flow", "P1"}},
        {"Logger: Z\xF6ne 4\nTime,Flow m\xB3/h,P1\n2024-03-04 00:00,12.5,4.1\n2024-03-04 00:15,13.5,4.2\n",
         ',',
         false,
         "Windows-1252",
         2,
         {"Flow m³/h", "P1"}},
        {"Site,North reservoir\nSerial,1234; 5678\nStart,2024-03-04\n\n\"Date/Time\",\"Flow, total\",\"P "
         "\"\"1\"\"\"\n"
         "\"2024-03-04 00:00\",\"12.5\",\"4.1\"\n\"2024-03-04 00:15\",\"13.5\",\"4.2\"\n",
         ',',
         false,
         "UTF-8",
         4,
         {"Flow, total", "P \"1\""}},
        {"2024-03-04 00:00,12.5,4.1\n2024-03-04 00:15,13.5,4.2\n",
         ',',
         false,
         "UTF-8",
         0,
         {"Column 2", "Column 3"}},
    };
    for (const auto& c : cases) {
        const TLoggerFile file = ReadLoggerBytes(c.Bytes, "z.csv", Kept());
        ASSERT_TRUE(file.Ok()) << file.Error;
        EXPECT_EQ(file.Separator, c.Separator) << c.Bytes;
        EXPECT_EQ(file.DecimalComma, c.DecimalComma) << c.Bytes;
        EXPECT_EQ(file.CodePage, c.CodePage) << c.Bytes;
        EXPECT_EQ(file.LinesBefore, c.LinesBefore) << c.Bytes;
        ASSERT_EQ(file.Channels.size(), 2u) << c.Bytes;
        EXPECT_EQ(file.Channels[0].Name, c.Names[0]);
        EXPECT_EQ(file.Channels[1].Name, c.Names[1]);
        EXPECT_THAT(file.Channels[0].Values, ElementsAre(12.5, 13.5));
        EXPECT_THAT(file.Channels[1].Values, ElementsAre(4.1, 4.2));
        EXPECT_THAT(file.Local, ElementsAre(At("2024-03-04", 0, 0), At("2024-03-04", 0, 15)));
        EXPECT_EQ(file.IntervalSeconds, 900);
    }
}

// Every time format, with the stamp where it stands; day and month as written, said, or proved.
TEST(LoggerLayout, EachTimeFormat) {
    const struct {
        std::string First, Second;
        bool MonthFirst;
        std::string Format;
        int64_t Start;
    } cases[] = {
        {"2024-03-04 06:00", "2024-03-04 06:05", false, "yyyy-mm-dd hh:mm", At("2024-03-04", 6, 0)},
        {"2024-03-04T06:00:00", "2024-03-04T06:05:00", false, "yyyy-mm-ddThh:mm:ss", At("2024-03-04", 6, 0)},
        {"2024-03-04T06:00:00+00:00", "2024-03-04T06:05:00+00:00", false, "yyyy-mm-ddThh:mm:ss±hh:mm",
         At("2024-03-04", 6, 0)},
        {"2024/03/04 06:00", "2024/03/04 06:05", false, "yyyy/mm/dd hh:mm", At("2024-03-04", 6, 0)},
        {"04/03/2024 06:00:00", "04/03/2024 06:05:00", false, "dd/mm/yyyy hh:mm:ss", At("2024-03-04", 6, 0)},
        {"4.3.2024 6:00", "4.3.2024 6:05", false, "dd.mm.yyyy hh:mm", At("2024-03-04", 6, 0)},
        {"03/04/2024 06:00", "03/04/2024 06:05", true, "mm/dd/yyyy hh:mm", At("2024-03-04", 6, 0)},
        // The 13th proves the month comes first, unasked.
        {"03/12/2024 23:55", "03/13/2024 00:00", false, "mm/dd/yyyy hh:mm", At("2024-03-12", 23, 55)},
        {"3/4/2024 6:00 PM", "3/4/2024 6:05 PM", true, "mm/dd/yyyy hh:mm", At("2024-03-04", 18, 0)},
        {"04/03/2024,06:00", "04/03/2024,06:05", false, "dd/mm/yyyy + hh:mm (two columns)",
         At("2024-03-04", 6, 0)},
    };
    for (const auto& c : cases) {
        const bool twoColumns = c.Format.find("two columns") != std::string::npos;
        const std::string text = std::string(twoColumns ? "id,date,time,flow" : "id,stamp,flow") + "\n7," +
                                 c.First + ",1.5\n7," + c.Second + ",2.5\n";
        TLoggerOptions options;
        options.MonthFirst = c.MonthFirst;
        const TLoggerFile file = ReadLoggerBytes(text, "t.csv", options);
        ASSERT_TRUE(file.Ok()) << file.Error;
        EXPECT_EQ(file.StampFormat, c.Format) << c.First;
        EXPECT_EQ(file.StampColumn, 2) << c.First;
        EXPECT_EQ(file.FirstLocal, c.Start) << c.First;
        EXPECT_EQ(file.IntervalSeconds, 300) << c.First;
        // The logger's id is a number too: it is a channel as well as the flow.
        EXPECT_EQ(file.Channels.back().Name, "flow");
    }
}

TEST(LoggerLayout, StrictTimeStamps) {
    for (const char* text :
         {"2024-02-30 00:00", "2024-03-04 24:00", "2024-03-04 6:5", "2024-03-04 06:00 x", "04/03/24 06:00",
          "2024-3-4T", "13/13/2024 00:00", "06:00 PM x", "2024-03-04 13:00 PM"})
        EXPECT_FALSE(ParseStampParts(text).has_value()) << text;
    const auto offset = ParseStampParts("2024-03-31T03:00:00+02:00");
    ASSERT_TRUE(offset);
    EXPECT_EQ(offset->OffsetMinutes, 120);
    EXPECT_EQ(WeekdayOfDays(Day("2024-03-04")), 1); // a Monday
    EXPECT_EQ(DayText(Day("2024-02-29")), "2024-02-29");
}

// The hourly means, worked out by hand: each hour of quarter-hour samples 10h+0..3.
TEST(LoggerMeans, StampsAtTheStartOrTheEnd) {
    const TLoggerFile file = ReadLoggerBytes(QuarterHours(), "q.csv");
    ASSERT_TRUE(file.Ok()) << file.Error;
    EXPECT_EQ(file.Days(), (std::vector<int64_t>{Day("2024-03-04"), Day("2024-03-05")}));
    const TLoggerChannel& flow = file.Channels[0];

    const THourlyMeans start = HourlyMeans(flow.Bins(false), {Day("2024-03-05")}, 0.75);
    for (int h = 0; h < 24; ++h) {
        EXPECT_DOUBLE_EQ(start.Mean[static_cast<std::size_t>(h)], 10 * h + 1.5) << h;
        EXPECT_DOUBLE_EQ(start.Coverage[static_cast<std::size_t>(h)], 1.0) << h;
    }
    EXPECT_TRUE(start.Low.empty());

    // Stamped at the end, hour h holds 10h+1, +2, +3 and the next hour's 10(h+1).
    const THourlyMeans end = HourlyMeans(flow.Bins(true), {Day("2024-03-04")}, 0.75);
    EXPECT_DOUBLE_EQ(end.Mean[0], 4.0);
    EXPECT_DOUBLE_EQ(end.Mean[22], 224.0);
    EXPECT_DOUBLE_EQ(end.Mean[23], (231 + 232 + 233 + 0) / 4.0); // 00:00 of the next day is hour 0's 10 × 0
    // The last hour of the record lacks its last quarter: 75 % covered, not flagged.
    const THourlyMeans last = HourlyMeans(flow.Bins(true), {Day("2024-03-05")}, 0.75);
    EXPECT_DOUBLE_EQ(last.Mean[23], 232.0);
    EXPECT_DOUBLE_EQ(last.Coverage[23], 0.75);
    EXPECT_TRUE(last.Low.empty());
}

TEST(LoggerMeans, IntervalsSpanningTwoHoursAreSplitByTime) {
    // Every 25 minutes: 00:00 1, 00:25 2, 00:50 3, 01:15 4, 01:40 5, 02:05 6.
    const TLoggerFile file = ReadLoggerBytes(
        "t,v\n2024-03-04 00:00,1\n2024-03-04 00:25,2\n2024-03-04 00:50,3\n2024-03-04 01:15,4\n"
        "2024-03-04 01:40,5\n2024-03-04 02:05,6\n",
        "q.csv");
    ASSERT_TRUE(file.Ok()) << file.Error;
    const THourlyMeans means = HourlyMeans(file.Channels[0].Bins(false), {Day("2024-03-04")}, 0.75);
    EXPECT_DOUBLE_EQ(means.Mean[0], (1 * 25 + 2 * 25 + 3 * 10) / 60.0);
    EXPECT_DOUBLE_EQ(means.Mean[1], (3 * 15 + 4 * 25 + 5 * 20) / 60.0);
    // 01:40 lasts to 02:05; the last sample the usual 25 minutes, to 02:30.
    EXPECT_DOUBLE_EQ(means.Mean[2], (5 * 5 + 6 * 25) / 30.0);
    EXPECT_DOUBLE_EQ(means.Coverage[2], 0.5);
    EXPECT_TRUE(std::isnan(means.Mean[3]));
}

TEST(LoggerMeans, GapsAreNotFilledAndAreFlagged) {
    // Day 1: 03:30 and 03:45 missing; day 2: the whole of 05:00 missing, and an empty value.
    std::string text =
        QuarterHours([](int d, int h, int q) { return (d == 4 && h == 3 && q >= 2) || (d == 5 && h == 5); });
    text.insert(text.find("2024-03-05 07:15,71"), "");
    const TLoggerFile file = ReadLoggerBytes(text, "g.csv");
    ASSERT_TRUE(file.Ok()) << file.Error;
    const TChannelBins& bins = file.Channels[0].Bins(false);
    const THourlyMeans both = HourlyMeans(bins, {Day("2024-03-04"), Day("2024-03-05")}, 0.75);
    EXPECT_DOUBLE_EQ(both.Mean[3], (30 + 31 + 30 + 31 + 32 + 33) / 6.0);
    EXPECT_DOUBLE_EQ(both.Coverage[3], 0.75);
    EXPECT_DOUBLE_EQ(both.Mean[5], 51.5);
    EXPECT_DOUBLE_EQ(both.Coverage[5], 0.5);
    ASSERT_EQ(both.Low.size(), 2u);
    EXPECT_EQ(both.Low[0].Day, Day("2024-03-04"));
    EXPECT_EQ(both.Low[0].Hour, 3);
    EXPECT_DOUBLE_EQ(both.Low[0].Coverage, 0.5);
    EXPECT_EQ(both.Low[1].Day, Day("2024-03-05"));
    EXPECT_EQ(both.Low[1].Hour, 5);

    // A day outside the record has nothing at all.
    const THourlyMeans missing = HourlyMeans(bins, {Day("2024-03-09")}, 0.75);
    EXPECT_EQ(missing.Low.size(), 24u);

    const TLoggerFile blanks =
        ReadLoggerBytes("t,a,b\n2024-03-04 00:00,1,\n2024-03-04 00:30,,2\n", "b.csv", Kept());
    ASSERT_TRUE(blanks.Ok()) << blanks.Error;
    EXPECT_EQ(blanks.Channels[0].Samples, 1u);
    EXPECT_TRUE(std::isnan(blanks.Channels[1].Values[0]));
}

TEST(LoggerMeans, DayChoices) {
    // 2024-03-01 is a Friday.
    EXPECT_EQ(DaysBetween(Day("2024-03-01"), Day("2024-03-05"), TDayFilter::Weekdays),
              (std::vector<int64_t>{Day("2024-03-01"), Day("2024-03-04"), Day("2024-03-05")}));
    EXPECT_EQ(DaysBetween(Day("2024-03-01"), Day("2024-03-05"), TDayFilter::Weekends),
              (std::vector<int64_t>{Day("2024-03-02"), Day("2024-03-03")}));
    EXPECT_EQ(DaysBetween(Day("2024-03-01"), Day("2024-03-02"), TDayFilter::All).size(), 2u);
}

// A clock put back gives a 25-hour day, one put forward a 23-hour day; with or without offsets.
TEST(LoggerRecord, ClockChanges) {
    const TLoggerFile back =
        ReadLoggerBytes("t,v\n2023-10-29 01:30,1\n2023-10-29 02:00,2\n2023-10-29 02:30,3\n"
                        "2023-10-29 02:00,4\n2023-10-29 02:30,5\n2023-10-29 03:00,6\n",
                        "b.csv");
    ASSERT_TRUE(back.Ok()) << back.Error;
    ASSERT_EQ(back.ClockChanges.size(), 1u);
    EXPECT_EQ(back.ClockChanges[0].Day, Day("2023-10-29"));
    EXPECT_EQ(back.ClockChanges[0].Hours, 25);
    EXPECT_EQ(back.ClockChanges[0].Line, 5u);
    // Hour 02:00 was lived twice: all four samples in it.
    const THourlyMeans means = HourlyMeans(back.Channels[0].Bins(false), {Day("2023-10-29")}, 0.75);
    EXPECT_DOUBLE_EQ(means.Mean[2], 3.5);

    const TLoggerFile forward = ReadLoggerBytes(
        "t,v\n2024-03-31 01:00,1\n2024-03-31 01:30,2\n2024-03-31 03:00,3\n2024-03-31 03:30,4\n", "f.csv");
    ASSERT_TRUE(forward.Ok()) << forward.Error;
    ASSERT_EQ(forward.ClockChanges.size(), 1u);
    EXPECT_EQ(forward.ClockChanges[0].Hours, 23);
    EXPECT_EQ(forward.IntervalSeconds, 1800);

    const TLoggerFile offsets = ReadLoggerBytes(
        "t,v\n2024-03-31T01:30:00+01:00,1\n2024-03-31T03:00:00+02:00,2\n2024-03-31T03:30:00+02:00,3\n",
        "o.csv", Kept());
    ASSERT_TRUE(offsets.Ok()) << offsets.Error;
    ASSERT_EQ(offsets.ClockChanges.size(), 1u);
    EXPECT_EQ(offsets.ClockChanges[0].Hours, 23);
    EXPECT_EQ(offsets.Elapsed[1] - offsets.Elapsed[0], 1800);
}

TEST(LoggerRecord, FaultsAreNamedByFileAndLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "x.csv: the file is empty."},
        {"a,b\n1,2\n3,4\n", "x.csv: no time stamp column was found: the data lines need a date and time such "
                            "as 2024-03-05 14:15, "
                            "05/03/2024 14:15 or 2024/03/05 14:15."},
        {"just words\nmore words\n", "x.csv: no columns were found: a logger file has a time stamp and at "
                                     "least one channel on each line, "
                                     "separated by commas, semicolons or tabs."},
        {"t,v\n2024-03-04 00:00,1\n2024-03-04 00:15,2\n2024-03-04 00:30,x2\n",
         "x.csv, line 4: the line cannot be read: \"x2\" in column 2 (v) is not a number."},
        {"t,v\n2024-03-04 00:00,1\n2024-03-04 00:15,2\n04/03/2024 00:30,3\n",
         "x.csv, line 4: the line cannot be read: \"04/03/2024 00:30\" is not a time stamp like those before "
         "it."},
        {"t,v\n2024-03-04 00:00,1\n2024-03-04 00:15,2\n2024-03-04 00:15,3\n",
         "x.csv, line 4: the time stamp repeats that of line 3."},
        {"t,v\n2024-03-04 00:00,1\n2024-03-04 00:15,2\n2024-03-04 00:30,3\n2024-03-04 00:05,3\n",
         "x.csv, line 5: the time stamp goes back, before that of line 4."},
        {"t,v\n2024-03-04 00:00,1\n2024-03-04 02:00,2\n2024-03-04 04:00,3\n",
         "x.csv: the samples are 2 h apart; hourly means need one an hour at least."},
        {"t,v\n03/13/2024 00:00,1\n13/03/2024 00:15,2\n",
         "x.csv, line 3: the dates mix dd/mm/yyyy and mm/dd/yyyy."},
    };
    for (const auto& [text, message] : cases) {
        const TLoggerFile file = ReadLoggerBytes(text, "x.csv");
        EXPECT_EQ(file.Error, message) << text;
        EXPECT_TRUE(file.Channels.empty());
    }
}

TEST(LoggerUnits, NamesAndConversions) {
    EXPECT_EQ(ParseLoggerUnit("m³/hr"), TLoggerUnit::M3PerHour);
    EXPECT_EQ(ParseLoggerUnit("M3/H"), TLoggerUnit::M3PerHour);
    EXPECT_EQ(ParseLoggerUnit("l/s"), TLoggerUnit::LitresPerSecond);
    EXPECT_EQ(ParseLoggerUnit("m3/d"), TLoggerUnit::M3PerDay);
    EXPECT_EQ(ParseLoggerUnit("kPa"), TLoggerUnit::KiloPascal);
    EXPECT_EQ(ParseLoggerUnit("psi"), std::nullopt);
    EXPECT_EQ(UnitInHeading("Flow (l/s)"), TLoggerUnit::LitresPerSecond);
    EXPECT_EQ(UnitInHeading("P1 [bar]"), TLoggerUnit::Bar);
    EXPECT_EQ(UnitInHeading("Flow"), std::nullopt);
    EXPECT_DOUBLE_EQ(ToTableUnit(10, TLoggerUnit::LitresPerSecond), 36.0);
    EXPECT_DOUBLE_EQ(ToTableUnit(2400, TLoggerUnit::M3PerDay), 100.0);
    EXPECT_NEAR(ToTableUnit(1, TLoggerUnit::Bar), 10.1972, 1e-4);
    EXPECT_NEAR(ToTableUnit(98.0665, TLoggerUnit::KiloPascal), 10.0, 1e-12);
}

namespace {

// Lines of "stamp,value" every `step` seconds from `from` (local clock seconds).
std::string Minutes(int64_t from, int count, int step, const char* end = "\n") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const int64_t t = from + int64_t{i} * step;
        const int64_t day = t / kDay, s = t % kDay;
        char clock[16];
        std::snprintf(clock, sizeof clock, " %02d:%02d:%02d,", static_cast<int>(s / 3600),
                      static_cast<int>(s / 60 % 60), static_cast<int>(s % 60));
        text += DayText(day) + clock + std::to_string(10 + i % 7) + end;
    }
    return text;
}

} // namespace

// Files from other people's loggers, each built to break a rule: the read refuses them with
// the line and the reason, or reads exactly what they say; never a write outside the bins.
TEST(LoggerHostile, TimeThatGoesBackIsAClockChangeOnlyWhereClocksChange) {
    std::string manyBacks = "t,v\n";
    for (int k = 0; k < 3000; ++k)
        manyBacks += Minutes(At("2024-03-01", 0, 0), 60, 60);
    const struct {
        std::string Text;
        std::string Error; // empty: read
    } cases[] = {
        // Across midnight and back to the day before: no clock does that.
        {"t,v\n2024-03-01 23:58,1\n2024-03-01 23:59,2\n2024-03-02 00:00,3\n2024-03-02 00:01,4\n"
         "2024-03-01 23:02,5\n",
         "x.csv, line 6: the time stamp goes back, before that of line 5."},
        // An hour back at night on its own day, once: a clock put back.
        {"t,v\n" + Minutes(At("2024-10-27", 2, 50), 10, 60) + Minutes(At("2024-10-27", 2, 0), 5, 60), ""},
        // ... and a second time the same day is not.
        {"t,v\n" + Minutes(At("2024-10-27", 2, 50), 10, 60) + Minutes(At("2024-10-27", 2, 0), 60, 60) +
             Minutes(At("2024-10-27", 2, 1), 5, 60),
         "x.csv, line 72: the time stamp goes back, before that of line 71."},
        // A step back of the same size at noon.
        {"t,v\n" + Minutes(At("2024-10-27", 11, 50), 10, 60) + Minutes(At("2024-10-27", 11, 0), 5, 60),
         "x.csv, line 12: the time stamp goes back, before that of line 11."},
        // Three thousand steps back of 59 minutes.
        {manyBacks, "x.csv, line 122: the time stamp goes back, before that of line 121."},
        // A stamp repeated at noon in an hourly record is no clock change.
        {"t,v\n" + Minutes(At("2024-03-01", 9, 0), 4, 3600) + Minutes(At("2024-03-01", 12, 0), 3, 3600),
         "x.csv, line 6: the time stamp repeats that of line 5."},
        // The same at 02:00 at night, once: the clock put back an hour.
        {"t,v\n" + Minutes(At("2024-10-27", 0, 0), 3, 3600) + Minutes(At("2024-10-27", 2, 0), 3, 3600), ""},
    };
    for (const auto& c : cases) {
        const TLoggerFile file = ReadLoggerBytes(c.Text, "x.csv");
        EXPECT_EQ(file.Error, c.Error) << c.Text.substr(0, 200);
        if (c.Error.empty()) {
            EXPECT_EQ(file.ClockChanges.size(), 1u);
        }
    }
}

// An hour lived twice is covered, not more than covered; with end stamps each interval runs
// from the stamp before on that stamp's clock, so the hour skipped in spring stays empty.
TEST(LoggerHostile, CoverageAcrossClockChangesWithEitherStamp) {
    const TLoggerFile back = ReadLoggerBytes(
        "t,v\n" + Minutes(At("2024-10-27", 1, 0), 8, 900) + Minutes(At("2024-10-27", 2, 0), 8, 900), "b.csv");
    ASSERT_TRUE(back.Ok()) << back.Error;
    for (const bool atEnd : {false, true}) {
        const TChannelBins& bins = back.Channels[0].Bins(atEnd);
        const auto* hours = bins.Find(Day("2024-10-27"));
        ASSERT_TRUE(hours);
        EXPECT_DOUBLE_EQ((*hours)[2].Seconds, 7200) << atEnd;
        EXPECT_DOUBLE_EQ((*hours)[1].Seconds, 3600) << atEnd;
        const THourlyMeans means = HourlyMeans(bins, {Day("2024-10-27")}, 0.75);
        EXPECT_DOUBLE_EQ(means.Coverage[2], 1.0);
        EXPECT_DOUBLE_EQ(means.LowestCoverage[2], 1.0);
        EXPECT_TRUE(bins.Gaps.empty());
    }

    const TLoggerFile forward = ReadLoggerBytes(
        "t,v\n" + Minutes(At("2024-03-31", 1, 0), 4, 900) + Minutes(At("2024-03-31", 3, 0), 4, 900), "f.csv");
    ASSERT_TRUE(forward.Ok()) << forward.Error;
    ASSERT_EQ(forward.ClockChanges.size(), 1u);
    for (const bool atEnd : {false, true}) {
        const auto* hours = forward.Channels[0].Bins(atEnd).Find(Day("2024-03-31"));
        ASSERT_TRUE(hours);
        // 01:45 to the next stamp, 03:00, is a quarter of an hour on the clock of 01:45.
        EXPECT_DOUBLE_EQ((*hours)[1].Seconds, 3600) << atEnd;
        EXPECT_DOUBLE_EQ((*hours)[2].Seconds, 0) << atEnd;
        EXPECT_DOUBLE_EQ((*hours)[3].Seconds, atEnd ? 2700 : 3600) << atEnd;
        EXPECT_TRUE(forward.Channels[0].Bins(atEnd).Gaps.empty()) << atEnd;
    }
}

// Stamps with offsets are local times as written; UTC stamps need the zone's offset, and
// with it every stamp becomes the zone's time.
TEST(LoggerHostile, UtcOffsetsAndUtc) {
    const std::string utc = "t,v\n2024-03-01T22:00:00Z,1\n2024-03-01T22:30:00Z,2\n2024-03-01T23:00:00Z,3\n";
    EXPECT_EQ(ReadLoggerBytes(utc, "u.csv").Error,
              "u.csv, line 2: the time stamps are in UTC (\"Z\"): give the zone's offset from UTC (such as "
              "+02:00) to read them as the zone's local time.");
    TLoggerOptions zone = Kept();
    zone.ZoneOffsetMinutes = 120;
    const TLoggerFile read = ReadLoggerBytes(utc, "u.csv", zone);
    ASSERT_TRUE(read.Ok()) << read.Error;
    EXPECT_EQ(read.FirstLocal, At("2024-03-02", 0, 0));
    EXPECT_EQ(read.TimeReading, "UTC read as UTC+02:00");
    EXPECT_EQ(read.Days(), std::vector<int64_t>{Day("2024-03-02")});

    // "+02:00" beside "Z": the Z stamps are two hours behind in the clock they write.
    const std::string mixed = "t,v\n2024-03-02T01:00:00+02:00,1\n2024-03-02T01:30:00+02:00,2\n"
                              "2024-03-02T00:00:00Z,3\n2024-03-02T00:30:00Z,4\n";
    EXPECT_EQ(ReadLoggerBytes(mixed, "m.csv").Error,
              "m.csv, line 4: the time stamps are in UTC (\"Z\"): give the "
              "zone's offset from UTC (such as +02:00) to read them as the "
              "zone's local time.");
    const TLoggerFile both = ReadLoggerBytes(mixed, "m.csv", zone);
    ASSERT_TRUE(both.Ok()) << both.Error;
    EXPECT_THAT(both.Local, ElementsAre(At("2024-03-02", 1, 0), At("2024-03-02", 1, 30),
                                        At("2024-03-02", 2, 0), At("2024-03-02", 2, 30)));
    EXPECT_EQ(both.TimeReading, "UTC offsets read as UTC+02:00");

    // Offsets that change otherwise than a clock does.
    EXPECT_EQ(
        ReadLoggerBytes("t,v\n2024-03-02T12:00:00+02:00,1\n2024-03-02T12:30:00+05:30,2\n", "o.csv").Error,
        "o.csv, line 3: the UTC offset changes from +02:00 to +05:30: a logger's clock changes by one hour, "
        "at night, at most once a day.");
    EXPECT_EQ(ParseUtcOffset("+02:00"), 120);
    EXPECT_EQ(ParseUtcOffset("-0330"), -210);
    EXPECT_EQ(ParseUtcOffset("2"), 120);
    EXPECT_EQ(ParseUtcOffset("+2:0"), std::nullopt);
    EXPECT_EQ(UtcOffsetText(-210), "-03:30");
}

// The decimal mark is what every number of the file agrees on; thousands grouped are read so
// and said; numbers that disagree refuse the file with the line.
TEST(LoggerHostile, DecimalMarksFromEveryNumber) {
    const struct {
        std::string Text;
        std::vector<double> Values; // empty: refused with Error
        bool DecimalComma, Grouping;
        std::string Error;
    } cases[] = {
        {"t\tv\n2024-03-01 00:00\t987.5\n2024-03-01 00:15\t1,250\n", {987.5, 1250}, false, true, ""},
        {"t;v\n2024-03-01 00:00;987,5\n2024-03-01 00:15;1.012\n", {987.5, 1012}, true, true, ""},
        {"t;v\n2024-03-01 00:00;1.250,5\n2024-03-01 00:15;987,5\n", {1250.5, 987.5}, true, true, ""},
        {"t\tv\n2024-03-01 00:00\t1,250.5\n2024-03-01 00:15\t1.125\n", {1250.5, 1.125}, false, true, ""},
        {"t,v\n2024-03-01 00:00,\"1,250\"\n2024-03-01 00:15,12.5\n", {1250, 12.5}, false, true, ""},
        {"t;v\n2024-03-01 00:00;45,123\n2024-03-01 00:15;45,125\n", {45.123, 45.125}, true, false, ""},
        {"t\tv\n2024-03-01 00:00\t45.123\n2024-03-01 00:15\t45.125\n", {45.123, 45.125}, false, false, ""},
        {"t\tv\n2024-03-01 00:00\t987.5\n2024-03-01 00:15\t987,5\n",
         {},
         false,
         false,
         "x.csv, line 3: the numbers do not agree on their decimal mark: \"987,5\" has a decimal comma, but "
         "\"987.5\" on line 2 has a decimal point."},
        {"t;v\n2024-03-01 00:00;1.234.567\n2024-03-01 00:15;1.5\n",
         {},
         false,
         false,
         "x.csv, line 3: the numbers do not agree on their decimal mark: \"1.5\" has a decimal point, but "
         "\"1.234.567\" on line 2 has points grouping thousands."},
        {"t;v\n2024-03-01 00:00;1,2,3\n2024-03-01 00:15;1\n",
         {},
         false,
         false,
         "x.csv, line 2: the line cannot be read: \"1,2,3\" in column 2 (v) is not a number."},
    };
    for (const auto& c : cases) {
        const TLoggerFile file = ReadLoggerBytes(c.Text, "x.csv", Kept());
        EXPECT_EQ(file.Error, c.Error) << c.Text;
        if (!c.Error.empty()) continue;
        ASSERT_EQ(file.Channels.size(), 1u) << c.Text;
        EXPECT_EQ(file.Channels[0].Values, c.Values) << c.Text;
        EXPECT_EQ(file.DecimalComma, c.DecimalComma) << c.Text;
        EXPECT_EQ(file.GroupingRead, c.Grouping) << c.Text;
    }
    // Said in the layout.
    EXPECT_EQ(MarksText(ReadLoggerBytes(cases[1].Text, "x.csv")),
              "semicolon, decimal comma, thousands grouped with points");
}

// Lines with another number of fields than the data, lines without ends and files too wide.
TEST(LoggerHostile, FieldsLinesAndWidths) {
    const std::string good =
        "t,q,p\n2024-03-01 03:00,12,45\n2024-03-01 03:15,12,45\n2024-03-01 03:30,12,45\n";
    // Decimal commas typed by hand into a comma-separated line.
    EXPECT_EQ(ReadLoggerBytes(good + "2024-03-01 03:45,12,5,45,2\n2024-03-01 04:00,12,45\n", "x.csv").Error,
              "x.csv, line 5: the line cannot be read: it has 5 fields, the data 3.");
    EXPECT_EQ(ReadLoggerBytes("t,q,p\n2024-03-01 03:00,12,45\n2024-03-01 03:15,12\n2024-03-01 03:30,12,45\n",
                              "x.csv")
                  .Error,
              "x.csv, line 3: the line cannot be read: it has 2 fields, the data 3.");

    // A carriage return alone ends a line, as older exports write them.
    const std::string crOnly = "Time,Flow\r" + Minutes(At("2024-03-01", 0, 0), 20000, 30, "\r");
    const TLoggerFile cr = ReadLoggerBytes(crOnly, "cr.csv");
    ASSERT_TRUE(cr.Ok()) << cr.Error;
    EXPECT_EQ(cr.SampleCount, 20000u);
    EXPECT_EQ(cr.IntervalSeconds, 30);

    std::string wide = "2024-03-01 00:00";
    for (int c = 0; c < 10000; ++c)
        wide += ",1";
    wide += "\n" + wide + "\n";
    EXPECT_EQ(
        ReadLoggerBytes(wide, "w.csv").Error,
        "w.csv: the lines have 10001 fields; a logger file has at most 1000 columns, a time stamp and its "
        "channels.");
}

// Values near the largest a number holds: read, but no hour's mean is made of an infinite sum.
TEST(LoggerHostile, HugeValuesGiveNoMeanAndSaySo) {
    const TLoggerFile file =
        ReadLoggerBytes("t,v\n2024-03-01 03:00,5e304\n2024-03-01 03:30,5e304\n2024-03-01 04:00,1\n", "h.csv");
    ASSERT_TRUE(file.Ok()) << file.Error;
    const THourlyMeans means = HourlyMeans(file.Channels[0].Bins(false), {Day("2024-03-01")}, 0.75);
    EXPECT_EQ(means.NotFinite, 3);
    EXPECT_TRUE(std::isnan(means.Mean[3]));
    EXPECT_DOUBLE_EQ(means.Mean[4], 1.0);
    EXPECT_EQ(ReadLoggerBytes("t,v\n2024-03-01 03:00,1e999\n2024-03-01 03:30,1\n", "h.csv").Error,
              "h.csv, line 2: the line cannot be read: \"1e999\" in column 2 (v) is beyond any number the "
              "program can hold.");
}

// UTF-16 exports, with their mark or plainly so, read as their UTF-8 twin.
TEST(LoggerHostile, Utf16Exports) {
    const std::string text = "Zeit;Zufluss (l/s)\n2024-03-01 00:00;12,5\n2024-03-01 00:15;13,5\n";
    const auto utf16 = [&](bool little, bool mark) {
        std::string bytes = mark ? (little ? "\xFF\xFE" : "\xFE\xFF") : "";
        for (const char c : text) {
            bytes += little ? c : '\0';
            bytes += little ? '\0' : c;
        }
        return bytes;
    };
    const struct {
        std::string Bytes;
        std::string CodePage;
    } cases[] = {{utf16(true, true), "UTF-16 LE"},
                 {utf16(false, true), "UTF-16 BE"},
                 {utf16(true, false), "UTF-16 LE without byte-order mark"}};
    for (const auto& c : cases) {
        const TLoggerFile file = ReadLoggerBytes(c.Bytes, "u.csv", Kept());
        ASSERT_TRUE(file.Ok()) << file.Error;
        EXPECT_EQ(file.CodePage, c.CodePage);
        ASSERT_EQ(file.Channels.size(), 1u);
        EXPECT_EQ(file.Channels[0].Name, "Zufluss (l/s)");
        EXPECT_THAT(file.Channels[0].Values, ElementsAre(12.5, 13.5));
    }
}

// A record that jumps years ahead: the range and the days are those of the stamps, and only
// days with samples have bins.
TEST(LoggerHostile, FarStampsCostNothing) {
    const TLoggerFile file = ReadLoggerBytes(
        "t,v\n" + Minutes(At("2024-03-01", 0, 0), 10, 900) + "2200-01-01 00:00,5\n", "far.csv");
    ASSERT_TRUE(file.Ok()) << file.Error;
    EXPECT_EQ(RecordRangeText(file), "2024-03-01 00:00 to 2200-01-01 00:00");
    EXPECT_EQ(file.SpanDays(), Day("2200-01-01") - Day("2024-03-01") + 1);
    EXPECT_EQ(file.Days(), (std::vector<int64_t>{Day("2024-03-01"), Day("2200-01-01")}));
    EXPECT_EQ(file.Channels[0].StartBins.Days.size(), 2u);
    ASSERT_EQ(file.Channels[0].StartBins.Gaps.size(), 1u);
    EXPECT_EQ(file.Channels[0].StartBins.Gaps[0].From, At("2024-03-01", 2, 30));
}

// A file read a piece at a time reads as its bytes do, across the pieces' edges; a stopped
// read says so.
TEST(LoggerHostile, FilesReadInPieces) {
    const std::string path = ::testing::TempDir() + "/halvern-pieces.csv";
    std::string text = "Time;Flow\r\n";
    text += Minutes(At("2024-03-01", 0, 0), 100000, 30, "\r\n"); // about 3 MB, lines cut by the pieces
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    const TLoggerFile fromFile = ReadLoggerFile(path);
    const TLoggerFile fromBytes = ReadLoggerBytes(text, path);
    ASSERT_TRUE(fromFile.Ok()) << fromFile.Error;
    EXPECT_EQ(fromFile.SampleCount, 100000u);
    EXPECT_EQ(fromFile.LastDataLine, 100001u);
    const auto days = fromFile.Days();
    for (const int64_t day : days) {
        const THourlyMeans a = HourlyMeans(fromFile.Channels[0].Bins(false), {day}, 0.75);
        const THourlyMeans b = HourlyMeans(fromBytes.Channels[0].Bins(false), {day}, 0.75);
        for (std::size_t h = 0; h < 24; ++h)
            EXPECT_TRUE(a.Mean[h] == b.Mean[h] || (std::isnan(a.Mean[h]) && std::isnan(b.Mean[h])));
    }
    TLoggerOptions stop;
    stop.Progress = [](double) { return false; };
    const TLoggerFile stopped = ReadLoggerFile(path, stop);
    EXPECT_TRUE(stopped.Cancelled);
    EXPECT_FALSE(stopped.Ok());
    std::remove(path.c_str());
}
