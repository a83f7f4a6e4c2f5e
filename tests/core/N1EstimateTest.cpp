// The N1 window: the step test's losses, one N1 per pair of stages in lag order, the
// cumulative averages, the silent stop at a pair that cannot be evaluated, and the range
// check of the N1 typed on the main window.
#include "FlowZoneFixture.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include <cmath>

using namespace halvern;
namespace N1 = N1GridLayout;
using namespace halvern::test;

namespace {

class N1EstimateTest : public TFlowZoneFixture {
protected:
    TN1CalculationForm& window = form.N1CalculationForm;
    TMarkStringGrid& grid = form.N1CalculationForm.N1Grid;
    int shown = 0, closed = 0;

    void SetUp() override {
        TFlowZoneFixture::SetUp();
        form.Dispatch([&] { form.CalcNightLoss(); }); // 2.0 m³/h of night consumption
        window.OnShowRequest = [this] { ++shown; };
        window.OnCloseRequest = [this] { ++closed; };
        form.Dispatch([&] { form.N1Calculation.Click(); });
        window.N1Label.Caption = "previous";
    }

    // Types a stage's AZP pressure and the inflow that gives the wanted distribution loss.
    void Stage(int stage, double azp, double loss) {
        const int row = N1::StartRow + stage;
        const double nightUse = Number(grid.Cell(N1::NightConsumptionCol, row));
        form.Dispatch([&] {
            grid.SetEditText(N1::AZPCol, row, FormatFixed(azp, 5, 2));
            grid.SetEditText(N1::InflowCol, row, FormatFixed(loss + nightUse, 8, 2));
        });
    }

