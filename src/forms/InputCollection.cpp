// The input collection: every input of the main window read into the project in one
// pass, in a fixed order, stopping at the first text that is not a number. The order is
// one table of steps; each edit appears in it once.
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Messages.h"
#include "model/Numbers.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>

namespace halvern {
namespace {

// A number field of the record: the collection's doubles, the four counts, and the two
// time-modulation pressures held in single precision.
using TField = std::variant<double*, int32_t*, float*>;

// Reads an edit into its field: the field takes the parse result (0 when the text is not a
// number) and the caller learns whether it was one. A value a single cannot hold is as
// unusable as a text that is not a number.
bool Read(const TEdit& edit, const TField& field) {
    const std::string& text = edit.Text();
    return std::visit(
        [&text](auto* target) {
            using T = std::remove_pointer_t<decltype(target)>;
            std::optional<T> value;
            if constexpr (std::is_same_v<T, double>) value = ParseNumber(text);
            if constexpr (std::is_same_v<T, int32_t>) value = ParseWhole(text);
            if constexpr (std::is_same_v<T, float>) value = ParseSingle(text);
            *target = value.value_or(T{});
            return value.has_value();
        },
        field);
}

// One step of the collection: an edit read into its field, with the message for a text
// that is not a number; or, for the inputs that are no edit, a step of its own that gives
// the message of its failure, if any.
struct TInputStep {
    const TEdit* Edit = nullptr;
    TField Field{};
    const char* Message = nullptr;
    std::function<std::optional<std::string>()> Own{};
};

TInputStep Number(const TEdit& edit, TField field, const char* message) {
    return {&edit, field, message, {}};
}
TInputStep Own(std::function<std::optional<std::string>()> step) {
    return {nullptr, {}, nullptr, std::move(step)};
}

} // namespace

void TMainForm::GetTheData(bool& ErrorsFound) {
    ErrorsFound = true;
    TProject& p = Project;
    const auto ok = [] { return std::optional<std::string>(); };

    // The steps in the order the user meets their messages: a bad mains length hides a
    // bad inflow cell until it is mended.
    const TInputStep steps[] = {
        // Zone description.
        Number(MainsLengthEdit, &p.MainsLength, Msg::MainsLengthInvalid),
        Number(NumOfConnectEdit, &p.NumOfConnect, Msg::NumOfConnectInvalid),
        Number(NumOfServicedEdit, &p.NumOfServiced, Msg::NumOfServicedInvalid),
        Number(NumNonResidentialEdit, &p.NumNonResidential, Msg::NumNonResidentialInvalid),
        Number(PopulationEdit, &p.Population, Msg::PopulationInvalid),
        Number(MinPressureEdit, &p.MinPressure, Msg::MinPressureInvalid),
        Number(MinNightPressureEdit, &p.MinNightPressure, Msg::MinNightPressureInvalid),
        Number(InletElevEdit, &p.InletElev, Msg::InletElevInvalid),
        Number(AZPElevEdit, &p.AZPElev, Msg::AZPElevInvalid),
        Number(TargetElevEdit, &p.TargetElev, Msg::TargetElevInvalid),
        // The low-flow and high-flow hours must be different hours; they are compared as
        // the times of day the pickers show.
        Own([&] {
            p.LowFlowTime = LowTimePicker.Time;
            p.HighFlowTime = HighTimePicker.Time;
            if (TimeToStr(p.LowFlowTime) == TimeToStr(p.HighFlowTime))
                return std::optional<std::string>(Msg::FlowTimesSame);
            p.DisableTimeWarnings = TimeWarnCheckBox.Checked;
            return ok();
        }),
        // Leakage rates and N1 (its range is the N1 edit's own check, not ours).
        Number(MainsLossEdit, &p.MainsLoss, Msg::MainsLossInvalid),
        Number(ConnectPresEdit, &p.ConnectPres, Msg::ConnectPresInvalid),
        Number(ConnectLossEdit, &p.ConnectLoss, Msg::ConnectLossInvalid),
        Number(PropPressEdit, &p.PropPress, Msg::PropPressInvalid),
        Number(PropertyLossEdit, &p.PropertyLoss, Msg::PropertyLossInvalid),
        Number(DailyNonResidentialEdit, &p.DailyNonResidential, Msg::DailyNonResidentialInvalid),
        Number(N1Edit, &p.N1, Msg::N1Invalid),
        // The hourly table: the inflow always from the m³/h column, whichever unit is typed.
        Own([&] {
            p.FlowUnitsM3h = m3hrRadio.Checked();
            return ReadFlowGrid();
        }),
        // Night use.
        Number(DomesticNightEdit, &p.DomesticNight, Msg::DomesticNightInvalid),
        Number(PopActiveEdit, &p.PopActive, Msg::PopActiveInvalid),
        Number(NonDomMeterEdit, &p.NonDomMeter, Msg::NonDomMeterInvalid),
        Number(NonDomUnmeterEdit, &p.NonDomUnmeter, Msg::NonDomUnmeterInvalid),
        // PRV scenario settings.
        Number(FixedPRVOutletEdit, &p.FixedPRVOutlet, Msg::FixedPRVOutletInvalid),
        Number(HighPressureEdit, &p.HighPressure, Msg::HighPressureInvalid),
        Number(LowPressureEdit, &p.LowPressure, Msg::LowPressureInvalid),
        Own([&] {
            p.TimeStart1 = TimeStart1Picker.Time;
            p.TimeStop1 = TimeStop1Picker.Time;
            p.TimeStart2 = TimeStart2Picker.Time;
            p.TimeStop2 = TimeStop2Picker.Time;
            if (Interval2Radio.Checked()) p.Intervals = 2;
            if (Interval4Radio.Checked()) p.Intervals = 4;
            return ok();
        }),
        // Costs.
        Number(InflowCostEdit, &p.InflowCost, Msg::InflowCostInvalid),
        Number(ConsumpCostsEdit, &p.ConsumpCosts, Msg::ConsumpCostsInvalid),
        Number(ResConsumpChangeEdit, &p.ResConsumpChange, Msg::ResConsumpChangeInvalid),
        Number(NonresConsumpChangeEdit, &p.NonresConsumpChange, Msg::NonresConsumpChangeInvalid),
    };

    for (const TInputStep& step : steps) {
        std::optional<std::string> failure;
        if (step.Edit) {
            if (!Read(*step.Edit, step.Field)) failure = step.Message;
        } else {
            failure = step.Own();
        }
        if (failure) return Dialogs.Error(*failure + Msg::CannotProceed);
    }
    ErrorsFound = false;
}

std::optional<std::string> TMainForm::ReadFlowGrid() {
    using namespace FlowGridLayout;
    // Within each hour: inflow, inlet, AZP, critical.
    const struct {
        int Col;
        std::array<double, HoursPerDay> TProject::*Field;
        const char* Prefix;
    } cells[] = {{InflowM3hCol, &TProject::ZoneInflow, Msg::ZoneInflowAtInterval},
                 {InletCol, &TProject::InletPressure, Msg::InletPressureAtInterval},
                 {AZPCol, &TProject::AZPPressure, Msg::AZPPressureAtInterval},
                 {CriticalCol, &TProject::CriticalPressure, Msg::CriticalPressureAtInterval}};
    for (int hour = 0; hour < HoursPerDay; ++hour) {
        const int row = HourRow(hour);
        for (const auto& cell : cells) {
            const std::optional<double> value = ParseNumber(FlowGrid.Cell(cell.Col, row));
            (Project.*cell.Field)[hour] = value.value_or(0.0);
            if (!value) return Msg::CellInvalid(cell.Prefix, FlowGrid.Cell(HourCol, row));
        }
    }
    return std::nullopt;
}

} // namespace halvern
