// Tracking unsaved work by comparing what the project file would keep now with what it
// kept at the last read, save or new project. Comparing the contents instead of flagging
// every handler means an edit typed and typed back counts as no change, and no handler
// added later can forget to flag one.
#include "forms/ProjectChanges.h"

#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Messages.h"

#include <sstream>

namespace halvern {
namespace {

void AddColumn(std::ostringstream& out, const TMarkStringGrid& grid, int col, int firstRow, int lastRow) {
    for (int row = firstRow; row <= lastRow; ++row)
        out << grid.Cell(col, row) << '\x1f';
    out << '\n';
}

} // namespace

std::string ProjectFingerprint(TMainForm& form) {
    std::ostringstream out;
    for (TEdit* edit : form.Controls.All<TEdit>())
        out << edit->Text() << '\x1f';
    out << '\n';
    for (const TMemo* memo : {&form.CollectMemo, &form.AnalysisMemo}) {
        for (const std::string& line : memo->Lines)
            out << line << '\x1f';
        out << '\n';
    }
    for (TTimePicker* picker : form.Controls.All<TTimePicker>())
        out << picker->Time << '\x1f';
    out << '\n'
        << form.TimeWarnCheckBox.Checked << form.m3hrRadio.Checked() << form.Interval2Radio.Checked()
        << form.Interval4Radio.Checked() << form.Project.Intervals << ' ' << form.Project.IntervalLength
        << '\n';

    for (int col = FlowGridLayout::InflowM3hCol; col <= FlowGridLayout::CriticalCol; ++col)
        AddColumn(out, form.FlowGrid, col, FlowGridLayout::FirstHourRow, FlowGridLayout::LastHourRow);
    for (int col = N1GridLayout::FirstMeasuredCol; col <= N1GridLayout::LastMeasuredCol; ++col)
        AddColumn(out, form.N1CalculationForm.N1Grid, col, N1GridLayout::FirstStageRow,
                  N1GridLayout::LastStageRow);
    AddColumn(out, form.TimePRVGrid, PRVGridLayout::OutletCol, PRVGridLayout::HourRow(0),
              PRVGridLayout::HourRow(HoursPerDay - 1));

    // The costs as the dialog last stored them (the dialog's own table is only the editor).
    const TProject& p = form.Project;
    for (const auto* amounts : {&p.FixedCostFixedPRV, &p.FixedCostTimePRV, &p.FixedCostFlowPRV,
                                &p.AnnualCostFixedPRV, &p.AnnualCostTimePRV, &p.AnnualCostFlowPRV}) {
        for (double amount : *amounts)
            out << amount << '\x1f';
        out << '\n';
    }
    return out.str();
}

void MarkProjectUnchanged(TMainForm& form) {
    form.UnchangedProject = ProjectFingerprint(form);
}

bool ProjectChanged(TMainForm& form) {
    return ProjectFingerprint(form) != form.UnchangedProject;
}

bool AskToKeepChanges(TMainForm& form) {
    if (!ProjectChanged(form)) return true;
    switch (form.Dialogs.AskSaveChanges(Msg::ProjectChanged)) {
    case TSaveChoice::Save:
        form.actDataSaveExec();
        // A save that was cancelled or refused keeps the work, and the command waits.
        return !ProjectChanged(form);
    case TSaveChoice::Discard:
        return true;
    case TSaveChoice::Cancel:
        break;
    }
    return false;
}

} // namespace halvern
