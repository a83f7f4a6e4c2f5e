// The "Import logger data" dialog's model: channels assigned from their headings, the
// preview, OK refused until low coverage is accepted, and one Undo step in the table.
#include "forms/LoggerImport.h"
#include "IoFixture.h"
#include "forms/TableLayouts.h"
#include "io/TimeStamp.h"

#include <gmock/gmock.h>

using namespace halvern;
namespace Flow = FlowGridLayout;
using namespace halvern::test;

namespace {

// A day of quarter hours, inflow 36 l/s (129.6 m³/hr) except 90 l/s from 07:00 to 08:00,
// pressures in bar; the 03:00 hour has only its first quarter.
std::string Day() {
    std::string text = "Logger 7\nwhen;Inflow (l/s);Inlet [bar];AZP [bar];Crit [kPa]\n";
    for (int h = 0; h < 24; ++h)
        for (int q = 0; q < 4; ++q) {
            if (h == 3 && q > 0) continue;
            text += "2024-03-05 " + std::string(h < 10 ? "0" : "") + std::to_string(h) + ":" +
                    (q ? std::to_string(15 * q) : "00") + ";" + (h == 7 ? "90" : "36") + ";6;5;294,1995\n";
        }
    return text;
}

} // namespace

TEST(LoggerImport, AppliesTheMeansAsOneStep) {
    TShownForm form;
    TLoggerImportForm& dialog = form->LoggerImport;
    form->LoggerImportButton.Click();
    EXPECT_TRUE(dialog.Visible);
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(Day(), "day.csv")));
    // Headings name the quantities and their units.
    EXPECT_EQ(dialog.Assigned[0].Channel, 0);
    EXPECT_EQ(dialog.Assigned[0].Unit, TLoggerUnit::LitresPerSecond);
    EXPECT_EQ(dialog.Assigned[2].Unit, TLoggerUnit::Bar);
    EXPECT_EQ(dialog.Assigned[3].Unit, TLoggerUnit::KiloPascal);
    EXPECT_EQ(dialog.ChosenDays, std::vector<int64_t>{*ParseDayText("2024-03-05")});

    const TLoggerPreview preview = dialog.Preview();
    ASSERT_TRUE(preview.Ok()) << preview.Refusal;
    EXPECT_TRUE(preview.Flagged[3]);
    EXPECT_DOUBLE_EQ(preview.Means[0]->Mean[7], 324.0);
    EXPECT_THAT(preview.Cautions,
                ::testing::ElementsAre(
                    "2024-03-05 03:00: inflow (Inflow (l/s)) is 25 % covered, below 75 %.",
                    "2024-03-05 03:00: inlet pressure (Inlet [bar]) is 25 % covered, below 75 %.",
                    "2024-03-05 03:00: AZP pressure (AZP [bar]) is 25 % covered, below 75 %.",
                    "2024-03-05 03:00: critical point pressure (Crit [kPa]) is 25 % covered, below 75 %."));

    const std::string before = Snapshot(*form);
    const auto table = [&form] {
        std::string text = TimeToStr(form->LowTimePicker.Time) + TimeToStr(form->HighTimePicker.Time);
        for (int row = 0; row < form->FlowGrid.RowCount(); ++row)
            for (int col = 0; col < form->FlowGrid.ColCount(); ++col)
                text += "|" + form->FlowGrid.Cell(col, row);
        return text;
    };
    const std::string tableBefore = table();
    EXPECT_FALSE(dialog.OkClick());
    EXPECT_THAT(form.Dialogs.Texts().back(),
                ::testing::StartsWith("The chosen days are not fully recorded:"));
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

    // Undo puts the table and the two hours back (what the hours' change recalculates follows them).
    form->EditUndo();
    EXPECT_EQ(table(), tableBefore);
}

TEST(LoggerImport, RefusesWhatCannotBeAveraged) {
    TShownForm form;
    TLoggerImportForm& dialog = form->LoggerImport;
    EXPECT_FALSE(dialog.OkClick());
    EXPECT_EQ(form.Dialogs.Texts().back(), "No channel is assigned to inflow or a pressure.");
    EXPECT_FALSE(dialog.AddFile(ReadLoggerBytes("", "empty.csv")));
    EXPECT_EQ(form.Dialogs.Texts().back(), "empty.csv: the file is empty.");
    ASSERT_TRUE(dialog.AddFile(ReadLoggerBytes(Day(), "day.csv")));
    dialog.ChosenDays = {*ParseDayText("2024-03-06")};
    EXPECT_FALSE(dialog.OkClick());
    EXPECT_EQ(form.Dialogs.Texts().back(),
              "2024-03-06 is not in the record of day.csv (2024-03-05 00:00 to 2024-03-05 23:45).");
    dialog.ChosenDays.clear();
    EXPECT_EQ(dialog.Preview().Refusal, "No day is chosen.");
    dialog.Assigned[1].Unit = TLoggerUnit::LitresPerSecond;
    dialog.ChosenDays = {*ParseDayText("2024-03-05")};
    EXPECT_EQ(dialog.Preview().Refusal, "l/s is not a unit of inlet pressure.");
}
