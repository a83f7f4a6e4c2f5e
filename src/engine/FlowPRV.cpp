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
#include "forms/Messages.h"
#include "forms/TableLayouts.h"
#include "model/CheckedMath.h"
#include "model/Numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace halvern {

namespace {

using namespace PRVGridLayout;
namespace Current = CurrentGridLayout;

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

// The working values of one hour: the table's value columns and the interpolated outlet.
struct THourValues {
    double In = 0, Out = 0, AZP = 0, Crit = 0, HlA = 0, HlC = 0, Q = 0, Dep = 0, Indep = 0;
    double Target = 0;
};

// What the current situation shows for one hour, read from its table once per run: the
// search updates each hour hundreds of times and the texts do not change meanwhile.
struct TCurrentHour {
    double AZP = 0, Crit = 0, AZPHeadloss = 0, CritHeadloss = 0;
};

// One run of the scenario over the 24 hours.
class TFlowModRun {
public:
    TFlowModRun(TMainForm& form, int lowHour, int highHour)
        : project_(form.Project), lowHour_(lowHour), highHour_(highHour) {
        const TMarkStringGrid& grid = form.FlowPRVGrid;
        for (int i = 0; i < HoursPerDay; ++i) {
            const int row = HourRow(i);
            THourValues& x = hours_[static_cast<size_t>(i)];
            x.In = GridNumber(grid, InletCol, row);
            x.Out = GridNumber(grid, OutletCol, row);
            x.AZP = GridNumber(grid, AZPCol, row);
            x.Crit = GridNumber(grid, CriticalCol, row);
            x.HlA = GridNumber(grid, AZPHeadlossCol, row);
            x.HlC = GridNumber(grid, CritHeadlossCol, row);
            x.Q = GridNumber(grid, TotalFlowCol, row);
            x.Dep = GridNumber(grid, DepFlowCol, row);
            x.Indep = GridNumber(grid, IndepFlowCol, row);
            TCurrentHour& c = current_[static_cast<size_t>(i)];
            c.AZP = GridNumber(form.CurrentGrid, Current::AZPCol, row);
            c.Crit = GridNumber(form.CurrentGrid, Current::CriticalCol, row);
            c.AZPHeadloss = GridNumber(form.CurrentGrid, Current::AZPHeadlossCol, row);
            c.CritHeadloss = GridNumber(form.CurrentGrid, Current::CritHeadlossCol, row);
        }
        const int lowRow = HourRow(lowHour);
        law_.RefLeakage = GridNumber(form.CurrentGrid, Current::DepFlowCol, lowRow);
        law_.RefPressure = GridNumber(form.CurrentGrid, Current::AZPCol, lowRow);
        law_.N1 = project_.N1;
    }

    THourValues& Hour(int i) { return hours_[static_cast<size_t>(i)]; }

    void Run() {
        // Every hour once at its starting outlet; the interpolation of each reads the
        // reference hours as far as the hours before it have left them.
        Together(
            [this] {
                std::array<int, HoursPerDay> all{};
                for (int i = 0; i < HoursPerDay; ++i)
                    all[static_cast<size_t>(i)] = i;
                UpdateTogether(all, HoursPerDay);
                for (int i = 0; i < HoursPerDay; ++i)
                    FinishFlows(i);
            },
            [this] {
                for (int i = 0; i < HoursPerDay; ++i)
                    Update(i);
            });
        for (int pass = 0; pass < Passes; ++pass) {
            MeetCriticalTarget(lowHour_, project_.LPFlowMod);
            MeetCriticalTarget(highHour_, project_.HPFlowMod);
            FollowTargets();
        }
    }

private:
    // The hour's pressures, head losses and flows for its present outlet pressure, and
    // the outlet that the interpolation on inflow asks of it.
    void Update(int i) { Finish(i, BalanceAZP(Balance(i), First(i))); }

