// The fixed-outlet and time-modulated PRV scenarios and the hourly calculation they
// share: pressures, head losses and flows behind the valve, the labels and warnings, the
// time windows, and the hours whose AZP pressure substitution cannot settle.
#include "EngineFixture.h"
#include "engine/AZPSolver.h"
#include "forms/TableLayouts.h"
#include <array>
#include <cmath>
#include <cstdio>
#include <set>

using namespace halvern;
namespace Current = CurrentGridLayout;
namespace Flow = FlowGridLayout;
namespace PRV = PRVGridLayout;
using namespace halvern::test;

namespace {

class PRVScenarioTest : public TEngineFixture {
protected:
    void SetUp() override {
        TEngineFixture::SetUp();
        // A day with varying demand and pressures but one inlet pressure of 45 m.
        for (int h = 0; h < HoursPerDay; ++h) {
            const double inflow = h == 3 ? 10 : 12 + (h % 7);
            Hour(h, FormatFixed(inflow, 5, 2), "45.00", FormatFixed(30 - (h % 5), 5, 2),
                 FormatFixed(25 - (h % 4), 5, 2));
        }
        Elevations("110.00", "100.00", "102.50");
        form.TimeWarnCheckBox.Checked = true;
    }

    void Outlet(const std::string& text) {
        form.Dispatch([&] { form.FixedPRVOutletEdit.SetText(text); });
    }
    void Window(TTimePicker& picker, int hours, int minutes = 0) { picker.Time = EncodeTime(hours, minutes); }
    void HourlyMode() { project.Intervals = 0; }
};

TEST_F(PRVScenarioTest, OutletEqualToEveryInletReproducesTheCurrentSituation) {
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    Outlet("45");
    ASSERT_TRUE(Run(&TMainForm::CalcFixedPRV));
    // Scenario column → current-situation column holding the same quantity. They agree up
    // to the rounding of the texts the scenario reads, carried through the head loss.
    const std::pair<int, int> same[] = {{3, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 6}, {8, 7}, {9, 8}};
    for (int h = 0; h < HoursPerDay; ++h) {
        const int row = ResultRow(h);
        EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::HourCol, row), form.FlowGrid.Cell(Flow::HourCol, FlowRow(h)));
        EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::InletCol, row), "45.00");
        // The outlet is shown as typed, the computed columns with two decimals.
        EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::OutletCol, row), "45");
        for (const auto& [scenarioCol, currentCol] : same) {
            const std::string& shown = form.FixedPRVGrid.Cell(scenarioCol, row);
            EXPECT_EQ(shown, FormatFixed(TextValue(shown), 5, 2));
            EXPECT_NEAR(TextValue(shown), TextValue(form.CurrentGrid.Cell(currentCol, row)), 0.03)
                << "hour " << h << " column " << scenarioCol;
        }
    }
    EXPECT_NEAR(TextValue(form.FixedDepLabel.Caption), TextValue(form.CurrentDepLabel.Caption), 0.05);
    EXPECT_NEAR(TextValue(form.FixedIndepLabel.Caption), TextValue(form.CurrentIndepLabel.Caption), 0.05);
    EXPECT_NEAR(TextValue(form.FixedTotLabel.Caption), TextValue(form.CurrentTotLabel.Caption), 0.05);
    EXPECT_NEAR(TextValue(form.FixedDayNightLabel.Caption), TextValue(form.DayNightLabel.Caption), 0.02);
    EXPECT_EQ(form.FixedWarnLabel.Caption, "");
    EXPECT_EQ(form.FixedPRVGrid.GetColour(PRV::AZPHeadlossCol, ResultRow(3)), clAqua);
    EXPECT_EQ(form.FixedPRVGrid.GetColour(PRV::AZPHeadlossCol, ResultRow(11)), clYellow);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(PRVScenarioTest, TypingTheOutletShowsItAsTyped) {
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    form.Dispatch([&] { form.FixedPRVOutletEdit.SetText("4"); }); // "50.00" selected and replaced
    form.Dispatch([&] { form.FixedPRVOutletEdit.TypeKey('5'); });
    for (int h = 0; h < HoursPerDay; ++h) {
        EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::OutletCol, ResultRow(h)), "45");
        const std::string& azp = form.FixedPRVGrid.Cell(PRV::AZPCol, ResultRow(h));
        EXPECT_EQ(azp, FormatFixed(TextValue(azp), 5, 2));
    }
    const std::string azp = form.FixedPRVGrid.Cell(PRV::AZPCol, ResultRow(0));
    form.Dispatch([&] { form.FixedPRVOutletEdit.SetText(""); });
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Invalid entry for Fixed PRV Outlet pressure."});
    EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::OutletCol, ResultRow(0)), "45");
    EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::AZPCol, ResultRow(0)), azp);
}

