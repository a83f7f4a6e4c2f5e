// Root of one hour's AZP balance by bisection: slower than substitution but it always
// lands, also in zones with a large head loss to the AZP where substitution swings.
#include "engine/AZPSolver.h"
#include "model/CheckedMath.h"

#include <algorithm>
#include <cmath>

namespace halvern {

namespace {
// The substitution has settled when a step moves the AZP pressure by less than this
// fraction of it.
constexpr double SettleFraction = 0.005;
constexpr int MaxSubstitutions = 100;
// Well below the centimetre the tables show.
constexpr double RootTolerance = 1e-9;
// Enough halvings to shrink any bracket a zone can have to the tolerance.
constexpr int MaxHalvings = 200;
// Doublings tried when the natural bracket does not hold (negative loss coefficient).
constexpr int MaxWidenings = 60;
} // namespace

double TAZPEquation::Leakage(double s) const {
    return Law.Probe(s);
}

double TAZPEquation::HeadLoss(double s) const {
    const double flow = Leakage(s) + Indep;
    if (LossOnInflowOnly && flow <= 0) return 0;
    if (LossCoef == 0) return 0;
    return LossCoef * flow * flow;
}

double TAZPEquation::Residual(double s) const {
    return s - Start + HeadLoss(s) - CurrentLoss;
}

std::optional<double> SolveAZPRoot(const TAZPEquation& eq) {
    // At or below zero pressure nothing leaks, so there the balance is linear in s.
    const double dryRoot = eq.Start + eq.CurrentLoss - eq.HeadLoss(0);
    if (dryRoot <= 0) return dryRoot;

    // Now g(0) = −dryRoot < 0; look for the upper end of the bracket.
    double lo = 0;
    double hi = eq.Start + eq.CurrentLoss;
    if (hi < dryRoot) hi = dryRoot;
    int widenings = 0;
    while (!(eq.Residual(hi) >= 0)) {
        if (++widenings > MaxWidenings || !std::isfinite(hi)) return std::nullopt;
        lo = hi;
        hi *= 2;
    }
    for (int i = 0; i < MaxHalvings && hi - lo > RootTolerance; ++i) {
        const double mid = lo + (hi - lo) / 2;
        if (mid <= lo || mid >= hi) break; // the bracket is down to adjacent doubles
        if (eq.Residual(mid) < 0)
            lo = mid;
        else
            hi = mid;
    }
    return lo + (hi - lo) / 2;
}

double BalanceAZP(const TAZPEquation& eq, double first) {
    double s = first;
    for (int evaluation = 0; evaluation < MaxSubstitutions; ++evaluation) {
        const double previous = s;
        const double flow = Checked(eq.Law.At(std::max(s, 0.0)) + eq.Indep);
        const double loss = eq.LossOnInflowOnly && !(flow > 0) ? 0.0 : Checked(flow * flow * eq.LossCoef);
        s = Checked(eq.Start - (loss - eq.CurrentLoss));
        if (SettleFraction * previous > std::fabs(previous - s)) return s;
    }
    if (const auto root = SolveAZPRoot(eq)) return *root;
    return s;
}

} // namespace halvern