    // The hour's AZP balance at its present outlet: the AZP pressure at which leakage,
    // inflow and the head loss to the AZP agree; no inflow, no head loss.
    TAZPEquation Balance(int i) const {
        const TCurrentHour& c = current_[static_cast<size_t>(i)];
        const THourValues& x = hours_[static_cast<size_t>(i)];
        TAZPEquation balance;
        balance.Start = c.AZP + x.Out - x.In;
        balance.CurrentLoss = c.AZPHeadloss;
        balance.LossCoef = project_.AZPHeadlossCoef[static_cast<size_t>(i)];
        balance.Indep = x.Indep;
        balance.Law = law_;
        balance.LossOnInflowOnly = true;
        balance.NearRoot = x.AZP;
        return balance;
    }

    // The substitution starts from the head loss the hour had last.
    double First(int i) const {
        const TCurrentHour& c = current_[static_cast<size_t>(i)];
        const THourValues& x = hours_[static_cast<size_t>(i)];
        return (c.AZP + x.Out - x.In) - x.HlA;
    }

    // The rest of the hour from its balanced AZP pressure.
    void Finish(int i, double azp) {
        SetAZP(i, azp);
        // No pressure, no leakage.
        Hour(i).Dep = law_.At(std::max(azp, 0.0));
        FinishFlows(i);
    }

    // The hour's AZP pressure and the head loss from the outlet to it.
    void SetAZP(int i, double azp) {
        THourValues& x = Hour(i);
        x.AZP = azp;
        x.HlA = (x.Out + project_.InletElev) - (x.AZP + project_.AZPElev);
    }

