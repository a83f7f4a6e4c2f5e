// Root of one hour's AZP balance by bisection: slower than substitution but it always
// lands, also in zones with a large head loss to the AZP where substitution swings.
#include "engine/AZPSolver.h"

#include <cmath>

namespace halvern {

namespace {
// Well below the centimetre the tables show.
constexpr double RootTolerance = 1e-9;
// Enough halvings to shrink any bracket a zone can have to the tolerance.
constexpr int MaxHalvings = 200;
// Doublings tried when the natural bracket does not hold (negative loss coefficient).
constexpr int MaxWidenings = 60;
} // namespace

double TAZPEquation::Leakage(double s) const {
    if (s <= 0 || RefPressure == 0) return 0;
    const double ratio = s / RefPressure;
    if (ratio <= 0) return 0;
    return std::pow(ratio, N1) * RefLeakage;
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

} // namespace halvern
