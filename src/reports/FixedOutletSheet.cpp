// "Fixed Outlet": a PRV holding one outlet pressure all day, with its volumes, day/night
// factor, minimum-pressure warning, hourly table and chart.
#include "forms/MainForm.h"
#include "reports/ScenarioParts.h"
#include "reports/SheetWriters.h"

namespace halvern {

void WriteFixedOutlet(TSheetContext& context) {
    TMainForm& form = context.Form;
    TProgressBar& progress = context.Progress;
    constexpr auto kind = TScenarioKind::Valve;
    const std::string name = "Fixed Outlet";
    TWorksheet& sheet = BeginSheet(context, {name, 8.43, {}, true, "A75:J75"});

    ScenarioTitleRow(context, sheet, kind);
    UpperBlock(sheet, 4, "Flows:",
               {"Pressure Dependent (m³):", "Pressure Independent (m³):", "Total Zone Inflow (m³):"});
    UpperValues(sheet, 4,
                {form.FixedDepLabel.Caption, form.FixedIndepLabel.Caption, form.FixedTotLabel.Caption});
    progress.StepIt();

    UpperBlock(sheet, 8, " Basic Checks :", {"Day / Night Factor:"});
    UpperValues(sheet, 8, {form.FixedDayNightLabel.Caption});
    StatusLine(sheet, 9, form.FixedWarnLabel.Caption);
    progress.StepIt();

    UpperBlock(sheet, 11, " PRV Setting :", {"PRV Outlet Pressure (m):"});
    UpperValues(sheet, 11, {form.FixedPRVOutletEdit.Text()});
    progress.StepIt();

    TableFrame(sheet, kind, 13);
    TableHeadings(sheet, kind, 13);
    progress.StepIt();
    TableRows(sheet, kind, 13, form.FixedPRVGrid, "B13:J38");
    progress.StepIt();

    TSheetChart& chart = AddScenarioChart(sheet, {0, 403, 483, 350, "A15:E38", "H15:H38"});
    NameSeries(chart, kind);
    progress.StepIt();
    StyleLines(chart);
    StyleMarkerShapes(chart);
    StyleMarkerColours(chart);
    progress.StepIt();
    chart.Title = ChartTitle(context, name);
    chart.CategoryAxisTitle = "Hours";
    progress.StepIt();
    chart.ValueAxisTitle = "Pressure(m)";
    chart.SecondaryValueAxisTitle = "Flow (m³/hr)";
    chart.Legend = TLegendPosition::Bottom;
    progress.StepIt();
}

} // namespace halvern
