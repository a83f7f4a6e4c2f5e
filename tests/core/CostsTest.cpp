// The cost-benefit summary and the implementation costs dialog: annual volumes, savings,
// payback, the cost edits that recompute them, and the totals the dialog stores and
// publishes.
#include "FlowZoneFixture.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include <cmath>

using namespace halvern;
namespace Costs = CostSummaryLayout;
namespace FixedCost = FixedCostLayout;
namespace PRV = PRVGridLayout;
using namespace halvern::test;

namespace {

constexpr int CurrentRow = 3, FixedRow = 4, TimeRow = 5, FlowRow = 6;

class CostsTest : public TFlowZoneFixture {
protected:
    void SetUp() override {
        TFlowZoneFixture::SetUp();
        // A current situation of 100 m³ leakage and 400 m³ consumption a day at a mean
        // AZP pressure of 50 m; every scenario lowers the AZP to 40 m and the leakage to 80 m³.
        form.CurrentDepLabel.Caption = "100.00";
        form.CurrentIndepLabel.Caption = "400.00";
        project.AZPPressure.fill(50);
        Scenario(form.FixedTotLabel, form.FixedDepLabel, form.FixedPRVGrid, "450.00", "80.00", "40.00");
        Scenario(form.TimeTotLabel, form.TimeDepLabel, form.TimePRVGrid, "450.00", "80.00", "40.00");
        Scenario(form.FlowTotLabel, form.FlowDepLabel, form.FlowPRVGrid, "450.00", "80.00", "40.00");
    }

    void Scenario(TLabel& tot, TLabel& dep, TMarkStringGrid& grid, const std::string& totText,
                  const std::string& depText, const std::string& azpText) {
        tot.Caption = totText;
        dep.Caption = depText;
        for (int h = 0; h < HoursPerDay; ++h)
            grid.SetCell(PRV::AZPCol, TableRow(h), azpText);
    }

    bool Costs() {
        return form.Dispatch([&] { form.GetTheCosts(); });
    }
    const std::string& Summary(int col, int row) { return form.CostSummaryGrid.Cell(col, row); }

    // Daily pressure-dependent consumption (400 − 24) × 10 % + 24 × 10 % = 40 m³; at 40 m
    // instead of 50 m with N1 0.5 a year saves 40 × (1 − √0.8) × 365.25 = 1,542.4 m³.
    static constexpr double ConsSaving = 40 * (1 - 0.894427190999916) * 365.25;
};

TEST_F(CostsTest, CurrentInflowIsTheYearOfTheDailyVolumes) {
    ASSERT_TRUE(Costs());
    EXPECT_EQ(Summary(1, CurrentRow), "182,625");
}

TEST_F(CostsTest, SavingsOfAScenario) {
    ASSERT_TRUE(Costs());
    EXPECT_EQ(Summary(1, FixedRow), "164,363"); // 450 × 365.25
    EXPECT_EQ(Summary(2, FixedRow), "7,305");   // (100 − 80) × 365.25
    EXPECT_EQ(Summary(3, FixedRow), "1,542");
    EXPECT_EQ(Summary(4, FixedRow), "8,847");
    EXPECT_EQ(Summary(5, FixedRow), "8,847");  // at R1.00 a m³
    EXPECT_EQ(Summary(6, FixedRow), "-3,085"); // less water sold at R2.00
    EXPECT_EQ(Summary(7, FixedRow), "5,763");
    EXPECT_EQ(Summary(9, FixedRow), "0.0"); // nothing to pay back
    for (int col = 1; col <= 9; ++col) {
        if (col == 8) continue; // the dialog's column
        EXPECT_EQ(Summary(col, TimeRow), Summary(col, FixedRow)) << col;
        EXPECT_EQ(Summary(col, FlowRow), Summary(col, FixedRow)) << col;
    }
}

TEST_F(CostsTest, TheFactorScalesInflowsAndLossesButNotConsumption) {
    ASSERT_TRUE(form.Dispatch([&] { form.CostFactorEdit.SetText("50"); }));
    EXPECT_EQ(project.CostFactor, 50);
    EXPECT_EQ(Summary(1, CurrentRow), "91,313");
    EXPECT_EQ(Summary(1, FixedRow), "82,181");
    EXPECT_EQ(Summary(2, FixedRow), "3,653");
    EXPECT_EQ(Summary(3, FixedRow), "1,542");
}

TEST_F(CostsTest, TheFactorsArrowsCountOnFromTheNumberInItsEditWithinZeroToHundred) {
    using TArrow = TUpDown::TArrow;
    struct {
        const char* Typed; // the edit's text before the click ("" : left as it was)
        TArrow Arrow;
        const char* Shown;
    } const clicks[] = {
        {"", TArrow::Up, "100"},  // a new project's factor is the top of the range
        {"50", TArrow::Up, "51"}, // from what was typed, not the last position
        {"", TArrow::Down, "50"},
        {"0", TArrow::Down, "0"},
        {"2147483647", TArrow::Up, "100"}, // the edge of a whole number steps no further
        {"-2147483648", TArrow::Down, "0"},
        {"7.5", TArrow::Up, "1"}, // no whole number: on from the last position, 0
        {"abc", TArrow::Down, "0"},
    };
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.Typed);
        if (*c.Typed) form.Dispatch([&] { form.CostFactorEdit.SetText(c.Typed); });
        ASSERT_TRUE(form.Dispatch([&] { form.CostFactorUpDown.Click(c.Arrow); }));
        EXPECT_EQ(form.CostFactorEdit.Text(), c.Shown);
        EXPECT_EQ(project.CostFactor, std::stoi(c.Shown)); // the costs follow the spinner
    }
}

