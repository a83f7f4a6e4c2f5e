// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

TN1CalculationForm::TN1CalculationForm(TMainForm& main) : TAuxForm("N1 Calculation"), MainForm(main) {}
void TN1CalculationForm::SetupN1Grid() {}

} // namespace halvern
