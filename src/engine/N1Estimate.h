// The leakage exponent from a night step test. Each stage lowers the AZP pressure; the
// leakage (inflow less the night consumption) falls with it, and every pair of stages
// gives one N1 as the ratio of the logarithms of the leakage and pressure ratios. The
// values pass through their shown texts, as the N1 window shows them, so that the averages
// are those of the figures on screen.
#pragma once
#include <array>
#include <string>

namespace halvern {

// The start state and three stages.
inline constexpr int N1Stages = 4;

// What the engineer measured at each stage, as typed.
struct TN1StepTest {
    std::array<std::string, N1Stages> Inflow;   // m³/h
    std::array<std::string, N1Stages> NightUse; // pressure-independent night flow, m³/h
    std::array<std::string, N1Stages> AZP;      // m
};

// What the test gives, as shown. Empty texts where a stage gives nothing: an estimate
// stands only while its measurements do.
struct TN1Estimate {
    std::array<std::string, N1Stages> Losses; // distribution losses, m³/h
    // PairN1[lag - 1][stage]: the N1 of a stage and the stage `lag` before it.
    std::array<std::array<std::string, N1Stages>, N1Stages - 1> PairN1;
    // Average[stage]: the mean N1 once stage 1, 2 or 3 is in (over one, three, six pairs).
    std::array<std::string, N1Stages> Average;
    std::string N1; // the latest average, or empty
};

// A pair that cannot be evaluated (a stage without a number, no loss or pressure, equal
// pressures) ends the estimate: the later pairs would only repeat the fault.
TN1Estimate EstimateN1(const TN1StepTest& test);

} // namespace halvern
