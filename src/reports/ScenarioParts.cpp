#include "reports/ScenarioParts.h"
#include "engine/ValveOpen.h"
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Messages.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

namespace halvern {

namespace {

constexpr int kHours = HoursPerDay;
// The plot area behind the lines: a pale yellow.
constexpr uint32_t kPlotAreaColour = 0xFFFFCC;

// The title row, and the row a scenario sheet's page ends with.
constexpr int kTitleRow = 2;
constexpr int kClosingRow = 75;

struct TSeriesStyle {
    uint32_t LineColour; // the spreadsheet's own colour number
    TMarkerStyle Marker;
    int MarkerColourIndex;
    int MarkerSize;
};

// By series, in order: black pluses, cyan diamonds, blue circles, red triangles, green squares.
constexpr std::array<TSeriesStyle, 5> kSeriesStyles = {{{0, TMarkerStyle::Plus, 1, 3},
                                                        {16776960, TMarkerStyle::Diamond, 8, 4},
                                                        {16711680, TMarkerStyle::Circle, 5, 4},
                                                        {255, TMarkerStyle::Triangle, 3, 4},
                                                        {65280, TMarkerStyle::Square, 4, 4}}};
constexpr double kLineWeight = 0.75;
// The grey of a fully open valve's outlet (the window's #808080).
constexpr uint32_t kValveOpenGrey = 0x808080;
// About so many characters of 9-point text fill the columns C to J.
constexpr int kNoteCharactersPerLine = 95;
// The white space between a table's last row and the chart below it.
constexpr double kChartGap = 9;

} // namespace

std::string LastColumn(TScenarioKind kind) {
    return kind == TScenarioKind::Current ? "I" : "J";
}

std::string ScenarioClosingLine(TScenarioKind kind) {
    return Span("A", kClosingRow, LastColumn(kind), kClosingRow);
}

TChartPlacement ScenarioChartPlacement(TScenarioKind kind, int headingRow, const TChartFrame& frame) {
    // The hours, then the pressures up to the critical point's; the zone inflow on its own.
    const bool current = kind == TScenarioKind::Current;
    const int lastPressure = current ? CurrentGridLayout::CriticalCol : PRVGridLayout::CriticalCol;
    const int flow = current ? CurrentGridLayout::TotalFlowCol : PRVGridLayout::TotalFlowCol;
    const int first = TableFirstHourRow(headingRow), last = TableLastHourRow(headingRow);
    return {frame.Left,
            frame.Top,
            frame.Width,
            frame.Height,
            Span(ColumnOf(ResultRows::HourCol), first, ColumnOf(lastPressure), last),
            Span(ColumnOf(flow), first, ColumnOf(flow), last)};
}

std::string NotCalculatedText(const TMainForm& form, TMainForm::TAnalysisScenario scenario) {
    const std::string& failure = form.FailureOf(scenario);
    return failure.empty() ? std::string() : Msg::ScenarioNotCalculated + failure;
}

std::vector<std::string> ResultTexts(const std::string& notCalculated, std::vector<std::string> texts) {
    if (!notCalculated.empty())
        for (std::string& text : texts)
            text.clear();
    return texts;
}

namespace {

// The lowest and highest number over a range of the sheet; nullopt when it holds none.
std::optional<std::pair<double, double>> NumberSpan(const TWorksheet& sheet, const TCellRange& range) {
    std::optional<std::pair<double, double>> span;
    for (int row = range.First.Row; row <= range.Last.Row; ++row)
        for (int col = range.First.Col; col <= range.Last.Col; ++col) {
            const TSheetCell* cell = sheet.Find({row, col});
            if (!cell || cell->Value.Kind != TCellValue::TKind::Number) continue;
            const double v = cell->Value.Number;
            span = span ? std::pair{std::min(span->first, v), std::max(span->second, v)} : std::pair{v, v};
        }
    return span;
}

// The round number (1, 2, 2.5 or 5 times a power of ten) at or above a value.
double RoundUp(double value) {
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (const double factor : {1.0, 2.0, 2.5, 5.0})
        if (factor * power >= value * (1 - 1e-12)) return factor * power;
    return 10 * power;
}

} // namespace

double RoundStep(double span) {
    const double rough = std::max(span, 1e-9) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 2.5, 5.0})
        if (factor * power >= rough) return factor * power;
    return 10 * power;
}

