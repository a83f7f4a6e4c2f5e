// The "Import logger data" dialog's model: channels assigned with the units their headings
// name, the day offered first, the preview with its cautions and refusals, OK refused until
// low coverage is accepted, one Undo step in the table, and what a new import or project
// starts from.
#include "forms/LoggerImport.h"
#include "IoFixture.h"
#include "forms/TableLayouts.h"
#include "io/TimeStamp.h"

#include <gmock/gmock.h>

using namespace halvern;
namespace Flow = FlowGridLayout;
using namespace halvern::test;
using ::testing::ElementsAre;

namespace {

std::string Two(int value) {
    return std::string(value < 10 ? "0" : "") + std::to_string(value);
}

// "2024-03-05 14:15" for a minute of a day of March 2024.
std::string Stamp(int day, int minute) {
    return "2024-03-" + Two(day) + " " + Two(minute / 60) + ":" + Two(minute % 60);
}

int64_t Day(const char* text) {
    return *ParseDayText(text);
}

// A day of quarter hours, inflow 36 l/s (129.6 m³/hr) except 90 l/s from 07:00 to 08:00,
// pressures in bar; the 03:00 hour has only its first quarter.
std::string QuarterHourDay() {
    std::string text = "Logger 7\nwhen;Inflow (l/s);Inlet [bar];AZP [bar];Crit [kPa]\n";
    for (int h = 0; h < 24; ++h)
        for (int q = 0; q < 4; ++q) {
            if (h == 3 && q > 0) continue;
            text += Stamp(5, h * 60 + q * 15) + ";" + (h == 7 ? "90" : "36") + ";6;5;294,1995\n";
        }
    return text;
}

// Quarter-hourly flows of the days given, from 00:00 of the first to 00:00 after the last,
// leaving out the minutes [skipFrom, skipTo) counted from the first midnight.
std::string FlowDays(int firstDay, int lastDay, int skipFrom = 0, int skipTo = 0,
                     const std::string& heading = "Flow") {
    std::string text = "Time," + heading + "\n";
    for (int minute = 0; minute <= (lastDay - firstDay + 1) * 1440; minute += 15) {
        if (minute >= skipFrom && minute < skipTo) continue;
        text += Stamp(firstDay + minute / 1440, minute % 1440) + ",10\n";
    }
    return text;
}

// A table's texts and the two flow hours, to see it unchanged.
std::string TableText(TMainForm& form) {
    std::string text = TimeToStr(form.LowTimePicker.Time) + TimeToStr(form.HighTimePicker.Time);
    for (int row = 0; row < form.FlowGrid.RowCount(); ++row)
        for (int col = 0; col < form.FlowGrid.ColCount(); ++col)
            text += "|" + form.FlowGrid.Cell(col, row);
    return text;
}

} // namespace