TEST_F(PRVScenarioTest, BelowTheInletEverythingFallsAboveItTheValveStandsOpen) {
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    Outlet("40.00");
    ASSERT_TRUE(Run(&TMainForm::CalcFixedPRV));
    const auto below = [](const std::string& scenario, const std::string& current) {
        return TextValue(scenario) < TextValue(current);
    };
    for (int h = 0; h < HoursPerDay; ++h) {
        const int row = ResultRow(h);
        EXPECT_TRUE(
            below(form.FixedPRVGrid.Cell(PRV::AZPCol, row), form.CurrentGrid.Cell(Current::AZPCol, row)))
            << h;
        EXPECT_TRUE(below(form.FixedPRVGrid.Cell(PRV::CriticalCol, row),
                          form.CurrentGrid.Cell(Current::CriticalCol, row)))
            << h;
        EXPECT_TRUE(below(form.FixedPRVGrid.Cell(PRV::DepFlowCol, row),
                          form.CurrentGrid.Cell(Current::DepFlowCol, row)))
            << h;
        EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::IndepFlowCol, row),
                  form.CurrentGrid.Cell(Current::IndepFlowCol, row));
        EXPECT_EQ(form.FixedPRVGrid.GetFontColour(PRV::OutletCol, row), clGreen);
    }
    EXPECT_TRUE(below(form.FixedDepLabel.Caption, form.CurrentDepLabel.Caption));
    EXPECT_EQ(form.FixedOpenLabel.Caption, "");

    // A reducing valve cannot raise the 45 m it is given: set to 50 m it stands fully open
    // all day, every hour is the measured one and the day's volumes are the current ones.
    Outlet("50.00");
    ASSERT_TRUE(Run(&TMainForm::CalcFixedPRV));
    for (int h = 0; h < HoursPerDay; ++h) {
        const int row = ResultRow(h);
        EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::OutletCol, row), "45.00") << h;
        EXPECT_EQ(form.FixedPRVGrid.GetFontColour(PRV::OutletCol, row), clValveOpen) << h;
        for (const auto& [scenarioCol, currentCol] :
             {std::pair{3, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 6}, {8, 7}, {9, 8}})
            EXPECT_EQ(TextValue(form.FixedPRVGrid.Cell(scenarioCol, row)),
                      TextValue(form.CurrentGrid.Cell(currentCol, row)))
                << "hour " << h << " column " << scenarioCol;
    }
    EXPECT_EQ(form.FixedDepLabel.Caption, form.CurrentDepLabel.Caption);
    EXPECT_EQ(form.FixedTotLabel.Caption, form.CurrentTotLabel.Caption);
    EXPECT_EQ(form.FixedOpenLabel.Caption.rfind("The valve is fully open in 24 hours (00:00, 01:00, ", 0), 0u)
        << form.FixedOpenLabel.Caption;
    EXPECT_NE(form.FixedOpenLabel.Caption.find("23:00): the set outlet is above the inlet pressure."),
              std::string::npos);
}

TEST_F(PRVScenarioTest, LowPressureWarningsNameTheMinimumPressure) {
    Hour(13, "15.00", "45.00", "28.00", "19.90"); // the one hour below 20 m at the critical point
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    Outlet("45.00");
    form.HighPressureEdit.InitText("45.00");
    form.LowPressureEdit.InitText("45.00");
    Input(form.MinPressureEdit, "20.00", project.MinPressure, 20.0);
    ASSERT_TRUE(Run(&TMainForm::CalcFixedPRV));
    ASSERT_TRUE(Run(&TMainForm::CalcTimePRV));
    EXPECT_EQ(form.FixedWarnLabel.Caption,
              "Pressure of 20.00 could not be achieved for all critical points.");
    EXPECT_EQ(form.TimeWarnLabel.Caption,
              "Pressure of 20.00 could not be achieved over full 24 hour period at the critical point.");

    Input(form.MinPressureEdit, "19.80", project.MinPressure, 19.8);
    ASSERT_TRUE(Run(&TMainForm::CalcFixedPRV));
    ASSERT_TRUE(Run(&TMainForm::CalcTimePRV));
    EXPECT_EQ(form.FixedWarnLabel.Caption, "");
    EXPECT_EQ(form.TimeWarnLabel.Caption, "");
}

