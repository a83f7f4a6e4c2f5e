// The two units an inflow is typed in: the calculations work in m³/h, engineers often
// read their loggers in l/s. Every conversion between them goes through here, so that an
// inflow shows the same figures whether it was typed, read from a file or imported.
#pragma once
#include "model/CheckedMath.h"
#include <cmath>

namespace halvern {

// l/s as m³/h.
inline double CubicMetresPerHour(double litresPerSecond) {
    return litresPerSecond * 3600.0 / 1000.0;
}

// m³/h as l/s. An inflow too large to be multiplied by 1000 (only a damaged file holds
// one) is divided first, so that the refresh of the window never stops half-way.
inline double LitresPerSecond(double cubicMetresPerHour) {
    const double litresPerHour = cubicMetresPerHour * 1000;
    if (std::isfinite(litresPerHour)) return litresPerHour / 3600;
    return Checked(cubicMetresPerHour / 3600 * 1000);
}

} // namespace halvern
