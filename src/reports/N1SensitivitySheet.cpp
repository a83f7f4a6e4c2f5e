// "N1 Sensitivity": the savings and payback of the three valves for each N1 of the sweep, as
// the Summary shows them with that N1 typed in, the sentences saying over which N1 each pays
// back, and the two charts. The sweep is the one the page shows when it is still current for
// the window's project; otherwise it is run now, on copies of the window.
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include "reports/ScenarioParts.h"
#include "reports/SheetWriters.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace halvern {

namespace {

namespace Layout = N1SensitivityLayout;

constexpr int kHeadingRow = 9; // the table's two heading rows, then one row per N1
constexpr int kFirstN1Row = kHeadingRow + 2;
// The values the charts are drawn from, under the charts: the N1, then per valve the savings
// (R/a), and again the N1 with per valve the payback in months, empty where it never pays back.
constexpr const char* kSavingsBlockFirst = "A";
constexpr const char* kPaybackBlockFirst = "F";
// After each block's valves, the column of the project's N1 line: one value, at the project's
// row, standing at the top of the chart's value axis.
constexpr int kMarkerOffset = 1 + SweepValves;
constexpr uint32_t kMarkerColour = 0x808080; // the grey of the window's charts' line

// The chart values of the valves' lines, in the valves' colours of the page.
constexpr uint32_t kValveLineColours[SweepValves] = {0x0000FF, 0xFF0000, 0x008000};
constexpr TMarkerStyle kValveMarkers[SweepValves] = {TMarkerStyle::Square, TMarkerStyle::Circle,
                                                     TMarkerStyle::Triangle};

const std::vector<TN1SweepRow>& CurrentSweep(TMainForm& form) {
    TN1SensitivityForm& page = form.N1Sensitivity;
    const TN1SweepSource now = TakeN1SweepSource(form);
    const bool sameRange = page.SweptRange.From == page.Range.From && page.SweptRange.To == page.Range.To &&
                           page.SweptRange.Step == page.Range.Step;
    if (!page.SweptSource || !sameRange || !(*page.SweptSource == now)) page.SweepNow();
    return page.Rows;
}

// A number of the table without the user's group separators, as the chart reads it (the
// decimal separator is always the point; whatever else stands between the digits groups them).
std::string ChartNumber(const std::string& shown) {
    std::string plain;
    for (const char c : shown)
        if ((c >= '0' && c <= '9') || c == '.' || c == '-') plain += c;
    return ParseNumber(plain) ? plain : std::string();
}

// A saving as the Summary shows it ("24,578" with the user's separators), as a number in the
// file's own notation whatever the locale; a text that is no number stays text. A large
// zone's figures shrink rather than show as ###.
void WholeNumber(TWorksheet& sheet, const std::string& cell, const std::string& shown) {
    const std::string plain = ChartNumber(shown);
    if (const std::optional<double> value = plain.empty() ? std::nullopt : ParseNumber(plain))
        sheet.Range(cell).SetNumber(*value).SetNumberFormat("#,##0").SetShrinkToFit();
    else
        sheet.Range(cell).SetText(shown).SetShrinkToFit();
}

// A chart's value axis, fixed so that the project's N1 line reaches from its bottom to its
// top: from zero (or below, for a saving that is a loss) to a round number over the values.
struct TValueAxis {
    double Min = 0, Max = 1, Step = 0.2;
};

TValueAxis AxisOver(const std::vector<double>& values) {
    double low = 0, high = 0;
    for (const double v : values) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    if (!(high > low)) high = low + 1;
    TValueAxis axis;
    axis.Step = RoundStep(high - low);
    axis.Min = std::floor(low / axis.Step) * axis.Step;
    axis.Max = std::max(axis.Min + axis.Step, std::ceil(high / axis.Step) * axis.Step);
    return axis;
}

// The value a row puts on a chart, none for a gap (a failed row, "Never").
std::optional<double> SavingValue(const TN1SweepRow& row, int valve) {
    if (row.Failed) return std::nullopt;
    const std::string plain = ChartNumber(row.Valves[static_cast<std::size_t>(valve)].SavingRa);
    return plain.empty() ? std::nullopt : ParseNumber(plain);
}

std::optional<double> PaybackValue(const TN1SweepRow& row, int valve) {
    if (row.Failed) return std::nullopt;
    return PaybackMonths(row.Valves[static_cast<std::size_t>(valve)].Payback);
}

template <typename F> TValueAxis AxisOfRows(const std::vector<TN1SweepRow>& rows, F value) {
    std::vector<double> values;
    for (const TN1SweepRow& row : rows)
        for (int v = 0; v < SweepValves; ++v)
            if (const std::optional<double> x = value(row, v)) values.push_back(*x);
    return AxisOver(values);
}

const TN1SweepRow* ProjectRow(const std::vector<TN1SweepRow>& rows) {
    for (const TN1SweepRow& row : rows)
        if (row.ProjectN1) return &row;
    return nullptr;
}

void RangeBlock(TWorksheet& sheet, const TN1SensitivityForm& page) {
    GroupLabel(sheet, 4, " Sweep :", "C");
    CaptionCells(sheet, 4, "D", "G", {"N1 from:", "N1 to:", "N1 step:", "Payback horizon (months):"});
    ValueCells(sheet, 4, 7, "H", "H", THorizontalAlignment::Right);
    sheet.Range("H4").SetText(FormatFixed(page.SweptRange.From, 15, 2));
    sheet.Range("H5").SetText(FormatFixed(page.SweptRange.To, 15, 2));
    sheet.Range("H6").SetText(FormatFixed(page.SweptRange.Step, 15, 2));
    sheet.Range("H7").SetText(FormatGeneral(page.Horizon));
    sheet.Range("H4:H6").SetNumberFormat("0.00");
}

void TableHeadings(TWorksheet& sheet) {
    const int second = kHeadingRow + 1;
    sheet.Range(Span("A", kHeadingRow, "J", second))
        .SetBold()
        .SetFontSize(9)
        .SetFill(PaleYellow)
        .SetWrapText()
        .SetHorizontalAlignment(THorizontalAlignment::Centre);
    sheet.Range(At("A", kHeadingRow)).SetText("N1");
    sheet.Range(Span("A", kHeadingRow, "A", second)).Merge();
    for (int v = 0; v < SweepValves; ++v) {
        const std::string first = ColumnOf(Layout::ValveCol(v, 0));
        const std::string last = ColumnOf(Layout::ValveCol(v, Layout::ValveCols - 1));
        sheet.Range(At(first, kHeadingRow)).SetText(SweepValveNames[static_cast<std::size_t>(v)]);
        sheet.Range(Span(first, kHeadingRow, last, kHeadingRow)).Merge();
        sheet.Range(At(ColumnOf(Layout::ValveCol(v, Layout::SavingM3aOffset)), second))
            .SetText("Savings (m³/a)");
        sheet.Range(At(ColumnOf(Layout::ValveCol(v, Layout::SavingRaOffset)), second))
            .SetText("Savings (R/a)");
        sheet.Range(At(ColumnOf(Layout::ValveCol(v, Layout::PaybackOffset)), second))
            .SetText("Payback (months)");
    }
    sheet.Range(At("A", second)).SetRowHeight(24);
}

// The table as the page shows it; the project's own N1 on the yellow of the page's mark.
void TableRows(TWorksheet& sheet, const std::vector<TN1SweepRow>& rows) {
    const int last = kFirstN1Row + std::max<int>(1, static_cast<int>(rows.size())) - 1;
    sheet.Range(Span("A", kHeadingRow, "J", last)).SetBorders(TBorderLine::Thin);
    sheet.Range(Span("A", kFirstN1Row, "J", last)).SetFontSize(9).SetFontName("Calibri");
    sheet.Range(Span("A", kFirstN1Row, "A", last)).SetHorizontalAlignment(THorizontalAlignment::Centre);
    sheet.Range(Span("B", kFirstN1Row, "J", last)).SetHorizontalAlignment(THorizontalAlignment::Right);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TN1SweepRow& r = rows[i];
        const int row = kFirstN1Row + static_cast<int>(i);
        sheet.Range(At("A", row)).SetText(r.N1Text).SetNumberFormat(r.N1Text.size() > 4 ? "0.000" : "0.00");
        for (int v = 0; v < SweepValves; ++v) {
            const TValveSensitivity& valve = r.Valves[static_cast<std::size_t>(v)];
            WholeNumber(sheet, At(ColumnOf(Layout::ValveCol(v, Layout::SavingM3aOffset)), row),
                        valve.SavingM3a);
            WholeNumber(sheet, At(ColumnOf(Layout::ValveCol(v, Layout::SavingRaOffset)), row),
                        valve.SavingRa);
            sheet.Range(At(ColumnOf(Layout::ValveCol(v, Layout::PaybackOffset)), row))
                .SetText(valve.Payback)
                .SetNumberFormat("0.0")
                .SetShrinkToFit();
        }
        if (r.ProjectN1) sheet.Range(Span("A", row, "J", row)).SetFill(0xFFFF00).SetBold();
    }
}