TEST_F(PRVScenarioTest, WithoutTheCurrentSituationOnlyTheInputColumnsAreFilled) {
    project.NightAZPPressure = 0;
    form.FixedDepLabel.Caption = "before";
    form.FixedPRVGrid.SetCell(PRV::AZPHeadlossCol, ResultRow(7), "before");
    Outlet("41.50");
    ASSERT_TRUE(Run(&TMainForm::CalcFixedPRV));
    const int row = ResultRow(7);
    EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::HourCol, row), "07:00 - 08:00");
    EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::InletCol, row), "45.00");
    EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::OutletCol, row), "41.50");
    EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::AZPCol, row), form.FlowGrid.Cell(Flow::AZPCol, FlowRow(7)));
    EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::CriticalCol, row),
              form.FlowGrid.Cell(Flow::CriticalCol, FlowRow(7)));
    EXPECT_EQ(form.FixedPRVGrid.Cell(PRV::AZPHeadlossCol, row), "before");
    EXPECT_EQ(form.FixedDepLabel.Caption, "before");
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(PRVScenarioTest, DayNightFactorUsesTheLowFlowHoursOwnRow) {
    project.LowFlowTime = EncodeTime(23, 0);
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    Outlet("42.00");
    ASSERT_TRUE(Run(&TMainForm::CalcFixedPRV));
    const double dep = TextValue(form.FixedDepLabel.Caption);
    const double night = TextValue(form.FixedPRVGrid.Cell(PRV::DepFlowCol, ResultRow(23)));
    EXPECT_NEAR(TextValue(form.FixedDayNightLabel.Caption), dep / night, 0.01);
    EXPECT_EQ(form.FixedPRVGrid.GetColour(PRV::OutletCol, ResultRow(23)), clAqua);
}

// Which hours of the day get the high pressure, by the window rules.
TEST_F(PRVScenarioTest, TimeWindowsChooseTheHighPressureHours) {
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    form.HighPressureEdit.InitText("44.00"); // below the 45 m inlet, so the valve holds it
    struct {
        int intervals;
        int start1[2], stop1[2], start2[2], stop2[2];
        std::set<int> highHours;
    } const cases[] = {
        {2, {6, 0}, {18, 0}, {1, 0}, {4, 0}, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}},
        {4, {3, 0}, {8, 0}, {11, 0}, {15, 0}, {3, 4, 5, 6, 7, 11, 12, 13, 14}},
        {2, {22, 0}, {2, 0}, {0, 0}, {0, 0}, {}},
        {2, {9, 0}, {9, 0}, {0, 0}, {0, 0}, {}},
        {2, {6, 15}, {8, 15}, {0, 0}, {0, 0}, {7, 8}},
        {3, {20, 0}, {23, 0}, {1, 0}, {3, 0}, {20, 21, 22}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.intervals << " intervals from " << c.start1[0]);
        project.Intervals = c.intervals;
        Window(form.TimeStart1Picker, c.start1[0], c.start1[1]);
        Window(form.TimeStop1Picker, c.stop1[0], c.stop1[1]);
        Window(form.TimeStart2Picker, c.start2[0], c.start2[1]);
        Window(form.TimeStop2Picker, c.stop2[0], c.stop2[1]);
        ASSERT_TRUE(Run(&TMainForm::CalcTimePRV));
        std::set<int> high;
        for (int h = 0; h < HoursPerDay; ++h) {
            const std::string& outlet = form.TimePRVGrid.Cell(PRV::OutletCol, ResultRow(h));
            if (outlet == "44.00")
                high.insert(h);
            else
                EXPECT_EQ(outlet, "40.00");
        }
        EXPECT_EQ(high, c.highHours);
    }
}