void ScaleAxes(const TWorksheet& sheet, TSheetChart& chart) {
    // The hour labels always stand under the plot, wherever the pressure axis crosses it.
    chart.CategoryLabelsLow = true;
    std::optional<std::pair<double, double>> pressures, flows;
    for (const TSheetSeries& series : chart.Series) {
        auto& span = series.AxisGroup == 2 ? flows : pressures;
        if (const auto found = NumberSpan(sheet, series.Values))
            span = span
                       ? std::pair{std::min(span->first, found->first), std::max(span->second, found->second)}
                       : *found;
    }
    // Pressures at or above zero: the spreadsheet's own scales start both axes at zero.
    if (!pressures || pressures->first >= 0) return;
    // Below zero, both axes are fixed so that their zeros meet on one line, and the flows
    // keep some room above their peak.
    const double step = RoundStep(std::max(pressures->second, 0.0) - pressures->first);
    const double low = std::floor(pressures->first / step) * step;
    const double high = std::max(step, std::ceil(pressures->second / step) * step);
    chart.ValueAxisMin = low;
    chart.ValueAxisMax = high;
    chart.ValueAxisStep = step;
    // The flow axis takes as many steps as the pressure axis on each side of zero, so that
    // its labels stand on the same gridlines and read as round numbers too.
    const double stepsAbove = std::round(high / step);
    const double stepsBelow = std::round(-low / step);
    const double peak = flows ? std::max(flows->second, 0.0) : 0.0;
    const double flowStep = RoundUp(std::max(peak * 1.1, 1.0) / stepsAbove);
    chart.SecondaryAxisStep = flowStep;
    chart.SecondaryAxisMax = flowStep * stepsAbove;
    chart.SecondaryAxisMin = -flowStep * stepsBelow;
}

double PointsToBottomOf(const TWorksheet& sheet, int row) {
    double points = 0;
    for (int r = 1; r <= row; ++r)
        points += sheet.RowHeight(r);
    return points;
}

void ScenarioTitleRow(TSheetContext& context, TWorksheet& sheet, TScenarioKind kind) {
    const TProject& p = context.Form.Project;
    const std::string last = LastColumn(kind);
    const int r = kTitleRow;
    sheet.Range(Span("A", r, last, r)).SetBold().SetFontSize(12).SetBottomBorder(TBorderLine::Thick);
    sheet.Range(At("A", r)).SetLiteralText(p.WaterSupplySystem);
    sheet.Range(At("E", r)).SetLiteralText(p.ZoneName);
    sheet.Range(At("I", r)).SetText(sheet.Name());
    // The system, the zone and the sheet's name each over their merged cells.
    const bool current = kind == TScenarioKind::Current;
    const std::pair<const char*, const char*> parts[] = {{"A", current ? "C" : "D"},
                                                         {current ? "D" : "E", current ? "F" : "H"},
                                                         {current ? "G" : "I", last.c_str()}};
    for (const auto& [first, end] : parts)
        sheet.Range(Span(first, r, end, r)).Merge();
    sheet.Range(Span("A", r, "H", r)).SetHorizontalAlignment(THorizontalAlignment::Left);
    sheet.Range(Span(parts[2].first, r, last, r)).SetHorizontalAlignment(THorizontalAlignment::Right);
    WrapLongText(sheet, r, parts[0].first, parts[0].second, p.WaterSupplySystem);
    WrapLongText(sheet, r, parts[1].first, parts[1].second, p.ZoneName);
}

void UpperBlock(TWorksheet& sheet, int firstRow, const std::string& label,
                const std::vector<std::string>& captions) {
    GroupLabel(sheet, firstRow, label, "B");
    CaptionCells(sheet, firstRow, "C", "E", captions);
    ValueCells(sheet, firstRow, firstRow + static_cast<int>(captions.size()) - 1, "F", "F",
               THorizontalAlignment::Right);
}

void UpperValues(TWorksheet& sheet, int firstRow, const std::vector<std::string>& texts,
                 const std::string& numberFormat) {
    for (std::size_t i = 0; i < texts.size(); ++i)
        sheet.Range(At("F", firstRow + static_cast<int>(i))).SetText(texts[i]);
    if (!numberFormat.empty())
        sheet.Range(Span("F", firstRow, "F", firstRow + static_cast<int>(texts.size()) - 1))
            .SetNumberFormat(numberFormat);
}

void StatusLine(TWorksheet& sheet, int row, const std::string& text) {
    sheet.Range(At("C", row))
        .SetText(text)
        .SetBold()
        .SetFontSize(9)
        .SetFontName("Calibri")
        .SetHorizontalAlignment(THorizontalAlignment::Left);
}