void Sentences(TWorksheet& sheet, const TN1SensitivityForm& page, int firstRow) {
    for (int v = 0; v < SweepValves; ++v) {
        const int row = firstRow + v;
        sheet.Range(At("A", row)).SetText(page.SentenceLabels[static_cast<std::size_t>(v)].Caption);
        sheet.Range(Span("A", row, "J", row)).SetFontSize(9).SetBold();
    }
}

// The chart values beside the page: one block for the savings and one for the payback, each
// with the N1 first, as the charts' categories.
void ChartValues(TWorksheet& sheet, const std::vector<TN1SweepRow>& rows, int titleRow,
                 const TValueAxis& savingsAxis, const TValueAxis& paybackAxis) {
    const int heading = titleRow + 1;
    GroupLabel(sheet, titleRow, "Chart values (R/a and months; empty: never pays back) :", "J");
    const std::string savingsN1 = kSavingsBlockFirst;
    const std::string paybackN1 = kPaybackBlockFirst;
    sheet.Range(At(savingsN1, heading)).SetText("N1");
    sheet.Range(At(paybackN1, heading)).SetText("N1");
    // Counted from A = 0, as ColumnOf counts: the column after each block's N1.
    const int savingsFirstCol = ParseRange(At(savingsN1, 1)).First.Col;
    const int paybackFirstCol = ParseRange(At(paybackN1, 1)).First.Col;
    sheet.Range(Span(kSavingsBlockFirst, heading, "J", heading)).SetBold().SetFontSize(8).SetWrapText();
    sheet.Range(At(kSavingsBlockFirst, heading)).SetRowHeight(24);
    for (int v = 0; v < SweepValves; ++v) {
        sheet.Range(At(ColumnOf(savingsFirstCol + v), heading))
            .SetText(SweepValveNames[static_cast<std::size_t>(v)]);
        sheet.Range(At(ColumnOf(paybackFirstCol + v), heading))
            .SetText(SweepValveNames[static_cast<std::size_t>(v)]);
    }
    const int savingsMarkerCol = savingsFirstCol - 1 + kMarkerOffset;
    const int paybackMarkerCol = paybackFirstCol - 1 + kMarkerOffset;
    sheet.Range(At(ColumnOf(savingsMarkerCol), heading)).SetText("Project N1 line");
    sheet.Range(At(ColumnOf(paybackMarkerCol), heading)).SetText("Project N1 line");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TN1SweepRow& r = rows[i];
        const int row = heading + 1 + static_cast<int>(i);
        // The charts' categories, shown as the table shows them.
        const std::string format = r.N1Text.size() > 4 ? "0.000" : "0.00";
        sheet.Range(At(savingsN1, row)).SetText(r.N1Text).SetNumberFormat(format);
        sheet.Range(At(paybackN1, row)).SetText(r.N1Text).SetNumberFormat(format);
        if (r.ProjectN1) {
            sheet.Range(At(ColumnOf(savingsMarkerCol), row)).SetNumber(savingsAxis.Max).SetShrinkToFit();
            sheet.Range(At(ColumnOf(paybackMarkerCol), row)).SetNumber(paybackAxis.Max).SetShrinkToFit();
        }
        for (int v = 0; v < SweepValves; ++v) {
            const TValveSensitivity& valve = r.Valves[static_cast<std::size_t>(v)];
            const std::string saving = r.Failed ? "" : ChartNumber(valve.SavingRa);
            const std::optional<double> months = PaybackMonths(valve.Payback);
            if (!saving.empty())
                sheet.Range(At(ColumnOf(savingsFirstCol + v), row)).SetText(saving).SetShrinkToFit();
            if (months && !r.Failed)
                sheet.Range(At(ColumnOf(paybackFirstCol + v), row))
                    .SetText(Trim(valve.Payback))
                    .SetNumberFormat("0.0")
                    .SetShrinkToFit();
        }
    }
}

