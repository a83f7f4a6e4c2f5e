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

void TMainForm::MainsLossEditChange() {
    if (HasText(MainsLossEdit)) Project.MainsLoss = StrToFloat(MainsLossEdit.Text());
    if (HasText(Edit1))
        TotMainsLossLabel.Caption = RowTotalText(StrToFloat(Edit1.Text()) + Project.MainsLoss);
    CalcNightLoss();
}

// The pressure-independent mains rate only feeds the row total; it is not stored.
void TMainForm::Edit1Change() {
    if (HasText(Edit1))
        TotMainsLossLabel.Caption = RowTotalText(StrToFloat(Edit1.Text()) + Project.MainsLoss);
}

void TMainForm::ConnectLossEditChange() {
    if (HasText(ConnectLossEdit)) Project.ConnectLoss = StrToFloat(ConnectLossEdit.Text());
    if (HasText(ConnectPresEdit))
        TotConnectLossLabel.Caption = RowTotalText(StrToFloat(ConnectPresEdit.Text()) + Project.ConnectLoss);
    CalcNightLoss();
}

void TMainForm::ConnectPresEditChange() {
    if (HasText(ConnectLossEdit)) Project.ConnectLoss = StrToFloat(ConnectLossEdit.Text());
    if (HasText(ConnectPresEdit)) Project.ConnectPres = StrToFloat(ConnectPresEdit.Text());
    TotConnectLossLabel.Caption = RowTotalText(Project.ConnectLoss + Project.ConnectPres);
    CalcNightLoss();
}

void TMainForm::PropertyLossEditChange() {
    if (HasText(PropertyLossEdit)) Project.PropertyLoss = StrToFloat(PropertyLossEdit.Text());
    if (HasText(PropPressEdit))
        TotPropLossLabel.Caption = RowTotalText(StrToFloat(PropPressEdit.Text()) + Project.PropertyLoss);
    CalcNightLoss();
}

void TMainForm::PropPressEditChange() {
    if (HasText(PropertyLossEdit)) Project.PropertyLoss = StrToFloat(PropertyLossEdit.Text());
    if (HasText(PropPressEdit)) Project.PropPress = StrToFloat(PropPressEdit.Text());
    TotPropLossLabel.Caption = RowTotalText(Project.PropertyLoss + Project.PropPress);
    CalcNightLoss();
}

} // namespace halvern
