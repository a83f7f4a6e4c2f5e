// The flow-modulated PRV scenario: the outlet pressure follows the zone inflow. The
// outlet of the low-flow hour is the lowest that gives the critical point LPFlowMod, that
// of the high-flow hour the lowest that gives it HPFlowMod, and every other hour's outlet
// is interpolated on its own inflow between those two hours. Since the inflow depends on
// the outlet, each such hour is solved for the outlet that its own inflow asks for. A
// reducing valve gives at most its inlet pressure and at least none: where more is asked
// it stands fully open and the hour is as measured. Reads the current situation
// (CurrentGrid, the leakage law, the head loss coefficients); writes FlowPRVGrid and the
// Flow labels, all in metres and m³/h.
#include "engine/AZPSolver.h"
#include "engine/ValveOpen.h"
#include "forms/MainForm.h"
#include "forms/ScenarioLabels.h"
#include "forms/TableLayouts.h"
#include "model/CheckedMath.h"
#include "model/Messages.h"
#include "model/Numbers.h"
#include "model/TextNumbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace halvern {

namespace {

using namespace PRVGridLayout;
namespace Current = CurrentGridLayout;

// A reference hour's critical point ends within a millimetre of its target.
constexpr double TargetTolerance = 0.001;
// The outlets a reference hour's search tries first, evenly from 0 to the inlet pressure.
// The critical pressure usually rises with the outlet, but above some outlet the extra
// leakage through the mains can lower it again: the lowest crossing of the target is
// found among these before it is narrowed down.
constexpr int ScanSteps = 16;
// Every search narrows its outlet down to far below the displayed centimetre.
constexpr double OutletResolution = 1e-5;
// More steps than any search needs: where a step does not shrink the bracket by its own
// guess it halves it.
constexpr int SearchLimit = 100;

double GridNumber(const TMarkStringGrid& grid, int col, int row) {
    return CellNumber(grid.Cell(col, row));
}

// The table takes no keys while it is being calculated; the mark is cleared however the
// run ends, an error included, so the table does not stay deaf.
class TBusyMark {
public:
    explicit TBusyMark(bool& busy) : busy_(busy) { busy_ = true; }
    ~TBusyMark() { busy_ = false; }
    TBusyMark(const TBusyMark&) = delete;
    TBusyMark& operator=(const TBusyMark&) = delete;

private:
    bool& busy_;
};

// One hour's row of the table: pressures (m), head losses (m) and flows (m³/h).
struct THourValues {
    double In = 0, Out = 0, AZP = 0, Crit = 0, HlA = 0, HlC = 0, Q = 0, Dep = 0, Indep = 0;
    bool Open = false; // the valve stands fully open: the hour is as measured
    // How fast the inflow grows with the outlet here (m³/h per m): more pressure, more
    // leakage, less of it given back by the larger head loss to the AZP.
    double InflowSlope = 0;
};

// What the current situation shows for one hour, read from its table once per run.
struct TCurrentHour {
    double AZP = 0, Crit = 0, AZPHeadloss = 0, CritHeadloss = 0, Total = 0;
};

// One run of the scenario over the 24 hours.
class TFlowModRun {
public:
    TFlowModRun(TMainForm& form, int lowHour, int highHour)
        : project_(form.Project), law_(ProjectLeakageLaw(form.Project)), lowHour_(lowHour),
          highHour_(highHour) {
        for (int i = 0; i < HoursPerDay; ++i) {
            const int row = HourRow(i);
            THourValues& x = hours_[static_cast<size_t>(i)];
            x.In = GridNumber(form.FlowPRVGrid, InletCol, row);
            x.Indep = GridNumber(form.FlowPRVGrid, IndepFlowCol, row);
            TCurrentHour& c = current_[static_cast<size_t>(i)];
            c.AZP = GridNumber(form.CurrentGrid, Current::AZPCol, row);
            c.Crit = GridNumber(form.CurrentGrid, Current::CriticalCol, row);
            c.AZPHeadloss = GridNumber(form.CurrentGrid, Current::AZPHeadlossCol, row);
            c.CritHeadloss = GridNumber(form.CurrentGrid, Current::CritHeadlossCol, row);
            c.Total = GridNumber(form.CurrentGrid, Current::TotalFlowCol, row);
            labels_[static_cast<size_t>(i)] = form.FlowPRVGrid.Cell(HourCol, row);
            // Until it is solved the hour is as measured: the valve open.
            x.Out = x.In;
            x.AZP = c.AZP;
        }
    }

