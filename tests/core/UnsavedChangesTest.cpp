// Unsaved work: what counts as a change of the project, and the question that New data,
// Read data and Close ask before they would drop a changed project.
#include "IoFixture.h"
#include "forms/ProjectChanges.h"
#include "forms/TableLayouts.h"
#include "io/TextCodec.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <functional>

using namespace halvern;
namespace Flow = FlowGridLayout;
namespace N1 = N1GridLayout;
using namespace halvern::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class UnsavedChangesTest : public ::testing::Test {
protected:
    TScratchDir dir;
    TShownForm form;
    std::string file = dir.File("zone.pru");

    void SetUp() override {
        WriteBytes(file, EncodeFileText(FormatProjectFile(RichProject())));
        form.Read(file);
        form.Dialogs.Clear();
    }
    void Do(const std::function<void()>& action) { form->Dispatch(action); }
    void TypePopulation(const std::string& text) {
        Do([&] { form->PopulationEdit.SetText(text); });
        form.Dialogs.Clear();
    }
};

TEST_F(UnsavedChangesTest, EveryInputTheFileKeepsCountsAndTypingItBackUndoesIt) {
    EXPECT_FALSE(ProjectChanged(*form));
    struct Case {
        const char* what;
        std::function<void(TMainForm&)> change;
    };
    const std::vector<Case> cases = {
        {"edit", [](TMainForm& f) { f.PopulationEdit.SetText("6301"); }},
        {"hourly cell",
         [](TMainForm& f) { f.FlowGrid.SetEditText(Flow::InflowLsCol, Flow::HourRow(4), "11"); }},
        {"unit", [](TMainForm& f) { f.m3hrRadio.Click(); }},
        {"memo", [](TMainForm& f) { f.AnalysisMemo.Lines[1] = "Tel: 021 555 0100"; }},
        {"time picker", [](TMainForm& f) { f.LowTimePicker.UserChange(4.0 / 24); }},
        {"warning check box", [](TMainForm& f) { f.TimeWarnCheckBox.Checked = false; }},
        {"N1 step test",
         [](TMainForm& f) { f.N1CalculationForm.N1Grid.SetEditText(N1::InletCol, N1::Stage2Row, "54"); }},
        {"costs", [](TMainForm& f) { f.Project.FixedCostTimePRV[1] = 2500; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TShownForm other;
        other.Read(file);
        ASSERT_FALSE(ProjectChanged(*other));
        other->Dispatch([&] { c.change(*other); });
        EXPECT_TRUE(ProjectChanged(*other));
    }

    // Typed and typed back is no change; saving makes the new text the unchanged one.
    TypePopulation("6301");
    EXPECT_TRUE(ProjectChanged(*form));
    TypePopulation("6300");
    EXPECT_FALSE(ProjectChanged(*form));
    TypePopulation("6301");
    form.Save(dir.File("saved.pru"));
    EXPECT_FALSE(ProjectChanged(*form));
}

// An unchanged project: the commands run exactly as before, without the question.
TEST_F(UnsavedChangesTest, AnUnchangedProjectIsDroppedWithoutAQuestion) {
    form.Dialogs.ConfirmAnswers = {false};
    Do([&] { form->actCloseExec(); });
    EXPECT_THAT(form.Dialogs.Texts(), ElementsAre("OK to exit?"));
    EXPECT_FALSE(form->Closed);

    form.Dialogs.Clear();
    Do([&] { form->actDataNewExec(); });
    EXPECT_THAT(form.Dialogs.Texts(), IsEmpty());
    EXPECT_EQ(form->StatusBar1.SimpleText, "New project");
    EXPECT_FALSE(ProjectChanged(*form));
}

TEST_F(UnsavedChangesTest, NewDataAsksFirstAndCancelKeepsTheWork) {
    TypePopulation("7000");
    form.Dialogs.SaveAnswers = {TSaveChoice::Cancel};
    Do([&] { form->actDataNewExec(); });
    EXPECT_THAT(form.Dialogs.Texts(), ElementsAre("The project has changed. Save the changes?"));
    EXPECT_EQ(form->PopulationEdit.Text(), "7000");
    EXPECT_TRUE(ProjectChanged(*form));

    // Save: the project came from its file, and is written back there without a dialog;
    // then the new project.
    form.Dialogs.Clear();
    form.Dialogs.SaveAnswers = {TSaveChoice::Save};
    const std::size_t dialogsBefore = form.Dialogs.FileDialogsShown.size();
    Do([&] { form->actDataNewExec(); });
    EXPECT_EQ(form.Dialogs.FileDialogsShown.size(), dialogsBefore);
    EXPECT_THAT(FileLines(ReadBytes(file)), ::testing::Contains("7000"));
    EXPECT_EQ(form->StatusBar1.SimpleText, "New project");
    EXPECT_FALSE(ProjectChanged(*form));

    // A new project has no file: Save with the file dialog cancelled loses nothing.
    TypePopulation("7100");
    form.Dialogs.SaveAnswers = {TSaveChoice::Save};
    Do([&] { form->actDataNewExec(); });
    EXPECT_EQ(form.Dialogs.FileDialogsShown.back().Name, "SaveDialog1");
    EXPECT_EQ(form->PopulationEdit.Text(), "7100");

    // Save to a file: written, then the new project.
    form.Dialogs.SaveAnswers = {TSaveChoice::Save};
    form.Dialogs.FileNames = {dir.File("kept.pru")};
    Do([&] { form->actDataNewExec(); });
    EXPECT_THAT(FileLines(ReadBytes(dir.File("kept.pru"))), ::testing::Contains("7100"));
    EXPECT_EQ(form->StatusBar1.SimpleText, "New project");
    EXPECT_FALSE(ProjectChanged(*form));

    // Discard: the new project without saving.
    TypePopulation("8000");
    form.Dialogs.SaveAnswers = {TSaveChoice::Discard};
    Do([&] { form->actDataNewExec(); });
    EXPECT_NE(form->PopulationEdit.Text(), "8000");
    EXPECT_FALSE(ProjectChanged(*form));
}

TEST_F(UnsavedChangesTest, ReadDataAndCloseAskBeforeTheirOwnDialogs) {
    TypePopulation("7000");
    form.Dialogs.SaveAnswers = {TSaveChoice::Cancel};
    const std::size_t dialogsBefore = form.Dialogs.FileDialogsShown.size();
    Do([&] { form->actDataReadExec(); });
    EXPECT_EQ(form.Dialogs.FileDialogsShown.size(), dialogsBefore); // no open dialog
    EXPECT_EQ(form->PopulationEdit.Text(), "7000");

    form.Dialogs.Clear();
    form.Dialogs.SaveAnswers = {TSaveChoice::Discard};
    form.Read(file);
    EXPECT_THAT(form.Dialogs.Texts(), ElementsAre("The project has changed. Save the changes?"));
    EXPECT_EQ(form->PopulationEdit.Text(), "6300");
    EXPECT_FALSE(ProjectChanged(*form));

    // Close: the question, then "OK to exit?" as always; Cancel at the first stops both.
    TypePopulation("7000");
    form.Dialogs.SaveAnswers = {TSaveChoice::Cancel};
    Do([&] { form->actCloseExec(); });
    EXPECT_THAT(form.Dialogs.Texts(), ElementsAre("The project has changed. Save the changes?"));
    EXPECT_FALSE(form->Closed);
    form.Dialogs.Clear();
    form.Dialogs.SaveAnswers = {TSaveChoice::Discard};
    Do([&] { form->actCloseExec(); });
    EXPECT_THAT(form.Dialogs.Texts(),
                ElementsAre("The project has changed. Save the changes?", "OK to exit?"));
    EXPECT_TRUE(form->Closed);
}

} // namespace
