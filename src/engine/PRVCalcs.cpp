// DoPRVCalcs: the hourly hydraulics shared by the fixed-outlet and time-modulated PRV
// scenarios. Reads, per hour of the scenario table, the inlet, PRV outlet and current AZP
// pressures, together with the current situation's AZP head loss and pressure-independent
// flow and its derived leakage reference and head-loss coefficients. Writes the scenario's
// AZP and critical pressures (m), head losses (m) and flows (m³/h) and returns the daily
// volumes (m³), the day/night factor and the low-pressure flag.
#include "engine/AZPSolver.h"
#include "engine/ValveOpen.h"
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/CheckedMath.h"
#include "model/TextNumbers.h"

namespace halvern {

namespace {
using namespace PRVGridLayout;
namespace Current = CurrentGridLayout;

std::string Fixed52(double value) {
    return FormatFixed(value, 5, 2);
}
} // namespace

void TMainForm::DoPRVCalcs(TMarkStringGrid& Sender, double& DayNight, double& Dep, double& Indep, double& Tot,
                           bool& LowWarning, std::vector<std::string>& OpenHours) {
    LowWarning = false;
    OpenHours.clear();
    Project.InletElev = StrToFloat(InletElevEdit.Text());
    Project.AZPElev = StrToFloat(AZPElevEdit.Text());
    Project.TargetElev = StrToFloat(TargetElevEdit.Text());
    Dep = 0;
    Indep = 0;
    Tot = 0;

    const TLeakageLaw law = ProjectLeakageLaw(Project);

    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        const int h = HourOfRow(p);
        const double azp0 = CellNumber(Sender.Cell(AZPCol, p));
        const double hl0 = CellNumber(CurrentGrid.Cell(Current::AZPHeadlossCol, p));
        const double inlet = CellNumber(Sender.Cell(InletCol, p));
        double outlet = CellNumber(Sender.Cell(OutletCol, p));

        // The valve cannot hold an outlet above its inlet: it stands fully open, and the
        // hour is the measured one, to the last digit of its flows, so that an open valve
        // saves nothing. Nor can it give less than no pressure.
        // Where the outlet column is the engineer's own (hourly mode) it keeps what was
        // typed, marked; elsewhere it shows the outlet the valve really gives.
        const bool open = outlet > inlet;
        const bool typedOutlets = (Sender.Options & goEditing) != 0;
        MarkOutletCell(Sender, p, open, clGreen);
        if (open) {
            OpenHours.push_back(Sender.Cell(HourCol, p));
            outlet = inlet;
            if (!typedOutlets) Sender.SetCell(OutletCol, p, Sender.Cell(InletCol, p));
        } else if (outlet < 0) {
            outlet = 0;
            if (!typedOutlets) Sender.SetCell(OutletCol, p, Fixed52(0));
        }

        double s = azp0;
        double dep = 0;
        double tot = 0;
        double indep = 0;
        double hlc = 0;
        if (open) {
            // As the current situation splits the hour's measured inflow.
            dep = law.At(azp0);
            tot = CellNumber(CurrentGrid.Cell(Current::TotalFlowCol, p));
            indep = Checked(tot - dep);
            hlc = CellNumber(CurrentGrid.Cell(Current::CritHeadlossCol, p));
        } else {
            indep = CellNumber(CurrentGrid.Cell(Current::IndepFlowCol, p));
            // The current AZP pressure lowered by what the PRV takes off the inlet pressure,
            // then balanced against the smaller head loss of the smaller inflow.
            TAZPEquation balance;
            balance.Start = Checked(azp0 - (inlet - outlet));
            balance.CurrentLoss = hl0;
            balance.LossCoef = Project.AZPHeadlossCoef[h];
            balance.Indep = indep;
            balance.Law = law;
            s = BalanceAZP(balance, balance.Start);
            dep = law.AtOrNone(s);
            tot = Checked(dep + indep);
            hlc = Checked(CritLossAtFlow(tot, Project.CritHeadlossCoef[h]));
        }
        Sender.SetCell(AZPCol, p, Fixed52(s));

        // Head loss from the PRV outlet to the AZP.
        Sender.SetCell(AZPHeadlossCol, p,
                       Fixed52(Checked((Project.InletElev + outlet) - (Project.AZPElev + s))));

        Sender.SetCell(DepFlowCol, p, Fixed52(dep));
        Dep = Checked(Dep + dep);
        Sender.SetCell(TotalFlowCol, p, Fixed52(tot));
        Tot = Checked(Tot + tot);

        const double crit = open ? CellNumber(CurrentGrid.Cell(Current::CriticalCol, p))
                                 : Checked(outlet - hlc + Project.InletElev - Project.TargetElev);
        PRVCriticalPressures[static_cast<size_t>(h)] = crit;
        if (crit < Project.MinPressure) LowWarning = true;

        // A critical point without pressure: the hour's results mean nothing and are shown
        // as 0.0. The inlet and outlet pressures are the hour's inputs (in hourly mode the
        // engineer's own outlet) and keep their texts.
        if (crit < 0)
            for (int col = AZPCol; col < Sender.ColCount(); ++col)
                Sender.SetCell(col, p, "0.0");

        Sender.SetCell(CriticalCol, p, Fixed52(crit));
        Sender.SetCell(CritHeadlossCol, p, Fixed52(hlc));
        Sender.SetCell(IndepFlowCol, p, Fixed52(indep));
        Indep = Checked(Indep + indep);
    }

    // Day/night factor: the day's leakage in hours of the low-flow hour's leakage.
    const std::string lowKey = TimeToStr(Project.LowFlowTime);
    double lowLeakage = -1;
    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        if (HourKey(Sender.Cell(HourCol, p)) == lowKey) {
            lowLeakage = CellNumber(Sender.Cell(DepFlowCol, p));
            break;
        }
    }
    DayNight = DayNightFactor(Dep, lowLeakage, ENoNightLeakage::ShowsZero);
}

} // namespace halvern
