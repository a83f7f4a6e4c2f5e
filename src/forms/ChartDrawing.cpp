// The four result charts: their series as designed, and their drawing from the texts of
// the result tables, hour by hour, closed with the first hour again at "24".
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"

namespace halvern {

namespace {

struct TSeriesDesign {
    const char* Title;
    TSeriesAxis Axis;
    TColor Colour;
    TLineStyle Line;
    TPointerStyle Pointer;
    bool Shown;
    int Column;
};

constexpr TColor clOrange = RGB(255, 128, 0);
constexpr TColor clRose = RGB(255, 0, 128);

void Design(TChart& chart, const char* title, std::initializer_list<TSeriesDesign> series) {
    chart.Title = title;
    chart.BottomAxis.Title = "hours";
    chart.LeftAxis.Title = "Pressure (m)";
    chart.RightAxis.Title = "Flow (m³/hr)";
    chart.RightAxis.Grid = false;
    for (TChartAxis* axis : {&chart.LeftAxis, &chart.RightAxis}) {
        axis->Minimum = 0;
        axis->Automatic = true;
    }
    chart.Series.clear();
    for (const TSeriesDesign& d : series) {
        TChartSeries s;
        s.Title = d.Title;
        s.Axis = d.Axis;
        s.Colour = d.Colour;
        s.LineStyle = d.Line;
        s.Pointer = d.Pointer;
        s.Active = d.Shown;
        s.Column = d.Column;
        chart.Series.push_back(std::move(s));
    }
}

// The three PRV charts share their series; only the flow-modulated chart colours its
// two consumption flows differently.
void DesignPRVChart(TChart& chart, const char* title, TColor presDepColour, TColor presIndepColour) {
    using enum TSeriesAxis;
    using enum TLineStyle;
    using enum TPointerStyle;
    using namespace PRVGridLayout;
    Design(
        chart, title,
        {{"Inlet Pressure", Left, clBlack, Solid, Rectangle, true, InletCol},
         {"PRV Outlet pressure", Left, clAqua, DashDotDot, Diamond, true, OutletCol},
         {"AZP Pressure", Left, clBlue, Dash, Circle, true, AZPCol},
         {"Critical Pressure", Left, clRed, Dot, Triangle, true, CriticalCol},
         {"AZP Head loss", Left, clOlive, Dot, Circle, false, AZPHeadlossCol},
         {"Critical Point Head loss", Left, clYellow, DashDot, Triangle, false, CritHeadlossCol},
         {"Zone Inflow", Right, clLime, Solid, DownTriangle, true, TotalFlowCol},
         {"Pressure Dependent Flow", Right, presDepColour, DashDot, Cross, false, DepFlowCol},
         {"Pressure Independent Flow", Right, presIndepColour, DashDotDot, DiagCross, false, IndepFlowCol}});
    chart.SkipEmptyCells = true;
}

// The texts a drawing of chart reads from grid: the hour labels and each series' column.
std::vector<std::string> SourceTextsOf(const TChart& chart, const TMarkStringGrid& grid) {
    std::vector<std::string> texts;
    for (int row = ResultRows::FirstHourRow; row < grid.RowCount(); ++row) {
        texts.push_back(grid.Cell(ResultRows::HourCol, row));
        for (const TChartSeries& s : chart.Series)
            texts.push_back(grid.Cell(s.Column, row));
    }
    return texts;
}

// Adds the point of series s from the cell of row, unless a PRV chart meets an empty cell.
// A point keeps the fully open valve's mark of its cell.
void AddPoint(const TChart& chart, TChartSeries& s, const TMarkStringGrid& grid, int row,
              const std::string& label) {
    const std::string& text = grid.Cell(s.Column, row);
    if (chart.SkipEmptyCells && text.empty()) return;
    s.Add(StrToFloat(text), label, grid.FontColourOf(s.Column, row) == clValveOpen);
}

void Draw(TChart& chart, const TMarkStringGrid& grid) {
    for (TChartSeries& s : chart.Series)
        s.Clear();
    for (int row = ResultRows::FirstHourRow; row < grid.RowCount(); ++row) {
        const std::string& hour = grid.Cell(ResultRows::HourCol, row);
        // A table that stops short of 24 hours is drawn as far as it goes, left open.
        if (hour.empty()) return;
        const std::string label = hour.substr(0, 2);
        for (TChartSeries& s : chart.Series)
            AddPoint(chart, s, grid, row, label);
    }
    // The day closes where it began: the first hour again, at "24".
    for (TChartSeries& s : chart.Series)
        AddPoint(chart, s, grid, ResultRows::FirstHourRow, "24");
}

} // namespace

void TMainForm::SetupCharts() {
    using enum TSeriesAxis;
    using enum TLineStyle;
    using enum TPointerStyle;
    namespace Current = CurrentGridLayout;
    Design(CurrentChart, "Current Situation",
           {{"Inlet Pressure", Left, clBlack, Solid, Rectangle, true, Current::InletCol},
            {"AZP Pressure", Left, clBlue, Dash, Circle, true, Current::AZPCol},
            {"Critical Pressure", Left, clRed, Dot, Triangle, true, Current::CriticalCol},
            {"Zone Inflow", Right, clLime, Solid, DownTriangle, true, Current::TotalFlowCol},
            {"Pressure Dependent Flow", Right, clOrange, DashDot, Cross, false, Current::DepFlowCol},
            {"Pressure Independent Flow", Right, clFuchsia, DashDotDot, DiagCross, false,
             Current::IndepFlowCol}});
    // Every cell of the current situation is a number; an empty one is an error there.
    CurrentChart.SkipEmptyCells = false;
    DesignPRVChart(FixedPRVChart, "Fixed PRV Outlet", clRose, clBlack);
    DesignPRVChart(TimePRVChart, "Time Modulated PRV Outlet", clRose, clBlack);
    DesignPRVChart(FlowPRVChart, "Flow Modulated PRV Outlet", clOrange, clFuchsia);
}

void TMainForm::DrawChart(TChart& chart, TMarkStringGrid& grid) {
    chart.SourceTexts = SourceTextsOf(chart, grid);
    try {
        Draw(chart, grid);
    } catch (...) {
        // A text that is no number stops the drawing; the view still shows what was drawn.
        chart.Changed();
        throw;
    }
    chart.Changed();
}

void TMainForm::GraphicalSheetShow() {
    GraphicalSheet.Highlighted = true;
    DrawChart(CurrentChart, CurrentGrid);
}

void TMainForm::FixedGraphSheetShow() {
    FixedGraphSheet.Highlighted = true;
    DrawChart(FixedPRVChart, FixedPRVGrid);
}

void TMainForm::TimeGraphicalSheetShow() {
    TimeGraphicalSheet.Highlighted = true;
    DrawChart(TimePRVChart, TimePRVGrid);
}

void TMainForm::FlowGraphicalSheetShow() {
    FlowGraphicalSheet.Highlighted = true;
    DrawChart(FlowPRVChart, FlowPRVGrid);
}

void TMainForm::RedrawShownCharts() {
    const struct {
        TTabSheet& Sheet;
        TChart& Chart;
        TMarkStringGrid& Grid;
    } charts[] = {{GraphicalSheet, CurrentChart, CurrentGrid},
                  {FixedGraphSheet, FixedPRVChart, FixedPRVGrid},
                  {TimeGraphicalSheet, TimePRVChart, TimePRVGrid},
                  {FlowGraphicalSheet, FlowPRVChart, FlowPRVGrid}};
    for (const auto& c : charts)
        if (c.Sheet.Showing() && c.Chart.SourceTexts != SourceTextsOf(c.Chart, c.Grid))
            DrawChart(c.Chart, c.Grid);
}

void TMainForm::GraphOptionButtonClick() {
    GraphPropForm.Tag = 1;
    GraphPropForm.ShowModal();
}

void TMainForm::FullGraphOptionButtonClick() {
    GraphPropForm.Tag = 0;
    GraphPropForm.ShowModal();
}

} // namespace halvern
