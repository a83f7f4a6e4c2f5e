// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

void TMainForm::CheckNumberEdit(TEdit& edit, char& key) { (void)edit; (void)key;}
void TMainForm::FlowGridSetEditText(int col, int row, const std::string& value) { (void)col; (void)row; (void)value;}
void TMainForm::UpdateFlowGrid() {}
void TMainForm::m3hrRadioClick() {}
void TMainForm::lsRadioClick() {}
void TMainForm::GridEnterKey(TMarkStringGrid& grid, char& key, int firstHourRow) { (void)grid; (void)key; (void)firstHourRow;}
void TMainForm::FlowPRVGridKeyPress(char& key) { (void)key;}

} // namespace halvern
