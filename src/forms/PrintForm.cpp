// The "Output File Selection" dialog and the progress bar of the report run.
#include "forms/PrintForm.h"
#include "forms/MainForm.h"
#include "io/FileAccess.h"
#include "model/Messages.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace halvern {

namespace {

const TFileDialogRequest kSaveReport{"SaveReportDialog", "Excel workbooks|*.xlsx|All files|*.*", "xlsx", {}};

// The hourglass is up only while the sheets are written, and comes down however the run ends.
class TBusyCursor {
public:
    explicit TBusyCursor(const std::function<void(bool)>& show) : show_(show) {
        if (show_) show_(true);
    }
    ~TBusyCursor() {
        if (show_) show_(false);
    }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    const std::function<void(bool)>& show_;
};

} // namespace

void TProgressBar::SetMax(int max) {
    max_ = std::max(max, Min);
    SetPosition(position_);
}

void TProgressBar::SetPosition(int position) {
    const int clamped = std::clamp(position, Min, max_);
    if (clamped == position_) return;
    position_ = clamped;
    if (OnChange) OnChange();
}

void TProgressBar::StepIt() {
    if (max_ == Min) return;
    int next = position_ + Step;
    if (next > max_) next = (next - Min) % (max_ - Min) + Min;
    position_ = next;
    if (OnChange) OnChange();
}

TfrmPrint::TfrmPrint(TMainForm& main) : TAuxForm("Output File Selection"), MainForm(main) {
    GeneralData.Caption = "General Data";
    CurrentSituation.Caption = "Current Situation";
    Summary.Caption = "Summary";
    FixedOutlet.Caption = "Fixed Outlet";
    TimeModulated.Caption = "Time Modulated";
    FlowModulated.Caption = "Flow Modulated";
    N1Sensitivity.Caption = "N1 Sensitivity";
    CreateExcelButton.Caption = "Create";
    ProgressBar1.Smooth = true;
    ProgressBar1.Step = 1;
    if (const char* home = std::getenv("HOME")) HomeFolder = home;

    GeneralData.OnClick = [this] { GeneralDataClick(); };
    CurrentSituation.OnClick = [this] { CurrentSituationClick(); };
    Summary.OnClick = [this] { SummaryClick(); };
    FixedOutlet.OnClick = [this] { FixedOutletClick(); };
    TimeModulated.OnClick = [this] { TimeModulatedClick(); };
    FlowModulated.OnClick = [this] { FlowModulatedClick(); };
    N1Sensitivity.OnClick = [this] { N1SensitivityClick(); };
    CreateExcelButton.OnClick = [this] { CreateExcelButtonClick(); };
}

void TfrmPrint::ShowModal() {
    Visible = true;
    FormShow();
    if (OnShowRequest) OnShowRequest();
}

void TfrmPrint::Close() {
    Visible = false;
    if (OnCloseRequest) OnCloseRequest();
}

// Whatever the user touches in the dialog, the bar of the last run goes back to empty.
void TfrmPrint::FormShow() {
    ProgressBar1.SetPosition(0);
}
void TfrmPrint::GroupBox1Click() {
    ProgressBar1.SetPosition(0);
}
void TfrmPrint::GeneralDataClick() {
    ProgressBar1.SetPosition(0);
}
void TfrmPrint::CurrentSituationClick() {
    ProgressBar1.SetPosition(0);
}
void TfrmPrint::SummaryClick() {
    ProgressBar1.SetPosition(0);
}
void TfrmPrint::FixedOutletClick() {
    ProgressBar1.SetPosition(0);
}
void TfrmPrint::TimeModulatedClick() {
    ProgressBar1.SetPosition(0);
}
void TfrmPrint::FlowModulatedClick() {
    ProgressBar1.SetPosition(0);
}
void TfrmPrint::N1SensitivityClick() {
    ProgressBar1.SetPosition(0);
}

std::array<TCheckBox*, ReportSheetKinds> TfrmPrint::CheckBoxes() {
    return {&GeneralData,   &CurrentSituation, &Summary,      &FixedOutlet,
            &TimeModulated, &FlowModulated,    &N1Sensitivity};
}

TReportChoice TfrmPrint::Chosen() const {
    return {GeneralData.Checked,   CurrentSituation.Checked, Summary.Checked,      FixedOutlet.Checked,
            TimeModulated.Checked, FlowModulated.Checked,    N1Sensitivity.Checked};
}

bool IsWorkbookName(const std::string& fileName) {
    const std::string extension = std::filesystem::path(fileName).extension().string();
    return extension.size() == 5 &&
           std::equal(extension.begin(), extension.end(), ".xlsx",
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

std::string TfrmPrint::DefaultReportFileName() const {
    namespace fs = std::filesystem;
    if (MainForm.ProjectFileName.empty())
        return (fs::path(HomeFolder.empty() ? "." : HomeFolder) / "Halvern report.xlsx").string();
    const fs::path project(MainForm.ProjectFileName);
    return (project.parent_path() / (project.stem().string() + " report.xlsx")).string();
}

void TfrmPrint::CreateExcelButtonClick() {
    // A report of no sheet is no report; the boxes are still there to be ticked. The run
    // itself takes well under a second, and the bar shows it: no box to dismiss first.
    const TReportChoice chosenSheets = Chosen();
    if (std::none_of(chosenSheets.begin(), chosenSheets.end(), [](bool ticked) { return ticked; })) {
        MainForm.Dialogs.Error(Msg::NoReportSheetChosen);
        return;
    }
    TFileDialogRequest dialog = kSaveReport;
    dialog.InitialFileName = DefaultReportFileName();
    const auto chosen = MainForm.Dialogs.SaveFileName(dialog);
    if (!chosen) return;
    std::string fileName = *chosen;
    if (!HasExtension(fileName)) fileName += ".xlsx";
    // The file is a workbook whatever its name: a name that says otherwise would mislead
    // whoever opens it.
    if (!IsWorkbookName(fileName)) {
        MainForm.Dialogs.Error(Msg::ReportNameNotXlsx(fileName));
        return;
    }

    if (OnRepaint) OnRepaint();
    const TBusyCursor busy(OnBusyCursor);
    if (!Exporter) return;
    // The tables hold what each page last computed: an import or an edit since then would
    // put the new hours on General Data beside the old results on the other sheets.
    MainForm.RunAllOptionsAndCosts();
    Exporter->ExportReport(Chosen(), fileName);
}

} // namespace halvern
