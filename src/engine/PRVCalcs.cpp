// DoPRVCalcs: the hourly hydraulics shared by the fixed-outlet and time-modulated PRV
// scenarios. Reads, per hour of the scenario table, the inlet, PRV outlet and current AZP
// pressures, together with the current situation's AZP head loss and pressure-independent
// flow and its derived leakage reference and head-loss coefficients. Writes the scenario's
// AZP and critical pressures (m), head losses (m) and flows (m³/h) and returns the daily
// volumes (m³), the day/night factor and the low-pressure flag.
#include "engine/AZPSolver.h"
#include "engine/CellNumber.h"
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/CheckedMath.h"

namespace halvern {

namespace {
using namespace PRVGridLayout;
namespace Current = CurrentGridLayout;

std::string Fixed52(double value) {
    return FormatFixed(value, 5, 2);
}
} // namespace

void TMainForm::DoPRVCalcs(TMarkStringGrid& Sender, double& DayNight, double& Dep, double& Indep, double& Tot,
                           bool& LowWarning) {
    LowWarning = false;
    Project.InletElev = StrToFloat(InletElevEdit.Text());
    Project.AZPElev = StrToFloat(AZPElevEdit.Text());
    Project.TargetElev = StrToFloat(TargetElevEdit.Text());
    Dep = 0;
    Indep = 0;
    Tot = 0;

    const TLeakageLaw law{Project.NightLeakage, Project.NightAZPPressure, Project.N1};

    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        const int h = HourOfRow(p);
        const double azp0 = CellNumber(Sender.Cell(AZPCol, p));
        const double hl0 = CellNumber(CurrentGrid.Cell(Current::AZPHeadlossCol, p));
        const double inlet = CellNumber(Sender.Cell(InletCol, p));
        const double outlet = CellNumber(Sender.Cell(OutletCol, p));
        const double indep = CellNumber(CurrentGrid.Cell(Current::IndepFlowCol, p));

        // The current AZP pressure lowered by what the PRV takes off the inlet pressure,
        // then balanced against the smaller head loss of the smaller inflow.
        TAZPEquation balance;
        balance.Start = Checked(azp0 - (inlet - outlet));
        balance.CurrentLoss = hl0;
        balance.LossCoef = Project.AZPHeadlossCoef[h];
        balance.Indep = indep;
        balance.Law = law;
        const double s = BalanceAZP(balance, balance.Start);
        Sender.SetCell(AZPCol, p, Fixed52(s));

        // Head loss from the PRV outlet to the AZP.
        Sender.SetCell(AZPHeadlossCol, p,
                       Fixed52(Checked((Project.InletElev + outlet) - (Project.AZPElev + s))));

        const double dep = law.AtOrNone(s);
        Sender.SetCell(DepFlowCol, p, Fixed52(dep));
        Dep = Checked(Dep + dep);

        const double tot = Checked(dep + indep);
        Sender.SetCell(TotalFlowCol, p, Fixed52(tot));
        Tot = Checked(Tot + tot);

        const double hlc = Checked(tot * tot * Project.CritHeadlossCoef[h]);
        const double crit = Checked(outlet - hlc + Project.InletElev - Project.TargetElev);
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
    DayNight = lowLeakage == 0 ? 0.0 : FDiv(Dep, lowLeakage);
}

} // namespace halvern
