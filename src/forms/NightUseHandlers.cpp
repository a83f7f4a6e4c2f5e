// The Default Parameters page's change handlers: they keep the record in step with the
// leakage-rate and night-use edits, show the total of each loss-rate row and recompute the
// night flow components.
#include "forms/MainForm.h"
#include "model/CheckedMath.h"
#include "model/Numbers.h"

namespace halvern {
namespace {

bool HasText(const TEdit& edit) {
    return !Trim(edit.Text()).empty();
}

// The total of one loss-rate row (l/…/hr) as its label shows it.
std::string RowTotalText(double total) {
    return FormatFixed(Checked(total), 8, 2);
}

} // namespace

// Cistern capacity, % active, non-residential and exceptional night use. A blank edit
// (the user clearing it to retype) keeps the previous value.
void TMainForm::NightUseEditChange(TEdit& edit, double& field) {
    if (HasText(edit)) field = StrToFloat(edit.Text());
    CalcNightLoss();
}

void TMainForm::NumNonResidentialEditChange() {
    if (HasText(NumNonResidentialEdit)) Project.NumNonResidential = StrToInt(NumNonResidentialEdit.Text());
    CalcNightLoss();
}

TMainForm::TLossRateRow TMainForm::MainsLossRow() {
    return {MainsLossEdit, Project.MainsLoss, Edit1, nullptr, TotMainsLossLabel};
}
TMainForm::TLossRateRow TMainForm::ConnectionLossRow() {
    return {ConnectLossEdit, Project.ConnectLoss, ConnectPresEdit, &Project.ConnectPres, TotConnectLossLabel};
}
TMainForm::TLossRateRow TMainForm::PropertyLossRow() {
    return {PropertyLossEdit, Project.PropertyLoss, PropPressEdit, &Project.PropPress, TotPropLossLabel};
}

void TMainForm::DependentLossEditChange(const TLossRateRow& row) {
    if (HasText(row.DependentEdit)) row.Dependent = StrToFloat(row.DependentEdit.Text());
    if (HasText(row.IndependentEdit))
        row.Total.Caption = RowTotalText(StrToFloat(row.IndependentEdit.Text()) + row.Dependent);
    CalcNightLoss();
}

void TMainForm::IndependentLossEditChange(const TLossRateRow& row) {
    // The pressure-independent mains rate only feeds the row total; it is not stored.
    if (row.Independent == nullptr) {
        if (HasText(row.IndependentEdit))
            row.Total.Caption = RowTotalText(StrToFloat(row.IndependentEdit.Text()) + row.Dependent);
        return;
    }
    if (HasText(row.DependentEdit)) row.Dependent = StrToFloat(row.DependentEdit.Text());
    if (HasText(row.IndependentEdit)) *row.Independent = StrToFloat(row.IndependentEdit.Text());
    row.Total.Caption = RowTotalText(row.Dependent + *row.Independent);
    CalcNightLoss();
}

} // namespace halvern
