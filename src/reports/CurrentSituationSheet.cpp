// "Current Situation": the day's volumes, the basic checks, the hourly split of the inflow
// into pressure-dependent and pressure-independent flow, and the chart of the pressures.
#include "forms/MainForm.h"
#include "reports/ScenarioParts.h"
#include "reports/SheetWriters.h"

namespace halvern {

void WriteCurrentSituation(TSheetContext& context) {
    TMainForm& form = context.Form;
    TProgressBar& progress = context.Progress;
    constexpr auto kind = TScenarioKind::Current;
    const std::string name = "Current Situation";
    TWorksheet& sheet = BeginSheet(context, {name, 9.57, {{"A", 9.43}}, true, "A75:I75"});

    ScenarioTitleRow(context, sheet, kind);
    progress.StepIt();

    UpperBlock(sheet, 4, "Flows:",
               {"Pressure Dependent (m³):", "Pressure Independent (m³):", "Total Zone Inflow (m³):"});
    UpperValues(sheet, 4,
                {form.CurrentDepLabel.Caption, form.CurrentIndepLabel.Caption, form.CurrentTotLabel.Caption});
    progress.StepIt();

    UpperBlock(sheet, 8, " Basic Checks :",
               {"Day / Night Factor:", "Non-Residential Use (m³/d):", "Estimated Population Use (l/hd/d):"});
    UpperValues(
        sheet, 8,
        {form.DayNightLabel.Caption, form.NonResidentialUseLabel.Caption, form.ResidentialUseLabel.Caption});
    progress.StepIt();

    TableFrame(sheet, kind, 12);
    progress.StepIt();
    TableHeadings(sheet, kind, 12);
    progress.StepIt();
    TableRows(sheet, kind, 12, form.CurrentGrid, "B13:I37");
    progress.StepIt();

    TSheetChart& chart = AddScenarioChart(sheet, {0, 400, 484, 350, "A14:D37", "G14:G37"});
    NameSeries(chart, kind);
    progress.StepIt();
    StyleLines(chart);
    StyleMarkerShapes(chart);
    StyleMarkerColours(chart);
    progress.StepIt();
    chart.Title = ChartTitle(context, name);
    chart.CategoryAxisTitle = "Hours";
    chart.ValueAxisTitle = "Pressure(m)";
    progress.StepIt();
    chart.SecondaryValueAxisTitle = "Flow (m³/hr)";
    chart.Legend = TLegendPosition::Bottom;
}

} // namespace halvern
