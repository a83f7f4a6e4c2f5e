// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

void TMainForm::CalcNightLoss() {}
void TMainForm::NightUseEditChange(TEdit& edit, double& field) { (void)edit; (void)field;}
void TMainForm::NumNonResidentialEditChange() {}
void TMainForm::MainsLossEditChange() {}
void TMainForm::Edit1Change() {}
void TMainForm::ConnectLossEditChange() {}
void TMainForm::ConnectPresEditChange() {}
void TMainForm::PropertyLossEditChange() {}
void TMainForm::PropPressEditChange() {}

} // namespace halvern
