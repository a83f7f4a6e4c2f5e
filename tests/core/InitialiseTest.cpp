// Initialise, the table set-ups it runs and the New data command.
#include "FormFixture.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include <gtest/gtest.h>
#include <sstream>
#include <utility>
#include <vector>

using namespace halvern;
namespace Costs = CostSummaryLayout;
namespace Current = CurrentGridLayout;
namespace FixedCost = FixedCostLayout;
namespace Flow = FlowGridLayout;
namespace N1 = N1GridLayout;
namespace PRV = PRVGridLayout;
using halvern::test::FormFixture;

namespace {

class InitialiseTest : public FormFixture {
protected:
    std::string HourText(double time) const { return TimeToShortStr(time); }
};

TEST_F(InitialiseTest, StartUpShowsTheDefaultsAndNoMessage) {
    EXPECT_TRUE(dialogs.Messages.empty()) << ::testing::PrintToString(dialogs.Texts());
    const std::vector<std::pair<TEdit*, std::string>> expected = {
        {&form.ZoneNameEdit, ""},
        {&form.ZoneRefEdit, ""},
        {&form.WaterSupplySystemEdit, ""},
        {&form.ReportNumEdit, ""},
        {&form.MainsLengthEdit, "1.000"},
        {&form.NumOfConnectEdit, "1"},
        {&form.NumOfServicedEdit, "1"},
        {&form.NumNonResidentialEdit, "1"},
        {&form.PopulationEdit, "1"},
        {&form.MinPressureEdit, "0.00"},
        {&form.MinNightPressureEdit, "0.00"},
        {&form.InletElevEdit, "0.00"},
        {&form.AZPElevEdit, "0.00"},
        {&form.TargetElevEdit, "0.00"},
        {&form.MainsLossEdit, "2.00"},
        {&form.ConnectPresEdit, "0.00"},
        {&form.ConnectLossEdit, "0.50"},
        {&form.PropPressEdit, "0.00"},
        {&form.PropertyLossEdit, "0.50"},
        {&form.Edit1, "0"},
        {&form.N1Edit, "1.00"},
        {&form.DomesticNightEdit, "10.00"},
        {&form.PopActiveEdit, "6"},
        {&form.NonDomMeterEdit, "4.00"},
        {&form.NonDomUnmeterEdit, "0.26"},
        {&form.DailyNonResidentialEdit, "24.00"},
        {&form.FixedPRVOutletEdit, "50.00"},
        {&form.HighPressureEdit, "50.00"},
        {&form.LowPressureEdit, "40.00"},
        {&form.LPFlowMod, "20"},
        {&form.HPFlowMod, "25"},
        {&form.InflowCostEdit, "1.00"},
        {&form.ConsumpCostsEdit, "2.00"},
        {&form.ResConsumpChangeEdit, "10.00"},
        {&form.NonresConsumpChangeEdit, "10.00"},
        {&form.CostFactorEdit, "100"},
        {&form.edtConsumptionN1, "0.5"},
    };
    for (const auto& [edit, text] : expected)
        EXPECT_EQ(edit->Text(), text) << edit->Name;

    EXPECT_EQ(HourText(form.LowTimePicker.Time), "03:00");
    EXPECT_EQ(HourText(form.HighTimePicker.Time), "11:00");
    EXPECT_EQ(HourText(form.TimeStart1Picker.Time), "03:00");
    EXPECT_EQ(HourText(form.TimeStop1Picker.Time), "08:00");
    EXPECT_EQ(HourText(form.TimeStart2Picker.Time), "11:00");
    EXPECT_EQ(HourText(form.TimeStop2Picker.Time), "15:00");
    EXPECT_TRUE(form.Interval4Radio.Checked());
    EXPECT_FALSE(form.Interval2Radio.Checked());
    EXPECT_TRUE(form.TimeStart2Picker.Visible && form.TimeStop2Picker.Visible && form.SecondSetLabel.Visible);
    EXPECT_FALSE(form.TimePRVGrid.Options & goEditing);
    EXPECT_TRUE(form.m3hrRadio.Checked());
    EXPECT_EQ(form.CostFactorUpDown.Position(), 100);
    EXPECT_DOUBLE_EQ(form.Project.N1, 1.0);

    const std::vector<std::string> contact = {"Name:", "Tel:", "Fax:", "email:"};
    EXPECT_EQ(form.CollectMemo.Lines, contact);
    EXPECT_EQ(form.AnalysisMemo.Lines, contact);
    EXPECT_TRUE(form.TimeWarnCheckBox.Enabled);
    EXPECT_FALSE(form.TimeWarnCheckBox.Checked);
    for (TLabel* warn : {&form.FixedWarnLabel, &form.TimeWarnLabel, &form.FlowWarnLabel})
        EXPECT_EQ(warn->Caption, "Status") << warn->Name;
    for (TLabel* empty :
         {&form.FixedDepLabel, &form.FixedTotLabel, &form.TimeDayNightLabel, &form.FlowIndepLabel})
        EXPECT_EQ(empty->Caption, "") << empty->Name;
}

TEST_F(InitialiseTest, FlowGridHasItsHeadingsHoursAndZeros) {
    const TMarkStringGrid& g = form.FlowGrid;
    ASSERT_EQ(g.ColCount(), 6);
    ASSERT_EQ(g.RowCount(), 25);
    EXPECT_EQ(g.FixedRows, 1);
    EXPECT_EQ(g.FixedCols, 1);
    EXPECT_EQ(g.Options, static_cast<uint32_t>(goEditing | goTabs | goColSizing | goDrawFocusSelected));
    const std::vector<std::string> headings = {"Hour",
                                               "Zone Inflow m³/h",
                                               "Zone Inflow l/s",
                                               "Inlet Pressure (m)",
                                               "AZP Pressure (m)",
                                               "Critical Point Pressure (m)"};
    for (int col = 0; col < 6; ++col)
        EXPECT_EQ(g.Cell(col, 0), headings[col]);
    EXPECT_EQ(g.Cell(Flow::HourCol, Flow::HourRow(0)), "00:00 - 01:00");
    EXPECT_EQ(g.Cell(Flow::HourCol, Flow::HourRow(11)), "11:00 - 12:00");
    EXPECT_EQ(g.Cell(Flow::HourCol, Flow::HourRow(23)), "23:00 - 00:00");
    for (int row = 1; row <= 24; ++row) {
        EXPECT_EQ(g.RowHeight(row), 16);
        for (int col = 1; col < 6; ++col)
            EXPECT_EQ(g.Cell(col, row), "0.00") << col << "," << row;
    }
    // Widths measured in the grid's font (7 pixels a character on the stand-in canvas).
    EXPECT_EQ(g.ColWidth(0), 7 * 16);
    EXPECT_EQ(g.ColWidth(1), 7 * 18);
    EXPECT_EQ(g.ColWidth(2), 7 * 18);
    EXPECT_EQ(g.ColWidth(5), 7 * 29);
}

TEST_F(InitialiseTest, FlowGridMarksTheTypedAndDerivedInflowColumns) {
    TMarkStringGrid& g = form.FlowGrid;
    for (int row = 1; row <= 24; ++row) {
        EXPECT_EQ(g.GetFontColour(Flow::InflowM3hCol, row), clRed);
        EXPECT_FALSE(g.GetCellLock(Flow::InflowM3hCol, row));
        EXPECT_EQ(g.GetFontColour(Flow::InflowLsCol, row), clBlue);
        EXPECT_TRUE(g.GetCellLock(Flow::InflowLsCol, row));
        for (int col = 3; col <= 5; ++col)
            EXPECT_EQ(g.GetFontColour(col, row), clRed);
    }
    EXPECT_EQ(g.GetFontColour(Flow::InflowLsCol, Flow::HeadingRow), clNone); // headings keep their colour

    // A project entered in l/s swaps the two.
    form.Project.FlowUnitsM3h = false;
    form.Initialise(false);
    for (int row = 1; row <= 24; ++row) {
        EXPECT_EQ(g.GetFontColour(Flow::InflowM3hCol, row), clBlue);
        EXPECT_TRUE(g.GetCellLock(Flow::InflowM3hCol, row));
        EXPECT_EQ(g.GetFontColour(Flow::InflowLsCol, row), clRed);
        EXPECT_FALSE(g.GetCellLock(Flow::InflowLsCol, row));
    }
    EXPECT_TRUE(form.lsRadio.Checked());
}

TEST_F(InitialiseTest, FlowGridMarksTheLowAndHighFlowHours) {
    TMarkStringGrid& g = form.FlowGrid;
    for (int row = 1; row <= 24; ++row) {
        const TColor expected = row == 4 ? clAqua : row == 12 ? clYellow : clNone;
        for (int col = 1; col <= 5; ++col)
            EXPECT_EQ(g.GetColour(col, row), expected) << col << "," << row;
    }

    // Both in one hour: that row is yellow and the old marks are gone.
    form.Project.LowFlowTime = EncodeTime(5, 0);
    form.Project.HighFlowTime = EncodeTime(5, 0);
    form.Initialise(false);
    for (int row = 1; row <= 24; ++row)
        EXPECT_EQ(g.GetColour(Flow::InflowM3hCol, row), row == 6 ? clYellow : clNone) << row;
}

TEST_F(InitialiseTest, FlowGridShowsTheHourlyValuesWithTheirDigits) {
    form.Project.ZoneInflow[0] = 36;
    form.Project.ZoneInflow[1] = 1234567.891;
    form.Project.InletPressure[2] = 60.5;
    form.Project.AZPPressure[3] = 45.125;
    form.Project.CriticalPressure[23] = -1.5;
    form.Initialise(false);
    const TMarkStringGrid& g = form.FlowGrid;
    EXPECT_EQ(g.Cell(Flow::InflowM3hCol, Flow::HourRow(0)), "36.00");
    EXPECT_EQ(g.Cell(Flow::InflowLsCol, Flow::HourRow(0)), "10.00");
    EXPECT_EQ(g.Cell(Flow::InflowM3hCol, Flow::HourRow(1)), "1234567.89");
    EXPECT_EQ(g.Cell(Flow::InflowLsCol, Flow::HourRow(1)), "342935.53");
    EXPECT_EQ(g.Cell(Flow::InletCol, Flow::HourRow(2)), "60.50");
    EXPECT_EQ(g.Cell(Flow::AZPCol, Flow::HourRow(3)), "45.13");
    EXPECT_EQ(g.Cell(Flow::CriticalCol, Flow::HourRow(23)), "-1.50");
}

TEST_F(InitialiseTest, OtherIntervalLengthsLabelTheHours) {
    form.Project.IntervalLength = EncodeTime(0, 30);
    EXPECT_EQ(form.HourLabel(1), "00:00 - 00:30");
    EXPECT_EQ(form.HourLabel(4), "01:30 - 02:00");
    EXPECT_EQ(form.HourLabel(24), "11:30 - 12:00");
}

TEST_F(InitialiseTest, CurrentGridIsLaidOut) {
    form.PopUseWarningLabel.Caption = "Population use appears normal.";
    form.SetupCurrentGrid();
    TMarkStringGrid& g = form.CurrentGrid;
    ASSERT_EQ(g.ColCount(), 9);
    ASSERT_EQ(g.RowCount(), 26);
    EXPECT_EQ(g.FixedRows, 2);
    EXPECT_EQ(g.Cell(Current::HourCol, Current::GroupHeadingRow), "Hour");
    EXPECT_TRUE(g.IsJoined(Current::HourCol, Current::ColumnHeadingRow));
    EXPECT_EQ(g.Cell(Current::InletCol, Current::GroupHeadingRow), "Pressure (m)");
    EXPECT_TRUE(g.IsJoined(Current::CriticalCol, Current::GroupHeadingRow));
    EXPECT_FALSE(g.IsJoined(Current::AZPHeadlossCol, Current::ColumnHeadingRow));
    EXPECT_EQ(g.Cell(Current::AZPHeadlossCol, Current::GroupHeadingRow), "Headloss (m)");
    EXPECT_EQ(g.Cell(Current::TotalFlowCol, Current::GroupHeadingRow), "Flow (m³/hr)");
    EXPECT_EQ(g.Cell(Current::DepFlowCol, Current::ColumnHeadingRow), "Pressure dependent");
    EXPECT_EQ(g.Cell(Current::IndepFlowCol, Current::ColumnHeadingRow), "Pressure independent");
    char hor = 0, vert = 0;
    g.GetTextPos(Current::IndepFlowCol, Current::ColumnHeadingRow, hor, vert);
    EXPECT_EQ(std::string({hor, vert}), "CC");
    for (int col = 1; col <= 8; ++col) {
        EXPECT_EQ(g.GetFontColour(col, 2), col <= 3 ? clGreen : clBlue) << col;
        EXPECT_EQ(g.Cell(col, 25), "0");
    }
    EXPECT_EQ(g.Cell(Current::HourCol, Current::HourRow(0)), "00:00 - 01:00");
    EXPECT_EQ(g.ColWidth(0), g.ColWidth(1) + 5);
    EXPECT_EQ(g.ColWidth(8), g.ColWidth(7) + 5);
    EXPECT_EQ(g.RowHeight(1), 2 * g.RowHeight(0));
    EXPECT_EQ(form.CurrentDepLabel.Caption, "");
    EXPECT_EQ(form.PopUseWarningLabel.Caption, "");
}

TEST_F(InitialiseTest, ScenarioTablesAreLaidOut) {
    for (TMarkStringGrid* g : {&form.FixedPRVGrid, &form.TimePRVGrid, &form.FlowPRVGrid}) {
        SCOPED_TRACE(g->Name);
        ASSERT_EQ(g->ColCount(), 10);
        ASSERT_EQ(g->RowCount(), 26);
        EXPECT_EQ(g->FixedRows, 2);
        const std::vector<std::string> row1 = {"",
                                               "Inlet",
                                               "PRV Outlet",
                                               "AZP ",
                                               "Critical",
                                               "AZP",
                                               "Critical",
                                               "Total",
                                               "Pressure Dependent",
                                               "Pressure Independent"};
        for (int col = 1; col < 10; ++col)
            EXPECT_EQ(g->Cell(col, 1), row1[col]);
        EXPECT_EQ(g->Cell(PRV::HourCol, PRV::GroupHeadingRow), "Hours");
        EXPECT_EQ(g->Cell(PRV::InletCol, PRV::GroupHeadingRow), "Pressure (m)");
        EXPECT_EQ(g->Cell(PRV::AZPHeadlossCol, PRV::GroupHeadingRow), "Headloss (m)");
        EXPECT_EQ(g->Cell(PRV::TotalFlowCol, PRV::GroupHeadingRow), "Flow (m³/hr)");
        g->IsJoined(PRV::CriticalCol, PRV::GroupHeadingRow);
        EXPECT_EQ(g->JoinResult(), "1   "); // the end of "Pressure (m)"
        g->IsJoined(PRV::AZPHeadlossCol, PRV::GroupHeadingRow);
        EXPECT_EQ(g->JoinResult(), "  1 ");
        EXPECT_EQ(g->ColWidth(0), g->ColWidth(1) + 5);
        EXPECT_EQ(g->ColWidth(9), g->ColWidth(8) + 5);
        EXPECT_EQ(g->RowHeight(1), 2 * g->RowHeight(0));
        EXPECT_EQ(g->GetFontColour(PRV::InletCol, PRV::HourRow(8)), clGreen);
        EXPECT_EQ(g->GetFontColour(PRV::AZPCol, PRV::HourRow(8)), clBlue);
        for (int col = 1; col < 10; ++col)
            EXPECT_EQ(g->Cell(col, 2), "0");
    }
    EXPECT_EQ(form.FixedPRVGrid.GetFontColour(PRV::OutletCol, PRV::HourRow(3)), clGreen);
    EXPECT_EQ(form.TimePRVGrid.GetFontColour(PRV::OutletCol, PRV::HourRow(3)), clGreen);
    EXPECT_EQ(form.FlowPRVGrid.GetFontColour(PRV::OutletCol, PRV::HourRow(3)), clBlue);
    EXPECT_EQ(form.FlowPRVGrid.GetFontColour(PRV::CriticalCol, PRV::HourRow(3)), clBlue);
    EXPECT_FALSE(form.FixedPRVGrid.GetCellLock(PRV::OutletCol, PRV::HourRow(3)));
    EXPECT_FALSE(form.FixedPRVGrid.Options & goEditing);
    for (int col = 0; col < 10; ++col)
        for (int row = 0; row < 26; ++row)
            ASSERT_TRUE(form.FlowPRVGrid.GetCellLock(col, row)) << col << "," << row;
}

TEST_F(InitialiseTest, CostSummaryGridIsLaidOut) {
    TMarkStringGrid& g = form.CostSummaryGrid;
    ASSERT_EQ(g.ColCount(), 10);
    ASSERT_EQ(g.RowCount(), 7);
    EXPECT_EQ(g.FixedRows, 3);
    EXPECT_EQ(g.Cell(Costs::InflowCol, Costs::GroupHeadingRow), "Zone Inflow (m³/a)");
    EXPECT_EQ(g.Cell(Costs::LossSavingCol, Costs::GroupHeadingRow), "Savings");
    EXPECT_EQ(g.Cell(Costs::LossSavingCol, Costs::UnitsRow), "(m³/a)");
    EXPECT_EQ(g.Cell(Costs::PurchaseSavingCol, Costs::UnitsRow), "(R/a)");
    const std::vector<std::string> row2 = {"Reduced distribution losses", "Reduced consumption", "Total",
                                           "Reduced purchases",           "Reduced income",      "Total"};
    for (int col = 2; col <= 7; ++col)
        EXPECT_EQ(g.Cell(col, 2), row2[col - 2]);
    EXPECT_EQ(g.Cell(Costs::ImplementationCol, Costs::GroupHeadingRow), "Implementation Costs (R)");
    EXPECT_EQ(g.Cell(Costs::PaybackCol, Costs::GroupHeadingRow), "Payback (months)");
    g.IsJoined(Costs::PaybackCol, Costs::ColumnHeadingRow);
    EXPECT_EQ(g.JoinResult(), "   1");
    g.IsJoined(Costs::MoneySavingCol, Costs::GroupHeadingRow);
    EXPECT_EQ(g.JoinResult(), "1   ");
    EXPECT_EQ(g.Cell(Costs::NameCol, Costs::CurrentRow), "Current Situation");
    EXPECT_EQ(g.Cell(Costs::NameCol, Costs::FlowRow), "Flow Modulated PRV");
    EXPECT_EQ(g.ColWidth(0), 138); // trunc(18 characters × 7 × 1.1)

    char hor = 0, vert = 0;
    g.GetTextPos(Costs::ImplementationCol, Costs::FixedRow, hor, vert);
    EXPECT_EQ(std::string({hor, vert}), "RC");
    g.GetTextPos(Costs::PaybackCol, Costs::FixedRow, hor,
                 vert); // the payback stands as its row's other figures do
    EXPECT_EQ(std::string({hor, vert}), "RC");
    EXPECT_EQ(g.GetFontColour(Costs::ImplementationCol, Costs::FixedRow), clBlue);
    EXPECT_EQ(g.GetFontColour(Costs::PaybackCol, Costs::FixedRow), clNone);

    EXPECT_EQ(g.Cell(Costs::InflowCol, Costs::CurrentRow), "0");
    for (int col = 2; col < 10; ++col)
        EXPECT_EQ(g.Cell(col, 3), "");
    for (int row = 4; row <= 6; ++row)
        for (int col = 1; col < 10; ++col)
            EXPECT_EQ(g.Cell(col, row), "0");
}

TEST_F(InitialiseTest, N1TableIsLaidOut) {
    TMarkStringGrid& g = form.N1CalculationForm.N1Grid;
    ASSERT_EQ(g.ColCount(), 13);
    ASSERT_EQ(g.RowCount(), 6);
    EXPECT_EQ(g.FixedRows, 2);
    EXPECT_TRUE(g.Options & goEditing);
    // The designed widths, widened where a word of the column's own heading would not fit:
    // headings wrap between words, never inside one ("Consumptio n").
    const std::vector<int> widths = {64, 45, 45, 48, 48, 53, 56, 62, 57, 47, 47, 46, 50};
    for (int col = 0; col < 13; ++col) {
        EXPECT_GE(g.ColWidth(col), widths[col]);
        const std::string heading = g.Cell(col, 1).empty() ? g.Cell(col, 0) : g.Cell(col, 1);
        std::istringstream words(heading);
        for (std::string word; words >> word;)
            EXPECT_LE(g.Measure().TextWidth(word), g.ColWidth(col) - 4) << col << ": " << word;
    }
    EXPECT_EQ(g.RowHeight(0), 24);
    EXPECT_EQ(g.RowHeight(1), 28);
    EXPECT_EQ(g.RowHeight(5), 24);
    EXPECT_EQ(g.Cell(N1::StartTimeCol, N1::GroupHeadingRow), "Start Time (hr)");
    EXPECT_EQ(g.Cell(N1::InletCol, N1::GroupHeadingRow), "Measured Pressure");
    EXPECT_EQ(g.Cell(N1::AZPCol, N1::ColumnHeadingRow), "AZP (m)");
    EXPECT_EQ(g.Cell(N1::NightConsumptionCol, N1::GroupHeadingRow), "Total Night Consumption (m³/hr)");
    EXPECT_EQ(g.Cell(N1::FirstN1Col, N1::GroupHeadingRow), "Calculated values of N1 for zone");
    EXPECT_EQ(g.Cell(N1::AverageN1Col, N1::ColumnHeadingRow), "Average");
    EXPECT_EQ(g.Cell(N1::NameCol, N1::StartRow), "Start");
    EXPECT_EQ(g.Cell(N1::NameCol, N1::Stage3Row), "Stage 3");
    g.IsJoined(N1::InflowCol, N1::ColumnHeadingRow);
    EXPECT_EQ(g.JoinResult(), "   1");
    g.IsJoined(N1::AverageN1Col, N1::GroupHeadingRow);
    EXPECT_EQ(g.JoinResult(), "1   ");
    for (int col = 1; col <= 12; ++col) {
        EXPECT_EQ(g.GetFontColour(col, 3), col <= 6 ? clRed : clBlue) << col;
        EXPECT_EQ(g.GetCellLock(col, 3), col >= 7) << col;
    }
}

TEST_F(InitialiseTest, ReadingKeepsEveryValueWithTheDecimalsOfItsEdit) {
    TProject& p = form.Project;
    p.ZoneName = "Kloof";
    p.N1 = 2.2;
    p.MainsLoss = 1.237;
    p.ConnectLoss = 0.7;
    p.ConnectPres = 0.3;
    p.PropertyLoss = 1.1;
    p.PropPress = 0.4;
    p.NumOfConnect = 2000;
    p.InletElev = 1234.56;
    p.DomesticNight = 12.5;
    p.DailyNonResidential = 150;
    p.PopActive = 6.5;
    p.FixedPRVOutlet = 45;
    p.HighPressure = 55.5f;
    p.LPFlowMod = 22.5;
    p.CostFactor = 80;
    p.DisableTimeWarnings = true;
    form.Initialise(false);

    EXPECT_TRUE(dialogs.Messages.empty()) << ::testing::PrintToString(dialogs.Texts());
    EXPECT_EQ(form.ZoneNameEdit.Text(), "Kloof");
    EXPECT_EQ(form.N1Edit.Text(), "2.20");
    EXPECT_DOUBLE_EQ(p.N1, 2.2);
    EXPECT_EQ(form.MainsLossEdit.Text(), "1.24");
    EXPECT_DOUBLE_EQ(p.MainsLoss, 1.24);
    EXPECT_EQ(form.ConnectLossEdit.Text(), "0.70");
    EXPECT_DOUBLE_EQ(p.ConnectLoss, 0.7);
    EXPECT_EQ(form.TotConnectLossLabel.Caption, "1.00");
    EXPECT_DOUBLE_EQ(p.PropertyLoss, 1.1);
    EXPECT_EQ(form.TotPropLossLabel.Caption, "1.50");
    EXPECT_EQ(form.InletElevEdit.Text(), "1234.56");
    EXPECT_EQ(form.DomesticNightEdit.Text(), "12.50");
    EXPECT_EQ(form.DailyNonResidentialEdit.Text(), "150.00");
    EXPECT_EQ(form.PopActiveEdit.Text(), "7");
    EXPECT_EQ(form.FixedPRVOutletEdit.Text(), "45.00");
    EXPECT_EQ(form.HighPressureEdit.Text(), "55.50");
    EXPECT_EQ(form.LPFlowMod.Text(), "22.5");
    EXPECT_EQ(form.CostFactorEdit.Text(), "80");
    EXPECT_TRUE(form.TimeWarnCheckBox.Checked);
}

TEST_F(InitialiseTest, NightFlowFollowsACountWhoseEditRecalculatesNothing) {
    form.Project.Population = 12345;
    form.Initialise(false);
    EXPECT_EQ(form.PopulationEdit.Text(), "12345");
    EXPECT_EQ(form.ResidentialNightLabel.Caption, "7.41");
    EXPECT_EQ(form.TotalNonPressureLabel.Caption, "7.67");
}

TEST_F(InitialiseTest, HourlyModeKeepsTheTypedOutletsUntilANewProject) {
    form.Project.Intervals = 0;
    for (int row = 2; row <= 25; ++row)
        form.TimePRVGrid.SetCell(PRV::OutletCol, row, std::to_string(30 + row));
    form.Initialise(false);

    EXPECT_FALSE(form.Interval2Radio.Checked());
    EXPECT_FALSE(form.Interval4Radio.Checked());
    for (TControl* hidden :
         std::vector<TControl*>{&form.TimeStart1Picker, &form.TimeStop1Picker, &form.TimeStart2Picker,
                                &form.TimeStop2Picker, &form.SecondSetLabel})
        EXPECT_FALSE(hidden->Visible) << hidden->Name;
    EXPECT_TRUE(form.TimePRVGrid.Options & goEditing);
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, PRV::HourRow(0)), "32");
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, PRV::HourRow(23)), "55");
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::AZPCol, PRV::HourRow(0)), "0");

    form.Initialise(true);
    EXPECT_TRUE(form.Interval4Radio.Checked());
    EXPECT_TRUE(form.TimeStart1Picker.Visible && form.TimeStop2Picker.Visible && form.SecondSetLabel.Visible);
    EXPECT_FALSE(form.TimePRVGrid.Options & goEditing);
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, PRV::HourRow(0)), "0");
}

