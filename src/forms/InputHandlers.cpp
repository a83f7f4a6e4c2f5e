// The main window's handlers that decide what is recalculated when an input of the
// General Info, result or Summary pages changes, or when a result page is shown.
#include "forms/MainForm.h"
#include "model/Errors.h"
#include "model/Messages.h"
#include "model/Numbers.h"
#include "model/TextNumbers.h"

#include <exception>
#include <optional>
#include <string>

namespace halvern {
namespace {

// The N1 range a leakage exponent must fall in to be used.
constexpr double kMinN1 = 0.5;
constexpr double kMaxN1 = 2.5;

// A picked time moved onto the table's interval grid: the start of its hour when an
// interval is one hour, otherwise the nearest quarter hour within the same hour (minutes
// from 52 on fall back to the hour's start rather than moving to the next hour).
std::string SnappedTimeText(const std::string& timeText, const std::string& intervalText) {
    const std::string hour = timeText.substr(0, 3); // "hh:"
    if (intervalText == "01:00:00") return hour + "00:00";
    const std::string minutes = timeText.substr(3, 2);
    std::string quarter;
    if (minutes < "08" || minutes >= "52")
        quarter = "00";
    else if (minutes < "22")
        quarter = "15";
    else if (minutes < "37")
        quarter = "30";
    else
        quarter = "45";
    return hour + quarter + ":00";
}

} // namespace

// ---- General Info and Default Parameters ---------------------------------------------

void TMainForm::CalcN1Edit() {
    const std::string& text = N1Edit.Text();
    double value = 0;
    try {
        value = StrToFloat(text);
    } catch (const EConvertError&) {
        // Not a number at all: back to the neutral exponent without a word.
        N1Edit.SetText("1.0");
        return;
    }
    if (value >= kMinN1 && value <= kMaxN1) {
        Project.N1 = value;
        return;
    }
    // "0" and "0." are on the way to 0.5 and more; leave the user typing.
    if (text == "0" || text == "0.") return;
    Dialogs.Error(Msg::N1OutOfRange);
    N1Edit.SetText("1.0");
}

void TMainForm::ZoneNameEditChange() {
    Project.ZoneName = ZoneNameEdit.Text();
}
void TMainForm::ZoneRefEditChange() {
    Project.ZoneRef = ZoneRefEdit.Text();
}
void TMainForm::WaterSupplySystemEditChange() {
    Project.WaterSupplySystem = WaterSupplySystemEdit.Text();
}
void TMainForm::ReportNumEditChange() {
    Project.ReportNum = ReportNumEdit.Text();
}

void TMainForm::LowTimePickerChange(TTimePicker& picker) {
    // Times only make sense on the hourly table's grid: snap before anything reads them.
    const std::string snapped = SnappedTimeText(TimeToStr(picker.Time), TimeToStr(Project.IntervalLength));
    if (const std::optional<double> time = StrToTime(snapped)) picker.Time = *time;

    // The new time is the project's before anything is marked or calculated with it, so the
    // time-modulated table marks the hour now set and not the one before it.
    if (&picker == &LowTimePicker) Project.LowFlowTime = picker.Time;
    if (&picker == &HighTimePicker) Project.HighFlowTime = picker.Time;
    // The low-flow and high-flow row marks of every table are now stale; the input table's
    // follow at once, each result table's when it is next calculated.
    ResetAllGridColours();
    MarkFlowGridRows();
    TimeModulatedSheet.Highlighted = true;
    Calculate(TAnalysisScenario::TimeModulated);
}

// ---- Fixed Outlet and Time Modulated ---------------------------------------------------

void TMainForm::FixedPRVOutletEditChange() {
    const std::optional<double> value = ParseNumber(FixedPRVOutletEdit.Text());
    Project.FixedPRVOutlet = value.value_or(0.0);
    if (!value) {
        Dialogs.Error(Msg::FixedPRVOutletEntryInvalid);
        return;
    }
    Calculate(TAnalysisScenario::FixedOutlet);
}

void TMainForm::TimePressureEditChange(TEdit& edit, float& field, const char* invalidMessage) {
    const std::optional<float> value = ParseSingle(edit.Text());
    field = value.value_or(0.0f);
    if (!value) {
        Dialogs.Error(invalidMessage);
        return;
    }
    Calculate(TAnalysisScenario::TimeModulated);
}

void TMainForm::Interval2RadioClick() {
    // The first window is always in use once an interval mode is chosen, also when the
    // choice leaves hourly mode, which had hidden it.
    TimeStart1Picker.Visible = TimeStop1Picker.Visible = true;
    TimeStart2Picker.Visible = TimeStop2Picker.Visible = SecondSetLabel.Visible = false;
    TimePRVGrid.Options &= ~static_cast<uint32_t>(goEditing);
    Project.Intervals = 2;
    Calculate(TAnalysisScenario::TimeModulated);
}

void TMainForm::Interval4RadioClick() {
    TimeStart1Picker.Visible = TimeStop1Picker.Visible = true;
    TimeStart2Picker.Visible = TimeStop2Picker.Visible = SecondSetLabel.Visible = true;
    TimePRVGrid.Options &= ~static_cast<uint32_t>(goEditing);
    Project.Intervals = 4;
    Calculate(TAnalysisScenario::TimeModulated);
}

void TMainForm::TimePRVGridSetEditText(int col, int row, const std::string& value) {
    (void)col;
    (void)row;
    (void)value;
    Calculate(TAnalysisScenario::TimeModulated);
}

// ---- Flow Modulated ----------------------------------------------------------------------

void TMainForm::LPFlowModChange() {
    Project.LPFlowMod = StrToFloat(LPFlowMod.Text());
    Calculate(TAnalysisScenario::CurrentSituation);
    Calculate(TAnalysisScenario::FlowModulated);
}

void TMainForm::HPFlowModChange() {
    Project.HPFlowMod = StrToFloat(HPFlowMod.Text());
    Calculate(TAnalysisScenario::CurrentSituation);
    Calculate(TAnalysisScenario::FlowModulated);
}

// ---- Summary -----------------------------------------------------------------------------
// The key filter keeps most bad texts out of the cost edits; what still does not read
// (an emptied edit) counts as 0 without a message.

void TMainForm::CostEditChange(const TEdit& edit, double& field) {
    field = CellNumber(edit.Text());
    GetTheCosts();
}

void TMainForm::CostFactorEditChange() {
    Project.CostFactor = ParseWhole(CostFactorEdit.Text()).value_or(0);
    GetTheCosts();
}

void TMainForm::edtConsumptionN1Change() {
    GetTheCosts();
}

// ---- result pages ----------------------------------------------------------------------

void TMainForm::CurrentSituationSheetShow() {
    CurrentSituationSheet.Highlighted = true;
    Calculate(TAnalysisScenario::CurrentSituation);
}

void TMainForm::FixedOutletSheetShow() {
    FixedOutletSheet.Highlighted = true;
    Calculate(TAnalysisScenario::FixedOutlet);
}

void TMainForm::TimeModulatedSheetShow() {
    TimeModulatedSheet.Highlighted = true;
    Calculate(TAnalysisScenario::TimeModulated);
}

void TMainForm::FlowModulatedSheetShow() {
    FlowModulatedSheet.Highlighted = true;
    Calculate(TAnalysisScenario::CurrentSituation);
    Calculate(TAnalysisScenario::FlowModulated);
}

void TMainForm::SummarySheetShow() {
    if (const std::exception_ptr stopped = RunAllOptionsAndCosts()) std::rethrow_exception(stopped);
    SummarySheet.Highlighted = true;
    // The bottom heading row carries two-line captions.
    CostSummaryGrid.SetRowHeight(2, 2 * CostSummaryGrid.RowHeight(0));
    Focus("CostSummaryGrid");
}

std::exception_ptr TMainForm::RunAllOptionsAndCosts() {
    try {
        RunAllOptions();
    } catch (...) {
        // The scenario that stopped is recorded (ScenarioFailure); what could be calculated
        // is costed, and the rows of the rest say they could not be.
        const std::exception_ptr stopped = std::current_exception();
        try {
            GetTheCosts();
        } catch (...) {
            MarkUncalculatedCostRows();
        }
        return stopped;
    }
    GetTheCosts();
    return nullptr;
}

} // namespace halvern
