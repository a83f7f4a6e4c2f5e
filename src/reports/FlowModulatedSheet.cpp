// "Flow Modulated": a PRV whose outlet follows the zone inflow between the pressures that
// hold the critical point's targets, with its volumes, warning, hourly table and chart.
#include "forms/MainForm.h"
#include "reports/ScenarioParts.h"
#include "reports/SheetWriters.h"

namespace halvern {

void WriteFlowModulated(TSheetContext& context) {
    TMainForm& form = context.Form;
    TProgressBar& progress = context.Progress;
    constexpr auto kind = TScenarioKind::Valve;
    const std::string name = "Flow Modulated";
    TWorksheet& sheet = BeginSheet(context, {name, 8.43, {}, true, "A75:J75"});

    ScenarioTitleRow(context, sheet, kind);
    progress.StepIt();

    UpperBlock(sheet, 4, "Pressures :", {"Low Pressure (m):", "High Pressure (m):"});
    UpperValues(sheet, 4, {form.LPFlowMod.Text(), form.HPFlowMod.Text()});
    UpperBlock(sheet, 7, "Flows:",
               {"Pressure Dependent (m³):", "Pressure Independent (m³):", "Total Zone Inflow (m³):"});
    progress.StepIt();
    UpperValues(sheet, 7,
                {form.FlowDepLabel.Caption, form.FlowIndepLabel.Caption, form.FlowTotLabel.Caption});
    UpperBlock(sheet, 11, " Basic Checks :", {"Day / Night Factor:"});
    UpperValues(sheet, 11, {form.FlowDayNightLabel.Caption});
    StatusLine(sheet, 12, form.FlowWarnLabel.Caption);
    progress.StepIt();

    TableFrame(sheet, kind, 14);
    TableHeadings(sheet, kind, 14);
    progress.StepIt();
    TableRows(sheet, kind, 14, form.FlowPRVGrid, "B16:J39");
    progress.StepIt();

    TSheetChart& chart = AddScenarioChart(sheet, {0, 416, 483, 340, "A16:E39", "H16:H39"});
    NameSeries(chart, kind);
    StyleLines(chart);
    StyleMarkerShapes(chart);
    progress.StepIt();
    StyleMarkerColours(chart);
    progress.StepIt();
    chart.Title = ChartTitle(context, name);
    chart.CategoryAxisTitle = "Hours";
    chart.ValueAxisTitle = "Pressure(m)";
    progress.StepIt();
    chart.SecondaryValueAxisTitle = "Flow (m³/hr)";
    chart.Legend = TLegendPosition::Bottom;
    progress.StepIt();
}

} // namespace halvern