void TableFrame(TWorksheet& sheet, TScenarioKind kind, int headingRow) {
    const int r = headingRow;
    const bool current = kind == TScenarioKind::Current;
    const std::string last = LastColumn(kind);
    sheet.Range(Span("A", r, current ? "K" : "J", r + 1))
        .SetHorizontalAlignment(THorizontalAlignment::Centre)
        .SetBold()
        .SetFontSize(9)
        .SetFontName("Calibri");
    sheet.Range(Span("A", r, last, r + 1)).SetFill(PaleYellow);
    sheet.Range(Span("A", r, "A", r + 1)).Merge();
    if (current) {
        sheet.Range(Span("B", r, "D", r)).Merge();
        sheet.Range(Span("E", r, "F", r)).Merge();
        sheet.Range(Span("G", r, "I", r)).Merge();
        sheet.Range(Span("H", r + 1, "I", r + 1)).SetWrapText();
    } else {
        sheet.Range(Span("B", r, "E", r)).Merge();
        sheet.Range(Span("F", r, "G", r)).Merge();
        sheet.Range(Span("H", r, "J", r)).Merge();
        sheet.Range(Span("H", r + 1, "J", r + 1)).SetWrapText();
    }
    sheet.Range(At("A", r + 1)).SetRowHeight(36);
    sheet.Range(Span("A", r, last, TableLastHourRow(r))).SetBorders(TBorderLine::Thin);
}

void TableHeadings(TWorksheet& sheet, TScenarioKind kind, int headingRow) {
    const int r = headingRow;
    sheet.Range(At("A", r)).SetText("Hour");
    sheet.Range(At("B", r)).SetText("Pressure (m)");
    std::vector<std::string> below;
    if (kind == TScenarioKind::Current) {
        sheet.Range(At("E", r)).SetText("Headloss (m)");
        sheet.Range(At("G", r)).SetText("Flow(m³/hr)");
        below = {"Inlet",    "AZP",   "Critical",         "AZP",
                 "Critical", "Total", "Pressure Depend.", "Pressure Independ."};
    } else {
        sheet.Range(At("F", r)).SetText("Headloss (m)");
        sheet.Range(At("H", r)).SetText("Flow(m³/hr)");
        below = {"Inlet",
                 "PRV Outlet",
                 "AZP",
                 "Critical",
                 "AZP",
                 "Critical",
                 "Total",
                 "Pressure Depend.",
                 "Pressure Independ."};
    }
    for (std::size_t i = 0; i < below.size(); ++i)
        sheet.Range(At(ColumnOf(static_cast<int>(i) + 1), r + 1)).SetText(below[i]);
    if (kind == TScenarioKind::Valve) sheet.Range(At("A", 1)).SetColumnWidth(9.3);
}

void TableRows(TWorksheet& sheet, TScenarioKind kind, int headingRow, const TMarkStringGrid& grid,
               int firstFormattedRow, bool calculated) {
    // The table's columns in their order, from the hour on; its heading rows are the sheet's own.
    const int columns = !calculated                      ? 1
                        : kind == TScenarioKind::Current ? CurrentGridLayout::ColCount
                                                         : PRVGridLayout::ColCount;
    for (int hour = 0; hour < kHours; ++hour)
        for (int col = 0; col < columns; ++col)
            sheet.Range(At(ColumnOf(col), TableFirstHourRow(headingRow) + hour))
                .SetText(grid.Cell(col, ResultRows::HourRow(hour)));
    // The outlet of an hour in which the valve stands fully open is grey, as in the window.
    if (kind == TScenarioKind::Valve)
        for (int hour = 0; hour < kHours; ++hour)
            if (IsOutletOpen(grid, ResultRows::HourRow(hour)))
                sheet.Range(At(ColumnOf(PRVGridLayout::OutletCol), TableFirstHourRow(headingRow) + hour))
                    .SetFontColour(kValveOpenGrey);
    // The hourly flows of a large zone shrink rather than show as ###.
    sheet.Range(Span("B", firstFormattedRow, LastColumn(kind), TableLastHourRow(headingRow)))
        .SetNumberFormat("#,##0.0")
        .SetShrinkToFit();
}

void FlowsBlock(TWorksheet& sheet, int firstRow, const std::vector<std::string>& volumes) {
    UpperBlock(sheet, firstRow, "Flows:",
               {"Pressure Dependent (m³):", "Pressure Independent (m³):", "Total Zone Inflow (m³):"});
    UpperValues(sheet, firstRow, volumes);
}

void ValveChecks(TWorksheet& sheet, int firstRow, const std::string& dayNight, const std::string& warning,
                 const std::vector<std::string>& notes) {
    UpperBlock(sheet, firstRow, " Basic Checks :", {"Day / Night Factor:"});
    UpperValues(sheet, firstRow, {dayNight});
    StatusLine(sheet, firstRow + 1, warning);

    // The hours in which the valve stands fully open and the targets it cannot meet, in
    // grey as the table's open outlets, wrapped across the row below the warning.
    std::string text;
    int lines = 0;
    for (const std::string& note : notes) {
        std::size_t start = 0;
        while (start < note.size()) {
            std::size_t end = note.find('\n', start);
            if (end == std::string::npos) end = note.size();
            const std::string line = note.substr(start, end - start);
            text += (text.empty() ? "" : "\n") + line;
            lines += 1 + static_cast<int>(line.size()) / kNoteCharactersPerLine;
            start = end + 1;
        }
    }
    if (text.empty()) return;
    const int row = firstRow + 2;
    sheet.Range(Span("C", row, "J", row)).Merge();
    sheet.Range(At("C", row))
        .SetLiteralText(text)
        .SetFontSize(9)
        .SetFontName("Calibri")
        .SetFontColour(kValveOpenGrey)
        .SetWrapText()
        .SetVerticalAlignment(TVerticalAlignment::Top)
        .SetHorizontalAlignment(THorizontalAlignment::Left)
        .SetRowHeight(12.0 * lines);
}