TEST_F(PRVScenarioTest, EqualHighAndLowPressureMatchTheFixedOutlet) {
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    Outlet("42.00");
    ASSERT_TRUE(Run(&TMainForm::CalcFixedPRV));
    form.HighPressureEdit.InitText("42");
    form.LowPressureEdit.InitText("42.00");
    ASSERT_TRUE(Run(&TMainForm::CalcTimePRV));
    for (int row = ResultRow(0); row <= ResultRow(23); ++row)
        for (int col = 0; col < 10; ++col)
            EXPECT_EQ(form.TimePRVGrid.Cell(col, row), form.FixedPRVGrid.Cell(col, row))
                << "row " << row << " column " << col;
    EXPECT_EQ(form.TimeDayNightLabel.Caption, form.FixedDayNightLabel.Caption);
    EXPECT_EQ(form.TimeDepLabel.Caption, form.FixedDepLabel.Caption);
    EXPECT_EQ(form.TimeIndepLabel.Caption, form.FixedIndepLabel.Caption);
    EXPECT_EQ(form.TimeTotLabel.Caption, form.FixedTotLabel.Caption);
    EXPECT_EQ(form.TimePRVGrid.GetColour(PRV::InletCol, ResultRow(11)), clYellow);
}

TEST_F(PRVScenarioTest, HourlyModeKeepsTheTypedOutletsAndRefreshesTheRest) {
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    HourlyMode();
    for (int h = 0; h < HoursPerDay; ++h)
        form.TimePRVGrid.SetCell(PRV::OutletCol, ResultRow(h), h < 12 ? "38" : "44.5");
    form.TimePRVGrid.SetCell(PRV::InletCol, ResultRow(5), "stale");
    ASSERT_TRUE(Run(&TMainForm::CalcTimePRV));
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, ResultRow(5)), "38");
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, ResultRow(20)), "44.5");
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::InletCol, ResultRow(5)), "45.00");
    // The head loss from the outlet to the AZP starts from the hour's own outlet.
    for (const auto& [h, outlet] : {std::pair{5, 38.0}, std::pair{20, 44.5}}) {
        const double azp = TextValue(form.TimePRVGrid.Cell(PRV::AZPCol, ResultRow(h)));
        EXPECT_LT(azp, TextValue(form.CurrentGrid.Cell(Current::AZPCol, ResultRow(h))));
        EXPECT_EQ(form.TimePRVGrid.Cell(PRV::AZPHeadlossCol, ResultRow(h)),
                  FormatFixed(110 + outlet - (100 + azp), 5, 2));
    }
}

TEST_F(PRVScenarioTest, AnInvalidHighOrLowPressureStopsTheScenario) {
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    ASSERT_TRUE(Run(&TMainForm::CalcTimePRV));
    const std::string shown = form.TimePRVGrid.Cell(PRV::AZPCol, ResultRow(4));
    form.FlowGrid.SetCell(Flow::AZPCol, FlowRow(4), "12.00");
    const std::string label = form.TimeDepLabel.Caption;
    struct {
        const char* high;
        const char* low;
        const char* message;
    } const cases[] = {
        {"", "40.00", "High Pressure value () is invalid.\nCannot proceed with calculations."},
        {"50.00", "4O", "Low Pressure value (4O) is invalid.\nCannot proceed with calculations."},
    };
    for (const auto& c : cases) {
        dialogs.Clear();
        form.HighPressureEdit.InitText(c.high);
        form.LowPressureEdit.InitText(c.low);
        ASSERT_TRUE(Run(TMainForm::TAnalysisScenario::TimeModulated));
        EXPECT_EQ(dialogs.Messages, (std::vector<TRecordedMessage>{{TMsgDlgType::Error, c.message}}));
        EXPECT_EQ(form.TimePRVGrid.Cell(PRV::AZPCol, ResultRow(4)), shown);
        EXPECT_EQ(form.TimeDepLabel.Caption, label);
    }
}

// ---- hours whose AZP pressure substitution cannot settle -------------------------------------