    const THourValues& Hour(int i) const { return hours_[static_cast<size_t>(i)]; }
    const std::vector<std::string>& TargetMessages() const { return messages_; }

    // The reference hours first: the interpolation of every other hour runs between them,
    // and each of them depends on its own outlet alone. With one hour for both, the
    // high-flow target is the one met.
    void Run() {
        if (lowHour_ != highHour_) MeetTarget(lowHour_, project_.LPFlowMod, "low");
        MeetTarget(highHour_, project_.HPFlowMod, "high");
        for (int i = 0; i < HoursPerDay; ++i)
            if (i != lowHour_ && i != highHour_) FollowInterpolation(i);
    }

private:
    // The hour update: the hour's pressures, head losses and flows for one outlet pressure
    // (0 to the inlet). The AZP pressure is the root of the hour's balance, so that
    // neighbouring outlets give neighbouring rows and every row belongs to its own outlet.
    // `near` is a row of the same hour at another outlet, whose AZP pressure moved by the
    // change of outlet tells the root search where to start looking.
    THourValues At(int i, double out, const THourValues* near = nullptr) const {
        const TCurrentHour& c = current_[static_cast<size_t>(i)];
        THourValues x = Hour(i);
        x.Out = out;
        x.Open = false;
        TAZPEquation balance;
        balance.Start = c.AZP + out - x.In;
        balance.CurrentLoss = c.AZPHeadloss;
        balance.LossCoef = project_.AZPHeadlossCoef[static_cast<size_t>(i)];
        balance.Indep = x.Indep;
        balance.Law = law_;
        const THourValues& from = near ? *near : x;
        balance.NearRoot = from.AZP + (out - from.Out);
        const std::optional<double> azp = SolveAZPRoot(balance);
        // A measured AZP above what the inlet can give leaves some balances without a
        // root: no outlet can be worked out for the hour, and the valve stays open.
        if (!azp || !std::isfinite(*azp)) return Open(i);
        x.AZP = *azp;
        x.HlA = (x.Out + project_.InletElev) - (x.AZP + project_.AZPElev);
        x.Dep = law_.Probe(x.AZP);
        x.Q = x.Dep + x.Indep;
        const double leakageSlope = x.AZP > 0 ? law_.N1 * x.Dep / x.AZP : 0.0;
        const double lossSlope = x.Q > 0 ? 2 * balance.LossCoef * x.Q : 0.0;
        const double azpSlope = 1 / (1 + lossSlope * leakageSlope);
        x.InflowSlope = std::isfinite(azpSlope) ? leakageSlope * azpSlope : 0.0;
        const double critLoss = CritLossAtFlow(x.Q, project_.CritHeadlossCoef[static_cast<size_t>(i)]);
        x.Crit = (c.Crit + x.Out - x.In) - (critLoss - c.CritHeadloss);
        x.HlC = (x.Out + project_.InletElev) - (x.Crit + project_.TargetElev);
        return x;
    }

    // The hour with the valve fully open: as measured, its inflow split as the current
    // situation splits it, so that an open valve saves nothing.
    THourValues Open(int i) const {
        const TCurrentHour& c = current_[static_cast<size_t>(i)];
        THourValues x = Hour(i);
        x.Out = x.In;
        x.AZP = c.AZP;
        x.Crit = c.Crit;
        x.HlA = c.AZPHeadloss;
        x.HlC = c.CritHeadloss;
        x.Q = c.Total;
        x.Dep = law_.Probe(c.AZP);
        x.Indep = c.Total - x.Dep;
        x.Open = true;
        return x;
    }

    // A reference hour: the lowest outlet whose critical pressure reaches the target.
    void MeetTarget(int i, double target, const char* which) {
        THourValues& hour = hours_[static_cast<size_t>(i)];
        const double in = hour.In;
        const std::string& label = labels_[static_cast<size_t>(i)];
        if (!(in > 0)) {
            hour = Open(i);
            messages_.push_back(Msg::TargetNotReached(which, FormatFixed(target, 8, 2), label.substr(0, 5)));
            return;
        }
        THourValues below = At(i, 0);
        if (below.Crit >= target) {
            hour = below;
            if (below.Crit - target >= TargetTolerance)
                messages_.push_back(Msg::TargetBelowNoOutlet(
                    which, FormatFixed(target, 8, 2), label.substr(0, 5), FormatFixed(below.Crit, 8, 2)));
            return;
        }
        for (int k = 1; k <= ScanSteps; ++k) {
            const double out = k == ScanSteps ? in : in * k / ScanSteps;
            THourValues above = At(i, out, &below);
            if (above.Crit >= target) {
                hour = Narrow(i, below, above, target);
                return;
            }
            below = above;
        }
        hour = Open(i);
        messages_.push_back(Msg::TargetNotReached(which, FormatFixed(target, 8, 2), label.substr(0, 5)));
    }

