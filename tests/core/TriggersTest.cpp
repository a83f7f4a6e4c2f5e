// What runs when: keys in numeric edits, the N1 check, the time pickers, the change
// handlers of the scenario and cost inputs, and the result pages being shown.
#include "DriverFixture.h"
#include "forms/TableLayouts.h"

#include <functional>
#include <string>
#include <vector>

using namespace halvern;
namespace Costs = CostSummaryLayout;
namespace Flow = FlowGridLayout;
namespace PRV = PRVGridLayout;
using halvern::test::DriverFixture;

class TriggersTest : public DriverFixture {};

TEST_F(TriggersTest, AKeyCollectsTheInputsAsTheyReadAfterIt) {
    EnterZone();
    Do([&] { form.PopulationEdit.SetText(""); });
    // Typed key by key, the last figure counts at once: the night use and the current
    // situation's check of the use per person are those of 4200, not of 420.
    Do([&] { form.PopulationEdit.TypeText("4200"); });
    EXPECT_EQ(form.Project.Population, 4200);
    Do([&] { form.CurrentSituationSheetShow(); });

    TScriptedDialogs referenceDialogs;
    TMainForm reference(referenceDialogs);
    reference.Dispatch([&] {
        reference.FormShow();
        reference.TimeWarnCheckBox.Checked = true;
        for (TEdit* edit : {&reference.InletElevEdit, &reference.AZPElevEdit, &reference.TargetElevEdit})
            edit->SetText(form.Controls.Find<TEdit>(edit->Name)->Text());
        for (int row = 1; row <= 24; ++row)
            for (int col : {FlowGridLayout::InflowM3hCol, FlowGridLayout::InletCol, FlowGridLayout::AZPCol,
                            FlowGridLayout::CriticalCol})
                reference.FlowGrid.SetEditText(col, row, form.FlowGrid.Cell(col, row));
        reference.PopulationEdit.SetText("4200");
        bool errorsFound = true;
        reference.GetTheData(errorsFound);
        reference.CalcNightLoss();
        reference.CurrentSituationSheetShow();
    });
    EXPECT_EQ(form.ResidentialNightLabel.Caption, reference.ResidentialNightLabel.Caption);
    EXPECT_EQ(form.ResidentialUseLabel.Caption, reference.ResidentialUseLabel.Caption);
    EXPECT_EQ(form.PopUseWarningLabel.Caption, reference.PopUseWarningLabel.Caption);
    EXPECT_EQ(form.CurrentGrid.Cell(CurrentGridLayout::IndepFlowCol, CurrentGridLayout::HourRow(3)),
              reference.CurrentGrid.Cell(CurrentGridLayout::IndepFlowCol, CurrentGridLayout::HourRow(3)));

    // Backspace counts too, and so does every other number box: a minimum pressure typed
    // is the one the valves are judged by.
    Do([&] { form.PopulationEdit.TypeKey('\b'); });
    EXPECT_EQ(form.Project.Population, 420);
    Do([&] { form.MinPressureEdit.SetText(""); });
    Do([&] { form.MinPressureEdit.TypeText("27.5"); });
    EXPECT_DOUBLE_EQ(form.Project.MinPressure, 27.5);

    // A box emptied on the way to a new figure is left to the user without a word; a
    // refused key collects nothing.
    Do([&] { form.MainsLengthEdit.SetText(""); });
    Do([&] { form.MainsLengthEdit.TypeKey('9'); });
    Do([&] { form.MainsLengthEdit.TypeKey('\b'); });
    Do([&] { form.MainsLengthEdit.TypeKey('x'); });
    EXPECT_EQ(form.MainsLengthEdit.Text(), "");
    EXPECT_DOUBLE_EQ(form.Project.MainsLength, 9);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(TriggersTest, TheN1Check) {
    struct Case {
        std::string text;
        bool message;
        std::string textAfter;
        double n1After;
    };
    // Each case starts from N1 = 1.5.
    const std::vector<Case> cases = {
        {"3", true, "1.0", 1.0},    {"0.4", true, "1.0", 1.0},  {"2.5", false, "2.5", 2.5},
        {"0.5", false, "0.5", 0.5}, {" 2 ", false, " 2 ", 2.0}, {"0", false, "0", 1.5},
        {"0.", false, "0.", 1.5},   {"abc", false, "1.0", 1.0}, {"", false, "1.0", 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.text + "'");
        Do([&] { form.N1Edit.SetText("1.5"); });
        ASSERT_DOUBLE_EQ(form.Project.N1, 1.5);
        dialogs.Clear();
        Do([&] { form.N1Edit.SetText(c.text); });
        if (c.message)
            EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"N1 must be between 0.5 and 2.5"});
        else
            EXPECT_TRUE(dialogs.Messages.empty());
        EXPECT_EQ(form.N1Edit.Text(), c.textAfter);
        EXPECT_DOUBLE_EQ(form.Project.N1, c.n1After);
    }
}

