// The hourly import of the "Flow and Pressure" page and its "Import Example" window.
#include "IoFixture.h"
#include "forms/HourlyImportCommand.h"
#include "forms/TableLayouts.h"

#include <gmock/gmock.h>

#include <sys/stat.h>

using namespace halvern;
namespace Current = CurrentGridLayout;
namespace Flow = FlowGridLayout;
using namespace halvern::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::string ExampleText(const TImportHelp& help) {
    std::string text;
    for (const auto& line : help.ExampleLines)
        text += line + "\r\n";
    return text;
}

// Imports the text as the user would: "&Import", then the file in the open dialog.
void Import(TShownForm& form, const TScratchDir& dir, const std::string& text) {
    const std::string file = dir.File("hours.txt");
    WriteBytes(file, text);
    form.Dialogs.FileNames.push_back(file);
    form->Dispatch([&] { form->ImportButton.Click(); });
}

std::vector<std::string> Row(TMainForm& form, int row) {
    std::vector<std::string> cells;
    for (int col = 1; col <= 5; ++col)
        cells.push_back(form.FlowGrid.Cell(col, row));
    return cells;
}

} // namespace

TEST(HourlyImport, ExampleWindowTexts) {
    TShownForm form;
    const TImportHelp& help = form->ImportHelp;
    EXPECT_EQ(help.Caption, "Import Example");
    EXPECT_THAT(help.Lines, ElementsAre("Column 1: Flow in m³/hr or l/s (pre select option button)",
                                        "Column 2: Inlet Pressure (m)", "Column 3: AZP (m)",
                                        "Column 4: Critical Pressure (m)", "Column separator: Comma (,)",
                                        "End line with a Comma (,)"));
    EXPECT_EQ(help.ExampleLines[0], "82.800,61.000,50.000,30.000, ");
    EXPECT_EQ(help.ExampleLines[10], "118.800,57.000,47.000,17.000,");
    EXPECT_EQ(help.ExampleLines[23], "97.200,60.000,50.000,28.000,");
    bool shown = false;
    form->ImportHelp.OnShowRequest = [&] { shown = true; };
    form->Button1.Click();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(form->ImportHelp.Visible);
}

TEST(HourlyImport, ExampleWithCubicMetresPerHour) {
    TScratchDir dir;
    TShownForm form;
    const TProject before = form->Project;
    const std::string currentBefore = form->CurrentGrid.Cell(Current::TotalFlowCol, Current::HourRow(0));
    Import(form, dir, ExampleText(form->ImportHelp));
    EXPECT_THAT(form.Dialogs.Messages, IsEmpty());
    EXPECT_THAT(Row(*form, 1), ElementsAre("82.80", "23.00", "61.00", "50.00", "30.00"));
    EXPECT_THAT(Row(*form, 11), ElementsAre("118.80", "33.00", "57.00", "47.00", "17.00"));
    EXPECT_THAT(Row(*form, 24), ElementsAre("97.20", "27.00", "60.00", "50.00", "28.00"));
    // The labels, the unit and the analysis are untouched: nothing is calculated.
    EXPECT_EQ(form->FlowGrid.Cell(Flow::HourCol, Flow::HourRow(0)), "00:00 - 01:00");
    EXPECT_TRUE(form->m3hrRadio.Checked());
    EXPECT_EQ(form->Project.ZoneInflow, before.ZoneInflow);
    EXPECT_EQ(form->CurrentGrid.Cell(Current::TotalFlowCol, Current::HourRow(0)), currentBefore);
}

TEST(HourlyImport, ExampleWithLitresPerSecond) {
    TScratchDir dir;
    TShownForm form;
    form->lsRadio.Click();
    Import(form, dir, ExampleText(form->ImportHelp));
    EXPECT_THAT(Row(*form, 1), ElementsAre("298.08", "82.80", "61.00", "50.00", "30.00"));
    EXPECT_TRUE(form->lsRadio.Checked());
}

