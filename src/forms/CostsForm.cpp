// The "Implementation Costs" dialog: the capital cost items of each PRV option with their
// totals. The table is the working copy; the project takes the amounts when the dialog
// closes, and the cost-benefit summary then shows each option's implementation cost.
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/CheckedMath.h"
#include "model/Errors.h"
#include "model/Messages.h"
#include "model/Numbers.h"
#include "model/TextNumbers.h"

#include <array>
#include <cmath>
#include <limits>
#include <numeric>

namespace halvern {

namespace {

using namespace FixedCostLayout;
constexpr int DialogEntries = 5;        // the dialog's item rows and total row are entries 0 to 4
constexpr double RowOneHeightInM = 4.1; // room for the three-line option headings

const std::array<const char*, 5> ItemNames = {"Design Costs", "Construction Costs",
                                              "Equipment Costs (controller, logger etc.)", "Other Costs",
                                              "Total"};
const std::array<const char*, 3> OptionNames = {"Fixed PRV", "Time Modulated PRV", "Flow Modulated PRV"};

// An amount as the project keeps it: single precision, 0 for a text that is no number. An
// amount beyond single precision is the program's overflow, never an endless cost.
double StoredAmount(const std::string& text) {
    const double amount = CellNumber(text);
    if (std::fabs(amount) > std::numeric_limits<float>::max()) throw EOverflow();
    return static_cast<double>(static_cast<float>(amount));
}

} // namespace

TCostsForm::TCostsForm(TMainForm& main, TControlRegistry& controls)
    : TAuxForm("Implementation Costs"), MainForm(main), Controls(controls) {
    Button1.Caption = "OK";
    SetupCostGrids();
    FixedCostGrid.OnSetEditText = [this](int col, int row, const std::string& value) {
        FixedCostGridSetEditText(col, row, value);
    };
    FixedCostGrid.OnKeyPress = [this](char& key) { FixedCostGridKeyPress(key); };
    Button1.OnClick = [this] { Button1Click(); };
}

void TCostsForm::SetupCostGrids() {
    FixedCostGrid.SetColCount(ColCount);
    FixedCostGrid.SetRowCount(RowCount);
    FixedCostGrid.FixedRows = HeadingRows;
    FixedCostGrid.FixedCols = 1;
    FixedCostGrid.Options |= goEditing;
    FixedCostGrid.DefaultRowHeight = 24;
    const int widths[] = {210, 124, 113, 117};
    for (int col = 0; col < ColCount; ++col)
        FixedCostGrid.SetColWidth(col, widths[col]);
    FixedCostGrid.Hint = "Enter all fixed costs here";

    FixedCostGrid.SetCell(DescriptionCol, 0, "Fixed Costs");
    FixedCostGrid.SetColour(DescriptionCol, 0, clAqua);
    FixedCostGrid.SetTextPos(DescriptionCol, 0, 'C', 'C');
    FixedCostGrid.SetCell(FirstOptionCol, 0, "Costs (R)");
    FixedCostGrid.SetJoin(FirstOptionCol, 0, LastOptionCol, 0);
    FixedCostGrid.SetTextPos(FirstOptionCol, 0, 'C', 'C');
    FixedCostGrid.SetCell(DescriptionCol, 1, "Description");
    FixedCostGrid.SetTextPos(DescriptionCol, 1, 'C', 'C');
    for (int col = FirstOptionCol; col <= LastOptionCol; ++col) {
        FixedCostGrid.SetCell(col, 1, OptionNames[static_cast<size_t>(col - FirstOptionCol)]);
        FixedCostGrid.SetTextPos(col, 1, 'C', 'C');
    }
    // The item names are there from the start, so that a project read before the dialog
    // was ever opened keeps descriptions when the dialog closes.
    for (int row = FirstItemRow; row <= TotalRow; ++row)
        FixedCostGrid.SetCell(DescriptionCol, row, ItemNames[static_cast<size_t>(row - FirstItemRow)]);

    AnnualCostGrid.SetColCount(4);
    AnnualCostGrid.SetRowCount(12);
    AnnualCostGrid.FixedRows = 2;
    AnnualCostGrid.FixedCols = 0;
    AnnualCostGrid.Options |= goEditing;
    AnnualCostGrid.Visible = false;
    AnnualCostGrid.Hint = "Enter all annual costs here";
}

void TCostsForm::ShowModal() {
    Visible = true;
    FormActivate();
    if (OnShowRequest) OnShowRequest();
}

void TCostsForm::FormActivate() {
    SetupCostGrids();
    FixedCostGrid.SetRowHeight(1,
                               static_cast<int>(FixedCostGrid.Measure().TextHeight("M") * RowOneHeightInM));
    for (int col = FirstOptionCol; col <= LastOptionCol; ++col)
        for (int row = FirstItemRow; row <= TotalRow; ++row)
            if (FixedCostGrid.Cell(col, row).empty()) FixedCostGrid.SetCell(col, row, "0");
}

void TCostsForm::UpdateGrid() {
    for (int col = FirstOptionCol; col <= LastOptionCol; ++col) {
        bool complete = true;
        for (int row = FirstItemRow; row <= LastItemRow; ++row)
            if (FixedCostGrid.Cell(col, row).empty()) complete = false;
        // An item still being typed leaves the last total standing.
        if (!complete) continue;
        try {
            double sum = 0;
            for (int row = FirstItemRow; row <= LastItemRow; ++row)
                sum += StrToFloat(FixedCostGrid.Cell(col, row));
            FixedCostGrid.SetCell(col, TotalRow, FormatMoney(Checked(sum)));
        } catch (const EConvertError&) {
            MainForm.Dialogs.Error(Msg::EnterValidNumber);
        } catch (const EMathError& e) {
            // Amounts whose sum no number holds: said as any overflow, and the other
            // options' totals are still worked out.
            MainForm.Dialogs.Error(e.what());
        }
    }
}

void TCostsForm::FixedCostGridSetEditText(int col, int row, const std::string& value) {
    (void)col;
    (void)row;
    (void)value;
    UpdateGrid();
}

void TCostsForm::FixedCostGridKeyPress(char& key) {
    if (key != '\r') return;
    key = 0;
    TMarkStringGrid& grid = FixedCostGrid;
    grid.AnchorCol = grid.AnchorRow = -1;
    if (grid.Row >= FirstItemRow && grid.Row < LastItemRow) {
        ++grid.Row;
        return;
    }
    grid.Col = grid.Col >= FirstOptionCol && grid.Col < LastOptionCol ? grid.Col + 1 : FirstOptionCol;
    grid.Row = FirstItemRow;
}

void TCostsForm::Button1Click() {
    MainForm.GetTheCosts();
    Close();
}

void TCostsForm::Close() {
    // The dialog closes even when the summary cannot be recomputed (a scenario table
    // holding a text that is no number): the error is still reported, but a modal
    // dialog that refuses to close would hold the whole program.
    try {
        FormClose();
    } catch (...) {
        Visible = false;
        if (OnCloseRequest) OnCloseRequest();
        throw;
    }
    Visible = false;
    if (OnCloseRequest) OnCloseRequest();
}

void TCostsForm::FormClose() {
    TProject& project = MainForm.Project;
    for (int k = 0; k < DialogEntries; ++k) {
        const int row = FirstItemRow + k;
        const auto k_ = static_cast<size_t>(k);
        project.FixedCostItem[k_] = FixedCostGrid.Cell(DescriptionCol, row);
        project.FixedCostFixedPRV[k_] = StoredAmount(FixedCostGrid.Cell(FirstOptionCol, row));
        project.FixedCostTimePRV[k_] = StoredAmount(FixedCostGrid.Cell(FirstOptionCol + 1, row));
        project.FixedCostFlowPRV[k_] = StoredAmount(FixedCostGrid.Cell(FirstOptionCol + 2, row));
        // The annual costs table has the same shape as the capital costs table.
        project.AnnualCostItem[k_] = AnnualCostGrid.Cell(DescriptionCol, row);
        project.AnnualCostFixedPRV[k_] = StoredAmount(AnnualCostGrid.Cell(FirstOptionCol, row));
        project.AnnualCostTimePRV[k_] = StoredAmount(AnnualCostGrid.Cell(FirstOptionCol + 1, row));
        project.AnnualCostFlowPRV[k_] = StoredAmount(AnnualCostGrid.Cell(FirstOptionCol + 2, row));
    }

    MainForm.GetTheCosts();

    // The summary shows what the dialog holds: the first five entries of each option.
    const std::array<const std::array<double, CostEntries>*, 3> capital = {
        &project.FixedCostFixedPRV, &project.FixedCostTimePRV, &project.FixedCostFlowPRV};
    for (int option = 0; option < OptionCount; ++option) {
        const auto& amounts = *capital[static_cast<size_t>(option)];
        const double shown = std::accumulate(amounts.begin(), amounts.begin() + DialogEntries, 0.0);
        MainForm.CostSummaryGrid.SetCell(CostSummaryLayout::ImplementationCol,
                                         CostSummaryLayout::FirstScenarioRow + option, FormatMoney(shown));
    }
}

} // namespace halvern