double TopOfRow(const TWorksheet& sheet, int row) {
    double top = 0;
    for (int r = 1; r < row; ++r)
        top += sheet.RowHeight(r);
    return top;
}

void AddChart(TWorksheet& sheet, const std::string& firstCol, int firstRow, int rowCount, double top,
              const std::string& title, const std::string& axisTitle, const TValueAxis& axis,
              const TN1SweepRow* project) {
    const int firstColIndex = ParseRange(At(firstCol, 1)).First.Col - 1; // from A = 0
    const int lastRow = firstRow + std::max(1, rowCount) - 1;
    TSheetChart& chart = sheet.AddChart(0, top, 483, 250).Chart; // as high as kChartHeight
    chart.PlotAreaFillVisible = true;
    chart.PlotAreaColour = 0xFFFFFF;
    chart.AddSeriesBlock(
        sheet.Name(), ParseRange(Span(firstCol, firstRow, ColumnOf(firstColIndex + SweepValves), lastRow)));
    for (int v = 0; v < SweepValves && v < static_cast<int>(chart.Series.size()); ++v) {
        TSheetSeries& series = chart.Series[static_cast<std::size_t>(v)];
        series.Name = SweepValveNames[static_cast<std::size_t>(v)];
        series.LineColour = kValveLineColours[v];
        series.LineWeight = 2;
        series.MarkerStyle = kValveMarkers[v];
        series.MarkerSize = 5;
    }
    // The project's N1 as the window's charts mark it: a grey upright line over the plot.
    if (project) {
        const std::string column = ColumnOf(firstColIndex + kMarkerOffset);
        chart.AddSeries(sheet.Name(), ParseRange(Span(column, firstRow, column, lastRow)));
        TSheetSeries& marker = chart.Series.back();
        marker.Name = "Project N1 " + project->N1Text;
        marker.LineColour = kMarkerColour;
        marker.LineWeight = 1.5;
        marker.UprightLineLength = axis.Max - axis.Min;
    }
    chart.ValueAxisMin = axis.Min;
    chart.ValueAxisMax = axis.Max;
    chart.ValueAxisStep = axis.Step;
    chart.Title = title;
    chart.CategoryAxisTitle = "N1";
    chart.ValueAxisTitle = axisTitle;
    chart.Legend = TLegendPosition::Bottom;
}

} // namespace

