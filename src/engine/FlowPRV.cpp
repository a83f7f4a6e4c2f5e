// The flow-modulated PRV scenario: the outlet pressure follows the zone inflow. The
// outlet of the low-flow hour is searched so that the critical point gets LPFlowMod, that
// of the high-flow hour so that it gets HPFlowMod, and every other hour's outlet is
// interpolated on its own inflow between those two hours. Since the inflow depends on
// the pressure, each hour is recomputed until its outlet fits. Reads the current
// situation (CurrentGrid, NightAZPPressure, the head loss coefficients); writes
// FlowPRVGrid and the Flow labels, all in metres and m³/h.
#include "engine/AZPSolver.h"
#include "engine/CellNumber.h"
#include "forms/MainForm.h"
#include "model/CheckedMath.h"
#include "model/Numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace halvern {

namespace {

constexpr int FirstHourRow = 2; // grid row of the hour 00:00 in the result tables

// The AZP balance of one hour: relative tolerance and evaluations of the substitution.
constexpr double AZPTolerance = 0.005;
constexpr int AZPEvaluations = 100;
// The reference hours are driven to their critical targets within a millimetre, by half
// the remaining error each time.
constexpr double TargetTolerance = 0.001;
// Every other hour follows its interpolated outlet within a centimetre, 1 % at a time.
constexpr double OutletTolerance = 0.01;
constexpr double StepDown = 0.99;
constexpr double StepUp = 1.01;
constexpr int StepLimit = 100;
// The reference hours move the interpolation of the others, and the others do not move
// the reference hours: three rounds settle the whole day.
constexpr int Passes = 3;

const char* const MissingHoursText = "Low flow and high flow times must each match an hour of the table.";

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

// The working values of one hour: the table columns 1 to 9 and the interpolated outlet.
struct THourValues {
    double In = 0, Out = 0, AZP = 0, Crit = 0, HlA = 0, HlC = 0, Q = 0, Dep = 0, Indep = 0;
    double Target = 0;
};

// One run of the scenario over the 24 hours; hour i is table row i + 2.
class TFlowModRun {
public:
    TFlowModRun(TMainForm& form, int lowHour, int highHour)
        : form_(form), project_(form.Project), lowHour_(lowHour), highHour_(highHour) {
        const TMarkStringGrid& grid = form.FlowPRVGrid;
        for (int i = 0; i < HoursPerDay; ++i) {
            const int row = i + FirstHourRow;
            THourValues& x = hours_[static_cast<size_t>(i)];
            x.In = GridNumber(grid, 1, row);
            x.Out = GridNumber(grid, 2, row);
            x.AZP = GridNumber(grid, 3, row);
            x.Crit = GridNumber(grid, 4, row);
            x.HlA = GridNumber(grid, 5, row);
            x.HlC = GridNumber(grid, 6, row);
            x.Q = GridNumber(grid, 7, row);
            x.Dep = GridNumber(grid, 8, row);
            x.Indep = GridNumber(grid, 9, row);
        }
        const int lowRow = lowHour + FirstHourRow;
        refLeakage_ = GridNumber(form.CurrentGrid, 7, lowRow);
        refPressure_ = GridNumber(form.CurrentGrid, 2, lowRow);
    }

    THourValues& Hour(int i) { return hours_[static_cast<size_t>(i)]; }

    void Run() {
        for (int i = 0; i < HoursPerDay; ++i)
            Update(i);
        for (int pass = 0; pass < Passes; ++pass) {
            MeetCriticalTarget(lowHour_, project_.LPFlowMod);
            MeetCriticalTarget(highHour_, project_.HPFlowMod);
            for (int i = 0; i < HoursPerDay; ++i)
                if (i != lowHour_ && i != highHour_) FollowTarget(i);
        }
    }

private:
    // Leakage at an AZP pressure; no pressure, no leakage.
    double Leakage(double azp) const {
        return refLeakage_ * FPow(FDiv(std::max(azp, 0.0), refPressure_), project_.N1);
    }

