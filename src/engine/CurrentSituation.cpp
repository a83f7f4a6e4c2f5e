// CalcCurrentSituation: the zone as measured. Reads the hourly inflow (m³/h) and the
// inlet, AZP and critical pressures (m) from the texts of FlowGrid, the elevations (masl)
// from their edits and the night flow components; writes CurrentGrid (head losses, and
// the inflow split into leakage and pressure-independent flow), the volume and check
// labels, and the values every PRV scenario builds on: the leakage and AZP pressure of
// the low-flow hour and each hour's head-loss coefficients.
#include "engine/CellNumber.h"
#include "engine/LeakageLaw.h"
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/CheckedMath.h"
#include "model/Messages.h"

#include <array>

namespace halvern {

namespace {
using namespace CurrentGridLayout;
namespace In = FlowGridLayout;
// The flow-time check looks for anything below this as the day's lowest inflow.
constexpr double NoMinimumYet = 100000;
// Population use (l/hd/d) outside these bounds is suspicious.
constexpr double LowPopulationUse = 20;
constexpr double HighPopulationUse = 250;

std::string Fixed52(double value) {
    return FormatFixed(value, 5, 2);
}
} // namespace

void TMainForm::CalcCurrentSituation() {
    CalcNightLoss();

    Project.InletElev = StrToFloat(InletElevEdit.Text());
    Project.AZPElev = StrToFloat(AZPElevEdit.Text());
    Project.TargetElev = StrToFloat(TargetElevEdit.Text());

    const std::string lowKey = TimeToStr(Project.LowFlowTime);
    const std::string highKey = TimeToStr(Project.HighFlowTime);

    // Each hour's inflow and AZP pressure as the table shows them, read once: the leakage
    // split, the volumes and the flow-time check all read them again.
    std::array<double, HoursPerDay> shownInflow{};
    std::array<double, HoursPerDay> shownAZP{};

    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        const int h = HourOfRow(p);
        const int flowRow = In::HourRow(h);
        CopyHourRow(CurrentGrid, h, lowKey, highKey);

        CurrentGrid.SetCell(InletCol, p, FlowGrid.Cell(In::InletCol, flowRow));
        CurrentGrid.SetCell(AZPCol, p, FlowGrid.Cell(In::AZPCol, flowRow));
        CurrentGrid.SetCell(CriticalCol, p, FlowGrid.Cell(In::CriticalCol, flowRow));

        const double inlet = CellNumber(FlowGrid.Cell(In::InletCol, flowRow));
        const double azp = CellNumber(FlowGrid.Cell(In::AZPCol, flowRow));
        shownAZP[static_cast<std::size_t>(h)] = azp;
        const double crit = CellNumber(FlowGrid.Cell(In::CriticalCol, flowRow));
        const double inletHead = Project.InletElev + inlet;
        CurrentGrid.SetCell(AZPHeadlossCol, p, Fixed52(inletHead - (Project.AZPElev + azp)));
        CurrentGrid.SetCell(CritHeadlossCol, p, Fixed52(inletHead - (Project.TargetElev + crit)));

        CurrentGrid.SetCell(TotalFlowCol, p, FlowGrid.Cell(In::InflowM3hCol, flowRow));

        // Head loss grows with the square of the inflow; the coefficients come from the
        // head losses as shown, so every scenario reproduces the table it reads.
        const double q = CellNumber(CurrentGrid.Cell(TotalFlowCol, p));
        shownInflow[static_cast<std::size_t>(h)] = q;
        const double q2 = Checked(q * q);
        if (q2 != 0) {
            Project.AZPHeadlossCoef[h] = FDiv(CellNumber(CurrentGrid.Cell(AZPHeadlossCol, p)), q2);
            Project.CritHeadlossCoef[h] = FDiv(CellNumber(CurrentGrid.Cell(CritHeadlossCol, p)), q2);
        }
    }