void WriteN1Sensitivity(TSheetContext& context) {
    TMainForm& form = context.Form;
    TProgressBar& progress = context.Progress;
    const std::vector<TN1SweepRow>& rows = CurrentSweep(form);
    const TN1SensitivityForm& page = form.N1Sensitivity;
    TWorksheet& sheet = BeginSheet(context, {"N1 Sensitivity", 8.43, {{"A", 7.0}}, true, "A75:J75"});

    ScenarioTitleRow(context, sheet, TScenarioKind::Valve);
    RangeBlock(sheet, page);
    progress.StepIt();
    TableHeadings(sheet);
    progress.StepIt();
    TableRows(sheet, rows);
    progress.StepIt();
    const int rowCount = static_cast<int>(rows.size());
    const int sentenceRow = kFirstN1Row + std::max(1, rowCount) + 1;
    Sentences(sheet, page, sentenceRow);
    progress.StepIt();

    // The two charts under the sentences, their values under them.
    const double chartsTop = TopOfRow(sheet, sentenceRow + SweepValves + 1);
    constexpr double kChartHeight = 250, kChartGap = 10;
    int valuesRow = sentenceRow + SweepValves + 1;
    while (TopOfRow(sheet, valuesRow) < chartsTop + 2 * (kChartHeight + kChartGap))
        ++valuesRow;
    const TValueAxis savingsAxis = AxisOfRows(rows, SavingValue);
    const TValueAxis paybackAxis = AxisOfRows(rows, PaybackValue);
    ChartValues(sheet, rows, valuesRow, savingsAxis, paybackAxis);
    progress.StepIt();
    const int firstValueRow = valuesRow + 2;
    const std::string zone = form.Project.ZoneName;
    AddChart(sheet, kSavingsBlockFirst, firstValueRow, rowCount, chartsTop, "Savings against N1: " + zone,
             "Savings (R/a)", savingsAxis, ProjectRow(rows));
    progress.StepIt();
    AddChart(sheet, kPaybackBlockFirst, firstValueRow, rowCount, chartsTop + kChartHeight + kChartGap,
             "Payback against N1: " + zone, "Payback (months)", paybackAxis, ProjectRow(rows));
    progress.StepIt();
    progress.StepIt();
}

} // namespace halvern
