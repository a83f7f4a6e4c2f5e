// The main window's buttons that open the auxiliary windows.
#include "forms/MainForm.h"

namespace halvern {

// "Estimate": the N1 window stays open beside the main window.
void TMainForm::N1CalculationClick() {
    N1CalculationForm.Show();
}

// "Implementation Costs": the dialog holds the window until it is closed.
void TMainForm::ImpCostsButtonClick() {
    CostsForm.ShowModal();
}

} // namespace halvern