TEST(LoggerImport, AppliesTheMeansAsOneStep) {
    TShownForm form;
    TLoggerImportForm& dialog = form->LoggerImport;
    form->LoggerImportButton.Click();
    EXPECT_TRUE(dialog.Visible);
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(QuarterHourDay(), "day.csv")));
    // Headings name the quantities and their units.
    EXPECT_EQ(dialog.Assigned[0].Channel, 0);
    EXPECT_EQ(dialog.Assigned[0].Unit, TLoggerUnit::LitresPerSecond);
    EXPECT_EQ(dialog.Assigned[2].Unit, TLoggerUnit::Bar);
    EXPECT_EQ(dialog.Assigned[3].Unit, TLoggerUnit::KiloPascal);
    EXPECT_EQ(dialog.ChosenDays, std::vector<int64_t>{Day("2024-03-05")});

    const TLoggerPreview preview = dialog.Preview();
    ASSERT_TRUE(preview.Ok()) << preview.Refusal;
    EXPECT_EQ(preview.DayNote,
              "No day is fully recorded; 2024-03-05 Tue, the best covered (96 %), is chosen.");
    EXPECT_TRUE(preview.Flagged[3]);
    EXPECT_DOUBLE_EQ(preview.Means[0]->Mean[7], 324.0);
    // The four channels miss the same lines: one caution names the stretch and all four.
    EXPECT_THAT(preview.Cautions,
                ElementsAre("No samples 03:15–04:00 on 2024-03-05 Tue (inflow, Inflow (l/s); inlet pressure, "
                            "Inlet [bar]; AZP pressure, AZP [bar]; critical point pressure, Crit [kPa])."));

    const std::string before = Snapshot(*form);
    const std::string tableBefore = TableText(*form);
    EXPECT_FALSE(dialog.OkClick());
    EXPECT_THAT(form.Dialogs.Texts().back(),
                ::testing::StartsWith("The chosen days are not fully recorded:\nNo samples"));
    EXPECT_EQ(Snapshot(*form), before);

    dialog.AcceptCautions = true;
    dialog.SetFlowHours = true;
    ASSERT_TRUE(dialog.OkClick());
    EXPECT_FALSE(dialog.Visible);
    EXPECT_EQ(form->FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(0)), "129.600");
    EXPECT_EQ(form->FlowGrid.Cell(Flow::InflowLsCol, Flow::HourRow(0)), "36.00");
    EXPECT_EQ(form->FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(7)), "324.000");
    EXPECT_EQ(form->FlowGrid.Cell(Flow::InletCol, Flow::HourRow(0)), "61.18");    // 6 bar
    EXPECT_EQ(form->FlowGrid.Cell(Flow::CriticalCol, Flow::HourRow(0)), "30.00"); // 294.1995 kPa
    EXPECT_EQ(TimeToShortStr(form->HighTimePicker.Time), "07:00");
    EXPECT_EQ(form->TableSteps.Caption(), "Undo logger data");
    // What was accepted was for this import.
    EXPECT_FALSE(dialog.AcceptCautions);

    // Undo puts the table and the two hours back (what the hours' change recalculates follows them).
    form->EditUndo();
    EXPECT_EQ(TableText(*form), tableBefore);
}

TEST(LoggerImport, RefusesWhatCannotBeAveraged) {
    TShownForm form;
    TLoggerImportForm& dialog = form->LoggerImport;
    EXPECT_FALSE(dialog.OkClick());
    EXPECT_EQ(form.Dialogs.Texts().back(), "No channel is assigned to inflow or a pressure.");
    EXPECT_FALSE(dialog.AddFile(ReadLoggerBytes("", "empty.csv")));
    EXPECT_EQ(form.Dialogs.Texts().back(), "empty.csv: the file is empty.");
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(QuarterHourDay(), "day.csv")));
    dialog.ChosenDays = {Day("2024-03-06")};
    EXPECT_FALSE(dialog.OkClick());
    EXPECT_EQ(form.Dialogs.Texts().back(),
              "2024-03-06 is not in the record of day.csv (2024-03-05 00:00 to 2024-03-05 23:45).");
    dialog.ChosenDays.clear();
    EXPECT_EQ(dialog.Preview().Refusal, "No day is chosen.");
    dialog.Assigned[1].Unit = TLoggerUnit::LitresPerSecond;
    dialog.ChosenDays = {Day("2024-03-05")};
    EXPECT_EQ(dialog.Preview().Refusal, "l/s is not a unit of inlet pressure.");
}

// Values near the largest a number holds add up past it in an hour: no mean, said with the
// file, the channel and the hour, and OK changes nothing; the command line prints the same.
TEST(LoggerImport, RefusesAnHourWhoseValuesAddUpPastANumber) {
    TShownForm form;
    TLoggerImportForm& dialog = form->LoggerImport;
    std::string text = "Time,Level,Flow\n";
    for (int minute = 0; minute <= 1440; minute += 15)
        text +=
            Stamp(5 + minute / 1440, minute % 1440) + ",1," + (minute / 60 == 3 ? "1.7e308" : "12") + "\n";
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(text, "zone.csv")));
    ASSERT_EQ(dialog.Assigned[0].Channel, 1);
    const std::string expected = "zone.csv: the values of Flow (column 3) add up past what a number holds in "
                                 "the hour 03:00; no mean can be taken.";
    EXPECT_EQ(dialog.Preview().Refusal, expected);
    const std::string before = Snapshot(*form);
    dialog.AcceptCautions = true;
    EXPECT_FALSE(dialog.OkClick());
    EXPECT_EQ(form.Dialogs.Texts().back(), expected);
    EXPECT_EQ(Snapshot(*form), before);
}