TEST_F(CostsTest, AnUnchangedMeanPressureSavesNoConsumption) {
    Scenario(form.FixedTotLabel, form.FixedDepLabel, form.FixedPRVGrid, "450.00", "80.00", "50.00");
    ASSERT_TRUE(Costs());
    EXPECT_EQ(Summary(3, FixedRow), "0");
    EXPECT_EQ(Summary(4, FixedRow), "7,305");
    EXPECT_EQ(Summary(6, FixedRow), "0");
}

TEST_F(CostsTest, PaybackCases) {
    struct Case {
        const char* name;
        double inflowCost, capital, annual;
        const char* payback;
    };
    // Net saving at R1.00 / R2.00: 8,847.4 − 3,084.8 = R5,762.6 a year.
    const Case cases[] = {
        {"no costs", 1, 0, 0, "0.0"},
        {"capital only", 1, 10000, 0, "20.8"},
        {"annual below the saving", 1, 10000, 5000, "20.8"},
        {"annual above the saving", 1, 0, 6000, "Never"},
        {"free water, lost income", 0, 0, 0, "Never"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(form.Dispatch([&] { form.InflowCostEdit.SetText(FormatFixed(c.inflowCost, 5, 2)); }));
        EXPECT_DOUBLE_EQ(project.InflowCost, c.inflowCost);
        project.FixedCostFixedPRV.fill(0);
        project.AnnualCostFixedPRV.fill(0);
        project.FixedCostFixedPRV[9] = c.capital; // every one of the ten entries counts
        project.AnnualCostFixedPRV[7] = c.annual;
        ASSERT_TRUE(Costs());
        EXPECT_EQ(Summary(9, FixedRow), c.payback) << c.name;
    }
}

TEST_F(CostsTest, CostEditsStoreTheirValueAndRecompute) {
    ASSERT_TRUE(form.Dispatch([&] { form.ConsumpCostsEdit.SetText("1.00"); }));
    EXPECT_EQ(Summary(6, FixedRow), "-1,542");
    ASSERT_TRUE(form.Dispatch([&] { form.ResConsumpChangeEdit.SetText("0.00"); }));
    ASSERT_TRUE(form.Dispatch([&] { form.NonresConsumpChangeEdit.SetText("0.00"); }));
    EXPECT_EQ(Summary(3, FixedRow), "0");
    ASSERT_TRUE(form.Dispatch([&] { form.NonresConsumpChangeEdit.SetText("10.00"); }));
    // Only the 24 m³ of non-residential use is left to follow pressure.
    EXPECT_EQ(Summary(3, FixedRow), FormatNumber(2.4 * (1 - 0.894427190999916) * 365.25, 11, 0));
    ASSERT_TRUE(form.Dispatch([&] { form.edtConsumptionN1.SetText("1"); }));
    EXPECT_EQ(Summary(3, FixedRow), FormatNumber(2.4 * 0.2 * 365.25, 11, 0));
}

TEST_F(CostsTest, EmptyScenarioResultsCountAsNothing) {
    form.FlowTotLabel.Caption.clear();
    form.FlowDepLabel.Caption.clear();
    // The flow-modulated table skips empty AZP cells but still divides by 24 hours.
    for (int h = 0; h < HoursPerDay; ++h)
        form.FlowPRVGrid.SetCell(PRV::AZPCol, TableRow(h), h < 12 ? "" : "50.00");
    ASSERT_TRUE(Costs());
    EXPECT_EQ(Summary(1, FlowRow), "0");
    EXPECT_EQ(Summary(2, FlowRow), "36,525"); // the whole current leakage
    EXPECT_EQ(Summary(3, FlowRow), FormatNumber(40 * (1 - std::sqrt(0.5)) * 365.25, 11, 0));
}

TEST_F(CostsTest, AnUnsettledAZPStopsTheCostsThere) {
    form.CostSummaryGrid.SetCell(Costs::ConsumpSavingCol, TimeRow, "old");
    form.CostSummaryGrid.SetCell(Costs::InflowCol, FlowRow, "old");
    form.TimePRVGrid.SetCell(PRV::AZPCol, TableRow(7), "40.00 *");
    EXPECT_FALSE(Costs());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"'40.00 *' is not a valid floating point value"});
    EXPECT_EQ(Summary(2, TimeRow), "7,305");
    EXPECT_EQ(Summary(3, TimeRow), "old");
    EXPECT_EQ(Summary(1, FlowRow), "old");
}

