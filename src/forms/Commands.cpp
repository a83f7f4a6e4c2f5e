// The toolbar's file commands and the import buttons of the "Flow and Pressure" page.
#include "forms/MainForm.h"
#include "model/Messages.h"

#include "forms/HourlyImportCommand.h"
#include "forms/ProjectChanges.h"
#include "forms/ProjectDocument.h"
#include "io/FileAccess.h"
#include <filesystem>

namespace halvern {
namespace {

const TFileDialogRequest kOpenProject{"OpenDialog1", "Pressure files|*.pru|All files|*.*", "pru", {}};
const TFileDialogRequest kSaveProject{"SaveDialog1", "Pressure files|*.pru|All files|*.*", "pru", {}};
const TFileDialogRequest kOpenImport{"OpenDialog2", "Text and CSV files|*.txt;*.csv|All Files|*.*", "", {}};

// As the toolkit's file dialog does: a name chosen without an extension gets the default one.
std::string WithDefaultExtension(const std::string& fileName, const TFileDialogRequest& dialog) {
    if (dialog.DefaultExt.empty() || HasExtension(fileName)) return fileName;
    return fileName + "." + dialog.DefaultExt;
}

std::string FolderOf(const std::string& fileName) {
    return std::filesystem::path(fileName).parent_path().string();
}

} // namespace

TFileDialogRequest TMainForm::FileDialog(const TFileDialogRequest& dialog) const {
    // The dialogs open where the engineer works: the folder of the project on the screen,
    // else the folder last chosen in this run.
    TFileDialogRequest request = dialog;
    request.InitialDir = ProjectFileName.empty() ? LastFolder : FolderOf(ProjectFileName);
    // Save data offers the file the project came from, so that saving it again is one click.
    if (request.Name == kSaveProject.Name && ProjectFromFile) request.InitialFileName = ProjectFileName;
    return request;
}

std::optional<std::string> TMainForm::ChooseFile(const TFileDialogRequest& dialog, bool save) {
    const TFileDialogRequest request = FileDialog(dialog);
    auto fileName = save ? Dialogs.SaveFileName(request) : Dialogs.OpenFileName(request);
    if (fileName && !FolderOf(*fileName).empty()) LastFolder = FolderOf(*fileName);
    return fileName;
}

void TMainForm::actDataNewExec() {
    if (!AskToKeepChanges(*this)) return;
    NewProject();
}

void TMainForm::actDataReadExec() {
    if (!AskToKeepChanges(*this)) return;
    const auto fileName = ChooseFile(kOpenProject, false);
    if (!fileName) return;
    // An existing file is opened as chosen; only a name that names nothing gets ".pru".
    std::error_code ignored;
    const bool exists = std::filesystem::exists(*fileName, ignored);
    ReadProjectFile(*this, exists ? *fileName : WithDefaultExtension(*fileName, kOpenProject));
}

void TMainForm::actDataSaveExec() {
    // The project came from this file or was saved to it: that is where it is kept.
    if (ProjectFromFile && !ProjectFileName.empty()) {
        SaveProjectFile(*this, ProjectFileName);
        return;
    }
    actDataSaveAsExec();
}

void TMainForm::actDataSaveAsExec() {
    const auto fileName = ChooseFile(kSaveProject, true);
    if (!fileName) return;
    SaveProjectFile(*this, WithDefaultExtension(*fileName, kSaveProject));
}

void TMainForm::actCloseExec() {
    if (!AskToKeepChanges(*this)) return;
    if (!Dialogs.ConfirmOKCancel(Msg::OkToExit)) return;
    Closed = true;
    if (OnCloseRequest) OnCloseRequest();
}

void TMainForm::ImportButtonClick() {
    const auto fileName = ChooseFile(kOpenImport, false);
    if (!fileName) return;
    ImportHourlyFile(*this, *fileName);
}

void TMainForm::Button1Click() {
    ImportHelp.Show();
}

} // namespace halvern
