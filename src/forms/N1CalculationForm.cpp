// The "N1 Calculation" window: the night step test typed into its table, and the leakage
// exponent it gives (worked out by EstimateN1). The estimate is only shown; the project's
// N1 is what the user types on the main window.
#include "engine/N1Estimate.h"
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"

namespace halvern {

using namespace N1GridLayout;
static_assert(LastStageRow - FirstStageRow + 1 == N1Stages, "one table row per stage of the test");

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
    TN1StepTest test;
    for (int stage = 0; stage < N1Stages; ++stage) {
        const int row = FirstStageRow + stage;
        test.Inflow[static_cast<std::size_t>(stage)] = N1Grid.Cell(InflowCol, row);
        test.NightUse[static_cast<std::size_t>(stage)] = N1Grid.Cell(NightConsumptionCol, row);
        test.AZP[static_cast<std::size_t>(stage)] = N1Grid.Cell(AZPCol, row);
    }
    const TN1Estimate estimate = EstimateN1(test);
    for (int stage = 0; stage < N1Stages; ++stage) {
        const int row = FirstStageRow + stage;
        const auto i = static_cast<std::size_t>(stage);
        N1Grid.SetCell(LossesCol, row, estimate.Losses[i]);
        for (std::size_t lag = 0; lag < estimate.PairN1.size(); ++lag)
            N1Grid.SetCell(FirstN1Col + static_cast<int>(lag), row, estimate.PairN1[lag][i]);
        N1Grid.SetCell(AverageN1Col, row, estimate.Average[i]);
    }
    N1Label.Caption = estimate.N1;
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