TEST_F(TriggersTest, TheN1CheckRunsOnAChangeOfTheZoneCounts) {
    form.N1Edit.InitText("7");
    Do([&] { form.PopulationEdit.SetText("250"); });
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"N1 must be between 0.5 and 2.5"});
    EXPECT_EQ(form.N1Edit.Text(), "1.0");
}

TEST_F(TriggersTest, PickedTimesSnapToTheIntervalGrid) {
    struct Case {
        int intervalMinutes, hours, minutes, seconds;
        std::string snapped;
    };
    const std::vector<Case> cases = {
        {60, 3, 40, 0, "03:00:00"}, {60, 3, 59, 59, "03:00:00"}, {60, 23, 30, 0, "23:00:00"},
        {15, 3, 40, 0, "03:45:00"}, {15, 3, 55, 0, "03:00:00"},  {15, 3, 7, 0, "03:00:00"},
        {15, 3, 8, 0, "03:15:00"},  {15, 3, 21, 0, "03:15:00"},  {15, 3, 22, 0, "03:30:00"},
        {15, 3, 36, 0, "03:30:00"}, {15, 3, 37, 0, "03:45:00"},  {15, 3, 51, 0, "03:45:00"},
        {15, 3, 52, 0, "03:00:00"}, {30, 3, 40, 30, "03:45:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.intervalMinutes) + " min, " + c.snapped);
        form.Project.IntervalLength = EncodeTime(0, c.intervalMinutes);
        Do([&] { form.LowTimePicker.UserChange(EncodeTime(c.hours, c.minutes, c.seconds)); });
        EXPECT_EQ(TimeToStr(form.LowTimePicker.Time), c.snapped);
        EXPECT_EQ(TimeToStr(form.Project.LowFlowTime), c.snapped);
    }
}

TEST_F(TriggersTest, OnlyTheFlowTimePickersStoreTheirTimeAtOnce) {
    const double lowBefore = form.Project.LowFlowTime;
    const double startBefore = form.Project.TimeStart1;
    Do([&] { form.HighTimePicker.UserChange(EncodeTime(14, 10)); });
    EXPECT_EQ(TimeToStr(form.Project.HighFlowTime), "14:00:00");
    EXPECT_DOUBLE_EQ(form.Project.LowFlowTime, lowBefore);

    const double highBefore = form.Project.HighFlowTime;
    Do([&] { form.TimeStart1Picker.UserChange(EncodeTime(5, 20)); });
    EXPECT_EQ(TimeToStr(form.TimeStart1Picker.Time), "05:00:00");
    EXPECT_DOUBLE_EQ(form.Project.LowFlowTime, lowBefore);
    EXPECT_DOUBLE_EQ(form.Project.HighFlowTime, highBefore);
    EXPECT_DOUBLE_EQ(form.Project.TimeStart1, startBefore); // reaches the record with the collection
}

TEST_F(TriggersTest, APickerChangeClearsEveryTableColourAndRecalculatesTheTimeModulatedScenario) {
    EnterZone();
    // A mark in a row that no low-flow or high-flow hour will colour again.
    std::vector<TMarkStringGrid*> grids = {
        &form.FlowGrid,    &form.N1CalculationForm.N1Grid, &form.CurrentGrid, &form.FixedPRVGrid,
        &form.TimePRVGrid, &form.CostSummaryGrid,          &form.FlowPRVGrid};
    // The same place in every table: its second column, fourth row.
    constexpr int markedCol = 1, markedRow = 3;
    for (TMarkStringGrid* grid : grids)
        grid->SetColour(markedCol, markedRow, clRed);
    ASSERT_EQ(form.FlowGrid.GetColour(Flow::InflowM3hCol, Flow::HourRow(3)),
              clAqua); // 03:00, the low-flow hour
    ASSERT_FALSE(form.TimeModulatedSheet.Highlighted);
    Do([&] { form.CalcTimePRV(); });
    ASSERT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, PRV::HourRow(4)),
              "50.00"); // 04:00 in the first window 03:00-08:00

    Do([&] { form.TimeStart1Picker.UserChange(EncodeTime(5, 20)); });
    EXPECT_TRUE(dialogs.Messages.empty());
    for (TMarkStringGrid* grid : grids) {
        SCOPED_TRACE(grid->Name);
        EXPECT_EQ(grid->GetColour(markedCol, markedRow), clNone);
    }
    // The input table's marks follow the flow times at once.
    EXPECT_EQ(form.FlowGrid.GetColour(Flow::InflowM3hCol, Flow::HourRow(3)), clAqua);
    EXPECT_TRUE(form.TimeModulatedSheet.Highlighted);
    EXPECT_TRUE(form.DataInputSheet.Highlighted);
    // The window now opens at 05:00.
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, PRV::HourRow(4)), "40.00");
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, PRV::HourRow(5)), "50.00");
}

