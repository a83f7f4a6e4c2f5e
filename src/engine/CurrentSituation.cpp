// CalcCurrentSituation: the zone as measured. Reads the hourly inflow (m³/h) and the
// inlet, AZP and critical pressures (m) from the texts of FlowGrid, the elevations (masl)
// from their edits and the night flow components; writes CurrentGrid (head losses, and
// the inflow split into leakage and pressure-independent flow), the volume and check
// labels, and the values every PRV scenario builds on: the leakage and AZP pressure of
// the low-flow hour and each hour's head-loss coefficients.
#include "engine/LeakageLaw.h"
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/CheckedMath.h"
#include "model/Messages.h"
#include "model/TextNumbers.h"

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

namespace {

// Each hour's inflow (m³/h) and AZP pressure (m) as the table shows them, read once: the
// leakage split, the volumes and the flow-time check all read them again.
struct TShownHours {
    std::array<double, HoursPerDay> Inflow{};
    std::array<double, HoursPerDay> AZP{};
};

// The hour rows: the measured pressures, the head losses from the inlet to the AZP and to
// the critical point, and the head-loss coefficients every scenario scales by.
TShownHours CopyMeasuredHours(TMainForm& form, const std::string& lowKey, const std::string& highKey) {
    TProject& project = form.Project;
    TMarkStringGrid& grid = form.CurrentGrid;
    const TMarkStringGrid& flowGrid = form.FlowGrid;
    TShownHours shown;
    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        const int h = HourOfRow(p);
        const int flowRow = In::HourRow(h);
        form.CopyHourRow(grid, h, lowKey, highKey);

        grid.SetCell(InletCol, p, flowGrid.Cell(In::InletCol, flowRow));
        grid.SetCell(AZPCol, p, flowGrid.Cell(In::AZPCol, flowRow));
        grid.SetCell(CriticalCol, p, flowGrid.Cell(In::CriticalCol, flowRow));

        const double inlet = CellNumber(flowGrid.Cell(In::InletCol, flowRow));
        const double azp = CellNumber(flowGrid.Cell(In::AZPCol, flowRow));
        shown.AZP[static_cast<std::size_t>(h)] = azp;
        const double crit = CellNumber(flowGrid.Cell(In::CriticalCol, flowRow));
        const double inletHead = project.InletElev + inlet;
        grid.SetCell(AZPHeadlossCol, p, Fixed52(inletHead - (project.AZPElev + azp)));
        grid.SetCell(CritHeadlossCol, p, Fixed52(inletHead - (project.TargetElev + crit)));

        grid.SetCell(TotalFlowCol, p, flowGrid.Cell(In::InflowM3hCol, flowRow));

        // Head loss grows with the square of the inflow; the coefficients come from the
        // head losses as shown, so every scenario reproduces the table it reads.
        const double q = CellNumber(grid.Cell(TotalFlowCol, p));
        shown.Inflow[static_cast<std::size_t>(h)] = q;
        const double q2 = Checked(q * q);
        if (q2 != 0) {
            project.AZPHeadlossCoef[h] = FDiv(CellNumber(grid.Cell(AZPHeadlossCol, p)), q2);
            project.CritHeadlossCoef[h] = FDiv(CellNumber(grid.Cell(CritHeadlossCol, p)), q2);
        }
    }
    return shown;
}

// The low-flow hour is the reference: there everything above the pressure-independent
// night flow is leakage.
void FindNightReference(TMainForm& form, const TShownHours& shown, const std::string& lowKey) {
    TProject& project = form.Project;
    project.NightLeakage = -1;
    project.NightAZPPressure = 1;
    form.NightFlowWarningLabel.Caption.clear();
    for (int p = FirstHourRow; project.NightLeakage == -1 && p <= LastHourRow; ++p) {
        if (HourKey(form.CurrentGrid.Cell(HourCol, p)) != lowKey) continue;
        const double nightInflow = shown.Inflow[static_cast<std::size_t>(HourOfRow(p))];
        project.NightLeakage = nightInflow - project.TotalNonPressureFlow;
        project.NightAZPPressure = shown.AZP[static_cast<std::size_t>(HourOfRow(p))];
        // Less inflow than the night use alone makes every hour's leakage negative, and
        // the valves would seem to raise the inflow: say where the fault lies. With no AZP
        // pressure in that hour no split is worked out, and there is nothing to say.
        if (project.NightLeakage < 0 && project.NightAZPPressure != 0)
            form.NightFlowWarningLabel.Caption = Msg::NightInflowBelowNightUse(
                FormatFixed(nightInflow, 15, 2), FormatFixed(project.TotalNonPressureFlow, 15, 2));
    }
}