TEST_F(InitialiseTest, TwoIntervalsHideTheSecondWindow) {
    form.Project.Intervals = 2;
    form.Initialise(false);
    EXPECT_TRUE(form.Interval2Radio.Checked());
    EXPECT_FALSE(form.Interval4Radio.Checked());
    EXPECT_TRUE(form.TimeStart1Picker.Visible && form.TimeStop1Picker.Visible);
    EXPECT_FALSE(form.TimeStart2Picker.Visible || form.TimeStop2Picker.Visible ||
                 form.SecondSetLabel.Visible);
    EXPECT_FALSE(form.TimePRVGrid.Options & goEditing);
}

TEST_F(InitialiseTest, ResettingClearsTheOldProjectAndEveryRowColour) {
    form.Project.ZoneName = "Old zone";
    form.Project.MainsLength = 12.5;
    form.Project.GraphPresDep = true;
    form.Project.GraphMaxFlow = 80;
    form.CollectMemo.Lines = {"Name: Jo"};
    form.TimeWarnCheckBox.Enabled = false;
    form.CurrentGrid.SetRowColours(5, clAqua, clNone);
    form.CostSummaryGrid.SetColour(Costs::ConsumpSavingCol, Costs::FixedRow, clYellow);
    form.N1CalculationForm.N1Grid.SetColour(N1::AZPCol, N1::Stage1Row, clYellow);
    form.Initialise(true);

    EXPECT_EQ(form.Project.ZoneName, "");
    EXPECT_EQ(form.ZoneNameEdit.Text(), "");
    EXPECT_EQ(form.MainsLengthEdit.Text(), "1.000");
    EXPECT_FALSE(form.Project.GraphPresDep);
    EXPECT_EQ(form.Project.GraphMaxFlow, 0);
    EXPECT_EQ(form.CollectMemo.Lines.size(), 4u);
    EXPECT_TRUE(form.TimeWarnCheckBox.Enabled);
    EXPECT_EQ(form.CurrentGrid.GetColour(Current::CriticalCol, Current::HourRow(3)), clNone);
    EXPECT_EQ(form.CostSummaryGrid.GetColour(Costs::ConsumpSavingCol, Costs::FixedRow), clNone);
    EXPECT_EQ(form.N1CalculationForm.N1Grid.GetColour(N1::AZPCol, N1::Stage1Row), clNone);
    // Marks other than colours stay.
    EXPECT_EQ(form.CurrentGrid.GetFontColour(Current::CriticalCol, Current::HourRow(3)), clGreen);
}