    // The low-flow hour is the reference: there everything above the pressure-independent
    // night flow is leakage.
    Project.NightLeakage = -1;
    Project.NightAZPPressure = 1;
    NightFlowWarningLabel.Caption.clear();
    for (int p = FirstHourRow; Project.NightLeakage == -1 && p <= LastHourRow; ++p) {
        if (HourKey(CurrentGrid.Cell(HourCol, p)) == lowKey) {
            const double nightInflow = shownInflow[static_cast<std::size_t>(HourOfRow(p))];
            Project.NightLeakage = nightInflow - Project.TotalNonPressureFlow;
            Project.NightAZPPressure = shownAZP[static_cast<std::size_t>(HourOfRow(p))];
            // Less inflow than the night use alone makes every hour's leakage negative,
            // and the valves would seem to raise the inflow: say where the fault lies. With
            // no AZP pressure in that hour no split is worked out, and there is nothing to say.
            if (Project.NightLeakage < 0 && Project.NightAZPPressure != 0)
                NightFlowWarningLabel.Caption = Msg::NightInflowBelowNightUse(
                    FormatFixed(nightInflow, 15, 2), FormatFixed(Project.TotalNonPressureFlow, 15, 2));
        }
    }
    if (Project.NightAZPPressure == 0) return;

    // Every hour's leakage follows the low-flow hour's, scaled by the AZP pressure to the
    // power N1; the rest of the inflow does not depend on pressure.
    const TLeakageLaw law = ProjectLeakageLaw(Project);
    double dep = 0;
    double indep = 0;
    double tot = 0;
    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        const double hourDep = law.At(shownAZP[static_cast<std::size_t>(HourOfRow(p))]);
        CurrentGrid.SetCell(DepFlowCol, p, Fixed52(hourDep));
        dep += hourDep;
        const double hourTot = shownInflow[static_cast<std::size_t>(HourOfRow(p))];
        tot += hourTot;
        CurrentGrid.SetCell(IndepFlowCol, p, Fixed52(hourTot - hourDep));
        indep += hourTot - hourDep;
    }

    CurrentDepLabel.Caption = Fixed52(dep);
    CurrentIndepLabel.Caption = Fixed52(indep);
    CurrentTotLabel.Caption = Fixed52(tot);
    // No leakage in the low-flow hour leaves the factor without meaning: 0 ÷ 0 stops here.
    DayNightLabel.Caption = Fixed52(FDiv(dep, Project.NightLeakage));

    // Population use: what the residents take of the pressure-independent volume.
    double use = indep - Project.DailyNonResidential;
    if (Project.Population == 0) return;
    use = use / Project.Population * 1000;
    ResidentialUseLabel.Caption = Fixed52(use);
    PopUseWarningLabel.Caption = Msg::PopulationUseNormal;
    if (use < LowPopulationUse) PopUseWarningLabel.Caption = Msg::PopulationUseLow;
    if (use > HighPopulationUse) PopUseWarningLabel.Caption = Msg::PopulationUseHigh;
    NonResidentialUseLabel.Caption = Fixed52(Project.DailyNonResidential);

    if (TimeWarnCheckBox.Checked || RefreshingProject) return;

    // Are the set low-flow and high-flow hours the hours of lowest and highest inflow?
    // The earliest of equal hours counts.
    double minFlow = NoMinimumYet;
    double maxFlow = 0;
    int minRow = FirstHourRow;
    int maxRow = FirstHourRow;
    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        const double q = shownInflow[static_cast<std::size_t>(HourOfRow(p))];
        if (q < minFlow) {
            minFlow = q;
            minRow = p;
        }
        if (q > maxFlow) {
            maxFlow = q;
            maxRow = p;
        }
    }
    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        const std::string key = HourKey(CurrentGrid.Cell(HourCol, p));
        const double q = shownInflow[static_cast<std::size_t>(HourOfRow(p))];
        // "Ignore" ticks the box that disables these warnings: the next one is not shown.
        if (key == lowKey && q != minFlow && !TimeWarnCheckBox.Checked) {
            const std::string text = Msg::LowFlowTimeNotActual(
                lowKey.substr(0, 5), CurrentGrid.Cell(HourCol, minRow).substr(0, 5));
            if (Dialogs.WarningOKIgnore(text) == TModalResult::Ignore) TimeWarnCheckBox.Checked = true;
        }
        if (key == highKey && q != maxFlow && !TimeWarnCheckBox.Checked) {
            const std::string text = Msg::HighFlowTimeNotActual(
                highKey.substr(0, 5), CurrentGrid.Cell(HourCol, maxRow).substr(0, 5));
            if (Dialogs.WarningOKIgnore(text) == TModalResult::Ignore) TimeWarnCheckBox.Checked = true;
        }
    }
    TimeWarnCheckBox.Enabled = true;
}

} // namespace halvern
