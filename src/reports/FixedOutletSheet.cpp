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
    const std::string stopped = NotCalculatedText(form, TMainForm::TAnalysisScenario::FixedOutlet);
    TWorksheet& sheet = BeginSheet(context, {"Fixed Outlet", 8.43, {}, true, "A75:J75"});

    ScenarioTitleRow(context, sheet, kind);
    FlowsBlock(sheet, 4,
               ResultTexts(stopped, {form.FixedDepLabel.Caption, form.FixedIndepLabel.Caption,
                                     form.FixedTotLabel.Caption}));
    progress.StepIt();
    ValveChecks(sheet, 8, ResultTexts(stopped, {form.FixedDayNightLabel.Caption})[0],
                stopped.empty() ? form.FixedWarnLabel.Caption : stopped,
                stopped.empty() ? std::vector<std::string>{form.FixedOpenLabel.Caption}
                                : std::vector<std::string>{});
    progress.StepIt();
    UpperBlock(sheet, 11, " PRV Setting :", {"PRV Outlet Pressure (m):"});
    UpperValues(sheet, 11, {form.FixedPRVOutletEdit.Text()});
    progress.StepIt();

    ScenarioTable(context, sheet, kind, 13, form.FixedPRVGrid, "B13:J38", stopped.empty());
    ScenarioChart(context, sheet, kind, {0, 403, 483, 350, "A15:E38", "H15:H38"}, 38, 4, stopped.empty());
}

} // namespace halvern
