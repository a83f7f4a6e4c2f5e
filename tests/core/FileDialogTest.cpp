// Where the file dialogs of Read data, Save data and Import open, and the name Save data
// offers: the folder of the project on the screen, else the last folder used in this run.
#include "IoFixture.h"
#include "io/TextCodec.h"

#include <gmock/gmock.h>

#include <filesystem>

using namespace halvern;
using namespace halvern::test;

namespace {

class FileDialogTest : public ::testing::Test {
protected:
    TScratchDir dir;
    TShownForm form;

    std::string Folder(const std::string& name) {
        std::filesystem::create_directories(dir.Path() / name);
        return (dir.Path() / name).string();
    }
    std::string WriteProject(const std::string& folder) {
        const std::string file = (std::filesystem::path(folder) / "zone.pru").string();
        WriteBytes(file, EncodeFileText(FormatProjectFile(RichProject())));
        return file;
    }
    // The dialog the command shows, answered with Cancel.
    TFileDialogRequest Shown(void (TMainForm::*command)()) {
        form.Dialogs.FileDialogsShown.clear();
        form->Dispatch([&] { (form.Form.get()->*command)(); });
        EXPECT_EQ(form.Dialogs.FileDialogsShown.size(), 1u);
        return form.Dialogs.FileDialogsShown.empty() ? TFileDialogRequest{}
                                                     : form.Dialogs.FileDialogsShown.back();
    }
};

TEST_F(FileDialogTest, ANewRunLeavesTheFolderToTheDialogAndOffersNoName) {
    for (auto command :
         {&TMainForm::actDataReadExec, &TMainForm::actDataSaveExec, &TMainForm::ImportButtonClick}) {
        const TFileDialogRequest shown = Shown(command);
        EXPECT_EQ(shown.InitialDir, "") << shown.Name;
        EXPECT_EQ(shown.InitialFileName, "") << shown.Name;
    }
    // The dialogs keep their names, filters and extensions.
    EXPECT_EQ(Shown(&TMainForm::actDataReadExec).Filter, "Pressure files|*.pru|All files|*.*");
    EXPECT_EQ(Shown(&TMainForm::actDataSaveExec).DefaultExt, "pru");
    const TFileDialogRequest import = Shown(&TMainForm::ImportButtonClick);
    EXPECT_EQ(import.Name, "OpenDialog2");
    EXPECT_EQ(import.Filter, "Text and CSV files|*.txt;*.csv|All Files|*.*");
    EXPECT_EQ(import.DefaultExt, "");
}

TEST_F(FileDialogTest, TheDialogsOpenInTheProjectsFolderAndSaveOffersItsFile) {
    const std::string file = WriteProject(Folder("zones"));
    form.Read(file);
    ASSERT_EQ(form->ProjectFileName, file);
    const std::string folder = std::filesystem::path(file).parent_path().string();
    EXPECT_EQ(Shown(&TMainForm::actDataReadExec).InitialDir, folder);
    EXPECT_EQ(Shown(&TMainForm::ImportButtonClick).InitialDir, folder);
    const TFileDialogRequest save = Shown(&TMainForm::actDataSaveAsExec);
    EXPECT_EQ(save.InitialDir, folder);
    EXPECT_EQ(save.InitialFileName, file);

    // Saved elsewhere: that file is the project's now.
    const std::string other = (std::filesystem::path(Folder("copies")) / "zone-b.pru").string();
    form.Save(other);
    ASSERT_EQ(form->Caption, "Halvern : zone-b.pru");
    EXPECT_EQ(Shown(&TMainForm::actDataSaveAsExec).InitialFileName, other);
    EXPECT_EQ(Shown(&TMainForm::actDataReadExec).InitialDir, Folder("copies"));
}

TEST_F(FileDialogTest, SaveDataKeepsAProjectInItsFileWithoutAsking) {
    const std::string file = WriteProject(Folder("zones"));
    form.Read(file);
    form->Dispatch([&] { form->PopulationEdit.SetText("4321"); });
    form.Dialogs.FileDialogsShown.clear();
    form->Dispatch([&] { form->actDataSaveExec(); });
    EXPECT_TRUE(form.Dialogs.FileDialogsShown.empty());
    EXPECT_NE(ReadBytes(file).find("\r\n4321\r\n"), std::string::npos);
    EXPECT_EQ(form->StatusBar1.SimpleText, "Saved data to: " + file);
}

TEST_F(FileDialogTest, AfterNewDataSaveOffersTheFolderButNotTheOldFile) {
    // Saving the new project over the file read before would lose that project: the title
    // names no file, Save data asks, and only the old file's folder is offered.
    const std::string file = WriteProject(Folder("zones"));
    form.Read(file);
    form->Dispatch([&] { form->actDataNewExec(); });
    ASSERT_EQ(form->Caption, "Halvern : New project");
    const TFileDialogRequest save = Shown(&TMainForm::actDataSaveExec);
    EXPECT_EQ(save.InitialFileName, "");
    EXPECT_EQ(save.InitialDir, Folder("zones"));
}

TEST_F(FileDialogTest, WithoutAProjectTheLastFolderChosenIsUsed) {
    // An import chosen from the logger's folder: the next dialogs start there.
    const std::string logger = Folder("logger");
    const std::string data = (std::filesystem::path(logger) / "day.txt").string();
    WriteBytes(data, "1,2,3,4,\n");
    form.Dialogs.FileNames = {data};
    form->Dispatch([&] { form->ImportButtonClick(); });
    form.Dialogs.Clear();
    EXPECT_EQ(Shown(&TMainForm::actDataReadExec).InitialDir, logger);
    EXPECT_EQ(Shown(&TMainForm::actDataSaveExec).InitialDir, logger);
    // A cancelled dialog changes nothing.
    EXPECT_EQ(Shown(&TMainForm::ImportButtonClick).InitialDir, logger);
}

} // namespace