// A channel takes the unit its heading names, whether a heading assigns it or the user
// picks it; a unit given (on the command line) is taken as given.
TEST(LoggerImport, AssignedChannelsTakeTheUnitTheirHeadingNames) {
    struct TCase {
        const char* Heading;
        TMeasured What;
        std::optional<TLoggerUnit> Given;
        TLoggerUnit Before, After;
    };
    const TCase cases[] = {
        {"Zufluss (l/s)", TMeasured::Inflow, {}, TLoggerUnit::M3PerHour, TLoggerUnit::LitresPerSecond},
        {"Flow l/s", TMeasured::Inflow, {}, TLoggerUnit::M3PerHour, TLoggerUnit::LitresPerSecond},
        {"P1 [bar]", TMeasured::Inlet, {}, TLoggerUnit::Metres, TLoggerUnit::Bar},
        {"Druck kPa", TMeasured::Critical, {}, TLoggerUnit::Metres, TLoggerUnit::KiloPascal},
        // No unit named: the one chosen before stays where it fits the quantity.
        {"Column 2", TMeasured::Inflow, {}, TLoggerUnit::M3PerDay, TLoggerUnit::M3PerDay},
        {"Column 2", TMeasured::AZP, {}, TLoggerUnit::M3PerHour, TLoggerUnit::Metres},
        // A flow's unit for a pressure: not taken from the heading.
        {"Flow (l/s)", TMeasured::Inlet, {}, TLoggerUnit::Bar, TLoggerUnit::Bar},
        {"Zufluss (l/s)", TMeasured::Inflow, TLoggerUnit::M3PerDay, TLoggerUnit::M3PerHour,
         TLoggerUnit::M3PerDay},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Heading);
        TShownForm form;
        TLoggerImportForm& dialog = form->LoggerImport;
        ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(FlowDays(5, 5, 0, 0, c.Heading), "a.csv")));
        dialog.Assigned[static_cast<std::size_t>(c.What)].Unit = c.Before;
        dialog.Assign(c.What, 0, 0, c.Given);
        EXPECT_EQ(dialog.Assigned[static_cast<std::size_t>(c.What)].Channel, 0);
        EXPECT_EQ(LoggerUnitText(dialog.Assigned[static_cast<std::size_t>(c.What)].Unit),
                  LoggerUnitText(c.After));
    }
    // A channel that is not there assigns nothing.
    TShownForm form;
    form->LoggerImport.Assign(TMeasured::Inflow, 0, 3);
    EXPECT_FALSE(form->LoggerImport.Assigned[0].Assigned());
}

