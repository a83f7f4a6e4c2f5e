// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

void TMainForm::N1CalculationClick() {}
void TMainForm::ImpCostsButtonClick() {}

} // namespace halvern