TEST_F(TriggersTest, ShowingAResultPageHighlightsItsTabAndRecalculates) {
    EnterZone();
    form.CurrentDepLabel.Caption = "stale";
    Do([&] { form.MainPage.SetActivePage(form.CurrentSituationSheet); });
    EXPECT_TRUE(form.CurrentSituationSheet.Highlighted);
    EXPECT_FALSE(form.DataInputSheet.Highlighted);
    EXPECT_NE(form.CurrentDepLabel.Caption, "stale");

    form.FixedPRVOutletEdit.InitText("45.5"); // as typed, without its handler having run
    Do([&] { form.MainPage.SetActivePage(form.FixedOutletSheet); });
    EXPECT_TRUE(form.FixedOutletSheet.Highlighted);
    EXPECT_FALSE(form.CurrentSituationSheet.Highlighted);
    EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::OutletCol, PRV::HourRow(0)), "45.5");
    EXPECT_FALSE(form.FixedDepLabel.Caption.empty());

    form.HighPressureEdit.InitText("55");
    Do([&] { form.MainPage.SetActivePage(form.TimeModulatedSheet); });
    EXPECT_TRUE(form.TimeModulatedSheet.Highlighted);
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, PRV::HourRow(3)), "55.00");

    form.CurrentDepLabel.Caption = "stale";
    form.FlowDepLabel.Caption = "stale";
    Do([&] { form.MainPage.SetActivePage(form.FlowModulatedSheet); });
    EXPECT_TRUE(form.FlowModulatedSheet.Highlighted);
    EXPECT_NE(form.CurrentDepLabel.Caption, "stale");
    EXPECT_NE(form.FlowDepLabel.Caption, "stale");
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(TriggersTest, ShowingTheSummaryRecalculatesEverythingAndTheCosts) {
    EnterZone();
    for (TLabel* label : {&form.CurrentDepLabel, &form.FixedDepLabel, &form.TimeDepLabel, &form.FlowDepLabel})
        label->Caption = "stale";
    form.CostSummaryGrid.SetCell(Costs::InflowCol, Costs::CurrentRow, "stale");
    form.FocusedControl.clear();

    Do([&] { form.MainPage.SetActivePage(form.SummarySheet); });
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(form.SummarySheet.Highlighted);
    for (TLabel* label :
         {&form.CurrentDepLabel, &form.FixedDepLabel, &form.TimeDepLabel, &form.FlowDepLabel}) {
        SCOPED_TRACE(label->Name);
        EXPECT_NE(label->Caption, "stale");
    }
    EXPECT_NE(form.CostSummaryGrid.Cell(Costs::InflowCol, Costs::CurrentRow), "stale");
    EXPECT_EQ(form.CostSummaryGrid.RowHeight(2), 2 * form.CostSummaryGrid.RowHeight(0));
    EXPECT_EQ(form.FocusedControl, "CostSummaryGrid");
}