// The day offered first is the first that every channel that counts covers whole under the
// stamp rule; with end stamps the closing stamp's day is not offered at all.
TEST(LoggerImport, OffersTheFirstFullyRecordedDay) {
    TShownForm form;
    TLoggerImportForm& dialog = form->LoggerImport;
    // An end-stamped logger: 00:15 on the 4th to 00:00 on the 6th.
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(FlowDays(4, 5, 0, 15), "end.csv")));
    EXPECT_EQ(dialog.RecordDays(),
              (std::vector<int64_t>{Day("2024-03-04"), Day("2024-03-05"), Day("2024-03-06")}));
    EXPECT_EQ(dialog.ChosenDays, std::vector<int64_t>{Day("2024-03-05")});
    EXPECT_EQ(dialog.Preview().DayNote, "2024-03-05 Tue, the first fully recorded day, is chosen.");

    dialog.SetStampAtEnd(true);
    EXPECT_EQ(dialog.RecordDays(), (std::vector<int64_t>{Day("2024-03-04"), Day("2024-03-05")}));
    EXPECT_EQ(dialog.ChosenDays, std::vector<int64_t>{Day("2024-03-04")});
    EXPECT_EQ(dialog.ToDay, Day("2024-03-05"));
    EXPECT_TRUE(dialog.Preview().Cautions.empty());

    // A day chosen by hand stays when the rule changes, while it is still recorded; the note
    // is for the day offered first only.
    dialog.ChosenDays = {Day("2024-03-05")};
    EXPECT_EQ(dialog.Preview().DayNote, "");
    dialog.SetStampAtEnd(false);
    EXPECT_EQ(dialog.ChosenDays, std::vector<int64_t>{Day("2024-03-05")});

    // The assigned channels count: a second file whose Tuesday has a hole, assigned to the
    // inlet, makes Wednesday the first whole day of both.
    TShownForm other;
    TLoggerImportForm& two = other->LoggerImport;
    ASSERT_TRUE(two.AddFile(ReadLoggerBytes(FlowDays(5, 6), "flow.csv")));
    ASSERT_TRUE(two.AddFile(ReadLoggerBytes(FlowDays(5, 6, 600, 630, "Inlet"), "inlet.csv")));
    EXPECT_EQ(two.Assigned[1].File, 1);
    EXPECT_EQ(two.ChosenDays, std::vector<int64_t>{Day("2024-03-06")});
}

// The coverage shown is that of the chosen day covered least, and the cautions name the
// stretches without samples that make an hour low: a mean over the days would hide them.
TEST(LoggerImport, NamesTheStretchesWithoutSamples) {
    TShownForm form;
    TLoggerImportForm& dialog = form->LoggerImport;
    // From 10:00 on the 9th to the end of the 11th, with nothing from 02:00 to 07:30 on the 11th.
    std::string text = "Time,Flow\n";
    for (int minute = 600; minute <= 3 * 1440; minute += 15) {
        if (minute >= 2 * 1440 + 120 && minute < 2 * 1440 + 450) continue;
        text += Stamp(9 + minute / 1440, minute % 1440) + ",10\n";
    }
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(text, "z.csv")));
    dialog.ChosenDays = {Day("2024-03-10"), Day("2024-03-11")};
    TLoggerPreview preview = dialog.Preview();
    ASSERT_TRUE(preview.Ok()) << preview.Refusal;
    const THourlyMeans& means = *preview.Means[0];
    // 07:00 is half covered on the 11th: three quarters over the two days, which would pass.
    EXPECT_EQ(CoverageText(means.Coverage[7]), "75 %");
    EXPECT_EQ(CoverageText(means.LowestCoverage[7]), "50 %");
    EXPECT_EQ(means.LowestDay[7], Day("2024-03-11"));
    // The hours marked are those whose least covered day is below the least coverage.
    for (std::size_t h = 0; h < 24; ++h)
        EXPECT_EQ(preview.Low[0][h], means.LowestCoverage[h] < dialog.MinCoverage) << h;
    EXPECT_THAT(preview.Cautions, ElementsAre("No samples 02:00–07:30 on 2024-03-11 Mon (inflow, Flow)."));

    // Hours before the record starts are said by the hours, in the order of the day.
    dialog.ChosenDays.push_back(Day("2024-03-09"));
    preview = dialog.Preview();
    EXPECT_THAT(preview.Cautions,
                ElementsAre("2024-03-09 Sat 00:00–10:00: inflow (Flow) is 0 % covered, below 75 %.",
                            "No samples 02:00–07:30 on 2024-03-11 Mon (inflow, Flow)."));
}

