// In progress: bodies are filled in by the work that owns this file.
#include "forms/MainForm.h"

namespace halvern {

void TMainForm::DoMainCalcs() {}
void TMainForm::RunAllOptions() {}
void TMainForm::CalcN1Edit() {}
void TMainForm::ZoneNameEditChange() {}
void TMainForm::ZoneRefEditChange() {}
void TMainForm::WaterSupplySystemEditChange() {}
void TMainForm::ReportNumEditChange() {}
void TMainForm::LowTimePickerChange(TTimePicker& picker) { (void)picker;}
void TMainForm::FixedPRVOutletEditChange() {}
void TMainForm::HighPressureEditChange() {}
void TMainForm::LowPressureEditChange() {}
void TMainForm::Interval2RadioClick() {}
void TMainForm::Interval4RadioClick() {}
void TMainForm::TimePRVGridSetEditText(int col, int row, const std::string& value) { (void)col; (void)row; (void)value;}
void TMainForm::LPFlowModChange() {}
void TMainForm::HPFlowModChange() {}
void TMainForm::InflowCostEditChange() {}
void TMainForm::ConsumpCostsEditChange() {}
void TMainForm::ResConsumpChangeEditChange() {}
void TMainForm::NonresConsumpChangeEditChange() {}
void TMainForm::CostFactorEditChange() {}
void TMainForm::edtConsumptionN1Change() {}
void TMainForm::CurrentSituationSheetShow() {}
void TMainForm::FixedOutletSheetShow() {}
void TMainForm::TimeModulatedSheetShow() {}
void TMainForm::FlowModulatedSheetShow() {}
void TMainForm::SummarySheetShow() {}

} // namespace halvern