    // The crossing of the target between an outlet below it and one at or above it, by
    // false position with the Illinois halving, which keeps both ends moving; the row
    // returned is at or above the target.
    THourValues Narrow(int i, THourValues below, THourValues above, double target) const {
        double fBelow = below.Crit - target;
        double fAbove = above.Crit - target;
        int lastSide = 0;
        for (int step = 0; step < SearchLimit; ++step) {
            if (fAbove < TargetTolerance / 10 || above.Out - below.Out < OutletResolution) break;
            double out = above.Out - fAbove * (above.Out - below.Out) / (fAbove - fBelow);
            if (!(out > below.Out && out < above.Out)) out = below.Out + (above.Out - below.Out) / 2;
            const THourValues mid = At(i, out, &above);
            const double f = mid.Crit - target;
            if (f >= 0) {
                above = mid;
                fAbove = f;
                if (lastSide == 1) fBelow /= 2;
                lastSide = 1;
            } else {
                below = mid;
                fBelow = f;
                if (lastSide == -1) fAbove /= 2;
                lastSide = -1;
            }
        }
        return above;
    }

    // The outlet interpolated on inflow between the two reference hours.
    double Interpolated(double q) const {
        const THourValues& low = Hour(lowHour_);
        const THourValues& high = Hour(highHour_);
        const double spread = high.Q - low.Q;
        if (spread == 0) return low.Out;
        return low.Out + (q - low.Q) * (high.Out - low.Out) / spread;
    }

    // Any other hour: the outlet o at which o equals the interpolated outlet of the inflow
    // that o gives. The interpolation depends only weakly on the hour's own outlet, so
    // Newton's steps on o − line(Q(o)) from the outlet asked for at the measured inflow land
    // within two or three updates; the bracket 0 … inlet (the difference is at most 0 at 0
    // and at least 0 at the inlet) keeps every step honest, halving it where a step would
    // leave it.
    void FollowInterpolation(int i) {
        THourValues& hour = hours_[static_cast<size_t>(i)];
        const double in = hour.In;
        if (!(in > 0)) {
            hour = Open(i);
            return;
        }
        const double first = Interpolated(current_[static_cast<size_t>(i)].Total);
        // More than the inlet asked for at the measured inflow, and still at the inflow
        // of the open valve: the valve stays open.
        if (first >= in && Interpolated(At(i, in, &hour).Q) >= in) {
            hour = Open(i);
            return;
        }
        const double lineSlope = LineSlope();
        double lo = 0;
        double hi = in;
        double out = std::clamp(first, 0.0, in);
        THourValues row = At(i, out, &hour);
        for (int step = 0; step < SearchLimit; ++step) {
            const double line = Interpolated(row.Q);
            const double residual = out - std::clamp(line, 0.0, in);
            if (std::fabs(residual) < OutletResolution || hi - lo < OutletResolution) break;
            if (residual < 0)
                lo = out;
            else
                hi = out;
            // Where the line is held at 0 or at the inlet it no longer moves with the outlet.
            const double slope = line > 0 && line < in ? 1 - lineSlope * row.InflowSlope : 1.0;
            double next = slope > 0 ? out - residual / slope : lo + (hi - lo) / 2;
            if (!(next >= lo && next <= hi) || next == out) next = lo + (hi - lo) / 2;
            out = next;
            row = At(i, out, &row);
        }
        // Held at the inlet by an interpolation that asks for more: the valve is open.
        hour = Interpolated(row.Q) >= in ? Open(i) : row;
    }

    // The interpolation line's outlet per m³/h of inflow.
    double LineSlope() const {
        const THourValues& low = Hour(lowHour_);
        const THourValues& high = Hour(highHour_);
        const double spread = high.Q - low.Q;
        return spread == 0 ? 0.0 : (high.Out - low.Out) / spread;
    }

    const TProject& project_;
    const TLeakageLaw law_;
    int lowHour_;
    int highHour_;
    std::array<THourValues, HoursPerDay> hours_{};
    std::array<TCurrentHour, HoursPerDay> current_{};
    std::array<std::string, HoursPerDay> labels_{};
    std::vector<std::string> messages_;
};

} // namespace

