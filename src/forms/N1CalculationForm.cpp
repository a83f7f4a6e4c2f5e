// The "N1 Calculation" window: estimates the zone's leakage exponent from a night step
// test. Each stage lowers the AZP pressure; the leakage (inflow less the night
// consumption) falls with it, and every pair of stages gives one N1 as the ratio of the
// logarithms of the leakage and pressure ratios. The estimate is only shown; the
// project's N1 is what the user types on the main window.
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/CheckedMath.h"
#include "model/Numbers.h"

#include <cmath>
#include <optional>

namespace halvern {

namespace {

using namespace N1GridLayout;
// FirstN1Col holds the N1 from a stage and the stage one before it; +1, +2 further back.

std::optional<double> CellValue(const TMarkStringGrid& grid, int col, int row) {
    return ParseNumber(grid.Cell(col, row));
}

bool IsUsableRatio(double ratio) {
    return std::isfinite(ratio) && ratio > 0;
}

} // namespace

void TN1CalculationForm::Show() {
    Visible = true;
    FormShow();
    if (OnShowRequest) OnShowRequest();
}

void TN1CalculationForm::FormShow() {
    CurrentN1Label.Caption = FormatGeneral(MainForm.Project.N1);
    SetupN1Grid();
    N1Grid.OnSetEditText = [this](int col, int row, const std::string& value) {
        N1GridSetEditText(col, row, value);
    };
    N1Grid.OnKeyPress = [this](char& key) {
        if (key != '\r') return;
        N1Grid.MoveOnEnter(FirstStageRow);
        key = 0;
    };
    GetNewN1();
}

void TN1CalculationForm::GetNewN1() {
    // An estimate stands only while its measurements do: what the stages no longer give
    // goes, rather than staying beside measurements that did not give it.
    for (int col = FirstN1Col; col <= AverageN1Col; ++col)
        for (int row = FirstStageRow; row <= LastStageRow; ++row)
            N1Grid.SetCell(col, row, "");
    N1Label.Caption.clear();

    // Distribution losses of every stage: what flows in beyond the night consumption.
    for (int row = FirstStageRow; row <= LastStageRow; ++row) {
        const double inflow = CellValue(N1Grid, InflowCol, row).value_or(0.0);
        const double nightUse = CellValue(N1Grid, NightConsumptionCol, row).value_or(0.0);
        N1Grid.SetCell(LossesCol, row, FormatFixed(inflow - nightUse, 5, 2));
    }

    // Every pair of stages, nearest first. A pair that cannot be evaluated ends the
    // estimate: the later pairs would only repeat the fault.
    for (int lag = 1; lag <= LastStageRow - FirstStageRow; ++lag) {
        for (int row = FirstStageRow; row + lag <= LastStageRow; ++row) {
            const auto lossBefore = CellValue(N1Grid, LossesCol, row);
            const auto lossAfter = CellValue(N1Grid, LossesCol, row + lag);
            const auto pressureBefore = CellValue(N1Grid, AZPCol, row);
            const auto pressureAfter = CellValue(N1Grid, AZPCol, row + lag);
            if (!lossBefore || !lossAfter || !pressureBefore || !pressureAfter) return;
            if (*lossBefore <= 0 || *lossAfter <= 0 || *pressureBefore <= 0 || *pressureAfter <= 0) return;
            const double pressureRatio = *pressureBefore / *pressureAfter;
            const double lossRatio = *lossBefore / *lossAfter;
            // Ratios beyond what a number can hold are as unusable as equal pressures.
            if (!IsUsableRatio(pressureRatio) || !IsUsableRatio(lossRatio)) return;
            const double pressureLog = std::log(pressureRatio);
            if (pressureLog == 0) return;
            const double n1 = Checked(std::log(lossRatio) / pressureLog);
            N1Grid.SetCell(FirstN1Col + lag - 1, row + lag, FormatFixed(n1, 5, 2));
        }
    }

    // Averages over one, three and six values as the stages add up.
    N1Grid.SetCell(AverageN1Col, Stage1Row, N1Grid.Cell(FirstN1Col, Stage1Row));
    N1Label.Caption = N1Grid.Cell(AverageN1Col, Stage1Row);

    const auto a = CellValue(N1Grid, FirstN1Col, Stage1Row);
    const auto b = CellValue(N1Grid, FirstN1Col, Stage2Row);
    const auto c = CellValue(N1Grid, FirstN1Col + 1, Stage2Row);
    if (!a || !b || !c) return;
    N1Grid.SetCell(AverageN1Col, Stage2Row, FormatFixed((*a + *b + *c) / 3, 5, 2));
    N1Label.Caption = N1Grid.Cell(AverageN1Col, Stage2Row);

    const auto d = CellValue(N1Grid, FirstN1Col, Stage3Row);
    const auto e = CellValue(N1Grid, FirstN1Col + 1, Stage3Row);
    const auto f = CellValue(N1Grid, FirstN1Col + 2, Stage3Row);
    if (!d || !e || !f) return;
    N1Grid.SetCell(AverageN1Col, Stage3Row, FormatFixed((*a + *b + *c + *d + *e + *f) / 6, 5, 2));
    N1Label.Caption = N1Grid.Cell(AverageN1Col, Stage3Row);
}

void TN1CalculationForm::N1GridSetEditText(int col, int row, const std::string& value) {
    (void)col;
    (void)row;
    (void)value;
    GetNewN1();
}

void TN1CalculationForm::Close1Click() {
    Visible = false;
    if (OnCloseRequest) OnCloseRequest();
}

} // namespace halvern