// A zone with 25 m of head loss to the AZP at 20 m³/h, half of it leakage, N1 2.0.
class AZPRootTest : public TEngineFixture {
protected:
    void SetUp() override {
        TEngineFixture::SetUp();
        NightFlow(10);
        N1("2.00", 2.0);
        Day("20.00", "45.00", "20.00", "40.00");
        form.TimeWarnCheckBox.Checked = true;
        ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
        ASSERT_EQ(project.NightLeakage, 10);
        project.Intervals = 0;
        for (int h = 0; h < HoursPerDay; ++h)
            form.TimePRVGrid.SetCell(PRV::OutletCol, ResultRow(h), "45.00");
    }

    // The hour's balance as the valve scenarios state it, for outlet pressure `outlet`.
    TAZPEquation Balance(double outlet) const {
        return {20 - (45 - outlet), 25, 25.0 / 400, 10, 10, 20, 2, false};
    }
    // The plain substitution with its 0.5 % test: the last two values and whether it settled.
    struct Substitution {
        double last, previous;
        bool settled;
    };
    static Substitution Substitute(const TAZPEquation& eq) {
        double s = eq.Start, prev = s;
        for (int k = 1; k <= 100; ++k) {
            prev = s;
            const double tot = eq.Leakage(std::max(s, 0.0)) + eq.Indep;
            s = eq.Start - (tot * tot * eq.LossCoef - eq.CurrentLoss);
            if (0.005 * prev > std::fabs(prev - s)) return {s, prev, true};
        }
        return {s, prev, false};
    }
    // The shown AZP pressure is the root to the centimetre: the balance changes sign
    // within half a centimetre either side.
    static void ExpectRootShown(const TAZPEquation& eq, const std::string& shown) {
        const double s = TextValue(shown);
        EXPECT_EQ(shown, FormatFixed(s, 5, 2));
        EXPECT_LT(eq.Residual(s - 0.005), 0) << shown;
        EXPECT_GT(eq.Residual(s + 0.005), 0) << shown;
    }
};

TEST_F(AZPRootTest, AnHourThatSwingsShowsTheRootOfItsBalance) {
    form.TimePRVGrid.SetCell(PRV::OutletCol, ResultRow(6), "40.00");
    const auto swing = Substitute(Balance(40));
    ASSERT_FALSE(swing.settled);
    ASSERT_GT(std::fabs(swing.last - swing.previous), 50); // between about 34 m and −53 m

    ASSERT_TRUE(Run(&TMainForm::CalcTimePRV));
    const std::string shown = form.TimePRVGrid.Cell(PRV::AZPCol, ResultRow(6));
    ExpectRootShown(Balance(40), shown);
    // Everything else of the hour follows from that pressure.
    const double s = TextValue(shown);
    const double leakage = 10 * (s / 20) * (s / 20);
    EXPECT_NEAR(TextValue(form.TimePRVGrid.Cell(PRV::DepFlowCol, ResultRow(6))), leakage, 0.02);
    EXPECT_NEAR(TextValue(form.TimePRVGrid.Cell(PRV::TotalFlowCol, ResultRow(6))), leakage + 10, 0.02);
    EXPECT_NEAR(TextValue(form.TimePRVGrid.Cell(PRV::AZPHeadlossCol, ResultRow(6))), 40 - s, 0.011);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(AZPRootTest, TheCostSummaryRunsThroughADayWithAnHourThatSwings) {
    // Such an hour used to carry " *", which stopped the summary with a conversion error.
    form.TimePRVGrid.SetCell(PRV::OutletCol, ResultRow(6), "40.00");
    ASSERT_TRUE(Run(&TMainForm::CalcTimePRV));
    ASSERT_TRUE(Run(&TMainForm::CalcFixedPRV));
    ASSERT_TRUE(Run(&TMainForm::GetTheCosts));
    EXPECT_TRUE(dialogs.Messages.empty());
    // The time-modulated row is computed to its end (no consumption saving here: the
    // day's AZP pressures were never collected into the record).
    for (int col : {1, 2, 4, 5, 7, 9})
        EXPECT_NE(form.CostSummaryGrid.Cell(col, 5), "0") << col;
}

TEST_F(AZPRootTest, AnHourWithNegativeAZPPressureShowsItWithoutMark) {
    form.TimePRVGrid.SetCell(PRV::OutletCol, ResultRow(8), "5.00");
    ASSERT_FALSE(Substitute(Balance(5)).settled);
    ASSERT_TRUE(Run(&TMainForm::CalcTimePRV));
    ExpectRootShown(Balance(5), form.TimePRVGrid.Cell(PRV::AZPCol, ResultRow(8)));
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::AZPCol, ResultRow(8)), "-1.25");
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::DepFlowCol, ResultRow(8)), "0.00"); // nothing leaks
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::CriticalCol, ResultRow(8)), "3.75");
}