void TMainForm::CalcFlowPRV() {
    TBusyMark busy(FlowPRVBusy);
    TMarkStringGrid& grid = FlowPRVGrid;
    int lowHour = -1;
    int highHour = -1;
    const std::string lowKey = TimeToStr(Project.LowFlowTime);
    const std::string highKey = TimeToStr(Project.HighFlowTime);

    // The hour, the pressures and the pressure-independent flow come from the inputs and
    // the current situation; the outlet starts at the inlet pressure. In the two reference
    // hours the critical column first shows the critical target, in red.
    namespace In = FlowGridLayout;
    for (int i = 0; i < HoursPerDay; ++i) {
        const int row = HourRow(i);
        const int in = In::HourRow(i);
        const std::string key = CopyHourRow(grid, i, lowKey, highKey);
        grid.SetFontColour(CriticalCol, row, clBlue);
        if (key == lowKey) lowHour = i;
        if (key == highKey) highHour = i;
        if (key == lowKey || key == highKey) {
            grid.ResetCellColor(CriticalCol, row);
            grid.SetFontColour(CriticalCol, row, clRed);
        }
        grid.SetCell(InletCol, row, FlowGrid.Cell(In::InletCol, in));
        grid.SetCell(OutletCol, row, FlowGrid.Cell(In::InletCol, in));
        grid.SetCell(AZPCol, row, FlowGrid.Cell(In::AZPCol, in));
        grid.SetCell(CriticalCol, row, FlowGrid.Cell(In::CriticalCol, in));
        // A target of 0 means "the minimum acceptable pressure"; the edit keeps its text.
        if (i == lowHour) {
            if (Project.LPFlowMod == 0) Project.LPFlowMod = Project.MinPressure;
            grid.SetCell(CriticalCol, row, FormatFixed(Project.LPFlowMod, 8, 2));
        }
        if (i == highHour) {
            if (Project.HPFlowMod == 0) Project.HPFlowMod = Project.MinPressure;
            grid.SetCell(CriticalCol, row, FormatFixed(Project.HPFlowMod, 8, 2));
        }
        grid.SetCell(IndepFlowCol, row, CurrentGrid.Cell(Current::IndepFlowCol, row));
    }

    // Without the current situation's reference pressure there is nothing to scale the
    // leakage by.
    if (Project.NightAZPPressure == 0) return;
    // Both targets belong to an hour of the table; without either the interpolation has
    // no ends.
    if (lowHour < 0 || highHour < 0) {
        FlowWarnLabel.Caption = Msg::FlowHoursNotInTable;
        FlowOpenLabel.Caption.clear();
        FlowTargetLabel.Caption.clear();
        return;
    }

    TFlowModRun run(*this, lowHour, highHour);
    run.Run();

    double depSum = 0;
    double indepSum = 0;
    bool low = false;
    std::vector<std::string> openHours;
    for (int i = 0; i < HoursPerDay; ++i) {
        const int row = HourRow(i);
        const THourValues& x = run.Hour(i);
        const double values[] = {x.In, x.Out, x.AZP, x.Crit, x.HlA, x.HlC, x.Q, x.Dep, x.Indep};
        for (int col = InletCol; col <= IndepFlowCol; ++col)
            grid.SetCell(col, row, FormatFixed(Checked(values[col - InletCol]), 11, 2));
        MarkOutletCell(grid, row, x.Open, clBlue);
        if (x.Open) openHours.push_back(grid.Cell(HourCol, row));
        depSum += x.Dep;
        indepSum += x.Indep;
        if (x.Crit < Project.MinPressure) low = true;
    }
    depSum = Checked(depSum);
    indepSum = Checked(indepSum);
    FlowDepLabel.Caption = FormatFixed(depSum, 11, 2);
    FlowIndepLabel.Caption = FormatFixed(indepSum, 11, 2);
    FlowTotLabel.Caption = FormatFixed(Checked(depSum + indepSum), 11, 2);
    // No leakage in the low-flow hour leaves no factor to give: show 0, as the other
    // scenarios do.
    const double nightDep = run.Hour(lowHour).Dep;
    FlowDayNightLabel.Caption =
        FormatFixed(DayNightFactor(depSum, nightDep, ENoNightLeakage::ShowsZero), 11, 2);
    FlowWarnLabel.Caption =
        low ? LowPressureWarning(Project.MinPressure, Msg::NotAchievedAtAllCriticalPoints) : std::string();
    FlowOpenLabel.Caption = FullyOpenText(openHours, Msg::OutletNeededAboveInlet);
    std::string targets;
    for (const std::string& message : run.TargetMessages())
        targets += (targets.empty() ? "" : "\n") + message;
    FlowTargetLabel.Caption = targets;
}

} // namespace halvern
