// The hourly import of the "Flow and Pressure" page and its "Import Example" window.
#include "IoFixture.h"
#include "io/HourlyImport.h"

#include <gmock/gmock.h>

#include <cerrno>
#include <cstring>

using namespace halvern;
using namespace halvern::testing;
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
    const std::string currentBefore = form->CurrentGrid.Cell(6, 2);
    Import(form, dir, ExampleText(form->ImportHelp));
    EXPECT_THAT(form.Dialogs.Messages, IsEmpty());
    EXPECT_THAT(Row(*form, 1), ElementsAre("82.800", "   23.00", "61.000", "50.000", "30.000"));
    EXPECT_THAT(Row(*form, 11), ElementsAre("118.800", "   33.00", "57.000", "47.000", "17.000"));
    EXPECT_THAT(Row(*form, 24), ElementsAre("97.200", "   27.00", "60.000", "50.000", "28.000"));
    // The labels, the unit and the analysis are untouched: nothing is calculated.
    EXPECT_EQ(form->FlowGrid.Cell(0, 1), "00:00 - 01:00");
    EXPECT_TRUE(form->m3hrRadio.Checked());
    EXPECT_EQ(form->Project.ZoneInflow, before.ZoneInflow);
    EXPECT_EQ(form->CurrentGrid.Cell(6, 2), currentBefore);
}

TEST(HourlyImport, ExampleWithLitresPerSecond) {
    TScratchDir dir;
    TShownForm form;
    form->lsRadio.Click();
    Import(form, dir, ExampleText(form->ImportHelp));
    EXPECT_THAT(Row(*form, 1), ElementsAre("  298.08", "82.800", "61.000", "50.000", "30.000"));
    EXPECT_TRUE(form->lsRadio.Checked());
}

TEST(HourlyImport, FieldsCountOnlyWhenACommaFollows) {
    TScratchDir dir;
    TShownForm form;
    Import(form, dir,
           "82.8,61,50,30\r\n"         // no final comma: the critical pressure stays 0
           " 75.6 ,63, x ,34,99,98,\n" // verbatim, blanks and all; fields after the fourth unused
           "\r\n"                      // an empty line consumes the 02:00 row
           "7\r2.0,64,52,36,\n"        // a lone carriage return is dropped
           ",,,,\n");                  // empty fields are stored empty
    EXPECT_THAT(Row(*form, 1), ElementsAre("82.8", "   23.00", "61", "50", "0"));
    EXPECT_THAT(Row(*form, 2), ElementsAre(" 75.6 ", "   21.00", "63", " x ", "34"));
    EXPECT_THAT(Row(*form, 3), ElementsAre("0", "0", "0", "0", "0"));
    EXPECT_THAT(Row(*form, 4), ElementsAre("72.0", "   20.00", "64", "52", "36"));
    EXPECT_THAT(Row(*form, 5), ElementsAre("", "0", "", "", ""));
    EXPECT_THAT(Row(*form, 6), ElementsAre("0", "0", "0", "0", "0"));
}

TEST(HourlyImport, SingleLineAndLongFiles) {
    TScratchDir dir;
    TShownForm form;
    // A first import fills every row; a single-line file then clears all the others.
    Import(form, dir, ExampleText(form->ImportHelp));
    Import(form, dir, "50,40,30,20,");
    EXPECT_THAT(Row(*form, 1), ElementsAre("50", "   13.89", "40", "30", "20"));
    for (int row = 2; row <= 24; ++row)
        EXPECT_THAT(Row(*form, row), ElementsAre("0", "0", "0", "0", "0"));

    std::string many;
    for (int n = 1; n <= 30; ++n)
        many += std::to_string(n) + ",1,2,3,\n";
    Import(form, dir, many);
    EXPECT_EQ(form->FlowGrid.Cell(1, 24), "24");
    EXPECT_EQ(form->FlowGrid.RowCount(), 25);
}

TEST(HourlyImport, WindowsTextIsStoredAsTheProgramHoldsTexts) {
    TScratchDir dir;
    TShownForm form;
    Import(form, dir,
           "82.8,61,\xB1"
           "50,30,\r\n");
    EXPECT_EQ(form->FlowGrid.Cell(4, 1), "±50");
}

TEST(HourlyImport, CancelledOrUnreadableFileChangesNothing) {
    TScratchDir dir;
    TShownForm form;
    Import(form, dir, ExampleText(form->ImportHelp));
    const std::string before = Snapshot(*form);

    form->ImportButton.Click(); // the dialog is cancelled
    EXPECT_THAT(form.Dialogs.Messages, IsEmpty());

    form.Dialogs.FileNames.push_back(dir.File("absent.txt"));
    form->ImportButton.Click();
    form.Dialogs.FileNames.push_back(dir.Path().string()); // a folder opens but does not read
    form->ImportButton.Click();
    form.Dialogs.FileNames.push_back("/dev/zero"); // would never end
    form->ImportButton.Click();
    EXPECT_EQ(form.Dialogs.Texts(),
              (std::vector<std::string>{std::strerror(ENOENT), std::strerror(EISDIR), std::strerror(EFBIG)}));
    EXPECT_EQ(form.Dialogs.Messages[0].Type, TMsgDlgType::Error);
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

TEST(HourlyImportParse, SplitsLinesAndFields) {
    const THourlyImport hours = ParseHourlyImport("1,2,3,4,5,\r\n\r\na,b\r\nc,");
    EXPECT_THAT(hours.Fields[0], ElementsAre("1", "2", "3", "4"));
    EXPECT_THAT(hours.Fields[1], IsEmpty());
    EXPECT_THAT(hours.Fields[2], ElementsAre("a"));
    EXPECT_THAT(hours.Fields[3], ElementsAre("c"));
    EXPECT_THAT(hours.Fields[4], IsEmpty());
}
