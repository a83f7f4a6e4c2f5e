// The flow-modulated PRV scenario: reference hours driven to their critical targets, the
// other hours following the outlet interpolated on inflow, the table's marks and formats,
// the warning, and the runs that compute nothing.
#include "FlowZoneFixture.h"
#include "forms/ProjectDocument.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include <cmath>
#include <limits>
#include <regex>

using namespace halvern;
namespace Current = CurrentGridLayout;
namespace Flow = FlowGridLayout;
namespace PRV = PRVGridLayout;
using namespace halvern::test;

namespace {

constexpr int LowHour = 3;   // 03:00, the default low-flow time
constexpr int HighHour = 11; // 11:00, the default high-flow time

class FlowPRVTest : public TFlowZoneFixture {
protected:
    // The outlet the interpolation on inflow asks of hour h, from the table as shown.
    double InterpolatedOutlet(int h) {
        const double qLow = FlowCell(PRV::TotalFlowCol, LowHour),
                     qHigh = FlowCell(PRV::TotalFlowCol, HighHour);
        const double outLow = FlowCell(PRV::OutletCol, LowHour), outHigh = FlowCell(PRV::OutletCol, HighHour);
        if (qHigh == qLow) return outLow;
        return outLow + (FlowCell(PRV::TotalFlowCol, h) - qLow) * (outHigh - outLow) / (qHigh - qLow);
    }
};

TEST_F(FlowPRVTest, ReferenceHoursReachTheirCriticalTargetsAndOthersFollowTheInterpolation) {
    ASSERT_TRUE(RunFlowScenario()) << ::testing::PrintToString(dialogs.Texts());
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_FALSE(form.FlowPRVBusy);

    // Default targets: 20 m at 03:00, 25 m at 11:00; both below the measured pressures, so
    // the valve lowers the outlet there.
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::CriticalCol, TableRow(LowHour)), "20.00");
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::CriticalCol, TableRow(HighHour)), "25.00");
    EXPECT_LT(FlowCell(PRV::OutletCol, LowHour), 60);
    EXPECT_LT(FlowCell(PRV::OutletCol, HighHour), 60);
    // Less pressure, less leakage: the day's pressure-dependent volume falls.
    EXPECT_LT(Number(form.FlowDepLabel.Caption), Number(form.CurrentDepLabel.Caption));

    for (int h = 0; h < HoursPerDay; ++h) {
        if (h == LowHour || h == HighHour) continue;
        EXPECT_NEAR(FlowCell(PRV::OutletCol, h), InterpolatedOutlet(h), 0.01) << "hour " << h;
    }
}

TEST_F(FlowPRVTest, EveryCellHasTwoDecimalsAndTheLabelsAddUp) {
    SetHour(5, {55, 60, 56.97, 53.95});
    form.FlowGrid.SetCell(Flow::InletCol, InputRow(5), "60"); // typed without decimals
    ASSERT_TRUE(RunFlowScenario());

    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::InletCol, TableRow(5)), "60.00");
    const std::regex twoDecimals(R"(-?\d+\.\d\d)");
    double dep = 0, indep = 0;
    for (int h = 0; h < HoursPerDay; ++h) {
        EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::HourCol, TableRow(h)),
                  form.FlowGrid.Cell(Flow::HourCol, InputRow(h)));
        for (int col = 1; col <= 9; ++col)
            EXPECT_TRUE(std::regex_match(form.FlowPRVGrid.Cell(col, TableRow(h)), twoDecimals))
                << "cell " << col << "," << TableRow(h) << ": " << form.FlowPRVGrid.Cell(col, TableRow(h));
        // The pressure-independent flow is the current situation's.
        EXPECT_NEAR(FlowCell(PRV::IndepFlowCol, h),
                    Number(form.CurrentGrid.Cell(Current::IndepFlowCol, TableRow(h))), 0.005);
        EXPECT_NEAR(FlowCell(PRV::TotalFlowCol, h),
                    FlowCell(PRV::DepFlowCol, h) + FlowCell(PRV::IndepFlowCol, h), 0.011);
        dep += FlowCell(PRV::DepFlowCol, h);
        indep += FlowCell(PRV::IndepFlowCol, h);
    }
    EXPECT_NEAR(Number(form.FlowDepLabel.Caption), dep, 0.13);
    EXPECT_NEAR(Number(form.FlowIndepLabel.Caption), indep, 0.13);
    EXPECT_NEAR(Number(form.FlowTotLabel.Caption),
                Number(form.FlowDepLabel.Caption) + Number(form.FlowIndepLabel.Caption), 0.011);
    EXPECT_NEAR(Number(form.FlowDayNightLabel.Caption),
                Number(form.FlowDepLabel.Caption) / FlowCell(PRV::DepFlowCol, LowHour), 0.01);
    EXPECT_EQ(form.FlowWarnLabel.Caption, "");
}