// A stretch across midnight names both days; a day of many short holes names the first six
// and counts the others.
TEST(LoggerImport, SaysLongListsOfStretchesInShort) {
    TShownForm form;
    TLoggerImportForm& dialog = form->LoggerImport;
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(FlowDays(5, 6, 1380, 1500), "night.csv")));
    dialog.ChosenDays = {Day("2024-03-05"), Day("2024-03-06")};
    EXPECT_THAT(dialog.Preview().Cautions,
                ElementsAre("No samples 23:00 on 2024-03-05 Tue to 01:00 on 2024-03-06 Wed (inflow, Flow)."));

    // A quarter missing every hour: 75 % each, below 80 %.
    std::string text = "Time,Flow\n";
    for (int minute = 0; minute <= 1440; minute += 15)
        if (minute % 60 != 30) text += Stamp(7 + minute / 1440, minute % 1440) + ",10\n";
    dialog.RemoveFile(0);
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(text, "holes.csv")));
    dialog.MinCoverage = 0.8;
    const std::vector<std::string> cautions = dialog.Preview().Cautions;
    ASSERT_EQ(cautions.size(), 7u);
    EXPECT_EQ(cautions[0], "No samples 00:30–00:45 on 2024-03-07 Thu (inflow, Flow).");
    EXPECT_EQ(cautions[6], "… and 18 more like these, below 80 %.");
}

TEST(LoggerImport, CoverageIsNeverRoundedUp) {
    const std::pair<double, const char*> cases[] = {{1.0, "100 %"}, {0.9999, "99 %"}, {0.7499, "74 %"},
                                                    {0.75, "75 %"}, {0.0, "0 %"},     {0.63, "63 %"}};
    for (const auto& [fraction, text] : cases)
        EXPECT_EQ(CoverageText(fraction), text) << fraction;
}

// A stamp years from the others: the record is said to span that long, and choosing the
// whole of it is answered at once with the first day that holds nothing.
TEST(LoggerImport, SaysWhenARecordSpansAnUnlikelyTime) {
    TShownForm form;
    TLoggerImportForm& dialog = form->LoggerImport;
    std::string text = FlowDays(5, 5);
    text += "2200-01-01 00:00,10\n";
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(text, "far.csv")));
    EXPECT_EQ(dialog.RecordDays().size(), 3u);
    dialog.DayMode = TDayMode::Range;
    EXPECT_EQ(dialog.FromDay, Day("2024-03-05"));
    EXPECT_EQ(dialog.ToDay, *ParseDayText("2200-01-01"));
    const TLoggerPreview preview = dialog.Preview();
    EXPECT_THAT(
        preview.RecordNotes,
        ElementsAre("far.csv: the record spans 64220 days, from 2024-03-05 00:00 to 2200-01-01 00:00; a "
                    "stamp far from the others may be wrong."));
    EXPECT_EQ(preview.Refusal,
              "2024-03-07 is not in the record of far.csv (2024-03-05 00:00 to 2200-01-01 00:00).");
}

// Each import starts with the hours not accepted and stamps marking the start of their
// interval; so does a new project, which keeps nothing of the logger window before it.
TEST(LoggerImport, ANewImportStartsFromTheUsualChoices) {
    TShownForm form;
    TLoggerImportForm& dialog = form->LoggerImport;
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(FlowDays(4, 5, 0, 15), "end.csv")));
    dialog.SetStampAtEnd(true);
    dialog.AcceptCautions = true;
    // A second file of the same import: one stamp rule for both, the hours to be accepted again.
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(FlowDays(4, 5, 0, 15, "Inlet"), "inlet.csv")));
    EXPECT_TRUE(dialog.StampAtEnd);
    EXPECT_FALSE(dialog.AcceptCautions);

    dialog.AcceptCautions = true;
    ASSERT_TRUE(dialog.OkClick());
    form->LoggerImportButton.Click();
    // After OK, the next file added is another import.
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(FlowDays(4, 5, 0, 0, "AZP"), "azp.csv")));
    EXPECT_FALSE(dialog.StampAtEnd);
    EXPECT_FALSE(dialog.AcceptCautions);

    dialog.SetStampAtEnd(true);
    dialog.AcceptCautions = true;
    dialog.ReadOptions.MonthFirst = true;
    form->Dispatch([&] { form->actDataNewExec(); });
    EXPECT_TRUE(dialog.Files.empty());
    EXPECT_FALSE(dialog.StampAtEnd);
    EXPECT_FALSE(dialog.AcceptCautions);
    EXPECT_FALSE(dialog.ReadOptions.MonthFirst);
    EXPECT_FALSE(dialog.Assigned[0].Assigned());
    EXPECT_TRUE(dialog.ChosenDays.empty());
}