// Every hour's leakage follows the low-flow hour's, scaled by the AZP pressure to the power
// N1; the rest of the inflow does not depend on pressure. Writes the split and the day's
// volumes; gives the day's pressure-independent volume (m³).
double SplitInflow(TMainForm& form, const TShownHours& shown) {
    const TLeakageLaw law = ProjectLeakageLaw(form.Project);
    double dep = 0;
    double indep = 0;
    double tot = 0;
    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        const auto h = static_cast<std::size_t>(HourOfRow(p));
        const double hourDep = law.At(shown.AZP[h]);
        form.CurrentGrid.SetCell(DepFlowCol, p, Fixed52(hourDep));
        dep += hourDep;
        const double hourTot = shown.Inflow[h];
        tot += hourTot;
        form.CurrentGrid.SetCell(IndepFlowCol, p, Fixed52(hourTot - hourDep));
        indep += hourTot - hourDep;
    }
    form.CurrentDepLabel.Caption = Fixed52(dep);
    form.CurrentIndepLabel.Caption = Fixed52(indep);
    form.CurrentTotLabel.Caption = Fixed52(tot);
    form.DayNightLabel.Caption =
        Fixed52(DayNightFactor(dep, form.Project.NightLeakage, ENoNightLeakage::Stops));
    return indep;
}

// Population use: what the residents take of the pressure-independent volume (l/hd/d).
// False where the zone has no population to judge.
bool CheckPopulationUse(TMainForm& form, double dailyIndep) {
    const TProject& project = form.Project;
    if (project.Population == 0) return false;
    const double use = (dailyIndep - project.DailyNonResidential) / project.Population * 1000;
    form.ResidentialUseLabel.Caption = Fixed52(use);
    form.PopUseWarningLabel.Caption = Msg::PopulationUseNormal;
    if (use < LowPopulationUse) form.PopUseWarningLabel.Caption = Msg::PopulationUseLow;
    if (use > HighPopulationUse) form.PopUseWarningLabel.Caption = Msg::PopulationUseHigh;
    form.NonResidentialUseLabel.Caption = Fixed52(project.DailyNonResidential);
    return true;
}

// Are the set low-flow and high-flow hours the hours of lowest and highest inflow? The
// earliest of equal hours counts. What is found is recorded for the window to show once
// the calculation has ended.
void CheckFlowTimes(TMainForm& form, const TShownHours& shown, const std::string& lowKey,
                    const std::string& highKey) {
    double minFlow = NoMinimumYet;
    double maxFlow = 0;
    int minRow = FirstHourRow;
    int maxRow = FirstHourRow;
    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        const double q = shown.Inflow[static_cast<std::size_t>(HourOfRow(p))];
        if (q < minFlow) {
            minFlow = q;
            minRow = p;
        }
        if (q > maxFlow) {
            maxFlow = q;
            maxRow = p;
        }
    }
    const TMarkStringGrid& grid = form.CurrentGrid;
    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        const std::string key = HourKey(grid.Cell(HourCol, p));
        const double q = shown.Inflow[static_cast<std::size_t>(HourOfRow(p))];
        if (key == lowKey && q != minFlow)
            form.RecordFlowTimeWarning(
                Msg::LowFlowTimeNotActual(lowKey.substr(0, 5), grid.Cell(HourCol, minRow).substr(0, 5)));
        if (key == highKey && q != maxFlow)
            form.RecordFlowTimeWarning(
                Msg::HighFlowTimeNotActual(highKey.substr(0, 5), grid.Cell(HourCol, maxRow).substr(0, 5)));
    }
}

} // namespace

void TMainForm::CalcCurrentSituation() {
    CalcNightLoss();
    Project.InletElev = StrToFloat(InletElevEdit.Text());
    Project.AZPElev = StrToFloat(AZPElevEdit.Text());
    Project.TargetElev = StrToFloat(TargetElevEdit.Text());
    const std::string lowKey = TimeToStr(Project.LowFlowTime);
    const std::string highKey = TimeToStr(Project.HighFlowTime);

    const TShownHours shown = CopyMeasuredHours(*this, lowKey, highKey);
    FindNightReference(*this, shown, lowKey);
    if (Project.NightAZPPressure == 0) return;
    const double dailyIndep = SplitInflow(*this, shown);
    if (!CheckPopulationUse(*this, dailyIndep)) return;
    if (TimeWarnCheckBox.Checked || RefreshingProject) return;
    CheckFlowTimes(*this, shown, lowKey, highKey);
    TimeWarnCheckBox.Enabled = true;
}

} // namespace halvern
