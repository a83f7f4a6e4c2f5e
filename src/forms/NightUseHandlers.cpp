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

void TMainForm::LeadLossEditChange(const TLossRateRow& row) {
    if (HasText(row.LeadEdit)) row.Lead = StrToFloat(row.LeadEdit.Text());
    if (HasText(row.PartnerEdit))
        row.Total.Caption = RowTotalText(StrToFloat(row.PartnerEdit.Text()) + row.Lead);
    CalcNightLoss();
}

void TMainForm::PartnerLossEditChange(const TLossRateRow& row) {
    // The pressure-independent mains rate (Edit1) only feeds the row total; it is not stored.
    if (row.Partner == nullptr) {
        if (HasText(row.PartnerEdit))
            row.Total.Caption = RowTotalText(StrToFloat(row.PartnerEdit.Text()) + row.Lead);
        return;
    }
    if (HasText(row.LeadEdit)) row.Lead = StrToFloat(row.LeadEdit.Text());
    if (HasText(row.PartnerEdit)) *row.Partner = StrToFloat(row.PartnerEdit.Text());
    row.Total.Caption = RowTotalText(row.Lead + *row.Partner);
    CalcNightLoss();
}

} // namespace halvern
