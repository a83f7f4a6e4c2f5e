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
    TWorksheet& sheet = BeginSheet(context, {"Flow Modulated", 8.43, {}, true, "A75:J75"});

    ScenarioTitleRow(context, sheet, kind);
    progress.StepIt();
    UpperBlock(sheet, 4, "Pressures :", {"Low Pressure (m):", "High Pressure (m):"});
    UpperValues(sheet, 4, {form.LPFlowMod.Text(), form.HPFlowMod.Text()});
    FlowsBlock(sheet, 7, {form.FlowDepLabel.Caption, form.FlowIndepLabel.Caption, form.FlowTotLabel.Caption});
    progress.StepIt();
    ValveChecks(sheet, 11, form.FlowDayNightLabel.Caption, form.FlowWarnLabel.Caption,
                {form.FlowOpenLabel.Caption, form.FlowTargetLabel.Caption});
    progress.StepIt();

    ScenarioTable(context, sheet, kind, 14, form.FlowPRVGrid, "B16:J39");
    ScenarioChart(context, sheet, kind, {0, 416, 483, 340, "A16:E39", "H16:H39"}, 4);
}

} // namespace halvern