TEST_F(InitialiseTest, NewProjectStartsOverWithNoImplementationCosts) {
    form.Project.FixedCostFixedPRV[0] = 1000;
    form.Project.FixedCostTimePRV[9] = 5;
    form.Project.AnnualCostFlowPRV[2] = 70;
    form.Project.FixedCostItem[0] = "Design Costs";
    form.Project.Population = 5000;
    form.CostsForm.FixedCostGrid.SetColCount(4);
    form.CostsForm.FixedCostGrid.SetRowCount(7);
    form.CostsForm.FixedCostGrid.SetCell(FixedCost::FirstOptionCol, FixedCost::FirstItemRow, "1000");
    form.CostsForm.FixedCostGrid.SetCell(FixedCost::DescriptionCol, FixedCost::FirstItemRow, "Design Costs");
    ASSERT_TRUE(form.Dispatch([&] { form.NewProject(); }));

    EXPECT_EQ(form.StatusBar1.SimpleText, "New project");
    for (int col = 1; col <= 3; ++col)
        for (int row = 2; row <= 6; ++row)
            EXPECT_EQ(form.CostsForm.FixedCostGrid.Cell(col, row), "0") << col << "," << row;
    EXPECT_EQ(form.CostsForm.FixedCostGrid.Cell(FixedCost::DescriptionCol, FixedCost::FirstItemRow),
              "Design Costs");
    EXPECT_EQ(form.Project.Population, 1);
    EXPECT_EQ(form.Project.FixedCostFixedPRV[0], 0);
    EXPECT_EQ(form.Project.FixedCostTimePRV[9], 0);
    EXPECT_EQ(form.Project.AnnualCostFlowPRV[2], 0);
    EXPECT_EQ(form.Project.FixedCostItem[0], "");
    EXPECT_TRUE(dialogs.Messages.empty()) << ::testing::PrintToString(dialogs.Texts());
}

} // namespace