TEST_F(CostsTest, ShowingTheSummaryRecomputesEveryScenarioAndTheCosts) {
    form.Dispatch([&] { form.MainPage.SetActivePage(form.SummarySheet); });
    EXPECT_TRUE(dialogs.Messages.empty()) << ::testing::PrintToString(dialogs.Texts());
    const double current = Number(form.CurrentDepLabel.Caption) + Number(form.CurrentIndepLabel.Caption);
    EXPECT_EQ(Summary(1, CurrentRow), FormatNumber(current * 365.25, 11, 0));
    EXPECT_EQ(Summary(1, FlowRow), FormatNumber(Number(form.FlowTotLabel.Caption) * 365.25, 11, 0));
    EXPECT_NE(form.FlowTotLabel.Caption, "450.00");
}

// ---- the implementation costs dialog ---------------------------------------------------

class CostsDialogTest : public CostsTest {
protected:
    TCostsForm& dialog = form.CostsForm;
    TMarkStringGrid& grid = form.CostsForm.FixedCostGrid;
    int shown = 0, closed = 0;

    void SetUp() override {
        CostsTest::SetUp();
        dialog.OnShowRequest = [this] { ++shown; };
        dialog.OnCloseRequest = [this] { ++closed; };
        form.Dispatch([&] { form.ImpCostsButton.Click(); });
    }
    void Type(int col, int row, const std::string& text) {
        form.Dispatch([&] { grid.SetEditText(col, row, text); });
    }
    void TypeItems(int col, const std::array<const char*, 4>& texts) {
        for (int i = 0; i < 4; ++i)
            Type(col, FixedCost::FirstItemRow + i, texts[static_cast<size_t>(i)]);
    }
};

TEST_F(CostsDialogTest, OpensModallyWithItsTableReady) {
    EXPECT_TRUE(dialog.Visible);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(dialog.Caption, "Implementation Costs");
    EXPECT_EQ(grid.Cell(FixedCost::DescriptionCol, FixedCost::GroupHeadingRow), "Fixed Costs");
    EXPECT_EQ(grid.GetColour(FixedCost::DescriptionCol, FixedCost::GroupHeadingRow), clAqua);
    EXPECT_EQ(grid.Cell(FixedCost::FirstOptionCol, FixedCost::GroupHeadingRow), "Costs (R)");
    EXPECT_EQ(grid.Cell(FixedCost::FirstOptionCol + 2, FixedCost::ColumnHeadingRow), "Flow Modulated PRV");
    EXPECT_EQ(grid.Cell(FixedCost::DescriptionCol, FixedCost::FirstItemRow + 2),
              "Equipment Costs (controller, logger etc.)");
    EXPECT_EQ(grid.Cell(FixedCost::DescriptionCol, FixedCost::TotalRow), "Total");
    EXPECT_EQ(grid.RowHeight(1), static_cast<int>(grid.Measure().TextHeight("M") * 4.1));
    for (int col = 1; col <= 3; ++col)
        for (int row = 2; row <= 6; ++row)
            EXPECT_EQ(grid.Cell(col, row), "0") << col << "," << row;
    EXPECT_FALSE(dialog.AnnualCostGrid.Visible);
}