TEST_F(TriggersTest, FixedOutletAndTimeModulatedPressureEdits) {
    EnterZone();
    struct Case {
        TEdit TMainForm::*edit;
        std::string message;
        TMarkStringGrid TMainForm::*grid;
        int row;           // an hour that shows this pressure
        std::string shown; // what the table shows for "47"
        std::function<double(const TProject&)> stored;
    };
    const std::vector<Case> cases = {
        {&TMainForm::FixedPRVOutletEdit, "Invalid entry for Fixed PRV Outlet pressure.",
         &TMainForm::FixedPRVGrid, PRV::HourRow(8), "47", [](const TProject& p) { return p.FixedPRVOutlet; }},
        {&TMainForm::HighPressureEdit, "Invalid entry for High Pressure.", &TMainForm::TimePRVGrid,
         PRV::HourRow(3), "47.00", [](const TProject& p) { return double{p.HighPressure}; }},
        {&TMainForm::LowPressureEdit, "Invalid entry for Low Pressure.", &TMainForm::TimePRVGrid,
         PRV::HourRow(8), "47.00", [](const TProject& p) { return double{p.LowPressure}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        TEdit& edit = form.*(c.edit);
        TMarkStringGrid& grid = form.*(c.grid);
        dialogs.Clear();
        Do([&] { edit.SetText("47"); });
        EXPECT_TRUE(dialogs.Messages.empty());
        EXPECT_DOUBLE_EQ(c.stored(form.Project), 47);
        EXPECT_EQ(grid.Cell(PRV::OutletCol, c.row), c.shown);

        grid.SetCell(PRV::OutletCol, c.row, "kept");
        Do([&] { edit.SetText(""); });
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.message});
        EXPECT_DOUBLE_EQ(c.stored(form.Project), 0);
        EXPECT_EQ(grid.Cell(PRV::OutletCol, c.row), "kept"); // nothing recalculated
        Do([&] { edit.SetText("50.00"); });
    }
}

TEST_F(TriggersTest, IntervalChoiceShowsTheSecondWindowAndRecalculates) {
    EnterZone();
    const int row1200 = 14; // 12:00, in the second window 11:00-15:00
    Do([&] { form.Interval2Radio.Click(); });
    EXPECT_EQ(form.Project.Intervals, 2);
    EXPECT_FALSE(form.TimeStart2Picker.Visible);
    EXPECT_FALSE(form.TimeStop2Picker.Visible);
    EXPECT_FALSE(form.SecondSetLabel.Visible);
    EXPECT_EQ(form.TimePRVGrid.Options & goEditing, 0u);
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, row1200), "40.00");

    Do([&] { form.Interval4Radio.Click(); });
    EXPECT_EQ(form.Project.Intervals, 4);
    EXPECT_TRUE(form.TimeStart2Picker.Visible);
    EXPECT_TRUE(form.TimeStop2Picker.Visible);
    EXPECT_TRUE(form.SecondSetLabel.Visible);
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, row1200), "50.00");
}

TEST_F(TriggersTest, LeavingHourlyModeShowsTheFirstWindowAgain) {
    form.Project.Intervals = 0;
    for (TTimePicker* p :
         {&form.TimeStart1Picker, &form.TimeStop1Picker, &form.TimeStart2Picker, &form.TimeStop2Picker})
        p->Visible = false;
    form.Interval4Radio.SetChecked(false);
    Do([&] { form.Interval2Radio.Click(); });
    EXPECT_TRUE(form.TimeStart1Picker.Visible);
    EXPECT_TRUE(form.TimeStop1Picker.Visible);
    EXPECT_FALSE(form.TimeStart2Picker.Visible);
}

