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
    TWorksheet& sheet = BeginSheet(context, {"Fixed Outlet", 8.43, {}, true, "A75:J75"});

    ScenarioTitleRow(context, sheet, kind);
    FlowsBlock(sheet, 4,
               {form.FixedDepLabel.Caption, form.FixedIndepLabel.Caption, form.FixedTotLabel.Caption});
    progress.StepIt();
    ValveChecks(sheet, 8, form.FixedDayNightLabel.Caption, form.FixedWarnLabel.Caption,
                {form.FixedOpenLabel.Caption});
    progress.StepIt();
    UpperBlock(sheet, 11, " PRV Setting :", {"PRV Outlet Pressure (m):"});
    UpperValues(sheet, 11, {form.FixedPRVOutletEdit.Text()});
    progress.StepIt();

    ScenarioTable(context, sheet, kind, 13, form.FixedPRVGrid, "B13:J38");
    ScenarioChart(context, sheet, kind, {0, 403, 483, 350, "A15:E38", "H15:H38"}, 4);
}

} // namespace halvern
