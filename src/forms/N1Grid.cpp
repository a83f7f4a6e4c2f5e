// The N1 window's step-test table: its size and widths as designed, and the headings,
// stage names, colours and locks that every showing of the window writes again.
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include <algorithm>
#include <array>
#include <string>

namespace halvern {

namespace {

using namespace N1GridLayout;
constexpr int N1Cols = ColCount;
constexpr int N1Rows = RowCount;
constexpr std::array<int, N1Cols> N1ColWidths = {64, 45, 45, 48, 48, 53, 56, 62, 57, 47, 47, 46, 50};
constexpr int N1RowHeight = 24;

int WidestWord(TCanvas& canvas, const std::string& text) {
    int widest = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        widest = std::max(widest, canvas.TextWidth(text.substr(start, end - start)));
        start = end + 1;
    }
    return widest;
}

} // namespace

TN1CalculationForm::TN1CalculationForm(TMainForm& main, TControlRegistry& controls)
    : TAuxForm("N1 Calculation"), MainForm(main), Controls(controls) {
    N1Grid.SetColCount(N1Cols);
    N1Grid.SetRowCount(N1Rows);
    N1Grid.FixedRows = HeadingRows;
    N1Grid.FixedCols = 1;
    // Tab ends the edit of a cell and moves on to the next, as in the hourly table.
    N1Grid.Options = goEditing | goTabs | goColSizing | goRowSizing;
    N1Grid.DefaultRowHeight = N1RowHeight;
    for (int col = 0; col < N1Cols; ++col)
        N1Grid.SetColWidth(col, N1ColWidths[col]);
    for (int row = 0; row < N1Rows; ++row)
        N1Grid.SetRowHeight(row, N1RowHeight);
    // Room for the two-line headings of row 1.
    N1Grid.SetRowHeight(1, N1Grid.RowHeight(0) + 4);
    // The measured pressures and inflows are numbers (a letter would count as 0); the start
    // and end times are times of day.
    N1Grid.IsNumberCell = [](int col, int row) {
        return col >= InletCol && col <= InflowCol && row >= FirstStageRow && row <= LastStageRow;
    };
    N1Grid.IsTimeCell = [](int col, int row) {
        return (col == StartTimeCol || col == EndTimeCol) && row >= FirstStageRow && row <= LastStageRow;
    };
    SetupN1Grid();
}

void TN1CalculationForm::SetupN1Grid() {
    TMarkStringGrid& g = N1Grid;

    // Headings that span both heading rows.
    const std::array<std::pair<int, const char*>, 6> tallHeadings = {
        {{0, ""},
         {StartTimeCol, "Start Time (hr)"},
         {EndTimeCol, "End Time (hr)"},
         {InflowCol, "Zone Inflow (m³/hr)"},
         {NightConsumptionCol, "Total Night Consumption (m³/hr)"},
         {LossesCol, "Distribution Losses (m³/hr)"}}};
    for (const auto& [col, text] : tallHeadings) {
        g.SetCell(col, 0, text);
        g.SetJoin(col, 0, col, 1);
    }

    g.SetCell(InletCol, 0, "Measured Pressure");
    g.SetJoin(InletCol, 0, CriticalCol, 0);
    g.SetCell(InletCol, 1, "Inlet (m)");
    g.SetCell(AZPCol, 1, "AZP (m)");
    g.SetCell(CriticalCol, 1, "Critical (m)");

    g.SetCell(FirstN1Col, 0, "Calculated values of N1 for zone");
    g.SetJoin(FirstN1Col, 0, AverageN1Col, 0);
    g.SetCell(FirstN1Col, 1, "Stage 1");
    g.SetCell(FirstN1Col + 1, 1, "Stage 2");
    g.SetCell(FirstN1Col + 2, 1, "Stage 3");
    g.SetCell(AverageN1Col, 1, "Average");

    for (int col = 0; col < N1Cols; ++col)
        for (int row = 0; row < 2; ++row)
            g.SetTextPos(col, row, 'C', 'C');

    // A heading wraps between its words only: every column is at least as wide as the
    // longest word of its own heading.
    for (int col = 0; col < N1Cols; ++col)
        for (int row = 0; row < HeadingRows; ++row)
            if (!g.IsJoined(col, row) || (row == 0 && g.Cell(col, 1).empty()))
                g.SetColWidth(col, std::max(g.ColWidth(col), WidestWord(g.Measure(), g.Cell(col, row)) + 8));

    g.SetCell(NameCol, StartRow, "Start");
    g.SetCell(NameCol, Stage1Row, "Stage 1");
    g.SetCell(NameCol, Stage2Row, "Stage 2");
    g.SetCell(NameCol, Stage3Row, "Stage 3");

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