    // The hour's pressures, head losses and flows for its present outlet pressure, and
    // the outlet that the interpolation on inflow asks of it.
    void Update(int i) {
        const int row = i + FirstHourRow;
        const TMarkStringGrid& current = form_.CurrentGrid;
        const double cA = GridNumber(current, 2, row);
        const double cC = GridNumber(current, 3, row);
        const double cHA = GridNumber(current, 4, row);
        const double cHC = GridNumber(current, 5, row);
        THourValues& x = Hour(i);

        x.AZP = SolveAZP(i, cA + x.Out - x.In, cHA);
        x.HlA = (x.Out + project_.InletElev) - (x.AZP + project_.AZPElev);
        x.Dep = Leakage(x.AZP);
        x.Q = Checked(x.Dep + x.Indep);

        const double critLoss =
            x.Q > 0 ? Checked(x.Q * x.Q * project_.CritHeadlossCoef[static_cast<size_t>(i)]) : 0.0;
        x.Crit = (cC + x.Out - x.In) - (critLoss - cHC);
        x.HlC = (x.Out + project_.InletElev) - (x.Crit + project_.TargetElev);

        const THourValues& low = Hour(lowHour_);
        const THourValues& high = Hour(highHour_);
        const double spread = high.Q - low.Q;
        if (spread == 0)
            x.Target = low.Out;
        else
            x.Target = Checked(low.Out + (x.Q - low.Q) * (high.Out - low.Out) / spread);
    }

    // The AZP pressure at which leakage, inflow and the head loss to the AZP agree,
    // starting from the head loss the hour had last. Repeated substitution settles in
    // most zones and its value is kept as it is; where the head loss to the AZP is large
    // it can swing between two pressures for ever, and the hour then takes the root of
    // the same balance instead.
    double SolveAZP(int i, double start, double currentLoss) {
        THourValues& x = Hour(i);
        const double lossCoef = project_.AZPHeadlossCoef[static_cast<size_t>(i)];
        double azp = start - x.HlA;
        for (int evaluation = 0; evaluation < AZPEvaluations; ++evaluation) {
            const double previous = azp;
            const double flow = Leakage(azp) + x.Indep;
            const double loss = flow > 0 ? Checked(flow * flow * lossCoef) : 0.0;
            azp = Checked(start - (loss - currentLoss));
            if (AZPTolerance * previous > std::fabs(previous - azp)) return azp;
        }
        TAZPEquation balance;
        balance.Start = start;
        balance.CurrentLoss = currentLoss;
        balance.LossCoef = lossCoef;
        balance.Indep = x.Indep;
        balance.RefLeakage = refLeakage_;
        balance.RefPressure = refPressure_;
        balance.N1 = project_.N1;
        balance.LossOnInflowOnly = true;
        if (const auto root = SolveAZPRoot(balance)) return *root;
        // A negative loss coefficient can leave the balance without a root: keep the
        // last substitute rather than invent one.
        return azp;
    }

    // Moves the outlet of a reference hour until its critical point is at the target.
    // Where the target is out of reach (a higher outlet drives so much more leakage
    // through the mains that the critical point falls), halving the error walks away
    // from it without end; the hour then keeps the outlet that came closest, with its
    // own pressures and flows, instead of an outlet thousands of metres high.
    void MeetCriticalTarget(int i, double target) {
        THourValues& x = Hour(i);
        double bestOut = x.Out;
        double bestError = std::numeric_limits<double>::infinity();
        double lastError = 0;
        for (int step = 0; step < StepLimit; ++step) {
            Update(i);
            lastError = std::fabs(x.Crit - target);
            if (lastError < TargetTolerance) return;
            if (lastError < bestError) {
                bestError = lastError;
                bestOut = x.Out;
            }
            x.Out -= (x.Crit - target) / 2;
        }
        if (lastError > bestError) {
            x.Out = bestOut;
            Update(i);
        }
    }

