#include "forms/PrintGeometry.h"
#include <algorithm>
#include <cmath>

namespace halvern {

int32_t ScaleToPage(int v, double scaling) {
    // Rounded by hand rather than through the floating-point environment's mode.
    const double value = v * scaling;
    const double below = std::floor(value);
    const double fraction = value - below;
    double result = below;
    if (fraction > 0.5)
        result = below + 1.0;
    else if (fraction == 0.5)
        result = std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
    return static_cast<int32_t>(result);
}

double PageScale(int pageWidth, int pageHeight, int screenWidth, int screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0) return 1.29;
    const double across = static_cast<double>(pageWidth) / screenWidth;
    const double down = static_cast<double>(pageHeight) / screenHeight;
    return std::min(across, down) * 1.29;
}

double FitScale(double scale, int contentRight, int contentBottom, int roomWidth, int roomHeight) {
    if (contentRight > 0 && roomWidth > 0)
        scale = std::min(scale, static_cast<double>(roomWidth) / contentRight);
    if (contentBottom > 0 && roomHeight > 0)
        scale = std::min(scale, static_cast<double>(roomHeight) / contentBottom);
    return scale;
}

TRect ChartPrintRect(int pageWidth, int pageHeight, const TChartMargins& margins) {
    const auto part = [](int size, int percent) {
        return static_cast<int>(std::trunc(static_cast<double>(size) * percent / 100.0));
    };
    return {part(pageWidth, margins.Left), part(pageHeight, margins.Top),
            pageWidth - part(pageWidth, margins.Right), pageHeight - part(pageHeight, margins.Bottom)};
}

int ChartHeadingTop(int pageHeight, const TChartMargins& margins, int lineHeight, int lineCount) {
    const int top = static_cast<int>(std::trunc(static_cast<double>(pageHeight) * (margins.Top - 2) / 100.0));
    const int chartTop = ChartPrintRect(0, pageHeight, margins).Top;
    return std::max(0, std::min(top, chartTop - lineCount * lineHeight));
}

} // namespace halvern
