// The contents of one result chart, free of any toolkit: its series with their looks,
// points and labels, and the two value axes. The chart drawing fills it from a result
// table; the views render it.
#pragma once
#include "forms/Colours.h"
#include "forms/Controls.h"
#include <functional>
#include <string>
#include <vector>

namespace halvern {

enum class TSeriesAxis { Left, Right };
enum class TLineStyle { Solid, Dash, Dot, DashDot, DashDotDot };
enum class TPointerStyle { Rectangle, Circle, Triangle, DownTriangle, Cross, DiagCross, Diamond };

struct TChartSeries {
    std::string Title;
    TSeriesAxis Axis = TSeriesAxis::Left;
    TColor Colour = clBlack;
    TLineStyle LineStyle = TLineStyle::Solid;
    TPointerStyle Pointer = TPointerStyle::Rectangle;
    bool Active = true; // shown
    int Column = 0;     // the result table's column it is drawn from
    std::vector<double> Values;
    std::vector<std::string> Labels;
    // Points the table shows grey: the outlet of an hour in which the valve stands fully open.
    std::vector<bool> Open;
    // Where the points stand along a value axis (the N1 charts); empty: evenly spaced in
    // the order drawn. A point marked as a gap has no value (a payback of "Never"): the
    // line breaks there.
    std::vector<double> X;
    std::vector<bool> Gap;
    void Clear() {
        Values.clear();
        Labels.clear();
        Open.clear();
        X.clear();
        Gap.clear();
    }
    void Add(double value, const std::string& label, bool open = false) {
        Values.push_back(value);
        Labels.push_back(label);
        Open.push_back(open);
    }
};

struct TChartAxis {
    std::string Title;
    double Minimum = 0;
    bool Automatic = true; // the maximum follows the data
    double Maximum = 0;    // used when not automatic
    bool Grid = true;
};

class TChart : public TControl {
public:
    using TControl::TControl;
    std::string Title;
    std::vector<TChartSeries> Series;
    TChartAxis LeftAxis, RightAxis, BottomAxis;
    // PRV charts skip empty cells; the current-situation chart reads every cell.
    bool SkipEmptyCells = true;
    // A vertical line across the plot at this place of the bottom axis (the project's N1),
    // with its caption; only for charts whose points stand at X.
    bool HasMarker = false;
    double MarkerX = 0;
    std::string MarkerCaption;
    // The table texts the points were last drawn from, so that a chart in view is drawn
    // again only when its table has changed.
    std::vector<std::string> SourceTexts;
    // Raised after the chart's contents changed (points drawn, options applied).
    std::function<void()> OnChanged;
    void Changed() {
        if (OnChanged) OnChanged();
    }
};

} // namespace halvern