TEST_F(AZPRootTest, HoursThatSettleKeepTheSubstitutionsValue) {
    form.TimePRVGrid.SetCell(PRV::OutletCol, ResultRow(9), "20.00");
    const auto settled = Substitute(Balance(20));
    ASSERT_TRUE(settled.settled);
    ASSERT_TRUE(Run(&TMainForm::CalcTimePRV));
    // Settled within its 0.5 % a little away from the exact root, and shown as settled.
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::AZPCol, ResultRow(9)), FormatFixed(settled.last, 5, 2));
    EXPECT_NE(form.TimePRVGrid.Cell(PRV::AZPCol, ResultRow(9)),
              FormatFixed(*SolveAZPRoot(Balance(20)), 5, 2));
    // Hours left at the inlet pressure are the current situation.
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::AZPCol, ResultRow(10)), "20.00");
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::DepFlowCol, ResultRow(10)), "10.00");
}

TEST_F(AZPRootTest, ANegativeCriticalPressureKeepsTheHoursInletAndOutlet) {
    // 1 m at the outlet leaves nothing at the critical point (5 m of head loss to it).
    form.TimePRVGrid.SetCell(PRV::OutletCol, ResultRow(14), "1.0");
    ASSERT_TRUE(Run(&TMainForm::CalcTimePRV));
    const int row = ResultRow(14);
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::InletCol, row), "45.00");
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, row), "1.0");
    for (int col : {3, 5, 7, 8})
        EXPECT_EQ(form.TimePRVGrid.Cell(col, row), "0.0") << col;
    EXPECT_LT(TextValue(form.TimePRVGrid.Cell(PRV::CriticalCol, row)), 0);
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::CritHeadlossCol, row), "1.25");
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::IndepFlowCol, row), "10.00");
    // The next run still finds the engineer's outlet.
    ASSERT_TRUE(Run(&TMainForm::CalcTimePRV));
    EXPECT_EQ(form.TimePRVGrid.Cell(PRV::OutletCol, row), "1.0");
}

// ---- a fixed outlet worked out by hand -------------------------------------------------

// A zone of 100 m inlet, 80 m AZP and 90 m critical-point elevation behind an inlet
// pressure near 55 m, with 6 m³/h of night consumption and head losses to the AZP and the
// critical point growing with the square of the inflow. Each hour is worked out here on
// its own from the measurements and the laws of the zone, and the fixed-outlet table must
// agree with it.
class FixedOutletBalanceTest : public TEngineFixture {
protected:
    static constexpr double InletElev = 100, AZPElev = 80, TargetElev = 90;
    static constexpr double NightUse = 6, LeakageExponent = 1.15, Outlet = 42;
    static constexpr int NightHour = 3; // the default low-flow time
    static constexpr std::array<double, HoursPerDay> Inflows = {40,  36,  34,  32,  35,  45,  70, 95,
                                                                110, 105, 100, 120, 115, 105, 95, 90,
                                                                95,  110, 118, 100, 80,  65,  52, 45};

    struct Measured {
        double q, inlet, azp, crit;
    };
    static double Cents(double v) { return std::round(v * 100) / 100; }
    static std::string Text(double v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2f", v);
        return buf;
    }
    static Measured Measurement(int h) {
        const double q = Inflows[static_cast<size_t>(h)];
        const double inlet = Cents(58 - 0.0002 * q * q);
        return {q, inlet, Cents(inlet + InletElev - AZPElev - 0.0009 * q * q),
                Cents(inlet + InletElev - TargetElev - 0.0016 * q * q)};
    }