TEST_F(FlowPRVTest, ReferenceRowsAreMarkedAndTheirTargetCellIsRed) {
    ASSERT_TRUE(RunFlowScenario());
    TMarkStringGrid& grid = form.FlowPRVGrid;
    EXPECT_EQ(grid.GetColour(PRV::OutletCol, TableRow(LowHour)), clAqua);
    EXPECT_EQ(grid.GetColour(PRV::OutletCol, TableRow(HighHour)), clYellow);
    for (int h : {LowHour, HighHour}) {
        EXPECT_EQ(grid.GetColour(PRV::CriticalCol, TableRow(h)), clNone);
        EXPECT_EQ(grid.GetFontColour(PRV::CriticalCol, TableRow(h)), clRed);
    }
    EXPECT_EQ(grid.GetFontColour(PRV::CriticalCol, TableRow(0)), clBlue);
    EXPECT_EQ(grid.GetColour(PRV::CriticalCol, TableRow(0)), clNone);
}

// A reducing valve cannot give more than the 60 m at its inlet, where the critical point
// of 03:00 has 56.47 m: a target above that leaves the valve open and says so.
TEST_F(FlowPRVTest, ATargetAboveWhatTheOpenValveGivesLeavesItOpen) {
    project.LPFlowMod = 58;
    ASSERT_TRUE(RunFlowScenario());
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::OutletCol, TableRow(LowHour)), "60.00");
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::CriticalCol, TableRow(LowHour)),
              form.CurrentGrid.Cell(Current::CriticalCol, TableRow(LowHour)));
    EXPECT_EQ(form.FlowPRVGrid.GetFontColour(PRV::OutletCol, TableRow(LowHour)), clValveOpen);
    EXPECT_EQ(form.FlowTargetLabel.Caption,
              "The low-flow target of 58.00 m cannot be reached at 03:00: the valve is fully open.");
    EXPECT_NE(form.FlowOpenLabel.Caption.find("03:00"), std::string::npos) << form.FlowOpenLabel.Caption;
}

// Below what an outlet of 0 gives the valve can do no more than close to 0.
TEST_F(FlowPRVTest, ATargetBelowWhatNoOutletGivesLeavesTheOutletAtZero) {
    project.HPFlowMod = -500;
    ASSERT_TRUE(RunFlowScenario());
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::OutletCol, TableRow(HighHour)), "0.00");
    EXPECT_NE(form.FlowTargetLabel.Caption.find("The high-flow target of -500.00 m is below the "),
              std::string::npos)
        << form.FlowTargetLabel.Caption;
    EXPECT_NE(form.FlowTargetLabel.Caption.find(" m an outlet of 0 gives at 11:00: the outlet is 0."),
              std::string::npos);
}

TEST_F(FlowPRVTest, ZeroLowTargetTakesTheMinimumPressureButTheEditKeepsZero) {
    project.MinPressure = 25;
    form.Dispatch([&] { form.LPFlowMod.SetText("0"); });
    ASSERT_TRUE(RunFlowScenario());

    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::CriticalCol, TableRow(LowHour)), "25.00");
    EXPECT_DOUBLE_EQ(project.LPFlowMod, 25);
    EXPECT_EQ(form.LPFlowMod.Text(), "0");
}

