// The AZP pressure of one hour behind a PRV: the pressure at which the zone's leakage,
// its inflow and the head loss from the inlet to the AZP agree. The scenarios first try
// plain repeated substitution; this is the sure root for the hours where that swings.
#pragma once
#include "engine/LeakageLaw.h"
#include <limits>
#include <optional>

namespace halvern {

// One hour's balance  s = Start − (HeadLoss(s) − CurrentLoss),  with
// HeadLoss(s) = LossCoef · (Leakage(s) + Indep)²  and Leakage(s) the leakage law,
// which gives no leakage at an AZP pressure of 0 or below.
struct TAZPEquation {
    double Start = 0; // AZP pressure before the head loss changes: current AZP − (inlet − outlet), m
    double CurrentLoss = 0; // head loss inlet → AZP at the measured inflow, m
    double LossCoef = 0;    // that head loss per (m³/h)² of inflow
    double Indep = 0;       // pressure-independent flow of the hour, m³/h
    TLeakageLaw Law;
    // The flow-modulated scenario takes no head loss when the inflow is not positive.
    bool LossOnInflowOnly = false;
    // A pressure believed close to the root (the hour's AZP pressure of the step before),
    // where the root search starts looking; it changes how fast the root is found, never
    // which root. Not a number: no such pressure.
    double NearRoot = std::numeric_limits<double>::quiet_NaN();

    double Leakage(double s) const;
    double HeadLoss(double s) const;
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

} // namespace halvern
