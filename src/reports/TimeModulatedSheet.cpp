// "Time Modulated": a PRV switching between a high and a low outlet pressure at set times,
// with its settings, switching times, volumes, warning, hourly table and chart.
#include "forms/MainForm.h"
#include "reports/ScenarioParts.h"
#include "reports/SheetWriters.h"

namespace halvern {

namespace {

// The spreadsheet's long time format of the system, as the switching times are shown.
const std::string kLongTime = "[$-F400]h:mm:ss AM/PM";

// One set of switching times at the columns given: the set's heading over three cells,
// "Start:" and "Stop:" with their times beside them.
void SwitchingTimes(TWorksheet& sheet, const std::string& first, const std::string& second,
                    const std::string& last, const std::string& heading, double start, double stop) {
    constexpr int headingRow = TimeModulatedSheetLayout::SwitchingTimesRow;
    constexpr int startRow = headingRow + 1, stopRow = headingRow + 2;
    sheet.Range(At(first, headingRow)).SetText(heading);
    sheet.Range(Span(first, headingRow, last, headingRow))
        .Merge()
        .SetHorizontalAlignment(THorizontalAlignment::Centre);
    sheet.Range(At(first, startRow)).SetText("Start:");
    sheet.Range(At(first, stopRow)).SetText("Stop:");
    for (const std::string& range :
         {Span(first, headingRow, last, headingRow), Span(first, startRow, first, stopRow)})
        sheet.Range(range).SetBold().SetFill(PaleYellow);
    for (int row : {startRow, stopRow})
        sheet.Range(Span(second, row, last, row))
            .Merge()
            .SetHorizontalAlignment(THorizontalAlignment::Right)
            .SetBold(false)
            .SetFontSize(9)
            .SetFontName("Calibri");
    sheet.Range(At(second, startRow)).SetNumber(start).SetNumberFormat(kLongTime);
    sheet.Range(At(second, stopRow)).SetNumber(stop).SetNumberFormat(kLongTime);
    sheet.Range(Span(first, headingRow, last, stopRow)).SetBorders(TBorderLine::Thin);
}

} // namespace

void WriteTimeModulated(TSheetContext& context) {
    TMainForm& form = context.Form;
    const TProject& p = form.Project;
    TProgressBar& progress = context.Progress;
    constexpr auto kind = TScenarioKind::Valve;
    using namespace TimeModulatedSheetLayout;
    const std::string stopped = NotCalculatedText(form, TMainForm::TAnalysisScenario::TimeModulated);
    TWorksheet& sheet = BeginSheet(context, {"Time Modulated", 8.43, {}, true, ScenarioClosingLine(kind)});

    ScenarioTitleRow(context, sheet, kind);
    UpperBlock(sheet, PressuresRow, "Pressures :", {"High Pressure (m):", "Low Pressure (m):"});
    UpperValues(sheet, PressuresRow, {form.HighPressureEdit.Text(), form.LowPressureEdit.Text()});
    progress.StepIt();

    UpperBlock(sheet, IntervalsRow, "Intervals :", {"Interval :"});
    // In hourly mode neither button is checked, and the interval cell stays empty.
    const std::string intervals = form.Interval2Radio.Checked()   ? "2 Intervals"
                                  : form.Interval4Radio.Checked() ? "4 Intervals"
                                                                  : "";
    UpperValues(sheet, IntervalsRow, {intervals}, "");
    GroupLabel(sheet, SwitchingTimesRow, "High Pressures Times:", "B");
    SwitchingTimes(sheet, "C", "D", "E", "1st Set:", p.TimeStart1, p.TimeStop1);
    progress.StepIt();
    if (form.Interval4Radio.Checked())
        SwitchingTimes(sheet, "F", "G", "H", "2nd Set:", p.TimeStart2, p.TimeStop2);
    progress.StepIt();

    FlowsBlock(sheet, FlowsRow,
               ResultTexts(stopped, {form.TimeDepLabel.Caption, form.TimeIndepLabel.Caption,
                                     form.TimeTotLabel.Caption}));
    ValveChecks(sheet, ChecksRow, ResultTexts(stopped, {form.TimeDayNightLabel.Caption})[0],
                stopped.empty() ? form.TimeWarnLabel.Caption : stopped,
                stopped.empty() ? std::vector<std::string>{form.TimeOpenLabel.Caption}
                                : std::vector<std::string>{});
    progress.StepIt();

    ScenarioTable(context, sheet, kind, TableHeadingRow, form.TimePRVGrid, FirstFormattedRow,
                  stopped.empty());
    ScenarioChart(context, sheet, kind, TableHeadingRow, {0, 472, 483, 283}, 3, stopped.empty());
}

} // namespace halvern