// A day in the layouts spreadsheets and loggers write: with or without a final separator,
// semicolons or tabs with decimal commas, a heading, CR LF, blank lines after the day.
TEST(HourlyImport, ReadsEachLayoutOfADay) {
    TScratchDir dir;
    TShownForm form;
    const auto day = [](const std::string& heading, const std::string& line, const std::string& end) {
        std::string text = heading;
        for (int h = 0; h < 24; ++h)
            text += line + end;
        return text;
    };
    const struct {
        std::string Text;
        std::vector<std::string> FirstRow;
        std::string Layout;
    } cases[] = {
        {day("", "64,60,50,35", "\n"),
         {"64.00", "17.78", "60.00", "50.00", "35.00"},
         "comma-separated, decimal point"},
        {day("", "64,60,50,35,", "\r\n"),
         {"64.00", "17.78", "60.00", "50.00", "35.00"},
         "comma-separated, decimal point"},
        {day("", "64,5;60;50;35", "\n"),
         {"64.50", "17.92", "60.00", "50.00", "35.00"},
         "semicolon-separated, decimal comma"},
        {day("", "64.5;60;50;35;", "\n"),
         {"64.50", "17.92", "60.00", "50.00", "35.00"},
         "semicolon-separated, decimal point"},
        {day("Inflow\tInlet\tAZP\tCritical\r\n", "64,5\t60,25\t50\t35", "\r\n") + "\r\n\r\n",
         {"64.50", "17.92", "60.25", "50.00", "35.00"},
         "tab-separated, decimal comma, 1 header line skipped"},
        {day("Zone 4 logger day\nflow (m3/h),inlet,azp,critical\n", " 64,60,50,35,7", "\n"),
         {"64.00", "17.78", "60.00", "50.00", "35.00"},
         "comma-separated, decimal point, 2 header lines skipped, fields after the fourth not used"},
    };
    for (const auto& c : cases) {
        Import(form, dir, c.Text);
        EXPECT_THAT(form.Dialogs.Messages, IsEmpty()) << c.Text.substr(0, 60);
        EXPECT_EQ(Row(*form, 1), c.FirstRow) << c.Text.substr(0, 60);
        EXPECT_EQ(Row(*form, 24), c.FirstRow) << c.Text.substr(0, 60);
        EXPECT_EQ(form->StatusBar1.SimpleText,
                  "Imported 24 hours from " + dir.File("hours.txt") + " (" + c.Layout + ")");
    }
}

// An import is all or nothing: every fault is named with its line, and the table (with
// everything else the window shows) stays exactly as it was.
TEST(HourlyImport, RefusedFilesChangeNothing) {
    TScratchDir dir;
    TShownForm form;
    Import(form, dir, ExampleText(form->ImportHelp));
    const std::string before = Snapshot(*form);
    const std::string file = dir.File("hours.txt");
    const auto lines = [](int count, const std::string& line) {
        std::string text;
        for (int n = 0; n < count; ++n)
            text += line;
        return text;
    };
    const std::string refused = file + " cannot be imported (read as comma-separated, decimal point).\n";
    const std::string kept = "\nThe hourly table was left as it was.";
    const std::pair<std::string, std::string> cases[] = {
        {lines(20, "80,60,50,30\n"),
         refused + "It holds 20 hours; an import needs all 24, one line for each hour from 00:00 to 23:00." +
             kept},
        {lines(3, "80,60,50,30\n") + "80,60,50\n" + lines(20, "80,60,50,30\n"),
         refused +
             "Line 4 has 3 fields; each hour needs four: inflow, inlet, AZP and critical point pressure." +
             kept},
        {"80,60,50,30,\n80,6O,50,30,\n" + lines(22, "80,60,50,30\n"),
         refused + "Line 2, field 2 (inlet pressure) is not a number: \"6O\"." + kept},
        {"abc,61,50,30,\n", refused + "Line 1, field 1 (inflow) is not a number: \"abc\"." + kept},
        {"80,60,50,,\n" + lines(23, "80,60,50,30\n"),
         refused + "Line 1, field 4 (critical point pressure) is not a number: \"\"." + kept},
        {"80,60,\x1B[31m,30,\n",
         refused + "Line 1, field 3 (AZP pressure) is not a number: \"?[31m\"." + kept},
        {"Flow;Inlet;AZP;Critical\n" + lines(2, "64,5;60;50;35\n") + "64,5;6,0,1;50;35\n",
         file + " cannot be imported (read as semicolon-separated, decimal comma, 1 header line skipped).\n" +
             "Line 4, field 2 (inlet pressure) is not a number: \"6,0,1\"." + kept},
        {lines(10, "80,60,50,30\n") + "\n" + lines(14, "80,60,50,30\n"),
         refused +
             "Line 11 is empty, between the hours: each hour from 00:00 to 23:00 needs its line, in order." +
             kept},
        {lines(25, "80,60,50,30\n"),
         refused + "Line 25 would be a 25th hour: an import holds one day, 24 lines of hours." + kept},
        {"", refused + "It holds no hourly data: no line has numbers in it." + kept},
        {std::string(1000, '\n'), refused + "It holds no hourly data: no line has numbers in it." + kept},
    };
    for (const auto& [text, message] : cases) {
        form.Dialogs.Clear();
        Import(form, dir, text);
        EXPECT_EQ(form.Dialogs.Messages, std::vector<TRecordedMessage>({{TMsgDlgType::Error, message}}))
            << ::testing::PrintToString(text.substr(0, 40));
        form.Dialogs.Clear();
        EXPECT_EQ(Snapshot(*form), before);
    }
}

