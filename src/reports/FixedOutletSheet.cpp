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
    using namespace FixedOutletSheetLayout;
    const std::string stopped = NotCalculatedText(form, TMainForm::TAnalysisScenario::FixedOutlet);
    TWorksheet& sheet = BeginSheet(context, {"Fixed Outlet", 8.43, {}, true, ScenarioClosingLine(kind)});

    ScenarioTitleRow(context, sheet, kind);
    FlowsBlock(sheet, FlowsRow,
               ResultTexts(stopped, {form.FixedDepLabel.Caption, form.FixedIndepLabel.Caption,
                                     form.FixedTotLabel.Caption}));
    progress.StepIt();
    ValveChecks(sheet, ChecksRow, ResultTexts(stopped, {form.FixedDayNightLabel.Caption})[0],
                stopped.empty() ? form.FixedWarnLabel.Caption : stopped,
                stopped.empty() ? std::vector<std::string>{form.FixedOpenLabel.Caption}
                                : std::vector<std::string>{});
    progress.StepIt();
    UpperBlock(sheet, SettingRow, " PRV Setting :", {"PRV Outlet Pressure (m):"});
    UpperValues(sheet, SettingRow, {form.FixedPRVOutletEdit.Text()});
    progress.StepIt();

    ScenarioTable(context, sheet, kind, TableHeadingRow, form.FixedPRVGrid, FirstFormattedRow,
                  stopped.empty());
    ScenarioChart(context, sheet, kind, TableHeadingRow, {0, 403, 483, 350}, 4, stopped.empty());
}

} // namespace halvern