TEST_F(CostsDialogTest, TotalsAndOKPublishTheAmounts) {
    TypeItems(FixedCost::FirstOptionCol, {"1000", "2000", "3000", "4000"});
    EXPECT_EQ(grid.Cell(FixedCost::FirstOptionCol, FixedCost::TotalRow), "R10,000.00");
    EXPECT_EQ(grid.Cell(FixedCost::FirstOptionCol, FixedCost::TotalRow), FormatMoney(10000));
    EXPECT_TRUE(dialogs.Messages.empty());

    form.Dispatch([&] { dialog.Button1.Click(); });
    EXPECT_FALSE(dialog.Visible);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(Summary(8, FixedRow), "R10,000.00");
    EXPECT_EQ(Summary(8, TimeRow), FormatMoney(0));
    EXPECT_EQ(Summary(8, FlowRow), FormatMoney(0));
    const std::array<double, 5> stored = {1000, 2000, 3000, 4000, 0}; // the money total is no number
    for (size_t k = 0; k < stored.size(); ++k)
        EXPECT_EQ(project.FixedCostFixedPRV[k], stored[k]) << k;
    EXPECT_EQ(project.FixedCostItem[0], "Design Costs");
    EXPECT_EQ(project.FixedCostItem[4], "Total");
    // The payback follows the stored capital: 10,000 / 5,762.6 × 12 months.
    EXPECT_EQ(Summary(9, FixedRow), "20.8");
}

TEST_F(CostsDialogTest, EnterMovesDownTheItemsThenToTheNextOption) {
    using namespace FixedCostLayout;
    grid.Col = FirstOptionCol;
    grid.Row = FirstItemRow;
    // Four amounts typed each with Enter, as the view sends them: each lands in its own item.
    for (const char* amount : {"1000", "2000", "3000", "4000"}) {
        Type(grid.Col, grid.Row, amount);
        char key = '\r';
        form.Dispatch([&] { grid.KeyPress(key); });
        EXPECT_EQ(key, 0);
    }
    EXPECT_EQ(grid.Cell(FirstOptionCol, TotalRow), FormatMoney(10000));
    // Past the last item, the total (worked out) is passed over for the next option.
    EXPECT_EQ(grid.Col, FirstOptionCol + 1);
    EXPECT_EQ(grid.Row, FirstItemRow);
    grid.Col = LastOptionCol;
    grid.Row = LastItemRow;
    char key = '\r';
    form.Dispatch([&] { grid.KeyPress(key); });
    EXPECT_EQ(grid.Col, FirstOptionCol);
    EXPECT_EQ(grid.Row, FirstItemRow);
}

TEST_F(CostsDialogTest, AnIncompleteColumnKeepsItsLastTotal) {
    TypeItems(FixedCost::FirstOptionCol + 1, {"1", "2", "3", "4"});
    EXPECT_EQ(grid.Cell(FixedCost::FirstOptionCol + 1, FixedCost::TotalRow), FormatMoney(10));
    Type(FixedCost::FirstOptionCol + 1, FixedCost::FirstItemRow + 1, "");
    EXPECT_EQ(grid.Cell(FixedCost::FirstOptionCol + 1, FixedCost::TotalRow), FormatMoney(10));
    EXPECT_TRUE(dialogs.Messages.empty());
    Type(FixedCost::FirstOptionCol + 1, FixedCost::FirstItemRow + 1, "x");
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Please enter a valid number."});
    EXPECT_EQ(grid.Cell(FixedCost::FirstOptionCol + 1, FixedCost::TotalRow), FormatMoney(10));

    // Closing stores what is no number as 0, silently.
    dialogs.Clear();
    form.Dispatch([&] { dialog.Close(); });
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(project.FixedCostTimePRV[1], 0);
    EXPECT_EQ(project.FixedCostTimePRV[2], 3);
    EXPECT_EQ(Summary(8, TimeRow), FormatMoney(8));
}