// New reading options read the files again: the channels and units the user chose, the
// stamp rule and a file refused before (for want of the zone's offset) come back with them.
TEST(LoggerImport, ReadingAgainKeepsTheUserChoices) {
    TScratchDir dir;
    const std::string flow = dir.File("flow.csv"), utc = dir.File("utc.csv");
    WriteBytes(flow, FlowDays(4, 5, 0, 15, "Zufluss (l/s)"));
    std::string zulu = "Time,Inlet\n";
    for (int minute = 0; minute <= 2 * 1440; minute += 15)
        zulu += "2024-03-0" + std::to_string(4 + minute / 1440) + "T" + Two(minute % 1440 / 60) + ":" +
                Two(minute % 60) + ":00Z,60\n";
    WriteBytes(utc, zulu);

    TShownForm form;
    TLoggerImportForm& dialog = form->LoggerImport;
    ASSERT_TRUE(dialog.AddFile(ReadLoggerFile(flow)));
    EXPECT_FALSE(dialog.AddFile(ReadLoggerFile(utc)));
    EXPECT_THAT(form.Dialogs.Texts().back(), ::testing::HasSubstr("give the zone's offset from UTC"));
    dialog.Assign(TMeasured::Inflow, 0, 0);
    dialog.Assigned[0].Unit = TLoggerUnit::M3PerDay;
    dialog.SetStampAtEnd(true);
    dialog.ChosenDays = {Day("2024-03-05")};

    dialog.ReadOptions.ZoneOffsetMinutes = 120;
    const std::vector<std::string> names = dialog.TakeFilesToReadAgain();
    EXPECT_THAT(names, ElementsAre(flow, utc));
    EXPECT_TRUE(dialog.Files.empty());
    for (const std::string& name : names)
        ASSERT_TRUE(dialog.AddFile(ReadLoggerFile(name, dialog.ReadOptions), TFileAdded::ReadAgain));
    EXPECT_EQ(dialog.Assigned[0].File, 0);
    EXPECT_EQ(dialog.Assigned[0].Unit, TLoggerUnit::M3PerDay);
    // The file refused before is assigned by its heading, as a file added is.
    EXPECT_EQ(dialog.Assigned[1].File, 1);
    EXPECT_TRUE(dialog.StampAtEnd);
    EXPECT_EQ(dialog.ChosenDays, std::vector<int64_t>{Day("2024-03-05")});
    EXPECT_EQ(dialog.Files[1].TimeReading, "UTC read as UTC+02:00");
    EXPECT_TRUE(dialog.RefusedFiles.empty());
    // The UTC file starts at 02:00 of the zone's clock.
    EXPECT_EQ(RecordRangeText(dialog.Files[1]).substr(0, 16), "2024-03-04 02:00");
}

// A read the user stopped is no fault of the file: nothing is added, nothing said.
TEST(LoggerImport, ACancelledReadAddsNothingAndSaysNothing) {
    TShownForm form;
    TLoggerImportForm& dialog = form->LoggerImport;
    TLoggerOptions options;
    options.Progress = [](double) { return false; };
    TLoggerFile file = ReadLoggerBytes(FlowDays(1, 28), "month.csv", options);
    ASSERT_TRUE(file.Cancelled);
    EXPECT_FALSE(dialog.AddFile(std::move(file)));
    EXPECT_TRUE(dialog.Files.empty());
    EXPECT_TRUE(dialog.RefusedFiles.empty());
    EXPECT_TRUE(form.Dialogs.Messages.empty());
}
