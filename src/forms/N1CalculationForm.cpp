// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

void TN1CalculationForm::Show() {}
void TN1CalculationForm::FormShow() {}
void TN1CalculationForm::GetNewN1() {}
void TN1CalculationForm::N1GridSetEditText(int col, int row, const std::string& value) { (void)col; (void)row; (void)value;}
void TN1CalculationForm::Close1Click() {}

} // namespace halvern