    void SetUp() override {
        TEngineFixture::SetUp();
        Elevations(Text(InletElev), Text(AZPElev), Text(TargetElev));
        NightFlow(NightUse);
        N1("1.15", LeakageExponent);
        form.TimeWarnCheckBox.Checked = true;
        for (int h = 0; h < HoursPerDay; ++h) {
            const Measured m = Measurement(h);
            Hour(h, Text(m.q), Text(m.inlet), Text(m.azp), Text(m.crit));
        }
    }

    // The low-flow hour's leakage scaled by the AZP pressure to the power N1.
    static double Leakage(double azp) {
        const Measured night = Measurement(NightHour);
        return azp <= 0 ? 0 : (night.q - NightUse) * std::pow(azp / night.azp, LeakageExponent);
    }

    struct Hydraulics {
        double lossCoefA, lossCoefC, indep; // from the measured hour
        double azp, crit, lossA, lossC, tot, dep, azpTolerance;
    };
    static Hydraulics WorkOut(int h) {
        const Measured m = Measurement(h);
        Hydraulics x{};
        const double measuredLossA = Cents(m.inlet + InletElev - AZPElev - m.azp);
        const double measuredLossC = Cents(m.inlet + InletElev - TargetElev - m.crit);
        x.lossCoefA = measuredLossA / (m.q * m.q);
        x.lossCoefC = measuredLossC / (m.q * m.q);
        x.indep = Cents(m.q - Leakage(m.azp)); // does not change with pressure
        // The AZP loses what the valve takes off the inlet pressure and gets back what the
        // smaller inflow no longer loses on the way: azp = start − (kA·Q(azp)² − measured loss).
        const double start = m.azp - (m.inlet - Outlet);
        const auto lossAt = [&](double azp) {
            const double q = Leakage(azp) + x.indep;
            return x.lossCoefA * q * q;
        };
        const auto balance = [&](double azp) { return azp - start + lossAt(azp) - measuredLossA; };
        double lo = -200, hi = 200; // the balance grows with the pressure
        for (int i = 0; i < 100; ++i)
            (balance((lo + hi) / 2) < 0 ? lo : hi) = (lo + hi) / 2;
        x.azp = (lo + hi) / 2;
        x.dep = Leakage(x.azp);
        x.tot = x.dep + x.indep;
        x.lossA = InletElev + Outlet - (AZPElev + x.azp);
        x.lossC = x.lossCoefC * x.tot * x.tot;
        x.crit = Outlet - x.lossC + InletElev - TargetElev;
        // The table's AZP comes from substitution stopped at a step below 0.5 % of the
        // pressure; with the loss changing c times as fast as the pressure, it lies within
        // c / (1 − c) of that step of the balance, plus the rounding to the centimetre.
        const double c = std::fabs(lossAt(x.azp + 1e-4) - lossAt(x.azp - 1e-4)) / 2e-4;
        x.azpTolerance = 0.005 * x.azp * c / (1 - c) + 0.0051;
        return x;
    }
};

