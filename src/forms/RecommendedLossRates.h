// The leakage rates "Default Parameters" recommends beside the three rates the user
// enters: what a zone with low, typical and high losses would have. Guidance only: a new
// project starts from its own defaults (2.0, 0.5, 0.5), not from these.
#pragma once
#include <array>
#include <string_view>

namespace halvern {

struct TRecommendedLossRates {
    // Low, default and high, as the page shows them (its headings "Low", "Default", "High").
    std::array<std::string_view, 3> Texts;
};

inline constexpr TRecommendedLossRates RecommendedMainsLoss{{"20", "40", "100"}};      // l/km/hr
inline constexpr TRecommendedLossRates RecommendedConnectionLoss{{"1", "3", "6"}};     // l/conn/hr
inline constexpr TRecommendedLossRates RecommendedPropertyLoss{{"0.5", "1.0", "1.5"}}; // l/prop/hr

} // namespace halvern