TEST_F(FlowPRVTest, OneReferenceHourForBothTargetsEndsAtTheHighTarget) {
    form.TimeWarnCheckBox.Checked = true; // 03:00 is no high-flow hour; no question about it
    project.HighFlowTime = project.LowFlowTime;
    ASSERT_TRUE(RunFlowScenario());

    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::CriticalCol, TableRow(LowHour)), "25.00");
    EXPECT_EQ(form.FlowPRVGrid.GetColour(PRV::OutletCol, TableRow(LowHour)), clYellow);
    // With no spread of inflow every other hour aims at that hour's outlet.
    const double outlet = FlowCell(PRV::OutletCol, LowHour);
    for (int h = 0; h < HoursPerDay; ++h) {
        if (h == LowHour) continue;
        EXPECT_NEAR(FlowCell(PRV::OutletCol, h), outlet, 0.01) << "hour " << h;
    }
}

TEST_F(FlowPRVTest, WarnsExactlyWhenAnHourEndsBelowTheMinimumPressure) {
    ASSERT_TRUE(RunFlowScenario());
    double lowest = 1e9;
    for (int h = 0; h < HoursPerDay; ++h)
        lowest = std::min(lowest, FlowCell(PRV::CriticalCol, h));

    project.MinPressure = lowest - 0.5;
    ASSERT_TRUE(RunFlowScenario());
    EXPECT_EQ(form.FlowWarnLabel.Caption, "");

    project.MinPressure = lowest + 0.5;
    ASSERT_TRUE(RunFlowScenario());
    EXPECT_EQ(form.FlowWarnLabel.Caption, "Pressure of " + FormatFixed(lowest + 0.5, 5, 2) +
                                              " could not be achieved for all critical points.");
}

TEST_F(FlowPRVTest, WithoutTheCurrentSituationOnlyTheInputColumnsAreRefreshed) {
    ASSERT_EQ(project.NightAZPPressure, 0);
    form.FlowPRVGrid.SetCell(PRV::AZPHeadlossCol, TableRow(0), "old");
    form.FlowDepLabel.Caption = "old";
    ASSERT_TRUE(form.Dispatch([&] { form.CalcFlowPRV(); }));

    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::HourCol, TableRow(0)), "00:00 - 01:00");
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::InletCol, TableRow(0)), "60.00");
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::OutletCol, TableRow(0)), "60.00");
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::CriticalCol, TableRow(LowHour)), "20.00");
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::AZPHeadlossCol, TableRow(0)), "old");
    EXPECT_EQ(form.FlowDepLabel.Caption, "old");
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_FALSE(form.FlowPRVBusy);
}

TEST_F(FlowPRVTest, AFlowTimeOffTheHoursComputesNothingAndSaysWhy) {
    form.TimeWarnCheckBox.Checked = true;
    project.LowFlowTime = EncodeTime(3, 30);
    form.FlowPRVGrid.SetCell(PRV::AZPHeadlossCol, TableRow(0), "old");
    ASSERT_TRUE(RunFlowScenario());

    EXPECT_EQ(form.FlowWarnLabel.Caption,
              "Low flow and high flow times must each match an hour of the table.");
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::AZPHeadlossCol, TableRow(0)), "old");
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::InletCol, TableRow(0)), "60.00");
    EXPECT_FALSE(form.FlowPRVBusy);
}

TEST_F(FlowPRVTest, NoLeakageInTheLowFlowHourGivesADayNightFactorOfZero) {
    SetHour(LowHour, {2, 60, 60, 60});                   // all of the night flow is consumption
    form.Dispatch([&] { form.CalcCurrentSituation(); }); // stops on its own 0/0 factor
    ASSERT_TRUE(form.Dispatch([&] { form.CalcFlowPRV(); }));
    EXPECT_EQ(form.FlowDayNightLabel.Caption, "0.00");
    EXPECT_EQ(form.FlowDepLabel.Caption, "0.00");
}

TEST_F(FlowPRVTest, AnErrorDuringTheRunLeavesTheTableTakingKeysAgain) {
    ASSERT_TRUE(form.Dispatch([&] { form.CalcCurrentSituation(); }));
    project.CritHeadlossCoef[0] = 1e306; // the critical head loss of 00:00 overflows
    dialogs.Clear();
    EXPECT_FALSE(form.Dispatch([&] { form.CalcFlowPRV(); }));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Floating point overflow"});
    EXPECT_FALSE(form.FlowPRVBusy);
}