TEST_F(FixedOutletBalanceTest, EveryHourKeepsTheLeakageLawAndTheHeadLossBalance) {
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    const Measured night = Measurement(NightHour);
    EXPECT_DOUBLE_EQ(project.NightLeakage, night.q - NightUse);
    EXPECT_DOUBLE_EQ(project.NightAZPPressure, night.azp);
    form.Dispatch([&] { form.FixedPRVOutletEdit.SetText(Text(Outlet)); });
    ASSERT_TRUE(dialogs.Messages.empty()) << dialogs.Messages.front().Text;

    double dep = 0, indep = 0, tot = 0, depTolerance = 0;
    for (int h = 0; h < HoursPerDay; ++h) {
        SCOPED_TRACE(testing::Message() << "hour " << h);
        const Hydraulics x = WorkOut(h);
        EXPECT_NEAR(project.AZPHeadlossCoef[static_cast<size_t>(h)], x.lossCoefA, 1e-12);
        EXPECT_NEAR(project.CritHeadlossCoef[static_cast<size_t>(h)], x.lossCoefC, 1e-12);
        // The valve takes 10 m or more off every hour: all pressures fall.
        ASSERT_LT(x.azp, Measurement(h).azp);

        const auto shown = [&](int col) { return TextValue(form.FixedPRVGrid.Cell(col, ResultRow(h))); };
        EXPECT_NEAR(shown(3), x.azp, x.azpTolerance);
        // What follows from a pressure that close to the balance: at most a few millimetres
        // (or litres per hour) more than the two-decimal rounding.
        const double slope = std::fabs(Leakage(x.azp + 1e-4) - Leakage(x.azp - 1e-4)) / 2e-4;
        const double flowTolerance = slope * x.azpTolerance + 0.0051;
        EXPECT_NEAR(shown(5), x.lossA, x.azpTolerance + 0.0051);
        EXPECT_NEAR(shown(8), x.dep, flowTolerance);
        EXPECT_NEAR(shown(7), x.tot, flowTolerance);
        EXPECT_EQ(shown(9), x.indep);
        const double lossCTolerance = 2 * x.lossCoefC * x.tot * flowTolerance + 0.0051;
        EXPECT_NEAR(shown(6), x.lossC, lossCTolerance);
        EXPECT_NEAR(shown(4), x.crit, lossCTolerance + 0.0051);
        // And the shown row closes on itself: total = leakage + consumption, critical
        // pressure = outlet − loss + fall from the inlet to the critical point.
        EXPECT_NEAR(shown(7), shown(8) + shown(9), 0.0101);
        EXPECT_NEAR(shown(4), Outlet - shown(6) + InletElev - TargetElev, 0.0101);
        dep += x.dep;
        indep += x.indep;
        tot += x.tot;
        depTolerance += flowTolerance;
    }
    EXPECT_NEAR(TextValue(form.FixedDepLabel.Caption), dep, depTolerance);
    EXPECT_NEAR(TextValue(form.FixedIndepLabel.Caption), indep, 0.0051);
    EXPECT_NEAR(TextValue(form.FixedTotLabel.Caption), tot, depTolerance);
    // The day's leakage in hours of the low-flow hour's leakage, as shown.
    const double nightDep = TextValue(form.FixedPRVGrid.Cell(PRV::DepFlowCol, ResultRow(NightHour)));
    EXPECT_NEAR(TextValue(form.FixedDayNightLabel.Caption), dep / nightDep, depTolerance / nightDep + 0.0051);
    // Less pressure, less leakage, the same consumption (the current situation sums it
    // before rounding each hour).
    EXPECT_LT(dep, TextValue(form.CurrentDepLabel.Caption));
    EXPECT_NEAR(indep, TextValue(form.CurrentIndepLabel.Caption), HoursPerDay * 0.005 + 0.0051);
}

// ---- the root itself -----------------------------------------------------------------------

TEST(AZPSolverTest, FindsTheRootOfEveryBracketedBalance) {
    const TAZPEquation balances[] = {
        {15, 25, 25.0 / 400, 10, 10, 20, 2.0, false},  // swings under substitution
        {40, 10, 0.02, 5, 8, 40, 1.0, false},          // an ordinary hour
        {30, 30, 30.0 / 225, 5, 10, 25, 2.5, false},   // steep leakage law
        {-20, 25, 25.0 / 400, 10, 10, 20, 2.0, false}, // below zero at the AZP
        {60, 2, 0.001, 100, 50, 45, 0.5, false},       // flat head loss
        {10, 5, 0.05, -12, 10, 20, 1.5, true},         // outflow at low pressure: no loss
    };
    for (const auto& eq : balances) {
        SCOPED_TRACE(testing::Message() << "start " << eq.Start << ", N1 " << eq.Law.N1);
        const auto root = SolveAZPRoot(eq);
        ASSERT_TRUE(root.has_value());
        EXPECT_LT(std::fabs(eq.Residual(*root)), 1e-8);
    }
    // Below zero nothing leaks, so the root is plain arithmetic.
    EXPECT_DOUBLE_EQ(*SolveAZPRoot(balances[3]), -20 + 25 - 6.25);
}

TEST(AZPSolverTest, ANegativeLossCoefficientWithoutBalanceHasNoRoot) {
    // Measured AZP above what the inlet can give; the balance never closes.
    const TAZPEquation eq{10, -1, -0.01, 10, 10, 10, 2.0, false};
    EXPECT_FALSE(SolveAZPRoot(eq).has_value());
}

} // namespace
