// The N1 window's step-test table: its size and widths as designed, and the headings,
// stage names, colours and locks that every showing of the window writes again.
#include "forms/MainForm.h"
#include <array>

namespace halvern {

namespace {

constexpr int N1Cols = 13;
constexpr int N1Rows = 6;
constexpr std::array<int, N1Cols> N1ColWidths = {64, 45, 45, 48, 48, 53, 56, 62, 57, 47, 47, 46, 50};
constexpr int N1RowHeight = 24;

// Columns the user types the measurements into, and the ones worked out from them.
constexpr int FirstMeasuredCol = 1;
constexpr int LastMeasuredCol = 6;
constexpr int FirstDerivedCol = 7;
constexpr int LastDerivedCol = 12;

} // namespace

TN1CalculationForm::TN1CalculationForm(TMainForm& main) : TAuxForm("N1 Calculation"), MainForm(main) {
    N1Grid.SetColCount(N1Cols);
    N1Grid.SetRowCount(N1Rows);
    N1Grid.FixedRows = 2;
    N1Grid.FixedCols = 1;
    N1Grid.Options = goEditing | goColSizing | goRowSizing;
    N1Grid.DefaultRowHeight = N1RowHeight;
    for (int col = 0; col < N1Cols; ++col)
        N1Grid.SetColWidth(col, N1ColWidths[col]);
    for (int row = 0; row < N1Rows; ++row)
        N1Grid.SetRowHeight(row, N1RowHeight);
    // Room for the two-line headings of row 1.
    N1Grid.SetRowHeight(1, N1Grid.RowHeight(0) + 4);
    SetupN1Grid();
}

void TN1CalculationForm::SetupN1Grid() {
    TMarkStringGrid& g = N1Grid;

    // Headings that span both heading rows.
    const std::array<std::pair<int, const char*>, 6> tallHeadings = {{{0, ""},
                                                                      {1, "Start Time (hr)"},
                                                                      {2, "End Time (hr)"},
                                                                      {6, "Zone Inflow (m³/hr)"},
                                                                      {7, "Total Night Consumption (m³/hr)"},
                                                                      {8, "Distribution Losses (m³/hr)"}}};
    for (const auto& [col, text] : tallHeadings) {
        g.SetCell(col, 0, text);
        g.SetJoin(col, 0, col, 1);
    }

    g.SetCell(3, 0, "Measured Pressure");
    g.SetJoin(3, 0, 5, 0);
    g.SetCell(3, 1, "Inlet (m)");
    g.SetCell(4, 1, "AZP (m)");
    g.SetCell(5, 1, "Critical (m)");

    g.SetCell(9, 0, "Calculated values of N1 for zone");
    g.SetJoin(9, 0, 12, 0);
    g.SetCell(9, 1, "Stage 1");
    g.SetCell(10, 1, "Stage 2");
    g.SetCell(11, 1, "Stage 3");
    g.SetCell(12, 1, "Average");

    for (int col = 0; col < N1Cols; ++col)
        for (int row = 0; row < 2; ++row)
            g.SetTextPos(col, row, 'C', 'C');

    g.SetCell(0, 2, "Start");
    g.SetCell(0, 3, "Stage 1");
    g.SetCell(0, 4, "Stage 2");
    g.SetCell(0, 5, "Stage 3");

    // Red: what was measured; blue and locked: what the program works out.
    for (int col = FirstMeasuredCol; col <= LastMeasuredCol; ++col) {
        g.SetColColours(col, clNone, clRed);
        g.ClearColLock(col);
    }
    for (int col = FirstDerivedCol; col <= LastDerivedCol; ++col) {
        g.SetColColours(col, clNone, clBlue);
        g.SetColLock(col);
    }
}

} // namespace halvern
