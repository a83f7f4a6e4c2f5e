// OutletPopup: the pop-up menu of the result charts. A right click on a chart opens it
// with one ticked item per series the chart can show, a separator and "Print Graph".
#pragma once
#include <string>
#include <vector>

namespace halvern {

class TMainForm;
class TChart;

class TOutletPopup {
public:
    explicit TOutletPopup(TMainForm& main);
    TMainForm& MainForm;

    struct TItem {
        std::string Caption;
        bool Checked = false;
        bool Visible = true;
    };
    // The series items, in menu order; the separator and "Print Graph" follow them.
    std::vector<TItem> Items;
    static constexpr const char* PrintGraphCaption = "Print Graph";
    // The chart the menu was last opened on.
    TChart* ClickedChart = nullptr;
    // The hint of the current-situation chart, whose series the menu switches off.
    static constexpr const char* CurrentChartHint = "Right click to remove series";

    // A right click on a chart: it becomes the clicked chart, each item is ticked as the
    // chart shows its series, and items naming a series the chart does not have (the PRV
    // outlet and the head losses of the current situation) are hidden.
    void Popup(TChart& chart);
    // Shows or hides the series the item names in the clicked chart, and ticks the item.
    void ItemClick(int index);
    // The series of the clicked chart an item names; -1 for none.
    int SeriesOf(int index) const;
    // Whether the chart's menu lists the chart's own series (the N1 charts' valves) rather
    // than the hourly series of the result charts.
    bool NamesOwnSeries(const TChart& chart) const;
};

} // namespace halvern
