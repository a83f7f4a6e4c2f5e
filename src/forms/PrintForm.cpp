// The "Output File Selection" dialog and the progress bar of the report run.
#include "forms/PrintForm.h"
#include "forms/MainForm.h"
#include "io/FileAccess.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace halvern {

namespace {

const TFileDialogSpec kSaveReport{"SaveReportDialog", "Excel workbooks|*.xlsx|All files|*.*", "xlsx", {}};

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

std::string TfrmPrint::DefaultReportFileName() const {
    namespace fs = std::filesystem;
    if (MainForm.ProjectFileName.empty())
        return (fs::path(HomeFolder.empty() ? "." : HomeFolder) / "Halvern report.xlsx").string();
    const fs::path project(MainForm.ProjectFileName);
    return (project.parent_path() / (project.stem().string() + " report.xlsx")).string();
}

void TfrmPrint::CreateExcelButtonClick() {
    MainForm.Dialogs.Message("This action might take several minutes to perform");
    TFileDialogSpec dialog = kSaveReport;
    dialog.InitialFileName = DefaultReportFileName();
    const auto chosen = MainForm.Dialogs.SaveFileName(dialog);
    if (!chosen) return;
    std::string fileName = *chosen;
    if (!HasExtension(fileName)) fileName += ".xlsx";

    if (OnRepaint) OnRepaint();
    const TBusyCursor busy(OnBusyCursor);
    if (Exporter) Exporter->ExportReport(Chosen(), fileName);
}

} // namespace halvern