TEST_F(TriggersTest, AnEditedTimeModulatedCellRecalculates) {
    EnterZone();
    form.Project.Intervals = 0; // hourly mode: the outlet pressures are typed
    form.TimePRVGrid.Options |= goEditing;
    form.FlowGrid.SetCell(Flow::InletCol, Flow::HourRow(3),
                          "61.00"); // the 03:00 inlet, changed without any event
    Do([&] { form.TimePRVGrid.SetEditText(PRV::OutletCol, PRV::HourRow(3), "33"); });
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::InletCol, PRV::HourRow(3)), "61.00");
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, PRV::HourRow(3)), "33");
}

TEST_F(TriggersTest, FlowModulatedPressureEdits) {
    EnterZone();
    Do([&] { form.LPFlowMod.SetText("x"); });
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"'x' is not a valid floating point value"});
    EXPECT_DOUBLE_EQ(form.Project.LPFlowMod, 20);
    dialogs.Clear();

    form.CurrentDepLabel.Caption = "stale";
    Do([&] { form.LPFlowMod.SetText("22"); });
    EXPECT_DOUBLE_EQ(form.Project.LPFlowMod, 22);
    EXPECT_NE(form.CurrentDepLabel.Caption, "stale");
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::CriticalCol, PRV::HourRow(3)), "22.00"); // the 03:00 target

    Do([&] { form.HPFlowMod.SetText("31.5"); });
    EXPECT_DOUBLE_EQ(form.Project.HPFlowMod, 31.5);
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::CriticalCol, PRV::HourRow(11)), "31.50"); // the 11:00 target
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(TriggersTest, CostEditsStoreTheirNumberAndRecalculateTheCosts) {
    struct Case {
        TEdit TMainForm::*edit;
        double TProject::*field; // null for the whole-number factor
        std::string text;
        double value;
    };
    const std::vector<Case> cases = {
        {&TMainForm::InflowCostEdit, &TProject::InflowCost, "3.5", 3.5},
        {&TMainForm::InflowCostEdit, &TProject::InflowCost, "", 0},
        {&TMainForm::ConsumpCostsEdit, &TProject::ConsumpCosts, "4", 4},
        {&TMainForm::ResConsumpChangeEdit, &TProject::ResConsumpChange, "12.5", 12.5},
        {&TMainForm::NonresConsumpChangeEdit, &TProject::NonresConsumpChange, "1x", 0},
        {&TMainForm::CostFactorEdit, nullptr, "50", 50},
        {&TMainForm::CostFactorEdit, nullptr, "", 0},
        {&TMainForm::edtConsumptionN1, nullptr, "0.75", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((form.*(c.edit)).Name + " '" + c.text + "'");
        form.CostSummaryGrid.SetCell(Costs::InflowCol, Costs::CurrentRow, "stale");
        Do([&] { (form.*(c.edit)).SetText(c.text); });
        EXPECT_TRUE(dialogs.Messages.empty());
        EXPECT_NE(form.CostSummaryGrid.Cell(Costs::InflowCol, Costs::CurrentRow), "stale");
        if (c.field) {
            EXPECT_DOUBLE_EQ(form.Project.*(c.field), c.value);
        } else if (c.edit == &TMainForm::CostFactorEdit) {
            EXPECT_EQ(form.Project.CostFactor, static_cast<int>(c.value));
        }
    }
}

TEST_F(TriggersTest, ZoneReferenceTextsAreCopiedOnEveryChange) {
    Do([&] {
        form.ZoneNameEdit.TypeText("Zone A");
        form.ZoneRefEdit.TypeText("PM-7");
        form.WaterSupplySystemEdit.TypeText("Hill reservoir");
        form.ReportNumEdit.TypeText("R12");
    });
    EXPECT_EQ(form.Project.ZoneName, "Zone A");
    EXPECT_EQ(form.Project.ZoneRef, "PM-7");
    EXPECT_EQ(form.Project.WaterSupplySystem, "Hill reservoir");
    EXPECT_EQ(form.Project.ReportNum, "R12");
    Do([&] { form.ZoneNameEdit.TypeKey('\b'); });
    EXPECT_EQ(form.Project.ZoneName, "Zone ");
}

TEST_F(TriggersTest, TheRowMarksFollowTheFlowTimesAtEveryChange) {
    // Which hour rows of a table have a mark, as "hh aqua|yellow".
    const auto marks = [](TMarkStringGrid& grid, int firstHourRow) {
        std::vector<std::string> found;
        for (int hour = 0; hour < HoursPerDay; ++hour) {
            const TColor colour = grid.GetColour(grid.FixedCols, firstHourRow + hour);
            if (colour == clAqua) found.push_back(std::to_string(hour) + " aqua");
            if (colour == clYellow) found.push_back(std::to_string(hour) + " yellow");
        }
        return found;
    };
    Do([&] { form.actDataNewExec(); });
    EnterZone();
    Do([&] { form.TimeModulatedSheetShow(); });
    Do([&] { form.LowTimePicker.UserChange(EncodeTime(3, 0)); });
    Do([&] { form.HighTimePicker.UserChange(EncodeTime(11, 0)); });
    const std::vector<std::string> expected{"3 aqua", "11 yellow"};
    EXPECT_EQ(marks(form.FlowGrid, FlowGridLayout::FirstHourRow), expected);
    EXPECT_EQ(marks(form.TimePRVGrid, ResultRows::FirstHourRow), expected);

    // The high-flow hour moved while the Time Modulated page is in view: one yellow row,
    // the new one, in both tables; and again after the page is shown anew.
    Do([&] { form.HighTimePicker.UserChange(EncodeTime(14, 0)); });
    const std::vector<std::string> moved{"3 aqua", "14 yellow"};
    EXPECT_EQ(marks(form.FlowGrid, FlowGridLayout::FirstHourRow), moved);
    EXPECT_EQ(marks(form.TimePRVGrid, ResultRows::FirstHourRow), moved);
    Do([&] { form.TimeModulatedSheetShow(); });
    Do([&] { form.CurrentSituationSheetShow(); });
    EXPECT_EQ(marks(form.TimePRVGrid, ResultRows::FirstHourRow), moved);
    EXPECT_EQ(marks(form.CurrentGrid, ResultRows::FirstHourRow), moved);
}

TEST_F(TriggersTest, PrintsAndPicturesAreOfTheInputsAsTheyAreNow) {
    EnterZone();
    Do([&] { form.SummarySheetShow(); });
    // An hour typed since the pages were worked out: the page and the Summary still show the
    // inflow before it, until printing brings them up to date.
    Do([&] {
        form.FlowGrid.SetEditText(FlowGridLayout::InflowM3hCol, FlowGridLayout::HourRow(11), "120.00");
    });
    const auto currentInflow = [&] {
        return form.CurrentGrid.Cell(CurrentGridLayout::TotalFlowCol, ResultRows::HourRow(11));
    };
    ASSERT_NE(currentInflow(), "120.00");
    const std::string summaryBefore =
        form.CostSummaryGrid.Cell(CostSummaryLayout::InflowCol, CostSummaryLayout::CurrentRow);

    std::vector<std::string> printed;
    form.OnPrintPage = [&] {
        printed.push_back(currentInflow());
        return std::string();
    };
    form.OnSavePagePicture = [&](const std::string&) {
        printed.push_back(currentInflow());
        return std::string();
    };
    Do([&] { form.actPrintExec(); });
    EXPECT_NE(form.CostSummaryGrid.Cell(CostSummaryLayout::InflowCol, CostSummaryLayout::CurrentRow),
              summaryBefore);
    Do([&] {
        form.FlowGrid.SetEditText(FlowGridLayout::InflowM3hCol, FlowGridLayout::HourRow(11), "130.00");
    });
    dialogs.FileNames.push_back("/pictures/page.png");
    Do([&] { form.actPrintToBitmapExec(); });
    EXPECT_EQ(printed, (std::vector<std::string>{"120.00", "130.00"}));
    EXPECT_TRUE(dialogs.Messages.empty());
}