// An error is the one the first failing hour of the day's order meets: here 06:00 at its
// critical head loss, before 08:00 with no AZP balance at all.
TEST_F(FlowPRVTest, TheErrorShownIsTheFirstHoursInTheDaysOrder) {
    ASSERT_TRUE(form.Dispatch([&] { form.CalcCurrentSituation(); }));
    project.CritHeadlossCoef[6] = 1e306;                                   // overflows
    project.AZPHeadlossCoef[8] = std::numeric_limits<double>::quiet_NaN(); // invalid
    dialogs.Clear();
    EXPECT_FALSE(form.Dispatch([&] { form.CalcFlowPRV(); }));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Floating point overflow"});
}

TEST_F(FlowPRVTest, TheTableIgnoresKeysWhileBusy) {
    TMarkStringGrid& grid = form.FlowPRVGrid;
    grid.Col = PRV::InletCol;
    grid.Row = PRV::HourRow(0);
    form.FlowPRVBusy = true;
    char key = '\r';
    grid.KeyPress(key);
    EXPECT_EQ(grid.Row, PRV::HourRow(0));

    form.FlowPRVBusy = false;
    key = '\r';
    grid.KeyPress(key);
    EXPECT_EQ(grid.Row, PRV::HourRow(1));
}

TEST_F(FlowPRVTest, ShowingTheTabComputesTheScenario) {
    form.Dispatch([&] { form.MainPage.SetActivePage(form.FlowModulatedSheet); });
    EXPECT_TRUE(form.FlowModulatedSheet.Highlighted);
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::CriticalCol, TableRow(HighHour)), "25.00");
}

// A zone whose 11:00 hour loses most of its inlet pressure on the way to the AZP, where a
// repeated substitution for the AZP pressure swings between two pressures. The hour shows
// the root of its balance for the outlet it shows.
TEST_F(FlowPRVTest, AnHourWhoseSubstitutionSwingsShowsTheRootOfItsBalance) {
    SetHour(HighHour, {100, 100, 15, 10});
    project.HPFlowMod = 8; // below the 10 m the open valve gives
    ASSERT_TRUE(RunFlowScenario()) << ::testing::PrintToString(dialogs.Texts());
    ASSERT_EQ(form.FlowPRVGrid.Cell(PRV::CriticalCol, TableRow(HighHour)), "8.00");
    EXPECT_EQ(form.FlowTargetLabel.Caption, "");

    // AZP = T − (loss(AZP) − current loss), T = current AZP + outlet − inlet.
    const int row = TableRow(HighHour);
    const double l0 = project.NightLeakage;
    const double p0 = project.NightAZPPressure;
    const double start = Number(form.CurrentGrid.Cell(Current::AZPCol, row)) +
                         FlowCell(PRV::OutletCol, HighHour) - FlowCell(PRV::InletCol, HighHour);
    const double currentLoss = Number(form.CurrentGrid.Cell(Current::AZPHeadlossCol, row));
    const double azp = FlowCell(PRV::AZPCol, HighHour);
    const double flow =
        l0 * std::pow(std::max(azp, 0.0) / p0, project.N1) + FlowCell(PRV::IndepFlowCol, HighHour);
    const double loss = flow * flow * project.AZPHeadlossCoef[HighHour];
    // Only the rounding of the shown texts separates the two sides.
    EXPECT_NEAR(azp, start - (loss - currentLoss), 0.02);
    EXPECT_NEAR(FlowCell(PRV::DepFlowCol, HighHour), l0 * azp / p0, 0.01);
}

} // namespace