    void FinishFlows(int i) {
        const TCurrentHour& c = current_[static_cast<size_t>(i)];
        THourValues& x = Hour(i);
        x.Q = Checked(x.Dep + x.Indep);

        const double critLoss =
            x.Q > 0 ? Checked(x.Q * x.Q * project_.CritHeadlossCoef[static_cast<size_t>(i)]) : 0.0;
        x.Crit = (c.Crit + x.Out - x.In) - (critLoss - c.CritHeadloss);
        x.HlC = (x.Out + project_.InletElev) - (x.Crit + project_.TargetElev);

        const THourValues& low = Hour(lowHour_);
        const THourValues& high = Hour(highHour_);
        const double spread = high.Q - low.Q;
        if (spread == 0)
            x.Target = low.Out;
        else
            x.Target = Checked(low.Out + (x.Q - low.Q) * (high.Out - low.Out) / spread);
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

    // Every ordinary hour follows its interpolated outlet. They read only the two reference
    // hours, which stand still meanwhile, so their steps are taken side by side.
    void FollowTargets() {
        Together([this] { FollowTargetsTogether(); },
                 [this] {
                     for (int i = 0; i < HoursPerDay; ++i)
                         if (i != lowHour_ && i != highHour_) FollowTarget(i);
                 });
    }

    void FollowTargetsTogether() {
        std::array<int, HoursPerDay> moving{};
        std::array<int, HoursPerDay> steps{};
        int count = 0;
        for (int i = 0; i < HoursPerDay; ++i)
            if (i != lowHour_ && i != highHour_) moving[static_cast<size_t>(count++)] = i;
        while (count > 0) {
            // FollowTarget's step for each moving hour: Update, then stop or move 1 %.
            UpdateTogether(moving, count);
            int still = 0;
            for (int k = 0; k < count; ++k) {
                const int i = moving[static_cast<size_t>(k)];
                FinishFlows(i);
                THourValues& x = Hour(i);
                if (std::fabs(x.Out - x.Target) < OutletTolerance) continue;
                x.Out = x.Out > x.Target ? x.Out * StepDown : x.Out * StepUp;
                if (++steps[static_cast<size_t>(i)] < StepLimit) moving[static_cast<size_t>(still++)] = i;
            }
            count = still;
        }
    }

    // Steps of several hours taken side by side: the same steps as one hour after the
    // other, in a fraction of the time, because the powers of the leakage law no longer
    // wait for each other. Where a step stops on an error, the hours are taken again one
    // after the other from where they stood, so that the error is the one the first such
    // hour meets.
    template <class TSideBySide, class TOneByOne>
    void Together(const TSideBySide& sideBySide, const TOneByOne& oneByOne) {
        const std::array<THourValues, HoursPerDay> before = hours_;
        try {
            sideBySide();
        } catch (...) {
            hours_ = before;
            oneByOne();
        }
    }

    // Update for the given hours at once up to their leakage; each hour's flows and
    // interpolated outlet (FinishFlows) are left to the caller.
    void UpdateTogether(const std::array<int, HoursPerDay>& hours, int count) {
        std::array<TAZPSubstitution, HoursPerDay>& balances = balances_;
        for (int k = 0; k < count; ++k) {
            const int i = hours[static_cast<size_t>(k)];
            balances[static_cast<size_t>(k)] = TAZPSubstitution(Balance(i), First(i));
        }
        // Each round works out every running hour's leakage before any hour decides what
        // to make of its own, and the powers in one tight row.
        std::array<double, HoursPerDay> base{};
        std::array<bool, HoursPerDay> wanted{};
        for (int running = count; running > 0;) {
            for (int k = 0; k < count; ++k) {
                const auto n = static_cast<size_t>(k);
                wanted[n] = balances[n].Running() && balances[n].PowerWanted(base[n]);
            }
            for (int k = 0; k < count; ++k) {
                const auto n = static_cast<size_t>(k);
                if (wanted[n]) base[n] = std::pow(base[n], law_.N1);
            }
            running = 0;
            for (int k = 0; k < count; ++k) {
                const auto n = static_cast<size_t>(k);
                TAZPSubstitution& balance = balances[n];
                if (!balance.Running()) continue;
                balance.Take(wanted[n] ? balance.LeakageFromPower(base[n]) : balance.KnownLeakage());
                if (balance.Running()) ++running;
            }
        }
        // Finish's first half for each hour, the powers of the leakage again in one row.
        for (int k = 0; k < count; ++k) {
            const auto n = static_cast<size_t>(k);
            const double azp = balances[n].Result();
            SetAZP(hours[n], azp);
            wanted[n] = law_.PowerBase(std::max(azp, 0.0), base[n]);
            if (!wanted[n]) Hour(hours[n]).Dep = law_.At(std::max(azp, 0.0));
        }
        for (int k = 0; k < count; ++k) {
            const auto n = static_cast<size_t>(k);
            if (wanted[n]) base[n] = std::pow(base[n], law_.N1);
        }
        for (int k = 0; k < count; ++k) {
            const auto n = static_cast<size_t>(k);
            if (wanted[n]) Hour(hours[n]).Dep = law_.FromPower(base[n]);
        }
    }

    TProject& project_;
    int lowHour_;
    int highHour_;
    TLeakageLaw law_;
    std::array<THourValues, HoursPerDay> hours_{};
    std::array<TCurrentHour, HoursPerDay> current_{};
    // UpdateTogether's working space, made once a run.
    std::array<TAZPSubstitution, HoursPerDay> balances_;
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
        return;
    }

    TFlowModRun run(*this, lowHour, highHour);
    run.Run();

    double depSum = 0;
    double indepSum = 0;
    bool low = false;
    for (int i = 0; i < HoursPerDay; ++i) {
        const int row = HourRow(i);
        const THourValues& x = run.Hour(i);
        const double values[] = {x.In, x.Out, x.AZP, x.Crit, x.HlA, x.HlC, x.Q, x.Dep, x.Indep};
        for (int col = InletCol; col <= IndepFlowCol; ++col)
            grid.SetCell(col, row, FormatFixed(Checked(values[col - InletCol]), 11, 2));
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
        FlowWarnLabel.Caption =
            Msg::PressureOf + FormatFixed(Project.MinPressure, 5, 2) + Msg::NotAchievedAtAllCriticalPoints;
    else
        FlowWarnLabel.Caption.clear();
}

} // namespace halvern
