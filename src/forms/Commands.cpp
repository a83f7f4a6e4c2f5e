// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

void TMainForm::actDataNewExec() {}
void TMainForm::actDataReadExec() {}
void TMainForm::actDataSaveExec() {}
void TMainForm::actCloseExec() {}
void TMainForm::ImportButtonClick() {}
void TMainForm::Button1Click() {}

} // namespace halvern
