// Night flow components and the loss-rate row totals of the Default Parameters page.
#include "FormFixture.h"
#include "forms/RecommendedLossRates.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include <gtest/gtest.h>
#include <vector>

using namespace halvern;
namespace N1 = N1GridLayout;
using halvern::test::FormFixture;

namespace {

class NightFlowTest : public FormFixture {
protected:
    std::vector<std::string> Components() const {
        return {form.ConnectionLossLabel.Caption,   form.PropertyLossLabel.Caption,
                form.ResidentialNightLabel.Caption, form.NonResidentialNightLabel.Caption,
                form.ExceptionalUseLabel.Caption,   form.TotalNonPressureLabel.Caption};
    }
    std::vector<std::string> N1NightConsumption() {
        std::vector<std::string> cells;
        for (int row = 2; row <= 5; ++row)
            cells.push_back(form.N1CalculationForm.N1Grid.Cell(N1::NightConsumptionCol, row));
        return cells;
    }
};

TEST_F(NightFlowTest, DefaultsGiveOnlyTheExceptionalUseAndAnUnroundedTotal) {
    EXPECT_EQ(Components(), (std::vector<std::string>{"0.00", "0.00", "0.00", "0.00", "0.26", "0.27"}));
    // 0.0005 + 0.0005 + 0.0006 + 0.004 + 0.26: the record keeps what the label rounds.
    EXPECT_NEAR(form.Project.TotalNonPressureFlow, 0.2656, 1e-12);
    EXPECT_EQ(N1NightConsumption(), (std::vector<std::string>{"0.3", "0.3", "0.3", "0.3"}));
    EXPECT_EQ(form.TotMainsLossLabel.Caption, "2.00");
    EXPECT_EQ(form.TotConnectLossLabel.Caption, "0.50");
    EXPECT_EQ(form.TotPropLossLabel.Caption, "0.50");
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(NightFlowTest, EachComponentFollowsItsUnitRate) {
    form.Project.NumOfConnect = 2000;
    ASSERT_TRUE(Set(form.ConnectLossEdit, "3"));
    EXPECT_EQ(form.ConnectionLossLabel.Caption, "6.00");

    form.Project.NumOfServiced = 400;
    ASSERT_TRUE(Set(form.PropertyLossEdit, "2.5"));
    EXPECT_EQ(form.PropertyLossLabel.Caption, "1.00");

    // 5000 people, 10 % of them each flushing a 12-litre cistern in the night hour.
    form.Project.Population = 5000;
    ASSERT_TRUE(Set(form.PopActiveEdit, "10"));
    ASSERT_TRUE(Set(form.DomesticNightEdit, "12"));
    EXPECT_EQ(form.ResidentialNightLabel.Caption, "6.00");

    ASSERT_TRUE(Set(form.NumNonResidentialEdit, "50"));
    ASSERT_TRUE(Set(form.NonDomMeterEdit, "20"));
    EXPECT_EQ(form.NonResidentialNightLabel.Caption, "1.00");

    ASSERT_TRUE(Set(form.NonDomUnmeterEdit, "1.5"));
    EXPECT_EQ(form.ExceptionalUseLabel.Caption, "1.50");
    EXPECT_EQ(form.TotalNonPressureLabel.Caption, "15.50");
    EXPECT_DOUBLE_EQ(form.Project.TotalNonPressureFlow, 15.5);
    EXPECT_EQ(N1NightConsumption(), (std::vector<std::string>{"15.5", "15.5", "15.5", "15.5"}));
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(NightFlowTest, NoPopulationMeansNoResidentialNightUse) {
    form.Project.Population = 0;
    ASSERT_TRUE(Set(form.DomesticNightEdit, "50"));
    EXPECT_EQ(form.ResidentialNightLabel.Caption, "0.00");
}

TEST_F(NightFlowTest, ABlankEditKeepsItsValueButStillRecalculates) {
    ASSERT_TRUE(Set(form.DomesticNightEdit, "20"));
    form.Project.Population = 1000;
    ASSERT_TRUE(Set(form.DomesticNightEdit, " "));
    EXPECT_DOUBLE_EQ(form.Project.DomesticNight, 20);
    EXPECT_EQ(form.ResidentialNightLabel.Caption, "1.20"); // 1000 × 20 l × 6 %

    ASSERT_TRUE(Set(form.NumNonResidentialEdit, ""));
    EXPECT_EQ(form.Project.NumNonResidential, 1);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(NightFlowTest, ATextThatIsNoNumberStopsWithTheConversionMessage) {
    struct Case {
        TEdit TMainForm::*edit;
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {&TMainForm::DomesticNightEdit, "1.2.3", "'1.2.3' is not a valid floating point value"},
        {&TMainForm::NonDomUnmeterEdit, "x", "'x' is not a valid floating point value"},
        {&TMainForm::NumNonResidentialEdit, "1.5", "'1.5' is not a valid integer value"},
        {&TMainForm::ConnectPresEdit, "-", "'-' is not a valid floating point value"},
    };
    for (const Case& c : cases) {
        dialogs.Clear();
        const std::string before = form.TotalNonPressureLabel.Caption;
        EXPECT_FALSE(Set(form.*c.edit, c.text)) << c.text;
        EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(form.TotalNonPressureLabel.Caption, before);
    }
    EXPECT_DOUBLE_EQ(form.Project.DomesticNight, 10);
    EXPECT_EQ(form.Project.NumNonResidential, 1);
}

TEST_F(NightFlowTest, RowTotalsAddTheDependentAndIndependentRates) {
    ASSERT_TRUE(Set(form.MainsLossEdit, "40"));
    EXPECT_EQ(form.TotMainsLossLabel.Caption, "40.00"); // Edit1 holds 0

    ASSERT_TRUE(Set(form.ConnectPresEdit, "1.5"));
    ASSERT_TRUE(Set(form.ConnectLossEdit, "3"));
    EXPECT_EQ(form.TotConnectLossLabel.Caption, "4.50");
    EXPECT_DOUBLE_EQ(form.Project.ConnectPres, 1.5);
    EXPECT_DOUBLE_EQ(form.Project.ConnectLoss, 3);

    ASSERT_TRUE(Set(form.PropPressEdit, "0.25"));
    ASSERT_TRUE(Set(form.PropertyLossEdit, "1"));
    EXPECT_EQ(form.TotPropLossLabel.Caption, "1.25");

    // Totals carry eight significant digits.
    ASSERT_TRUE(Set(form.ConnectLossEdit, "123456"));
    EXPECT_EQ(form.TotConnectLossLabel.Caption, "123457.50");
}

TEST_F(NightFlowTest, TheDependentRateHandlerReReadsTheIndependentEdit) {
    // A record value that no longer matches its edit is taken back from the edit.
    form.Project.ConnectLoss = 9;
    form.Project.PropertyLoss = 9;
    ASSERT_TRUE(Set(form.ConnectPresEdit, "1"));
    ASSERT_TRUE(Set(form.PropPressEdit, "1"));
    EXPECT_DOUBLE_EQ(form.Project.ConnectLoss, 0.5);
    EXPECT_DOUBLE_EQ(form.Project.PropertyLoss, 0.5);
    EXPECT_EQ(form.TotConnectLossLabel.Caption, "1.50");
    EXPECT_EQ(form.TotPropLossLabel.Caption, "1.50");
}

TEST_F(NightFlowTest, ABlankPartnerEditLeavesTheRowTotalAlone) {
    ASSERT_TRUE(Set(form.ConnectPresEdit, ""));
    ASSERT_TRUE(Set(form.ConnectLossEdit, "7"));
    EXPECT_EQ(form.TotConnectLossLabel.Caption, "0.50");
    EXPECT_EQ(form.ConnectionLossLabel.Caption, "0.01"); // 1 connection × 7 l/hr

    ASSERT_TRUE(Set(form.PropPressEdit, ""));
    ASSERT_TRUE(Set(form.PropertyLossEdit, "7"));
    EXPECT_EQ(form.TotPropLossLabel.Caption, "0.50");
}

TEST_F(NightFlowTest, WritingTheSameTextAgainRunsNothing) {
    form.Project.DomesticNight = 99;
    ASSERT_TRUE(Set(form.DomesticNightEdit, "10.00"));
    EXPECT_DOUBLE_EQ(form.Project.DomesticNight, 99);
    ASSERT_TRUE(Set(form.DomesticNightEdit, "10"));
    EXPECT_DOUBLE_EQ(form.Project.DomesticNight, 10);
}

TEST_F(NightFlowTest, Edit1OnlyShowsTheMainsTotal) {
    const double before = form.Project.TotalNonPressureFlow;
    form.Project.MainsLoss = 3;
    ASSERT_TRUE(Set(form.Edit1, "5"));
    EXPECT_EQ(form.TotMainsLossLabel.Caption, "8.00");
    EXPECT_DOUBLE_EQ(form.Project.TotalNonPressureFlow, before);
}

TEST_F(NightFlowTest, RecommendedRatesRiseAndTheirDefaultIsNotTheProjects) {
    // Guidance beside each rate: low < default < high, each a number the rate edits take;
    // the recommended default is not what a new project starts from.
    const std::pair<const TRecommendedLossRates&, TEdit&> rows[] = {
        {RecommendedMainsLoss, form.MainsLossEdit},
        {RecommendedConnectionLoss, form.ConnectLossEdit},
        {RecommendedPropertyLoss, form.PropertyLossEdit},
    };
    for (const auto& [recommended, edit] : rows) {
        SCOPED_TRACE(edit.Name);
        double previous = 0;
        for (std::string_view text : recommended.Texts) {
            const double rate = StrToFloat(std::string(text));
            EXPECT_GT(rate, previous);
            previous = rate;
        }
        EXPECT_NE(StrToFloat(std::string(recommended.Texts[1])), StrToFloat(edit.Text()));
    }
}

} // namespace
