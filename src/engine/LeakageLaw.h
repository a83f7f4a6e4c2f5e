// The leakage law: an hour's leakage is the low-flow hour's leakage scaled by the ratio of
// the hour's AZP pressure to the low-flow hour's, to the power N1. Every calculation that
// needs leakage at a pressure asks this one law.
#pragma once
#include "model/CheckedMath.h"
#include "model/Project.h"
#include <cmath>

namespace halvern {

struct TLeakageLaw {
    double RefLeakage = 0;  // leakage of the low-flow hour, m³/h
    double RefPressure = 0; // AZP pressure of the low-flow hour, m
    double N1 = 1;          // leakage exponent

    // Through the checked operations: a pressure ratio with no real power (negative, with
    // a fractional N1) or no reference pressure stops the calculation with its error.
    double At(double azp) const {
        double base = 0;
        return PowerBase(azp, base) ? FromPower(std::pow(base, N1)) : FPow(base, N1) * RefLeakage;
    }

    // At in its halves, for calculations that work out many powers side by side: the base
    // of the power (true where the power is the plain one, false where At itself must
    // answer, for a ratio of 0 or below or an odd exponent), and the leakage from the power.
    bool PowerBase(double azp, double& base) const {
        base = FDiv(azp, RefPressure);
        return base > 0.0 && N1 != 0.0 && !std::isnan(N1);
    }
    double FromPower(double power) const { return Checked(power) * RefLeakage; }

    // No pressure, no leakage: the valve scenarios take none at a ratio of 0 or below.
    double AtOrNone(double azp) const {
        const double ratio = FDiv(azp, RefPressure);
        return ratio <= 0 ? 0.0 : FPow(ratio, N1) * RefLeakage;
    }

    // The same rule without checks, for the root search, which probes pressures far from
    // any the day has and must be able to compare an overflow.
    double Probe(double azp) const {
        if (azp <= 0 || RefPressure == 0) return 0;
        const double ratio = azp / RefPressure;
        if (ratio <= 0) return 0;
        return std::pow(ratio, N1) * RefLeakage;
    }
};

// The law as the current situation fixes it for the project: the leakage and AZP pressure
// of the low-flow hour, and N1. Every scenario scales leakage by this one law.
inline TLeakageLaw ProjectLeakageLaw(const TProject& project) {
    return {project.NightLeakage, project.NightAZPPressure, project.N1};
}

// The head loss from the inlet to the critical point at an inflow (m³/h), with the hour's
// coefficient: none unless water flows in. Unchecked, as the searches probe outlets no row
// shows; a row's value is checked where it is written.
inline double CritLossAtFlow(double flow, double coef) {
    return flow > 0 ? flow * flow * coef : 0.0;
}

// What the day/night factor of a zone whose low-flow hour leaks nothing is: a valve
// scenario shows 0; the current situation, whose low-flow leakage every scenario scales
// from, has no meaning left and stops (0 ÷ 0).
enum class ENoNightLeakage { ShowsZero, Stops };

// The day/night factor: the day's leakage (m³) in hours of the low-flow hour's leakage
// (m³/h).
inline double DayNightFactor(double dailyLeakage, double lowFlowLeakage, ENoNightLeakage none) {
    if (none == ENoNightLeakage::ShowsZero && lowFlowLeakage == 0) return 0.0;
    return FDiv(dailyLeakage, lowFlowLeakage);
}

} // namespace halvern
