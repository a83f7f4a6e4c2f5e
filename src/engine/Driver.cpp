// The analysis driver: the two composite runs. What runs when an input changes or a page is
// shown is decided by the window's handlers (forms/InputHandlers.cpp).
#include "forms/MainForm.h"

namespace halvern {

// ---- composite runs ------------------------------------------------------------------

void TMainForm::DoMainCalcs() {
    bool errorsFound = true;
    GetTheData(errorsFound);
    if (!errorsFound) CalcNightLoss();
}

void TMainForm::RunAllOptions() {
    // The current situation first: every PRV scenario reads its hourly results.
    CalcCurrentSituation();
    CalcFixedPRV();
    CalcTimePRV();
    N1CalculationForm.GetNewN1();
    CalcFlowPRV();
}

} // namespace halvern