void ScenarioTable(TSheetContext& context, TWorksheet& sheet, TScenarioKind kind, int headingRow,
                   const TMarkStringGrid& grid, int firstFormattedRow, bool calculated) {
    TableFrame(sheet, kind, headingRow);
    TableHeadings(sheet, kind, headingRow);
    context.Progress.StepIt();
    TableRows(sheet, kind, headingRow, grid, firstFormattedRow, calculated);
    context.Progress.StepIt();
}

void ScenarioChart(TSheetContext& context, TWorksheet& sheet, TScenarioKind kind, int headingRow,
                   const TChartFrame& frame, int steps, bool calculated) {
    if (!calculated) {
        for (int step = 0; step < steps; ++step)
            context.Progress.StepIt();
        return;
    }
    const TChartPlacement placement = ScenarioChartPlacement(kind, headingRow, frame);
    TChartPlacement below = placement;
    below.Top = std::max(placement.Top, PointsToBottomOf(sheet, TableLastHourRow(headingRow)) + kChartGap);
    below.Height = placement.Top + placement.Height - below.Top;
    TSheetChart& chart = AddScenarioChart(sheet, below);
    NameSeries(chart, kind);
    StyleLines(chart);
    StyleMarkerShapes(chart);
    StyleMarkerColours(chart);
    chart.Title = ChartTitle(context, sheet.Name());
    chart.CategoryAxisTitle = "Hours";
    chart.ValueAxisTitle = "Pressure(m)";
    chart.SecondaryValueAxisTitle = "Flow (m³/hr)";
    chart.Legend = TLegendPosition::Bottom;
    ScaleAxes(sheet, chart);
    for (int step = 0; step < steps; ++step)
        context.Progress.StepIt();
}

TSheetChart& AddScenarioChart(TWorksheet& sheet, const TChartPlacement& placement) {
    TSheetChart& chart =
        sheet.AddChart(placement.Left, placement.Top, placement.Width, placement.Height).Chart;
    chart.PlotAreaFillVisible = true;
    chart.PlotAreaColour = kPlotAreaColour;
    chart.AddSeriesBlock(sheet.Name(), ParseRange(placement.PressureBlock));
    chart.AddSeries(sheet.Name(), ParseRange(placement.FlowColumn));
    return chart;
}

void NameSeries(TSheetChart& chart, TScenarioKind kind) {
    const std::vector<std::string> names =
        kind == TScenarioKind::Current
            ? std::vector<std::string>{"Inlet", "AZP", "Critical", "Flows"}
            : std::vector<std::string>{"Inlet", "PRV Outlet", "AZP", "Critical", "Flows"};
    for (std::size_t i = 0; i < names.size(); ++i)
        chart.SeriesAt(static_cast<int>(i) + 1).Name = names[i];
    chart.SeriesAt(static_cast<int>(names.size())).AxisGroup = 2;
}

void StyleLines(TSheetChart& chart) {
    for (std::size_t i = 0; i < chart.Series.size() && i < kSeriesStyles.size(); ++i) {
        chart.Series[i].LineColour = RgbOfColor(kSeriesStyles[i].LineColour);
        chart.Series[i].LineWeight = kLineWeight;
    }
}

void StyleMarkerShapes(TSheetChart& chart) {
    for (std::size_t i = 0; i < chart.Series.size() && i < kSeriesStyles.size(); ++i)
        chart.Series[i].MarkerStyle = kSeriesStyles[i].Marker;
}

void StyleMarkerColours(TSheetChart& chart) {
    for (std::size_t i = 0; i < chart.Series.size() && i < kSeriesStyles.size(); ++i) {
        chart.Series[i].MarkerBackgroundColorIndex = kSeriesStyles[i].MarkerColourIndex;
        chart.Series[i].MarkerForegroundColorIndex = kSeriesStyles[i].MarkerColourIndex;
        chart.Series[i].MarkerSize = kSeriesStyles[i].MarkerSize;
    }
}

std::string ChartTitle(const TSheetContext& context, const std::string& sheetName) {
    return sheetName + ": " + context.Form.Project.ZoneName;
}

} // namespace halvern