// The Import Example's zone with the default targets: in its 11:00 hour no outlet up to the
// inlet gives the critical point 25 m (a higher outlet pushes so much more leakage through
// the mains that it falls again). The valve stands open there and the page says so.
TEST(FlowPRVUnreachableTarget, AnOutOfReachTargetLeavesTheValveOpenAndSaysSo) {
    TScriptedDialogs dialogs;
    TMainForm form(dialogs);
    form.Dispatch([&] { form.FormShow(); });
    form.TimeWarnCheckBox.Checked = true;
    dialogs.FileNames.push_back(std::string(HALVERN_TEST_DATA) + "/../../examples/import-example.txt");
    form.Dispatch([&] { form.ImportButtonClick(); });
    form.Dispatch([&] { form.MainPage.SetActivePage(form.FlowModulatedSheet); });
    ASSERT_TRUE(dialogs.Messages.empty()) << dialogs.Messages.front().Text;

    for (int h = 0; h < HoursPerDay; ++h)
        for (int col = 1; col <= 9; ++col) {
            const std::string& text = form.FlowPRVGrid.Cell(col, TableRow(h));
            ASSERT_EQ(text.find('E'), std::string::npos) << "hour " << h << " column " << col << ": " << text;
            EXPECT_LT(std::fabs(Number(text)), 200.0) << "hour " << h << " column " << col;
        }
    EXPECT_EQ(form.FlowPRVGrid.Cell(PRV::OutletCol, TableRow(11)),
              form.FlowPRVGrid.Cell(PRV::InletCol, TableRow(11)));
    EXPECT_EQ(form.FlowTargetLabel.Caption,
              "The high-flow target of 25.00 m cannot be reached at 11:00: the valve is fully open.");
}

// Where the critical pressure turns over as the outlet rises (more leakage through the mains
// above some outlet), a target below its peak is met twice: the valve takes the lower
// crossing, so a few centimetres less outlet no longer meets it.
TEST(FlowPRVTurningCritical, TakesTheLowerOfTwoCrossings) {
    TScriptedDialogs dialogs;
    TMainForm form(dialogs);
    form.Dispatch([&] { form.FormShow(); });
    form.TimeWarnCheckBox.Checked = true;
    form.Dispatch(
        [&] { ReadProjectFile(form, std::string(HALVERN_TEST_DATA) + "/golden/flow-target-overflow.pru"); });
    constexpr int hour = 10; // its high-flow hour, where the critical pressure turns over
    // The critical pressure of the hour for a fixed outlet, as the fixed-outlet page works it out.
    const auto critical = [&](double outlet) {
        form.Dispatch([&] { form.FixedPRVOutletEdit.SetText(FormatFixed(outlet, 8, 2)); });
        return *ParseNumber(form.FixedPRVGrid.Cell(PRV::CriticalCol, TableRow(hour)));
    };
    form.Dispatch([&] { form.MainPage.SetActivePage(form.CurrentSituationSheet); });
    form.Dispatch([&] { form.MainPage.SetActivePage(form.FixedOutletSheet); });
    const double inlet = *ParseNumber(form.FixedPRVGrid.Cell(PRV::InletCol, TableRow(hour)));
    double peak = -1e9, peakOutlet = 0;
    for (int k = 0; k <= 40; ++k) {
        const double outlet = inlet * k / 40;
        const double c = critical(outlet);
        if (c > peak) {
            peak = c;
            peakOutlet = outlet;
        }
    }
    ASSERT_LT(peakOutlet, inlet - 1) << "the critical pressure of this hour no longer turns over";
    // Between the peak and what the open valve gives: crossed on the way up and on the way down.
    const double open = critical(inlet);
    ASSERT_GT(peak - open, 0.1) << "the critical pressure of this hour no longer turns over";
    const double target = std::round((peak + open) / 2 * 100) / 100;

    form.Dispatch([&] { form.HPFlowMod.SetText(FormatFixed(target, 8, 2)); });
    form.Dispatch([&] { form.MainPage.SetActivePage(form.FlowModulatedSheet); });
    const double outlet = *ParseNumber(form.FlowPRVGrid.Cell(PRV::OutletCol, TableRow(hour)));
    EXPECT_LT(outlet, peakOutlet) << "the upper crossing was taken";
    EXPECT_GE(*ParseNumber(form.FlowPRVGrid.Cell(PRV::CriticalCol, TableRow(hour))), target - 0.005);
    EXPECT_LT(critical(outlet - 0.05), target);
}