namespace {

TEST_F(InitialiseTest, AFailingCalculationDoesNotStopTheRefresh) {
    // All night flow is exceptional use and the low-flow hour's inflow is exactly that:
    // no leakage is left to scale, and the current situation stops on 0 / 0.
    TProject& p = form.Project;
    p.ConnectLoss = p.PropertyLoss = p.DomesticNight = p.NonDomMeter = 0;
    p.NonDomUnmeter = 10;
    for (int hour = 0; hour < 24; ++hour) {
        p.ZoneInflow[hour] = 12;
        p.InletPressure[hour] = 60;
        p.AZPPressure[hour] = 40;
        p.CriticalPressure[hour] = 30;
    }
    p.ZoneInflow[3] = 10;
    p.LPFlowMod = 21; // its handler runs the current situation
    p.InflowCost = 3;
    p.CostFactor = 50;
    form.Initialise(false);

    ASSERT_FALSE(dialogs.Messages.empty());
    EXPECT_EQ(dialogs.Texts().front(), "Invalid floating point operation");
    EXPECT_EQ(form.LPFlowMod.Text(), "21");
    EXPECT_EQ(form.InflowCostEdit.Text(), "3.00");
    EXPECT_EQ(form.CostFactorEdit.Text(), "50");
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::AZPCol, PRV::HourRow(0)), "0");
}

} // namespace
