// The input collection: every input of the main window read into the project in one
// pass, in a fixed order, stopping at the first text that is not a number.
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"

#include <cfloat>
#include <cmath>
#include <optional>
#include <string>

namespace halvern {
namespace {

const char* const kCannotProceed = "\nCannot proceed with calculations.";

// A double-precision input: the field takes the parse result (0 when the text is not a
// number) and the caller learns whether it was one.
bool ReadNumber(const TEdit& edit, double& field) {
    const std::optional<double> value = ParseNumber(edit.Text());
    field = value.value_or(0.0);
    return value.has_value();
}

bool ReadWhole(const TEdit& edit, int32_t& field) {
    const std::optional<int32_t> value = ParseWhole(edit.Text());
    field = value.value_or(0);
    return value.has_value();
}

// The two time-modulation pressures are held in single precision; a value a single
// cannot hold is as unusable as a text that is not a number.
bool ReadSingle(const TEdit& edit, float& field) {
    const std::optional<float> value = ParseSingle(edit.Text());
    field = value.value_or(0.0f);
    return value.has_value();
}

bool ReadCell(const TMarkStringGrid& grid, int col, int row, double& field) {
    const std::optional<double> value = ParseNumber(grid.Cell(col, row));
    field = value.value_or(0.0);
    return value.has_value();
}

} // namespace

void TMainForm::GetTheData(bool& ErrorsFound) {
    ErrorsFound = true;
    const auto fail = [this](const std::string& what) { Dialogs.Error(what + kCannotProceed); };
    TProject& p = Project;

    // Zone description.
    if (!ReadNumber(MainsLengthEdit, p.MainsLength)) return fail("Mains length is invalid.");
    if (!ReadWhole(NumOfConnectEdit, p.NumOfConnect)) return fail("Number of connections are invalid.");
    if (!ReadWhole(NumOfServicedEdit, p.NumOfServiced))
        return fail("Number of serviced properties are invalid.");
    if (!ReadWhole(NumNonResidentialEdit, p.NumNonResidential))
        return fail("Number of Non-residential properties are invalid.");
    if (!ReadWhole(PopulationEdit, p.Population)) return fail("Population number is invalid.");
    if (!ReadNumber(MinPressureEdit, p.MinPressure)) return fail("Minimum peak demand pressure is invalid.");
    if (!ReadNumber(MinNightPressureEdit, p.MinNightPressure))
        return fail("Minimum night pressure is invalid.");
    if (!ReadNumber(InletElevEdit, p.InletElev)) return fail("Inlet elevation is invalid.");
    if (!ReadNumber(AZPElevEdit, p.AZPElev)) return fail("AZP elevation is invalid.");
    if (!ReadNumber(TargetElevEdit, p.TargetElev)) return fail("Target elevation is invalid.");

    // The low-flow and high-flow hours must be different hours; they are compared as
    // the times of day the pickers show.
    p.LowFlowTime = LowTimePicker.Time;
    p.HighFlowTime = HighTimePicker.Time;
    if (TimeToStr(p.LowFlowTime) == TimeToStr(p.HighFlowTime))
        return fail("High flow time and low flow time are the same.");
    p.DisableTimeWarnings = TimeWarnCheckBox.Checked;

    // Leakage rates and N1 (its range is the N1 edit's own check, not ours).
    if (!ReadNumber(MainsLossEdit, p.MainsLoss)) return fail("Mains losses are invalid.");
    if (!ReadNumber(ConnectPresEdit, p.ConnectPres)) return fail("Connection Pressures are invalid.");
    if (!ReadNumber(ConnectLossEdit, p.ConnectLoss)) return fail("Connection losses are invalid.");
    if (!ReadNumber(PropPressEdit, p.PropPress)) return fail("Property Pressures are invalid.");
    if (!ReadNumber(PropertyLossEdit, p.PropertyLoss)) return fail("Property losses are invalid.");
    if (!ReadNumber(DailyNonResidentialEdit, p.DailyNonResidential))
        return fail("Estimated total daily non-residential consumption are invalid.");
    if (!ReadNumber(N1Edit, p.N1)) return fail("N1 factor is invalid.");
    p.FlowUnitsM3h = m3hrRadio.Checked();

    // The hourly table: the inflow always from the m³/h column, whichever unit is typed.
    using namespace FlowGridLayout;
    for (int hour = 0; hour < HoursPerDay; ++hour) {
        const int row = HourRow(hour);
        const std::string& label = FlowGrid.Cell(HourCol, row);
        const auto failCell = [&](const char* prefix) { fail(prefix + label + " is invalid."); };
        if (!ReadCell(FlowGrid, InflowM3hCol, row, p.ZoneInflow[hour])) return failCell("Zone Inflow at interval ");
        if (!ReadCell(FlowGrid, InletCol, row, p.InletPressure[hour]))
            return failCell("Inlet pressure at interval ");
        if (!ReadCell(FlowGrid, AZPCol, row, p.AZPPressure[hour])) return failCell("AZP pressure at interval ");
        if (!ReadCell(FlowGrid, CriticalCol, row, p.CriticalPressure[hour]))
            return failCell("Critical pressure at interval ");
    }

    // Night use.
    if (!ReadNumber(DomesticNightEdit, p.DomesticNight)) return fail("Domestic night use is invalid.");
    if (!ReadNumber(PopActiveEdit, p.PopActive)) return fail("Active population is invalid.");
    if (!ReadNumber(NonDomMeterEdit, p.NonDomMeter)) return fail("Non domestic metered use is invalid.");
    if (!ReadNumber(NonDomUnmeterEdit, p.NonDomUnmeter))
        return fail("Non domestic unmetered use is invalid.");
    if (!ReadNumber(DailyNonResidentialEdit, p.DailyNonResidential))
        return fail("Daily non-residential use is invalid.");

    // PRV scenario settings.
    if (!ReadNumber(FixedPRVOutletEdit, p.FixedPRVOutlet))
        return fail("Fixed PRV Outlet Pressure is invalid.");
    if (!ReadSingle(HighPressureEdit, p.HighPressure))
        return fail("High pressure value for time modulated output is invalid.");
    if (!ReadSingle(LowPressureEdit, p.LowPressure))
        return fail("Low pressure value for time modulated output is invalid.");
    p.TimeStart1 = TimeStart1Picker.Time;
    p.TimeStop1 = TimeStop1Picker.Time;
    p.TimeStart2 = TimeStart2Picker.Time;
    p.TimeStop2 = TimeStop2Picker.Time;
    if (Interval2Radio.Checked()) p.Intervals = 2;
    if (Interval4Radio.Checked()) p.Intervals = 4;

    // Costs.
    if (!ReadNumber(InflowCostEdit, p.InflowCost)) return fail("Inflow cost is invalid.");
    if (!ReadNumber(ConsumpCostsEdit, p.ConsumpCosts)) return fail("Consumption cost is invalid.");
    if (!ReadNumber(ResConsumpChangeEdit, p.ResConsumpChange))
        return fail("Residential consumption change is invalid.");
    if (!ReadNumber(NonresConsumpChangeEdit, p.NonresConsumpChange))
        return fail("Non-residential consumption change is invalid.");

    ErrorsFound = false;
}

} // namespace halvern
