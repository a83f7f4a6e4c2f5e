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
    using namespace CurrentSituationSheetLayout;
    const std::string stopped = NotCalculatedText(form, TMainForm::TAnalysisScenario::CurrentSituation);
    TWorksheet& sheet =
        BeginSheet(context, {"Current Situation", 9.57, {{"A", 9.43}}, true, ScenarioClosingLine(kind)});

    ScenarioTitleRow(context, sheet, kind);
    progress.StepIt();
    FlowsBlock(sheet, FlowsRow,
               ResultTexts(stopped, {form.CurrentDepLabel.Caption, form.CurrentIndepLabel.Caption,
                                     form.CurrentTotLabel.Caption}));
    progress.StepIt();
    UpperBlock(sheet, ChecksRow, " Basic Checks :",
               {"Day / Night Factor:", "Non-Residential Use (m³/d):", "Estimated Population Use (l/hd/d):"});
    UpperValues(sheet, ChecksRow,
                ResultTexts(stopped, {form.DayNightLabel.Caption, form.NonResidentialUseLabel.Caption,
                                      form.ResidentialUseLabel.Caption}));
    // The sheet has no status row; the empty row above the table says why it has no results.
    if (!stopped.empty()) StatusLine(sheet, StatusRow, stopped);
    progress.StepIt();
    progress.StepIt(); // its table's frame takes a step of its own

    ScenarioTable(context, sheet, kind, TableHeadingRow, form.CurrentGrid, FirstFormattedRow,
                  stopped.empty());
    ScenarioChart(context, sheet, kind, TableHeadingRow, {0, 400, 484, 350}, 3, stopped.empty());
}

} // namespace halvern