TEST_F(CostsDialogTest, ClosingStoresAmountsInSinglePrecisionAndClearsTheAnnualEntries) {
    project.AnnualCostFixedPRV[0] = 500;
    project.AnnualCostItem[0] = "Maintenance";
    project.AnnualCostFixedPRV[6] = 700;
    Type(FixedCost::FirstOptionCol + 2, FixedCost::FirstItemRow, "123456789");
    Type(FixedCost::FirstOptionCol + 2, FixedCost::FirstItemRow + 1, "12.34");
    form.Dispatch([&] { dialog.Close(); }); // the window's close box
    EXPECT_FALSE(dialog.Visible);
    EXPECT_EQ(project.FixedCostFlowPRV[0], 123456792.0);
    EXPECT_EQ(project.FixedCostFlowPRV[1], static_cast<double>(12.34f));
    EXPECT_EQ(project.AnnualCostFixedPRV[0], 0);
    EXPECT_EQ(project.AnnualCostItem[0], "");
    EXPECT_EQ(project.AnnualCostFixedPRV[6], 700); // the dialog has no row for entries 5 to 9
    EXPECT_EQ(Summary(8, FlowRow), FormatMoney(123456792.0 + static_cast<double>(12.34f)));
}

TEST_F(CostsDialogTest, ReopeningShowsTheAmountsAsTyped) {
    Type(FixedCost::FirstOptionCol, FixedCost::FirstItemRow, "1500.5");
    Type(FixedCost::FirstOptionCol, FixedCost::FirstItemRow + 1, "");
    form.Dispatch([&] { dialog.Button1.Click(); });
    form.Dispatch([&] { form.ImpCostsButton.Click(); });
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(grid.Cell(FixedCost::FirstOptionCol, FixedCost::FirstItemRow), "1500.5");
    EXPECT_EQ(grid.Cell(FixedCost::FirstOptionCol, FixedCost::FirstItemRow + 1), "0");
}

TEST_F(CostsDialogTest, ClosesEvenWhenTheSummaryCannotBeComputed) {
    form.FixedPRVGrid.SetCell(PRV::AZPCol, TableRow(0), "40.00 *");
    EXPECT_FALSE(form.Dispatch([&] { dialog.Close(); }));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"'40.00 *' is not a valid floating point value"});
    EXPECT_FALSE(dialog.Visible);
    EXPECT_EQ(closed, 1);
}

// Amounts beyond what the program can hold stop with its overflow error; no total and no
// stored amount becomes infinite.
TEST_F(CostsDialogTest, AmountsTooLargeToHoldStopWithAnOverflow) {
    for (int row = 2; row <= 4; ++row)
        grid.SetCell(FixedCost::FirstOptionCol, row, "1e308");
    Type(FixedCost::FirstOptionCol, FixedCost::FirstItemRow + 3, "1e308");
    Type(FixedCost::FirstOptionCol + 1, FixedCost::FirstItemRow, "5");
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>(2, "Floating point overflow"));
    EXPECT_EQ(grid.Cell(FixedCost::FirstOptionCol, FixedCost::TotalRow), "0"); // the last total stands
    EXPECT_EQ(grid.Cell(FixedCost::FirstOptionCol + 1, FixedCost::TotalRow),
              FormatMoney(5)); // and the next option is still added up

    dialogs.Clear();
    for (int row = 2; row <= 5; ++row)
        grid.SetCell(FixedCost::FirstOptionCol, row, "0");
    Type(FixedCost::FirstOptionCol + 2, FixedCost::FirstItemRow,
         "1e39"); // a number, but beyond single precision
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_FALSE(form.Dispatch([&] { dialog.Close(); }));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Floating point overflow"});
    EXPECT_FALSE(dialog.Visible);
    EXPECT_TRUE(std::isfinite(project.FixedCostFlowPRV[0]));
}

TEST_F(CostsDialogTest, NewDataResetsTheAmountsToZero) {
    TypeItems(FixedCost::FirstOptionCol, {"1000", "2000", "3000", "4000"});
    form.Dispatch([&] { form.NewProject(); });
    for (int col = 1; col <= 3; ++col)
        for (int row = 2; row <= 6; ++row)
            EXPECT_EQ(grid.Cell(col, row), "0") << col << "," << row;
}

} // namespace
