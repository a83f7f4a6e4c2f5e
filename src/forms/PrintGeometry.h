// The arithmetic of a printed page: screen pixels to printer units, the scale of a page
// print, and the rectangle a chart is printed into.
#pragma once
#include "forms/Canvas.h"
#include <cstdint>

namespace halvern {

// S(v): printer units of a screen position, the nearest integer to v * scaling with
// halves going to the even integer, so a page prints the same whatever rounding mode
// the printer driver left behind.
int32_t ScaleToPage(int v, double scaling);

// Printer units per screen pixel for the page that is showing: the smaller of the page's
// and the screen's width and height ratios, times 1.29. The 1.29 makes a 1024-pixel-wide
// screen at 96 dots per inch come out at its natural size on A4 portrait.
double PageScale(int pageWidth, int pageHeight, int screenWidth, int screenHeight);

// The largest scale at or below `scale` at which printed content reaching `contentRight`
// and `contentBottom` screen pixels fits `roomWidth` by `roomHeight` printer units. On a
// screen much narrower than the 1024 pixels the page scale was made for, the page would
// otherwise run off the paper.
double FitScale(double scale, int contentRight, int contentBottom, int roomWidth, int roomHeight);

// A chart's print margins, in percent of the page on each side.
struct TChartMargins {
    int Left = 15, Top = 15, Right = 15, Bottom = 15;
};

// The page rectangle a chart prints into: the page less its margins, each margin
// truncated to whole printer units.
TRect ChartPrintRect(int pageWidth, int pageHeight, const TChartMargins& margins);

// Where a single-chart print writes the zone name (the reference follows below it):
// 2 % of the page above the chart's top margin, moved up where the lineCount lines of
// height lineHeight would otherwise run into the chart (the chart is printed over them).
int ChartHeadingTop(int pageHeight, const TChartMargins& margins, int lineHeight, int lineCount = 2);

} // namespace halvern
