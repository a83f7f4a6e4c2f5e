// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

TCostsForm::TCostsForm(TMainForm& main) : TAuxForm("Implementation Costs"), MainForm(main) { (void)main;}
void TCostsForm::ShowModal() {}
void TCostsForm::FormActivate() {}
void TCostsForm::UpdateGrid() {}
void TCostsForm::FixedCostGridSetEditText(int col, int row, const std::string& value) { (void)col; (void)row; (void)value;}
void TCostsForm::Button1Click() {}
void TCostsForm::Close() {}
void TCostsForm::FormClose() {}
void TCostsForm::SetupCostGrids() {}

} // namespace halvern
