// The hourly import of the "Flow and Pressure" page and its "Import Example" window.
#include "IoFixture.h"
#include "forms/HourlyImportCommand.h"

#include <gmock/gmock.h>

#include <sys/stat.h>

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
    EXPECT_THAT(Row(*form, 1), ElementsAre("82.80", "23.00", "61.00", "50.00", "30.00"));
    EXPECT_THAT(Row(*form, 11), ElementsAre("118.80", "33.00", "57.00", "47.00", "17.00"));
    EXPECT_THAT(Row(*form, 24), ElementsAre("97.20", "27.00", "60.00", "50.00", "28.00"));
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
    EXPECT_THAT(Row(*form, 1), ElementsAre("298.08", "82.80", "61.00", "50.00", "30.00"));
    EXPECT_TRUE(form->lsRadio.Checked());
}

TEST(HourlyImport, FieldsCountOnlyWhenACommaFollows) {
    TScratchDir dir;
    TShownForm form;
    Import(form, dir,
           "82.8,61,50,30\r\n"      // no final comma: the critical pressure stays 0
           " 75.6,63,51,34,99,x,\n" // leading blanks allowed; fields after the fourth unused
           "\r\n"                   // an empty line consumes the 02:00 row
           "7\r2.0,64,52,36,\n"     // a lone carriage return is dropped
           "-1,.,1e2,+4,\n");       // every form of the number rule, shown as read values are
    EXPECT_THAT(Row(*form, 1), ElementsAre("82.80", "23.00", "61.00", "50.00", "0"));
    EXPECT_THAT(Row(*form, 2), ElementsAre("75.60", "21.00", "63.00", "51.00", "34.00"));
    EXPECT_THAT(Row(*form, 3), ElementsAre("0", "0.00", "0", "0", "0"));
    EXPECT_THAT(Row(*form, 4), ElementsAre("72.00", "20.00", "64.00", "52.00", "36.00"));
    EXPECT_THAT(Row(*form, 5), ElementsAre("-1.00", "-0.28", "0.00", "100.00", "4.00"));
    EXPECT_THAT(Row(*form, 6), ElementsAre("0", "0.00", "0", "0", "0"));
}

// What the import says: nothing for a full day; how many hours it filled for less.
TEST(HourlyImport, FewerThan24HoursAreSaidInAMessage) {
    TScratchDir dir;
    TShownForm form;
    const std::string file = dir.File("hours.txt");
    std::string day;
    for (int h = 0; h < 24; ++h)
        day += "80,60,50,30,\n";
    const std::pair<std::string, std::string> cases[] = {
        {day, ""},
        {day + "1,2,3,4,\nnot, hourly, data\n", ""}, // lines after the 24th are not read
        {"80,60,50,30,\n\n80,60,50,30,\n",
         "Complete hourly data was imported for 2 of the 24 hours; the values missing from " + file +
             " were set to 0."},
        {"82.8,61,50,30\r\n",
         "Complete hourly data was imported for 0 of the 24 hours; the values missing from " + file +
             " were set to 0.\nLine 1 has fewer than four fields; each field, the last included, ends with a "
             "comma."},
    };
    for (const auto& [text, message] : cases) {
        form.Dialogs.Clear();
        Import(form, dir, text);
        if (message.empty()) {
            EXPECT_THAT(form.Dialogs.Messages, IsEmpty()) << text;
        } else {
            EXPECT_EQ(form.Dialogs.Messages,
                      std::vector<TRecordedMessage>({{TMsgDlgType::Information, message}}));
        }
    }
}

// The whole file is checked before a cell changes: a field that is not a number, or a file
// with no hour in it, leaves the table as it was and says where the fault is.
TEST(HourlyImport, FileWithAFieldThatIsNoNumberOrNoDataChangesNothing) {
    TScratchDir dir;
    TShownForm form;
    Import(form, dir, ExampleText(form->ImportHelp));
    const std::string before = Snapshot(*form);
    const std::string file = dir.File("hours.txt");
    const std::string kept = "\nThe hourly table was left as it was.";
    const std::string noData = file + " holds no hourly data: no line has a field ended by a comma." + kept;
    const std::pair<std::string, std::string> cases[] = {
        {"abc,61,50,30,\n", "Line 1, field 1 (inflow) of " + file + " is not a number: \"abc\"." + kept},
        {"80,60,50,30,\n80,6O,50,30,\n",
         "Line 2, field 2 (inlet pressure) of " + file + " is not a number: \"6O\"." + kept},
        {"80,60,50,30,\n\n80,60, 50 ,30,\n",
         "Line 3, field 3 (AZP pressure) of " + file + " is not a number: \" 50 \"." + kept},
        {"80,60,50,,\n",
         "Line 1, field 4 (critical point pressure) of " + file + " is not a number: \"\"." + kept},
        {"80,60,\xB1"
         "50,30,\r\n", // a Windows-1252 file: the text is shown as the program holds it
         "Line 1, field 3 (AZP pressure) of " + file + " is not a number: \"±50\"." + kept},
        {"80,60,\x1B[31m,30,\n",
         "Line 1, field 3 (AZP pressure) of " + file + " is not a number: \"?[31m\"." + kept},
        {"", noData},
        {std::string(4096, '\0'), noData},
        {std::string(1000, '\n'), noData},
        {"82.8 61 50 30\n", noData},
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

TEST(HourlyImport, SingleLineAndLongFiles) {
    TScratchDir dir;
    TShownForm form;
    // A first import fills every row; a single-line file then clears all the others.
    Import(form, dir, ExampleText(form->ImportHelp));
    Import(form, dir, "50,40,30,20,");
    EXPECT_THAT(Row(*form, 1), ElementsAre("50.00", "13.89", "40.00", "30.00", "20.00"));
    for (int row = 2; row <= 24; ++row)
        EXPECT_THAT(Row(*form, row), ElementsAre("0", "0.00", "0", "0", "0"));

    std::string many;
    for (int n = 1; n <= 30; ++n)
        many += std::to_string(n) + ",1,2,3,\n";
    Import(form, dir, many);
    EXPECT_EQ(form->FlowGrid.Cell(1, 24), "24.00");
    EXPECT_EQ(form->FlowGrid.RowCount(), 25);
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

TEST(HourlyImportParse, SplitsLinesAndFields) {
    const THourlyImport hours = ParseHourlyImport("1,2,3,4,5,\r\n\r\na,b\r\nc,");
    EXPECT_THAT(hours.Fields[0], ElementsAre("1", "2", "3", "4"));
    EXPECT_THAT(hours.Fields[1], IsEmpty());
    EXPECT_THAT(hours.Fields[2], ElementsAre("a"));
    EXPECT_THAT(hours.Fields[3], ElementsAre("c"));
    EXPECT_THAT(hours.Fields[4], IsEmpty());
    EXPECT_EQ(hours.HoursWithData, 3);
    EXPECT_EQ(hours.CompleteHours, 1);
    EXPECT_EQ(hours.FirstIncompleteLine, 3);
    EXPECT_EQ(hours.BadLine, 3);
    EXPECT_EQ(hours.BadField, 1);
    EXPECT_EQ(hours.BadText, "a");
}