    // Moves the outlet of an ordinary hour towards its interpolated outlet.
    void FollowTarget(int i) {
        THourValues& x = Hour(i);
        for (int step = 0; step < StepLimit; ++step) {
            Update(i);
            if (std::fabs(x.Out - x.Target) < OutletTolerance) return;
            x.Out = x.Out > x.Target ? x.Out * StepDown : x.Out * StepUp;
        }
    }

    TMainForm& form_;
    TProject& project_;
    int lowHour_;
    int highHour_;
    double refLeakage_ = 0;
    double refPressure_ = 0;
    std::array<THourValues, HoursPerDay> hours_{};
};

} // namespace

void TMainForm::CalcFlowPRV() {
    TBusyMark busy(FlowPRVBusy);
    TMarkStringGrid& grid = FlowPRVGrid;
    int lowHour = -1;
    int highHour = -1;
    const std::string lowKey = TimeToStr(Project.LowFlowTime);
    const std::string highKey = TimeToStr(Project.HighFlowTime);

    // Columns 0 to 4 and 9 come from the inputs and the current situation; in the two
    // reference hours column 4 first shows the critical target, in red.
    for (int i = 0; i < HoursPerDay; ++i) {
        const int row = i + FirstHourRow;
        const std::string& label = FlowGrid.Cell(0, row - 1);
        grid.SetCell(0, row, label);
        grid.SetFontColour(4, row, clBlue);
        const std::string key = HourKey(label);
        if (key == lowKey) {
            grid.SetRowColours(row, clAqua, clNone);
            lowHour = i;
            grid.ResetCellColor(4, row);
            grid.SetFontColour(4, row, clRed);
        }
        if (key == highKey) {
            grid.SetRowColours(row, clYellow, clNone);
            highHour = i;
            grid.ResetCellColor(4, row);
            grid.SetFontColour(4, row, clRed);
        }
        grid.SetCell(1, row, FlowGrid.Cell(3, row - 1));
        grid.SetCell(2, row, FlowGrid.Cell(3, row - 1));
        grid.SetCell(3, row, FlowGrid.Cell(4, row - 1));
        grid.SetCell(4, row, FlowGrid.Cell(5, row - 1));
        // A target of 0 means "the minimum acceptable pressure"; the edit keeps its text.
        if (i == lowHour) {
            if (Project.LPFlowMod == 0) Project.LPFlowMod = Project.MinPressure;
            grid.SetCell(4, row, FormatFixed(Project.LPFlowMod, 8, 2));
        }
        if (i == highHour) {
            if (Project.HPFlowMod == 0) Project.HPFlowMod = Project.MinPressure;
            grid.SetCell(4, row, FormatFixed(Project.HPFlowMod, 8, 2));
        }
        grid.SetCell(9, row, CurrentGrid.Cell(8, row));
    }

    // Without the current situation's reference pressure there is nothing to scale the
    // leakage by.
    if (Project.NightAZPPressure == 0) return;
    // Both targets belong to an hour of the table; without either the interpolation has
    // no ends.
    if (lowHour < 0 || highHour < 0) {
        FlowWarnLabel.Caption = MissingHoursText;
        return;
    }

    TFlowModRun run(*this, lowHour, highHour);
    run.Run();

    double depSum = 0;
    double indepSum = 0;
    bool low = false;
    for (int i = 0; i < HoursPerDay; ++i) {
        const int row = i + FirstHourRow;
        const THourValues& x = run.Hour(i);
        const double values[] = {x.In, x.Out, x.AZP, x.Crit, x.HlA, x.HlC, x.Q, x.Dep, x.Indep};
        for (int col = 1; col <= 9; ++col)
            grid.SetCell(col, row, FormatFixed(Checked(values[col - 1]), 11, 2));
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
    FlowDayNightLabel.Caption = FormatFixed(nightDep == 0 ? 0.0 : FDiv(depSum, nightDep), 11, 2);
    if (low)
        FlowWarnLabel.Caption = "Pressure of " + FormatFixed(Project.MinPressure, 5, 2) +
                                " could not be achieved for all critical points.";
    else
        FlowWarnLabel.Caption.clear();
}

} // namespace halvern
