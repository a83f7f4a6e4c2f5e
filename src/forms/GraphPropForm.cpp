// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

TGraphPropForm::TGraphPropForm(TMainForm& main) : TAuxForm("Graph Properties"), MainForm(main) { (void)main;}
void TGraphPropForm::ShowModal() {}
void TGraphPropForm::FormActivate() {}
void TGraphPropForm::BitBtn1Click() {}
void TGraphPropForm::Close() {}

} // namespace halvern
