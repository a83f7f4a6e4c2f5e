// The print commands of the main window: Print, Print To Bitmap and the charts' "Print
// Graph". The views do the printing; the rules of when and what are here.
#include "forms/MainForm.h"
#include "forms/PagePrint.h"
#include "io/FileAccess.h"
#include "model/Version.h"
#include <filesystem>

namespace halvern {

namespace {

void ReportFailure(TDialogs& dialogs, const std::string& failure) {
    if (!failure.empty()) dialogs.Error(failure);
}

} // namespace

void TMainForm::RecalculateForOutput() {
    // A page shows what it computed when it was last shown; the inputs may have moved since
    // (an import, a cell typed). Paper and pictures get every result of the inputs as they are.
    RunAllOptionsAndCosts();
    RedrawShownCharts();
}

void TMainForm::actPrintExec() {
    if (!Dialogs.PrinterSetup(TPrintOrientation::Portrait, PrintFileOffered(ShownPageCaption()))) return;
    RecalculateForOutput();
    if (OnPrintPage) ReportFailure(Dialogs, OnPrintPage());
}

void TMainForm::PrintGraph2Click() {
    TChart* chart = OutletPopup.ClickedChart;
    if (!chart) return;
    if (!Dialogs.PrinterSetup(TPrintOrientation::Landscape, PrintFileOffered(chart->Title))) return;
    RecalculateForOutput();
    if (OnPrintChart) ReportFailure(Dialogs, OnPrintChart(*chart));
}

void TMainForm::actPrintToBitmapExec() {
    const TFileDialogRequest dialog{"SavePictureDialog", "PNG pictures|*.png|All files|*.*", "png",
                                    ShownPageCaption() + ".png"};
    auto fileName = Dialogs.SaveFileName(dialog);
    if (!fileName || fileName->empty()) return;
    if (!HasExtension(*fileName)) *fileName += "." + dialog.DefaultExt;
    RecalculateForOutput();
    if (OnSavePagePicture) ReportFailure(Dialogs, OnSavePagePicture(*fileName));
}

std::array<std::string, 4> TMainForm::PrintHeader() const {
    return PageHeaderLines(VersionText, ZoneNameEdit.Text(), ZoneRefEdit.Text(), WaterSupplySystemEdit.Text(),
                           ReportNumEdit.Text());
}

std::string TMainForm::PrintFileOffered(const std::string& what) const {
    // Prints to a file go beside the project they come from, named after it; a project
    // never saved has no folder yet, and its prints are offered in the home folder.
    if (ProjectFileName.empty()) return what + ".pdf";
    const std::filesystem::path project(ProjectFileName);
    return (project.parent_path() / (project.stem().string() + " - " + what + ".pdf")).string();
}

std::string TMainForm::ShownPageCaption() const {
    std::string caption;
    for (const TPageControl* pages = &MainPage; pages && pages->ActivePage();) {
        const TTabSheet& page = *pages->ActivePage();
        caption += (caption.empty() ? "" : " - ") + page.Caption;
        pages = page.Children;
    }
    return caption;
}

} // namespace halvern
