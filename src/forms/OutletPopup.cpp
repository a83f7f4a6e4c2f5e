#include "forms/OutletPopup.h"
#include "forms/MainForm.h"

namespace halvern {

namespace {

struct TItemSeries {
    const char* Caption;
    int CurrentIndex; // in the current-situation chart; -1 where it has none
    int PRVIndex;     // in the three PRV charts
};

// Each item switches the series it names: in the PRV charts the series of its position,
// in the current situation, which has six series, the one of the same name.
constexpr TItemSeries ItemSeries[] = {
    {"Inlet Pressure", 0, 0},  {"PRV Outlet Pressure", -1, 1}, {"AZP Pressure", 1, 2},
    {"Target Pressure", 2, 3}, {"AZP Head loss", -1, 4},       {"Target Head loss", -1, 5},
    {"Zone Inflow", 3, 6},     {"Pressure Dependent", 4, 7},   {"Pressure Independent", 5, 8},
};

} // namespace

TOutletPopup::TOutletPopup(TMainForm& main) : MainForm(main) {
    for (const TItemSeries& item : ItemSeries)
        Items.push_back({item.Caption, true, true});
}

bool TOutletPopup::NamesOwnSeries(const TChart& chart) const {
    return &chart == &MainForm.N1Sensitivity.SavingsChart || &chart == &MainForm.N1Sensitivity.PaybackChart;
}

int TOutletPopup::SeriesOf(int index) const {
    if (!ClickedChart || index < 0 || index >= static_cast<int>(Items.size())) return -1;
    if (NamesOwnSeries(*ClickedChart))
        return index < static_cast<int>(ClickedChart->Series.size()) ? index : -1;
    const TItemSeries& item = ItemSeries[index];
    const int series = ClickedChart == &MainForm.CurrentChart ? item.CurrentIndex : item.PRVIndex;
    return series < static_cast<int>(ClickedChart->Series.size()) ? series : -1;
}

void TOutletPopup::Popup(TChart& chart) {
    ClickedChart = &chart;
    // The N1 charts have a line per valve: the menu names those lines; the result charts
    // get the items of the hourly series back.
    Items.clear();
    if (NamesOwnSeries(chart))
        for (const TChartSeries& series : chart.Series)
            Items.push_back({series.Title, series.Active, true});
    else
        for (const TItemSeries& item : ItemSeries)
            Items.push_back({item.Caption, true, true});
    for (int i = 0; i < static_cast<int>(Items.size()); ++i) {
        const int series = SeriesOf(i);
        Items[i].Visible = series >= 0;
        Items[i].Checked = series >= 0 && chart.Series[series].Active;
    }
}

void TOutletPopup::ItemClick(int index) {
    const int series = SeriesOf(index);
    if (series < 0) return;
    TChartSeries& s = ClickedChart->Series[series];
    s.Active = !s.Active;
    Items[index].Checked = s.Active;
    ClickedChart->Changed();
}

} // namespace halvern
