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
    using namespace FlowModulatedSheetLayout;
    const std::string stopped = NotCalculatedText(form, TMainForm::TAnalysisScenario::FlowModulated);
    TWorksheet& sheet = BeginSheet(context, {"Flow Modulated", 8.43, {}, true, ScenarioClosingLine(kind)});

    ScenarioTitleRow(context, sheet, kind);
    progress.StepIt();
    UpperBlock(sheet, PressuresRow, "Pressures :", {"Low Pressure (m):", "High Pressure (m):"});
    UpperValues(sheet, PressuresRow, {form.LPFlowMod.Text(), form.HPFlowMod.Text()});
    FlowsBlock(sheet, FlowsRow,
               ResultTexts(stopped, {form.FlowDepLabel.Caption, form.FlowIndepLabel.Caption,
                                     form.FlowTotLabel.Caption}));
    progress.StepIt();
    ValveChecks(sheet, ChecksRow, ResultTexts(stopped, {form.FlowDayNightLabel.Caption})[0],
                stopped.empty() ? form.FlowWarnLabel.Caption : stopped,
                stopped.empty()
                    ? std::vector<std::string>{form.FlowOpenLabel.Caption, form.FlowTargetLabel.Caption}
                    : std::vector<std::string>{});
    progress.StepIt();

    ScenarioTable(context, sheet, kind, TableHeadingRow, form.FlowPRVGrid, FirstFormattedRow,
                  stopped.empty());
    ScenarioChart(context, sheet, kind, TableHeadingRow, {0, 416, 483, 340}, 4, stopped.empty());
}

} // namespace halvern
