// DoPRVCalcs: the hourly hydraulics shared by the fixed-outlet and time-modulated PRV
// scenarios. Reads, per hour of the scenario table, the inlet pressure (column 1), the
// PRV outlet pressure (column 2) and the current AZP pressure (column 3), together with
// the current situation's AZP head loss and pressure-independent flow (CurrentGrid
// columns 4 and 8) and its derived leakage reference and head-loss coefficients. Writes
// the scenario's AZP and critical pressures (m), head losses (m) and flows (m³/h) into
// columns 3–9 and returns the daily volumes (m³), the day/night factor and the low-pressure flag.
#include "engine/AZPSolver.h"
#include "engine/CellNumber.h"
#include "forms/MainForm.h"
#include "model/CheckedMath.h"

#include <cmath>

namespace halvern {

namespace {
constexpr int FirstHourRow = 2;
constexpr int LastHourRow = 25;
// Substitution settles when a step moves the AZP pressure by less than 0.5 % of it.
constexpr double SettleFraction = 0.005;
constexpr int MaxSubstitutions = 100;

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

    const double refLeakage = Project.NightLeakage;
    const double refPressure = Project.NightAZPPressure;
    const double n1 = Project.N1;

    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        const int h = p - FirstHourRow;
        const double azp0 = CellNumber(Sender.Cell(3, p));
        const double hl0 = CellNumber(CurrentGrid.Cell(4, p));
        const double inlet = CellNumber(Sender.Cell(1, p));
        const double outlet = CellNumber(Sender.Cell(2, p));
        const double indep = CellNumber(CurrentGrid.Cell(8, p));
        const double azpCoef = Project.AZPHeadlossCoef[h];

        // The current AZP pressure lowered by what the PRV takes off the inlet pressure.
        const double start = Checked(azp0 - (inlet - outlet));

        // Repeated substitution: less leakage means less inflow, so less head loss to the
        // AZP, which gives back part of the pressure the PRV took.
        double s = start;
        double prev = s;
        int k = 1;
        do {
            prev = s;
            if (s < 0) s = 0;
            const double dep = FPow(FDiv(s, refPressure), n1) * refLeakage;
            const double tot = Checked(dep + indep);
            const double hl = Checked(tot * tot * azpCoef);
            s = Checked(start - (hl - hl0));
            ++k;
        } while (!(SettleFraction * prev > std::fabs(prev - s)) && k <= MaxSubstitutions);

        // Where a large head loss makes the substitution swing (or the pressure is below
        // zero, where it can never pass its relative test), take the root of the same balance.
        const bool settled = SettleFraction * prev > std::fabs(prev - s);
        if (!settled) {
            const TAZPEquation balance{start, hl0, azpCoef, indep, refLeakage, refPressure, n1, false};
            if (const auto root = SolveAZPRoot(balance)) s = *root;
        }
        Sender.SetCell(3, p, Fixed52(s));

        // Head loss from the PRV outlet to the AZP.
        Sender.SetCell(5, p, Fixed52(Checked((Project.InletElev + outlet) - (Project.AZPElev + s))));

        const double ratio = FDiv(s, refPressure);
        const double dep = ratio <= 0 ? 0.0 : FPow(ratio, n1) * refLeakage;
        Sender.SetCell(8, p, Fixed52(dep));
        Dep = Checked(Dep + dep);

        const double tot = Checked(dep + indep);
        Sender.SetCell(7, p, Fixed52(tot));
        Tot = Checked(Tot + tot);

        const double hlc = Checked(tot * tot * Project.CritHeadlossCoef[h]);
        const double crit = Checked(outlet - hlc + Project.InletElev - Project.TargetElev);
        if (crit < Project.MinPressure) LowWarning = true;

        // A critical point without pressure: the hour's results mean nothing and are shown
        // as 0.0. The inlet and outlet pressures are the hour's inputs (in hourly mode the
        // engineer's own outlet) and keep their texts.
        if (crit < 0)
            for (int col = 3; col < Sender.ColCount(); ++col)
                Sender.SetCell(col, p, "0.0");

        Sender.SetCell(4, p, Fixed52(crit));
        Sender.SetCell(6, p, Fixed52(hlc));
        Sender.SetCell(9, p, Fixed52(indep));
        Indep = Checked(Indep + indep);
    }

    // Day/night factor: the day's leakage in hours of the low-flow hour's leakage.
    const std::string lowKey = TimeToStr(Project.LowFlowTime);
    double lowLeakage = -1;
    for (int p = FirstHourRow; p <= LastHourRow; ++p) {
        if (HourKey(Sender.Cell(0, p)) == lowKey) {
            lowLeakage = CellNumber(Sender.Cell(8, p));
            break;
        }
    }
    DayNight = lowLeakage == 0 ? 0.0 : FDiv(Dep, lowLeakage);
}

} // namespace halvern
