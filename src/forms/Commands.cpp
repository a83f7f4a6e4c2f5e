// The toolbar's file commands and the import buttons of the "Flow and Pressure" page.
#include "forms/MainForm.h"
#include "forms/Messages.h"

#include <filesystem>
#include "io/FileAccess.h"
#include "forms/HourlyImportCommand.h"
#include "forms/ProjectChanges.h"
#include "forms/ProjectDocument.h"

namespace halvern {
namespace {

const TFileDialogSpec kOpenProject{"OpenDialog1", "Pressure files|*.pru|All files|*.*", "pru", {}};
const TFileDialogSpec kSaveProject{"SaveDialog1", "Pressure files|*.pru|All files|*.*", "pru", {}};
const TFileDialogSpec kOpenImport{"OpenDialog2", "Text Files|*.txt|All Files|*.*", "", {}};

// As the toolkit's file dialog does: a name chosen without an extension gets the default one.
std::string WithDefaultExtension(const std::string& fileName, const TFileDialogSpec& dialog) {
    if (dialog.DefaultExt.empty() || HasExtension(fileName)) return fileName;
    return fileName + "." + dialog.DefaultExt;
}

} // namespace

void TMainForm::actDataNewExec() {
    if (!AskToKeepChanges(*this)) return;
    NewProject();
}

void TMainForm::actDataReadExec() {
    if (!AskToKeepChanges(*this)) return;
    const auto fileName = Dialogs.OpenFileName(kOpenProject);
    if (!fileName) return;
    // An existing file is opened as chosen; only a name that names nothing gets ".pru".
    std::error_code ignored;
    const bool exists = std::filesystem::exists(*fileName, ignored);
    ReadProjectFile(*this, exists ? *fileName : WithDefaultExtension(*fileName, kOpenProject));
}

void TMainForm::actDataSaveExec() {
    const auto fileName = Dialogs.SaveFileName(kSaveProject);
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
    const auto fileName = Dialogs.OpenFileName(kOpenImport);
    if (!fileName) return;
    ImportHourlyFile(*this, *fileName);
}

void TMainForm::Button1Click() {
    ImportHelp.Show();
}

} // namespace halvern