    static std::string N1Text(double lossBefore, double lossAfter, double pBefore, double pAfter) {
        return FormatFixed(std::log(lossBefore / lossAfter) / std::log(pBefore / pAfter), 5, 2);
    }
};

TEST_F(N1EstimateTest, TheEstimateButtonShowsTheWindowWithTheCurrentN1) {
    EXPECT_TRUE(window.Visible);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(window.CurrentN1Label.Caption, "1");
    EXPECT_EQ(grid.Cell(N1::NightConsumptionCol, N1::StartRow), "2.0");

    project.N1 = 1.5;
    form.Dispatch([&] { window.Close1Click(); });
    EXPECT_FALSE(window.Visible);
    EXPECT_EQ(closed, 1);
    form.Dispatch([&] { form.N1Calculation.Click(); });
    EXPECT_EQ(window.CurrentN1Label.Caption, "1.5");
}

TEST_F(N1EstimateTest, OneStepGivesItsN1ButNoEstimateYet) {
    struct Case {
        double startAZP, startLoss, stageAZP, stageLoss;
        const char* n1;
    };
    const Case cases[] = {
        {50, 20, 40, 16, "1.00"},   // leakage falls as fast as pressure
        {50, 20, 40, 12.8, "2.00"}, // faster
    };
    for (const Case& c : cases) {
        Stage(0, c.startAZP, c.startLoss);
        Stage(1, c.stageAZP, c.stageLoss);
        EXPECT_EQ(grid.Cell(N1::LossesCol, N1::StartRow), "20.00");
        EXPECT_EQ(grid.Cell(N1::FirstN1Col, N1::StartRow + 1), c.n1);
        // Fewer than three stages: the estimate stops before the averages, and the one
        // shown before is gone with the measurements that gave it.
        EXPECT_EQ(grid.Cell(N1::AverageN1Col, N1::StartRow + 1), "");
        EXPECT_EQ(window.N1Label.Caption, "");
    }
}

TEST_F(N1EstimateTest, ACompleteTestGivesSixValuesAndTheirCumulativeAverages) {
    const double p[] = {50, 40, 30, 20};
    const double l[] = {20, 15, 12, 7};
    for (int s = 0; s < 4; ++s)
        Stage(s, p[s], l[s]);

    // Lag 1 in column 9, lag 2 in column 10, lag 3 in column 11, each in the later stage's row.
    for (int lag = 1; lag <= 3; ++lag)
        for (int r = 0; r + lag <= 3; ++r)
            EXPECT_EQ(grid.Cell(N1::FirstN1Col - 1 + lag, N1::StartRow + r + lag),
                      N1Text(l[r], l[r + lag], p[r], p[r + lag]))
                << "stages " << r << " and " << r + lag;

    const auto cell = [&](int col, int row) { return Number(grid.Cell(col, row)); };
    EXPECT_EQ(grid.Cell(N1::AverageN1Col, N1::Stage1Row), grid.Cell(N1::FirstN1Col, N1::Stage1Row));
    EXPECT_EQ(grid.Cell(N1::AverageN1Col, N1::Stage2Row),
              FormatFixed((cell(N1::FirstN1Col, N1::Stage1Row) + cell(N1::FirstN1Col, N1::Stage2Row) +
                           cell(N1::FirstN1Col + 1, N1::Stage2Row)) /
                              3,
                          5, 2));
    const double six = cell(N1::FirstN1Col, N1::Stage1Row) + cell(N1::FirstN1Col, N1::Stage2Row) +
                       cell(N1::FirstN1Col + 1, N1::Stage2Row) + cell(N1::FirstN1Col, N1::Stage3Row) +
                       cell(N1::FirstN1Col + 1, N1::Stage3Row) + cell(N1::FirstN1Col + 2, N1::Stage3Row);
    EXPECT_EQ(grid.Cell(N1::AverageN1Col, N1::Stage3Row), FormatFixed(six / 6, 5, 2));
    EXPECT_EQ(window.N1Label.Caption, grid.Cell(N1::AverageN1Col, N1::Stage3Row));
    EXPECT_TRUE(dialogs.Messages.empty());
}

// What a pair that cannot be evaluated would have given is left empty: the values of
// earlier measurements do not stay beside the present ones.
TEST_F(N1EstimateTest, APairThatCannotBeEvaluatedStopsTheEstimateSilently) {
    struct Case {
        const char* name;
        double p[4], l[4];
        int firstUnwrittenCol, firstUnwrittenRow;
    };
    const Case cases[] = {
        {"equal pressures in stages 1 and 2", {50, 40, 40, 30}, {20, 16, 14, 10}, 9, 4},
        {"no loss left in stage 2", {50, 40, 30, 20}, {20, 16, 0, 8}, 9, 4},
        {"a negative loss in stage 3", {50, 40, 30, 20}, {20, 16, 12, -1}, 9, 5},
    };
    for (const Case& c : cases) {
        for (int row = 2; row <= 5; ++row)
            for (int col : {4, 6})
                grid.SetCell(col, row, "");
        for (int col = 9; col <= 12; ++col)
            for (int row = 3; row <= 5; ++row)
                grid.SetCell(col, row, "old");
        window.N1Label.Caption = "previous";
        for (int s = 0; s < 4; ++s)
            Stage(s, c.p[s], c.l[s]);
        EXPECT_EQ(grid.Cell(N1::FirstN1Col, N1::Stage1Row), N1Text(c.l[0], c.l[1], c.p[0], c.p[1])) << c.name;
        EXPECT_EQ(grid.Cell(c.firstUnwrittenCol, c.firstUnwrittenRow), "") << c.name;
        EXPECT_EQ(grid.Cell(N1::AverageN1Col, N1::Stage1Row), "") << c.name;
        EXPECT_EQ(window.N1Label.Caption, "") << c.name;
    }
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(N1EstimateTest, EmptyMeasurementsCountAsNoInflow) {
    EXPECT_EQ(grid.Cell(N1::LossesCol, N1::StartRow + 3), "-2.00");
    EXPECT_EQ(window.N1Label.Caption, "previous");
}

TEST_F(N1EstimateTest, TheRangeCheckOfTheTypedN1) {
    struct Case {
        const char* text;
        bool message;
        const char* editAfter;
        double n1After;
    };
    const Case cases[] = {
        {"0.4", true, "1.0", 1.0},  {"3", true, "1.0", 1.0}, {"2.5", false, "2.5", 2.5},
        {"0.5", false, "0.5", 0.5}, {"0", false, "0", 0.5},  {"0.", false, "0.", 0.5},
    };
    for (const Case& c : cases) {
        dialogs.Clear();
        form.Dispatch([&] { form.N1Edit.SetText(c.text); });
        EXPECT_EQ(dialogs.Texts(), c.message ? std::vector<std::string>{"N1 must be between 0.5 and 2.5"}
                                             : std::vector<std::string>{})
            << c.text;
        EXPECT_EQ(form.N1Edit.Text(), c.editAfter) << c.text;
        EXPECT_DOUBLE_EQ(project.N1, c.n1After) << c.text;
    }
}

TEST_F(N1EstimateTest, StartAndEndTimesTakeOnlyTimesOfDay) {
    using namespace N1GridLayout;
    grid.Col = StartTimeCol;
    grid.Row = Stage1Row;
    const auto typeInto = [&](const std::string& keys) {
        form.Dispatch([&] { grid.SetEditText(grid.Col, grid.Row, ""); });
        grid.EditorMode = true;
        for (char c : keys) {
            char key = c;
            form.Dispatch([&] { grid.KeyPress(key); });
            if (key != 0)
                form.Dispatch(
                    [&] { grid.SetEditText(grid.Col, grid.Row, grid.Cell(grid.Col, grid.Row) + key); });
        }
        grid.EditorMode = false;
        return grid.Cell(grid.Col, grid.Row);
    };
    dialogs.Clear();
    EXPECT_EQ(typeInto("02:15"), "02:15");
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(typeInto("1 am"), "1");
    EXPECT_EQ(typeInto("25"), "2");
    EXPECT_EQ(typeInto("02:75"), "02:5");
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>(5, Msg::TimeCellInvalid));
    // A paste is taken only when it is a time; cutting part of one is always allowed.
    EXPECT_TRUE(grid.AcceptsEditText(StartTimeCol, Stage1Row, "", "23:45:00"));
    EXPECT_FALSE(grid.AcceptsEditText(StartTimeCol, Stage1Row, "", "1 am"));
    EXPECT_TRUE(grid.AcceptsEditText(EndTimeCol, Stage2Row, "02:15", "02:1"));
    // The measured columns keep their number rule, the name column none.
    EXPECT_FALSE(grid.AcceptsEditText(InletCol, Stage1Row, "", "02:15"));
}

TEST_F(N1EstimateTest, ANewProjectHasNoStepTestAndNoEstimate) {
    using namespace N1GridLayout;
    const double p[] = {50, 40, 30, 20};
    const double l[] = {20, 15, 12, 7};
    for (int s = 0; s < 4; ++s)
        Stage(s, p[s], l[s]);
    ASSERT_FALSE(window.N1Label.Caption.empty());
    form.Dispatch([&] { form.actDataNewExec(); });
    for (int row = FirstStageRow; row <= LastStageRow; ++row)
        for (int col :
             {StartTimeCol, EndTimeCol, InletCol, AZPCol, CriticalCol, InflowCol, FirstN1Col, AverageN1Col})
            EXPECT_EQ(grid.Cell(col, row), "") << col << "," << row;
    EXPECT_EQ(window.N1Label.Caption, "");
    // Tab ends the edit of a cell and moves on, as in the hourly table.
    EXPECT_TRUE(grid.Options & goTabs);
}

} // namespace
