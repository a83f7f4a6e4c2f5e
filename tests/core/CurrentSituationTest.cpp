// The current situation: head losses, the split of the inflow into leakage and
// pressure-independent flow around the low-flow hour, and the basic checks.
#include "EngineFixture.h"
#include "forms/TableLayouts.h"
#include "model/Errors.h"

using namespace halvern;
namespace Current = CurrentGridLayout;
using namespace halvern::test;

namespace {

class CurrentSituationTest : public TEngineFixture {};

TEST_F(CurrentSituationTest, SplitsTheInflowAroundTheLowFlowHour) {
    Elevations("100.00", "90.00", "95.00");
    // 03:00 is the low-flow hour (AZP 40 m), 12:00 has 50 m at the AZP.
    Hour(12, "10.00", "60.00", "50.00", "30.00");
    struct {
        const char* n1Text;
        double n1;
        const char* noonLeakage;
    } const cases[] = {{"1.00", 1.0, "10.00"}, {"1.50", 1.5, "11.18"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n1Text);
        N1(c.n1Text, c.n1);
        ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
        EXPECT_EQ(project.NightLeakage, 8);
        EXPECT_EQ(project.NightAZPPressure, 40);
        EXPECT_EQ(form.CurrentGrid.Cell(Current::DepFlowCol, ResultRow(12)), c.noonLeakage);
        EXPECT_EQ(form.CurrentGrid.Cell(Current::DepFlowCol, ResultRow(3)), "8.00");
        EXPECT_EQ(form.CurrentGrid.Cell(Current::IndepFlowCol, ResultRow(3)), "2.00");
    }
    // The inputs are copied as typed; head losses include the elevations.
    const int row = ResultRow(12);
    EXPECT_EQ(form.CurrentGrid.Cell(Current::HourCol, row), "12:00 - 13:00");
    EXPECT_EQ(form.CurrentGrid.Cell(Current::InletCol, row), "60.00");
    EXPECT_EQ(form.CurrentGrid.Cell(Current::AZPCol, row), "50.00");
    EXPECT_EQ(form.CurrentGrid.Cell(Current::CriticalCol, row), "30.00");
    EXPECT_EQ(form.CurrentGrid.Cell(Current::AZPHeadlossCol, row), "20.00");  // 160 − 140
    EXPECT_EQ(form.CurrentGrid.Cell(Current::CritHeadlossCol, row), "35.00"); // 160 − 125
    EXPECT_EQ(form.CurrentGrid.Cell(Current::TotalFlowCol, row), "10.00");
    EXPECT_DOUBLE_EQ(project.AZPHeadlossCoef[12], 0.2);
    EXPECT_DOUBLE_EQ(project.CritHeadlossCoef[12], 0.35);

    // N1 1.0: 23 hours of 8 and one of 10.
    N1("1.00", 1.0);
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    EXPECT_EQ(form.CurrentDepLabel.Caption, "194.00");
    EXPECT_EQ(form.CurrentIndepLabel.Caption, "46.00");
    EXPECT_EQ(form.CurrentTotLabel.Caption, "240.00");
    EXPECT_EQ(form.DayNightLabel.Caption, "24.25");

    // The low-flow row is aqua, the high-flow row yellow.
    EXPECT_EQ(form.CurrentGrid.GetColour(Current::AZPHeadlossCol, ResultRow(3)), clAqua);
    EXPECT_EQ(form.CurrentGrid.GetColour(Current::IndepFlowCol, ResultRow(11)), clYellow);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(CurrentSituationTest, HeadlossCoefficientsComeFromTheRoundedTexts) {
    Hour(5, "20.00", "45.004", "20.00", "39.996");
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    EXPECT_EQ(form.CurrentGrid.Cell(Current::AZPHeadlossCol, ResultRow(5)), "25.00");
    EXPECT_EQ(form.CurrentGrid.Cell(Current::CritHeadlossCol, ResultRow(5)), "5.01");
    EXPECT_DOUBLE_EQ(project.AZPHeadlossCoef[5], 25.0 / 400);
    EXPECT_DOUBLE_EQ(project.CritHeadlossCoef[5], 5.01 / 400);
}

TEST_F(CurrentSituationTest, WithoutInflowOrLowFlowPressureNothingIsSplit) {
    project.AZPHeadlossCoef.fill(0.5);
    Day("0.00", "0.00", "0.00", "0.00");
    const std::string before = form.CurrentGrid.Cell(Current::DepFlowCol, ResultRow(4));
    form.CurrentDepLabel.Caption = "untouched";
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    EXPECT_EQ(form.CurrentGrid.Cell(Current::HourCol, ResultRow(23)), "23:00 - 00:00");
    EXPECT_EQ(form.CurrentGrid.Cell(Current::AZPCol, ResultRow(4)), "0.00");
    EXPECT_EQ(form.CurrentGrid.Cell(Current::AZPHeadlossCol, ResultRow(4)), "0.00");
    EXPECT_EQ(form.CurrentGrid.Cell(Current::DepFlowCol, ResultRow(4)), before);
    EXPECT_EQ(form.CurrentDepLabel.Caption, "untouched");
    EXPECT_EQ(project.NightAZPPressure, 0);
    EXPECT_EQ(project.AZPHeadlossCoef[4], 0.5); // no inflow: the coefficient is kept
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(CurrentSituationTest, PopulationUseBounds) {
    // Uniform day: every hour 10 m³/h of which 8 leak, so 48 m³ a day do not depend on
    // pressure; the non-residential use is taken off and the rest shared by the people.
    struct {
        int population;
        double dailyNonResidential;
        const char* use;
        const char* message;
    } const cases[] = {
        {1000, 28, "20.00", "Population use appears normal."},
        {1000, 28.01, "19.99", "Population use appears to be very low!"},
        {100, 23, "250.00", "Population use appears normal."},
        {100, 22.999, "250.01", "Population use appears to be very high!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.use);
        Input(form.PopulationEdit, std::to_string(c.population), project.Population, c.population);
        Input(form.DailyNonResidentialEdit, FormatFixed(c.dailyNonResidential, 5, 3),
              project.DailyNonResidential, c.dailyNonResidential);
        ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
        EXPECT_EQ(form.CurrentIndepLabel.Caption, "48.00");
        EXPECT_EQ(form.ResidentialUseLabel.Caption, c.use);
        EXPECT_EQ(form.PopUseWarningLabel.Caption, c.message);
        EXPECT_EQ(form.NonResidentialUseLabel.Caption, FormatFixed(c.dailyNonResidential, 5, 2));
    }
}

// A low-flow inflow below the night use makes every hour's leakage negative: the page
// says why, and the warning goes as soon as the night figures agree again.
TEST_F(CurrentSituationTest, NightInflowBelowTheNightUseIsNamed) {
    NightFlow(2.25);
    const struct {
        const char* lowHourInflow;
        std::string warning;
    } cases[] = {
        {"1.50", "Night inflow (1.50 m³/hr) is below the night consumption independent of pressure "
                 "(2.25 m³/hr): check the night use rates."},
        {"2.50", ""},
        {"0.00", "Night inflow (0.00 m³/hr) is below the night consumption independent of pressure "
                 "(2.25 m³/hr): check the night use rates."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lowHourInflow);
        Hour(3, c.lowHourInflow, "60.00", "40.00", "30.00");
        ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
        EXPECT_EQ(form.NightFlowWarningLabel.Caption, c.warning);
    }
    // Without an AZP pressure in the low-flow hour nothing is split, and nothing is said.
    Hour(3, "1.50", "60.00", "0.00", "30.00");
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    EXPECT_EQ(form.NightFlowWarningLabel.Caption, "");

    // A new project starts without it, and its Current Situation, shown, has none either:
    // all its hours are 0.
    form.Dispatch([&] { form.NewProject(); });
    EXPECT_EQ(form.NightFlowWarningLabel.Caption, "");
    form.Dispatch([&] { form.MainPage.SetActivePage(form.CurrentSituationSheet); });
    ASSERT_GT(project.TotalNonPressureFlow, 0);
    EXPECT_EQ(form.NightFlowWarningLabel.Caption, "");
}

TEST_F(CurrentSituationTest, WarnsWhenTheSetFlowHoursAreNotTheActualOnes) {
    Day("20.00", "60.00", "40.00", "30.00");
    Hour(3, "10.00", "60.00", "40.00", "30.00");
    Hour(2, "5.00", "60.00", "40.00", "30.00"); // the lowest inflow, tied with 04:00
    Hour(4, "5.00", "60.00", "40.00", "30.00");
    Hour(17, "30.00", "60.00", "40.00", "30.00"); // the highest, while 11:00 is set
    const std::string lowWarning =
        "Low flow time is currently set to 03:00\nHowever, actual low flow occurs at 02:00";
    const std::string highWarning =
        "High flow time is currently set to 11:00\nHowever, actual high flow occurs at 17:00";

    // The calculation only records them: no box opens half-way through it.
    ASSERT_TRUE(Run(&TMainForm::CalcCurrentSituation));
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(form.CalculationMessages.size(), 2u);
    form.CalculationMessages.clear();

    // OK: both warnings in one run, and again at the next.
    for (int run = 0; run < 2; ++run) {
        dialogs.Clear();
        ASSERT_TRUE(Run(TMainForm::TAnalysisScenario::CurrentSituation));
        ASSERT_EQ(dialogs.Messages.size(), 2u);
        EXPECT_EQ(dialogs.Messages[0], (TRecordedMessage{TMsgDlgType::Warning, lowWarning}));
        EXPECT_EQ(dialogs.Messages[1], (TRecordedMessage{TMsgDlgType::Warning, highWarning}));
        EXPECT_FALSE(form.TimeWarnCheckBox.Checked);
        EXPECT_TRUE(form.TimeWarnCheckBox.Enabled);
    }

    // Ignore on the first ticks the box, and the box holds at once: the high-flow warning
    // that would have followed is not shown, nor any at the next run.
    dialogs.Clear();
    dialogs.WarningAnswers = {TModalResult::Ignore};
    ASSERT_TRUE(Run(TMainForm::TAnalysisScenario::CurrentSituation));
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{lowWarning}));
    EXPECT_TRUE(form.TimeWarnCheckBox.Checked);
    dialogs.Clear();
    ASSERT_TRUE(Run(TMainForm::TAnalysisScenario::CurrentSituation));
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(CurrentSituationTest, NoLeakageInTheLowFlowHourStopsAfterTheFlowLabels) {
    Hour(3, "2.00", "60.00", "40.00", "30.00"); // inflow equals the night use
    form.DayNightLabel.Caption = "before";
    form.ResidentialUseLabel.Caption = "before";
    EXPECT_FALSE(Run(&TMainForm::CalcCurrentSituation));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Invalid floating point operation"});
    EXPECT_EQ(project.NightLeakage, 0);
    EXPECT_EQ(form.CurrentDepLabel.Caption, "0.00");
    EXPECT_EQ(form.CurrentIndepLabel.Caption, "232.00");
    EXPECT_EQ(form.CurrentTotLabel.Caption, "232.00");
    EXPECT_EQ(form.DayNightLabel.Caption, "before");
    EXPECT_EQ(form.ResidentialUseLabel.Caption, "before");
}

TEST_F(CurrentSituationTest, AnElevationThatIsNoNumberStopsTheCalculation) {
    form.AZPElevEdit.InitText("9o");
    form.CurrentGrid.SetCell(Current::HourCol, ResultRow(0), "before");
    EXPECT_FALSE(Run(&TMainForm::CalcCurrentSituation));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"'9o' is not a valid floating point value"});
    EXPECT_EQ(form.CurrentGrid.Cell(Current::HourCol, ResultRow(0)), "before");
}

} // namespace