// Edit > Undo takes back an import whole, and a paste; a new project forgets them.
TEST(HourlyImport, UndoTakesBackTheImport) {
    TScratchDir dir;
    TShownForm form;
    // What the window holds; the status line keeps saying what was last imported.
    const auto Snapshot = [](TMainForm& f) {
        f.StatusBar1.SimpleText.clear();
        return halvern::test::Snapshot(f);
    };
    const std::string fresh = Snapshot(*form);
    Import(form, dir, ExampleText(form->ImportHelp));
    const std::string imported = Snapshot(*form);
    ASSERT_NE(imported, fresh);
    EXPECT_EQ(form->TableSteps.Caption(), "Undo import");
    form->FlowGrid.Col = Flow::InletCol;
    form->FlowGrid.Row = Flow::HourRow(4);
    form->FlowGrid.OnPaste("1\t2\n3\t4\n");
    EXPECT_EQ(form->FlowGrid.Cell(Flow::AZPCol, Flow::HourRow(5)), "4");
    EXPECT_EQ(form->TableSteps.Caption(), "Undo paste");
    form->EditUndo();
    EXPECT_EQ(Snapshot(*form), imported);
    form->EditUndo();
    EXPECT_EQ(Snapshot(*form), fresh);
    EXPECT_FALSE(form->TableSteps.CanUndo());
    form->EditUndo(); // nothing left: nothing happens
    EXPECT_EQ(Snapshot(*form), fresh);

    Import(form, dir, ExampleText(form->ImportHelp));
    form->actDataNew.Execute();
    EXPECT_FALSE(form->TableSteps.CanUndo());
}

TEST(HourlyImport, CancelledOrUnreadableFileChangesNothing) {
    TScratchDir dir;
    TShownForm form;
    Import(form, dir, ExampleText(form->ImportHelp));
    const std::string before = Snapshot(*form);

    form->ImportButton.Click(); // the dialog is cancelled
    EXPECT_THAT(form.Dialogs.Messages, IsEmpty());

    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {dir.File("absent.txt"),
         "Cannot open file " + dir.File("absent.txt") + "\nNo such file or directory"},
        {dir.Path().string(), "Cannot open file " + dir.Path().string() + "\n" + dir.Path().string() +
                                  " is not a regular file (a folder)."},
        {"/dev/zero", "Cannot open file /dev/zero\n/dev/zero is not a regular file (a character device)."},
        // A named pipe with no writer would block the program for ever: refused before it is opened.
        {dir.File("pipe"), "Cannot open file " + dir.File("pipe") + "\n" + dir.File("pipe") +
                               " is not a regular file (a named pipe)."},
    };
    for (const auto& [name, message] : cases) {
        form.Dialogs.Clear();
        form.Dialogs.FileNames.push_back(name);
        form->ImportButton.Click();
        EXPECT_EQ(form.Dialogs.Messages, std::vector<TRecordedMessage>({{TMsgDlgType::Error, message}}));
    }
    form.Dialogs.Clear();
    EXPECT_EQ(Snapshot(*form), before);
}

TEST(HourlyImport, ImportedValuesReachTheAnalysisAtTheNextCollection) {
    TScratchDir dir;
    TShownForm form;
    Import(form, dir, ExampleText(form->ImportHelp));
    bool errors = true;
    form->GetTheData(errors);
    ASSERT_FALSE(errors);
    EXPECT_EQ(form->Project.ZoneInflow[0], 82.8);
    EXPECT_EQ(form->Project.CriticalPressure[23], 28.0);
}

TEST(HourlyImportParse, ALineMayEndWithOrWithoutItsSeparator) {
    std::string text;
    for (int h = 0; h < 24; ++h)
        text += h % 2 ? "1,2,3,4, \n" : "1,2,3,4\n";
    const THourlyImport hours = ParseHourlyImport(text);
    ASSERT_TRUE(hours.Ok()) << hours.Refusal;
    EXPECT_THAT(hours.Fields[0], ElementsAre("1", "2", "3", "4"));
    EXPECT_THAT(hours.Fields[1], ElementsAre("1", "2", "3", "4"));
    EXPECT_FALSE(hours.ExtraFields);
}
