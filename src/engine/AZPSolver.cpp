// Root of one hour's AZP balance by bisection: slower than substitution but it always
// lands, also in zones with a large head loss to the AZP where substitution swings.
#include "engine/AZPSolver.h"
#include "model/CheckedMath.h"

#include <algorithm>
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
    return Law.Probe(s);
}

double TAZPEquation::Residual(double s) const {
    return s - Start + HeadLoss(s) - CurrentLoss;
}

namespace {

// Where the balance rises with the AZP pressure (leakage and head loss never fall as the
// pressure rises), its residual grows at least as fast as the pressure itself; then a
// point x with residual g(x) has the root within |g(x)| of it.
bool RisesWithPressure(const TAZPEquation& eq) {
    return eq.LossCoef >= 0 && eq.Law.RefLeakage >= 0 && eq.Law.N1 >= 0 && std::isfinite(eq.Start) &&
           std::isfinite(eq.CurrentLoss) && std::isfinite(eq.LossCoef) && std::isfinite(eq.Indep);
}

// The residual at s for the leakage there, added up as TAZPEquation::Residual adds it.
double ResidualWith(const TAZPEquation& eq, double s, double leakage) {
    return s - eq.Start + eq.LossAtFlow(leakage + eq.Indep) - eq.CurrentLoss;
}

// The slope of the residual at s > 0 (1 + the head loss's slope), for Newton's steps.
double ResidualSlope(const TAZPEquation& eq, double s, double leakage) {
    const double flow = leakage + eq.Indep;
    if (s <= 0 || eq.LossCoef == 0 || flow <= 0) return 1;
    return 1 + 2 * eq.LossCoef * flow * eq.Law.N1 * leakage / s;
}

// Newton's steps first, from the pressure the equation names as near the root (else the
// middle of the bracket). The residual rises at least as fast as the pressure, so a point
// whose residual is within rounding of zero is within that distance of the root: that
// point is the answer. Where the steps do not get there, they still narrow the band in
// which the root lies. The bisection then evaluates the law only for midpoints inside
// that band; outside it the side is certain. The band is kept hundreds of times wider
// than the residual's rounding error, so the bisection takes the steps the residual
// itself would give.
class TRootSide {
public:
    TRootSide(const TAZPEquation& eq, double lo, double hi) : eq_(eq) {
        if (!RisesWithPressure(eq)) return;
        double a = lo;
        double b = hi;
        double x = eq.NearRoot > lo && eq.NearRoot < hi ? eq.NearRoot : lo + (hi - lo) / 2;
        constexpr int NewtonLimit = 60;
        for (int step = 0; step < NewtonLimit; ++step) {
            const double leakage = eq.Leakage(x);
            const double g = ResidualWith(eq, x, leakage);
            if (!std::isfinite(g)) break;
            centre_ = x;
            if (g < 0)
                a = x;
            else
                b = x;
            // The true root is within |g| (plus rounding) of x.
            below_ = std::max(a, x - std::fabs(g));
            above_ = std::min(b, x + std::fabs(g));
            known_ = true;
            if (std::fabs(g) <= Band(x)) {
                converged_ = true;
                break;
            }
            double next = x - g / ResidualSlope(eq, x, leakage);
            if (!(next > a && next < b)) next = a + (b - a) / 2;
            if (next == x) break;
            x = next;
        }
        // One band for the whole bracket, the widest any midpoint in it needs.
        const double band = Band(std::max(std::fabs(lo), std::fabs(hi)));
        certainlyBelow_ = below_ - band;
        certainlyAbove_ = above_ + band;
    }

    // The pressure whose residual is within rounding of zero, once Newton's steps found one.
    std::optional<double> Root() const { return converged_ ? std::optional<double>(centre_) : std::nullopt; }

    bool Below(double mid) const {
        if (known_) {
            if (mid < certainlyBelow_) return true;
            if (mid > certainlyAbove_) return false;
        }
        return eq_.Residual(mid) < 0;
    }

private:
    // The residual's rounding error is a few units of 1e-16 of the sizes it adds up.
    double Band(double s) const {
        return 1e-12 *
               (1 + std::fabs(s) + std::fabs(eq_.Start) + std::fabs(eq_.CurrentLoss) + std::fabs(centre_));
    }

    const TAZPEquation& eq_;
    bool known_ = false;
    bool converged_ = false;
    double below_ = 0;
    double above_ = 0;
    double centre_ = 0;
    double certainlyBelow_ = 0;
    double certainlyAbove_ = 0;
};

} // namespace

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
    const TRootSide side(eq, lo, hi);
    if (const auto root = side.Root()) return root;
    for (int i = 0; i < MaxHalvings && hi - lo > RootTolerance; ++i) {
        const double mid = lo + (hi - lo) / 2;
        if (mid <= lo || mid >= hi) break; // the bracket is down to adjacent doubles
        if (side.Below(mid))
            lo = mid;
        else
            hi = mid;
    }
    return lo + (hi - lo) / 2;
}

double TAZPSubstitution::Result() const {
    if (state_ == EState::Settled) return s_;
    if (const auto root = SolveAZPRoot(eq_)) return *root;
    return s_;
}

double BalanceAZP(const TAZPEquation& eq, double first) {
    TAZPSubstitution substitution(eq, first);
    while (substitution.Running())
        substitution.Step();
    return substitution.Result();
}

} // namespace halvern
