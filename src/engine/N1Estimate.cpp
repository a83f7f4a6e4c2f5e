#include "engine/N1Estimate.h"
#include "model/CheckedMath.h"
#include "model/Numbers.h"
#include "model/TextNumbers.h"

#include <cmath>

namespace halvern {

namespace {

bool IsUsableRatio(double ratio) {
    return std::isfinite(ratio) && ratio > 0;
}

// The pairs of stages, nearest first; false where a pair ends the estimate.
bool EstimatePairs(const TN1StepTest& test, TN1Estimate& estimate) {
    for (int lag = 1; lag < N1Stages; ++lag) {
        for (int stage = 0; stage + lag < N1Stages; ++stage) {
            const auto at = [](const auto& column, int i) { return column[static_cast<std::size_t>(i)]; };
            const auto lossBefore = NumberIfAny(at(estimate.Losses, stage));
            const auto lossAfter = NumberIfAny(at(estimate.Losses, stage + lag));
            const auto pressureBefore = NumberIfAny(at(test.AZP, stage));
            const auto pressureAfter = NumberIfAny(at(test.AZP, stage + lag));
            if (!lossBefore || !lossAfter || !pressureBefore || !pressureAfter) return false;
            if (*lossBefore <= 0 || *lossAfter <= 0 || *pressureBefore <= 0 || *pressureAfter <= 0)
                return false;
            const double pressureRatio = *pressureBefore / *pressureAfter;
            const double lossRatio = *lossBefore / *lossAfter;
            // Ratios beyond what a number can hold are as unusable as equal pressures.
            if (!IsUsableRatio(pressureRatio) || !IsUsableRatio(lossRatio)) return false;
            const double pressureLog = std::log(pressureRatio);
            if (pressureLog == 0) return false;
            const double n1 = Checked(std::log(lossRatio) / pressureLog);
            estimate.PairN1[static_cast<std::size_t>(lag - 1)][static_cast<std::size_t>(stage + lag)] =
                FormatFixed(n1, 5, 2);
        }
    }
    return true;
}

} // namespace

TN1Estimate EstimateN1(const TN1StepTest& test) {
    TN1Estimate estimate;
    for (std::size_t stage = 0; stage < N1Stages; ++stage) {
        const double inflow = NumberIfAny(test.Inflow[stage]).value_or(0.0);
        const double nightUse = NumberIfAny(test.NightUse[stage]).value_or(0.0);
        estimate.Losses[stage] = FormatFixed(inflow - nightUse, 5, 2);
    }
    if (!EstimatePairs(test, estimate)) return estimate;

    // Averages over one, three and six values as the stages add up.
    const auto pair = [&](int lag, int stage) {
        return NumberIfAny(
            estimate.PairN1[static_cast<std::size_t>(lag - 1)][static_cast<std::size_t>(stage)]);
    };
    estimate.Average[1] = estimate.PairN1[0][1];
    estimate.N1 = estimate.Average[1];

    const auto a = pair(1, 1);
    const auto b = pair(1, 2);
    const auto c = pair(2, 2);
    if (!a || !b || !c) return estimate;
    estimate.Average[2] = FormatFixed((*a + *b + *c) / 3, 5, 2);
    estimate.N1 = estimate.Average[2];

    const auto d = pair(1, 3);
    const auto e = pair(2, 3);
    const auto f = pair(3, 3);
    if (!d || !e || !f) return estimate;
    estimate.Average[3] = FormatFixed((*a + *b + *c + *d + *e + *f) / 6, 5, 2);
    estimate.N1 = estimate.Average[3];
    return estimate;
}

} // namespace halvern
