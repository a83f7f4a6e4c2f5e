// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

void TMainForm::Initialise(bool DoVariables) { (void)DoVariables;}
void TMainForm::SetupFlowGrid() {}
void TMainForm::SetupCurrentGrid() {}
void TMainForm::SetupPRVGrid(TMarkStringGrid& grid) { (void)grid;}
void TMainForm::SetupCostSummaryGrid() {}
void TMainForm::MarkFlowGridRows() {}
std::string TMainForm::HourLabel(int row) const { (void)row; return {}; }
void TMainForm::ResetAllGridColours() {}
void TMainForm::NewProject() {}

} // namespace halvern
