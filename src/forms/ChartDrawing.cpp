// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

void TMainForm::SetupCharts() {}
void TMainForm::DrawChart(TChart& chart, TMarkStringGrid& grid) { (void)chart; (void)grid;}
void TMainForm::GraphicalSheetShow() {}
void TMainForm::FixedGraphSheetShow() {}
void TMainForm::TimeGraphicalSheetShow() {}
void TMainForm::FlowGraphicalSheetShow() {}
void TMainForm::GraphOptionButtonClick() {}
void TMainForm::FullGraphOptionButtonClick() {}

} // namespace halvern
