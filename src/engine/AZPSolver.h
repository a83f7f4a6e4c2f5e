// The AZP pressure of one hour behind a PRV: the pressure at which the zone's leakage,
// its inflow and the head loss from the inlet to the AZP agree. The scenarios first try
// plain repeated substitution; this is the sure root for the hours where that swings.
#pragma once
#include "engine/LeakageLaw.h"
#include "model/CheckedMath.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace halvern {

// One hour's balance  s = Start − (HeadLoss(s) − CurrentLoss),  with
// HeadLoss(s) = LossCoef · (Leakage(s) + Indep)²  and Leakage(s) the leakage law,
// which gives no leakage at an AZP pressure of 0 or below. Water flows into the zone
// only: where the hour's inflow would be 0 or less there is no head loss. Every scenario
// and every search balances its hours by this one equation.
struct TAZPEquation {
    double Start = 0; // AZP pressure before the head loss changes: current AZP − (inlet − outlet), m
    double CurrentLoss = 0; // head loss inlet → AZP at the measured inflow, m
    double LossCoef = 0;    // that head loss per (m³/h)² of inflow
    double Indep = 0;       // pressure-independent flow of the hour, m³/h
    TLeakageLaw Law;
    // A pressure believed close to the root (the hour's AZP pressure of the step before),
    // where the root search starts looking; it changes how fast the root is found, never
    // which root. Not a number: no such pressure.
    double NearRoot = std::numeric_limits<double>::quiet_NaN();

    double Leakage(double s) const;
    // The head loss inlet → AZP at an inflow (m³/h): none unless water flows in.
    double LossAtFlow(double flow) const { return flow > 0 && LossCoef != 0 ? LossCoef * flow * flow : 0.0; }
    double HeadLoss(double s) const { return LossAtFlow(Leakage(s) + Indep); }
    // g(s) = s − Start + HeadLoss(s) − CurrentLoss; zero at the balance.
    double Residual(double s) const;
};

// The root of the balance, to well below the displayed centimetre (1e-9 m). With a
// non-negative loss coefficient the residual is negative at 0 and non-negative at
// Start + CurrentLoss, so the root is bracketed and bisection cannot fail; a pressure at
// which even the pressure-independent flow alone balances at or below zero is the root
// itself. Only a negative loss coefficient (measured AZP above what the inlet can give)
// can leave no bracket; then there is no answer (nullopt).
std::optional<double> SolveAZPRoot(const TAZPEquation& eq);

// The AZP pressure of the hour as the scenarios take it: repeated substitution from
// `first` (less leakage means less inflow, so less head loss to the AZP, which gives back
// part of the pressure the PRV took) until a step moves the pressure by less than 0.5 % of
// it, for at most 100 evaluations; where the substitution swings (a large head loss, or a
// pressure below zero, which never passes the relative test) the root of the same
// balance; where there is no root, the last substitute.
double BalanceAZP(const TAZPEquation& eq, double first);

// That substitution one evaluation at a time.
class TAZPSubstitution {
public:
    TAZPSubstitution() = default;
    TAZPSubstitution(const TAZPEquation& eq, double first) : eq_(eq), s_(first) {}

    bool Running() const { return state_ == EState::Running; }

    // One evaluation of the balance at the present substitute.
    void Step() { Take(LeakageAt(std::max(s_, 0.0))); }

    void Take(double leakage) {
        const double previous = s_;
        const double flow = Checked(leakage + eq_.Indep);
        const double loss = Checked(eq_.LossAtFlow(flow));
        s_ = Checked(eq_.Start - (loss - eq_.CurrentLoss));
        if (SettleFraction * previous > std::fabs(previous - s_)) {
            state_ = EState::Settled;
            return;
        }
        if (s_ == beforeLast_) {
            // Neither step of the swing settles, so none will: the last evaluation ends on
            // this substitute when an even number of evaluations remain, else on the other.
            if ((MaxSubstitutions - 1 - evaluation_) % 2 != 0) s_ = last_;
            state_ = EState::Unsettled;
            return;
        }
        beforeLast_ = last_;
        last_ = s_;
        if (++evaluation_ == MaxSubstitutions) state_ = EState::Unsettled;
    }

    // The pressure once the steps have ended: the settled substitute, else the root.
    double Result() const;

private:
    // The substitution has settled when a step moves the AZP pressure by less than this
    // fraction of it.
    static constexpr double SettleFraction = 0.005;
    static constexpr int MaxSubstitutions = 100;
    enum class EState { Running, Settled, Unsettled };

    // A swinging substitution returns to the same few pressures again and again (often to
    // none at all and back); their leakage is worked out once.
    double LeakageAt(double pressure) {
        if (pressure == seenPressure_[0]) return seenLeakage_[0];
        if (pressure == seenPressure_[1]) return seenLeakage_[1];
        const double value = eq_.Law.At(pressure);
        Remember(pressure, value);
        return value;
    }
    void Remember(double pressure, double leakage) {
        seenPressure_[older_] = pressure;
        seenLeakage_[older_] = leakage;
        older_ = 1 - older_;
    }

    TAZPEquation eq_;
    double s_ = 0;
    // The last two substitutes; once a substitute repeats the one two steps before, the
    // substitution only swings between those two for the rest of its evaluations.
    double last_ = std::numeric_limits<double>::quiet_NaN();
    double beforeLast_ = std::numeric_limits<double>::quiet_NaN();
    double seenPressure_[2] = {std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::quiet_NaN()};
    double seenLeakage_[2] = {0, 0};
    int older_ = 0;
    int evaluation_ = 0;
    EState state_ = EState::Running;
};

} // namespace halvern
