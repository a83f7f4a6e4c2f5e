// halvern-cli run as a user runs it: its output, its messages on standard error, the files
// it writes and its exit codes, checked against what the window shows for the same files.
#ifdef HALVERN_CLI
#include "CliRunner.h"
#include "IoFixture.h"
#include "forms/TableLayouts.h"
#include "io/TextCodec.h"
#include "reports/ZipRewrite.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace halvern;
namespace Flow = FlowGridLayout;
using namespace halvern::test;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

std::string Example(const std::string& name) {
    return TestData("../../examples/" + name);
}

// A JSON string as the command line writes it, for texts without quotes or backslashes.
std::string J(const std::string& text) {
    return "\"" + text + "\"";
}

std::string JsonRow(const TMarkStringGrid& grid, int row) {
    std::string out = "[";
    for (int c = 0; c < grid.ColCount(); ++c)
        out += (c ? ", " : "") + J(grid.Cell(c, row));
    return out + "]";
}

} // namespace

TEST(Cli, UsageAndExitCodes) {
    const TCliRun help = RunCli({"--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_THAT(help.Out, HasSubstr("halvern-cli show --json FILE.pru"));
    EXPECT_THAT(help.Out,
                HasSubstr("halvern-cli import DATA.txt -o FILE.pru [--units m3h|ls] [--from FILE.pru]"));

    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"frobnicate"},
        {"show"},
        {"show", "--json", "a.pru", "b.pru"},
        {"show", "--colour", "a.pru"},
        {"import", "data.txt"},
        {"import", "-o", "x.pru"},
        {"import", "data.txt", "-o", "x.pru", "--units", "gpm"},
        {"import", "data.txt", "-o"},
        {"save-defaults"},
        {"save-defaults", "x.pru"},
    };
    for (const auto& args : wrong) {
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 2) << ::testing::PrintToString(args);
        EXPECT_THAT(run.Err, HasSubstr("Usage:"));
        EXPECT_THAT(run.Out, IsEmpty());
    }
}

TEST(Cli, ShowPrintsTheEngineersScreen) {
    const TCliRun run = RunCli({"show", Example("demo-zone.pru"), TestData("windows-zone.pru")});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_THAT(run.Err, IsEmpty());
    for (const char* expected :
         {"demo-zone.pru\n=============", "Zone name                   Rietvallei Ext 4",
          "Total, independent of pressure   5.99", "Pressure dependent (m³)    1474.30       1347.56",
          "Day / night factor (h)       22.34", "Population use appears normal.",
          "Fixed outlet (55.00 m)  none", "Payback (months)                          -           5.0",
          "windows-zone.pru\n================", "Zone name                   Zoné Oos",
          "Time modulated          Pressure of 15.00 could not be achieved over full 24 hour period at the "
          "critical "
          "point."})
        EXPECT_THAT(run.Out, HasSubstr(expected));
}

TEST(Cli, JsonIsWhatTheWindowShowsAfterReadData) {
    const TCliRun run = RunCli({"show", "--json", Example("demo-zone.pru")});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_THAT(run.Err, IsEmpty());

    TShownForm form;
    // The name as given, made absolute; ".." is left for the system to follow.
    form.Read(std::filesystem::absolute(Example("demo-zone.pru")).string());
    ASSERT_THAT(form.Dialogs.Messages, IsEmpty());
    EXPECT_THAT(run.Out, HasSubstr("\"caption\": " + J(form->Caption)));
    EXPECT_THAT(run.Out, HasSubstr("\"status\": " + J(form->StatusBar1.SimpleText)));
    EXPECT_THAT(run.Out, HasSubstr("\"messages\": []"));
    for (TEdit* edit : form->Controls.Listed<TEdit>())
        EXPECT_THAT(run.Out, HasSubstr(J(edit->Name) + ": " + J(edit->Text())));
    for (TLabel* label : form->Controls.Listed<TLabel>())
        EXPECT_THAT(run.Out, HasSubstr(J(label->Name) + ": " + J(label->Caption)));
    for (TTimePicker* picker : form->Controls.Listed<TTimePicker>())
        EXPECT_THAT(run.Out, HasSubstr(J(picker->Name) + ": " + J(TimeToStr(picker->Time))));
    EXPECT_THAT(run.Out,
                HasSubstr("\"CollectMemo\": [\"Name: J. van der Merwe\", \"Tel: 012 345 6789\", \"Fax:\", "
                          "\"email: j.vandermerwe@example.org\"]"));
    EXPECT_THAT(run.Out, HasSubstr("\"TimeWarnCheckBox\": false"));
    EXPECT_THAT(run.Out, HasSubstr("\"m3hrRadio\": true"));
    EXPECT_THAT(run.Out, HasSubstr("\"Interval2Radio\": true"));
    for (const char* name : {"FlowGrid", "CurrentGrid", "FixedPRVGrid", "TimePRVGrid", "FlowPRVGrid",
                             "CostSummaryGrid", "N1Grid", "FixedCostGrid"}) {
        const TMarkStringGrid& grid = *form->Controls.Find<TMarkStringGrid>(name);
        EXPECT_THAT(run.Out, HasSubstr(J(name) + ": [\n      " + JsonRow(grid, 0) + ",\n"));
        for (int r = 1; r < grid.RowCount(); ++r)
            EXPECT_THAT(run.Out, HasSubstr(JsonRow(grid, r))) << name;
    }
    EXPECT_THAT(run.Out, HasSubstr("\"NightAZPPressure\": 52"));
    EXPECT_THAT(run.Out, HasSubstr("\"LPFlowMod\": 18,\n"));
    EXPECT_THAT(run.Out, HasSubstr("\"HPFlowMod\": 15\n"));
}

TEST(Cli, FilesThatCannotBeRead) {
    TScratchDir dir;
    const TCliRun missing = RunCli({"show", dir.File("absent.pru")});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_THAT(missing.Err, HasSubstr("error: Cannot open file " + dir.File("absent.pru")));

    WriteBytes(dir.File("bad.pru"), "HALVERN 4.0\r\nZone\r\n");
    const TCliRun json = RunCli({"show", "--json", dir.File("bad.pru")});
    EXPECT_EQ(json.ExitCode, 1);
    // A project that was not read has no window to show: nothing on standard output.
    EXPECT_THAT(json.Out, IsEmpty());
    EXPECT_EQ(json.Err,
              dir.File("bad.pru") +
                  ": error: Invalid file format encountered.\nLine 2: the file ends here, before a time "
                  "line.\n");

    // One unreadable file among several: the others are still shown.
    const TCliRun several = RunCli({"show", dir.File("bad.pru"), Example("demo-zone.pru")});
    EXPECT_EQ(several.ExitCode, 1);
    EXPECT_THAT(several.Out, HasSubstr("Rietvallei Ext 4"));
}

TEST(Cli, ImportIntoANewOrAGivenProject) {
    TScratchDir dir;
    const TCliRun fresh = RunCli({"import", Example("import-example.txt"), "-o", dir.File("new.pru")});
    EXPECT_EQ(fresh.ExitCode, 0) << fresh.Err;
    EXPECT_THAT(fresh.Out, HasSubstr("Saved data to: " + dir.File("new.pru")));
    TShownForm imported;
    imported.Read(dir.File("new.pru"));
    EXPECT_EQ(imported->FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(0)), "82.80");
    EXPECT_EQ(imported->FlowGrid.Cell(Flow::CriticalCol, Flow::HourRow(23)), "28.00");
    EXPECT_EQ(imported->ZoneNameEdit.Text(), "");

    const TCliRun litres = RunCli({"import", Example("import-example.txt"), "-o", dir.File("ls.pru"),
                                   "--units", "ls", "--from", Example("demo-zone.pru")});
    EXPECT_EQ(litres.ExitCode, 0) << litres.Err;
    TShownForm inLitres;
    inLitres.Read(dir.File("ls.pru"));
    EXPECT_EQ(inLitres->ZoneNameEdit.Text(), "Rietvallei Ext 4");
    EXPECT_TRUE(inLitres->lsRadio.Checked());
    EXPECT_EQ(inLitres->Project.ZoneInflow[0], 298.08); // 82.8 l/s
}

TEST(Cli, ImportRefusals) {
    TScratchDir dir;
    const TCliRun noData = RunCli({"import", dir.File("absent.txt"), "-o", dir.File("out.pru")});
    EXPECT_EQ(noData.ExitCode, 1);
    EXPECT_THAT(noData.Err, HasSubstr("error: Cannot open file " + dir.File("absent.txt") +
                                      "\nNo such file or directory\n"));

    WriteBytes(dir.File("bad.txt"), "abc,61,50,30,\r\n");
    const TCliRun bad = RunCli({"import", dir.File("bad.txt"), "-o", dir.File("out.pru")});
    EXPECT_EQ(bad.ExitCode, 1);
    EXPECT_THAT(bad.Err,
                HasSubstr("error: " + dir.File("bad.txt") +
                          " cannot be imported (read as comma-separated, decimal point).\nLine 1, field 1 "
                          "(inflow) is not a number: \"abc\".\nThe hourly table was left as it was."));
    EXPECT_THAT(dir.Names(), Not(::testing::Contains("out.pru")));

    const TCliRun badFrom = RunCli(
        {"import", Example("import-example.txt"), "-o", dir.File("out.pru"), "--from", dir.File("bad.txt")});
    EXPECT_EQ(badFrom.ExitCode, 1);
    // The message names the project that was refused, not the data file.
    EXPECT_THAT(badFrom.Err, HasSubstr(dir.File("bad.txt") + ": error: Invalid data file:\n" +
                                       dir.File("bad.txt") + "\nUnable to read data."));

    const TCliRun missingFrom = RunCli({"import", Example("import-example.txt"), "-o", dir.File("out.pru"),
                                        "--from", dir.File("absent.pru")});
    EXPECT_EQ(missingFrom.ExitCode, 1);
    // The reason comes with the message, from the one opening of the file.
    EXPECT_EQ(missingFrom.Err, dir.File("absent.pru") + ": error: Cannot open file " +
                                   dir.File("absent.pru") + "\nNo such file or directory\n");

    const TCliRun emptyName = RunCli({"save-defaults", "-o", ""});
    EXPECT_EQ(emptyName.ExitCode, 2);
    EXPECT_THAT(emptyName.Err, HasSubstr("halvern-cli: an argument is empty; a file name was expected"));
}

TEST(Cli, SaveDefaultsWritesTheNewProjectAsSaveDataDoes) {
    TScratchDir dir;
    const TCliRun run = RunCli({"save-defaults", "-o", dir.File("defaults.pru")});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    TShownForm form;
    form->actDataNewExec();
    form.Save(dir.File("window.pru"));
    EXPECT_EQ(ReadBytes(dir.File("defaults.pru")), ReadBytes(dir.File("window.pru")));
    EXPECT_EQ(FileLines(ReadBytes(dir.File("defaults.pru"))).size(), 277u);

    const TCliRun unwritable = RunCli({"save-defaults", "-o", dir.File("no-folder/defaults.pru")});
    EXPECT_EQ(unwritable.ExitCode, 1);
    EXPECT_EQ(unwritable.Err, dir.File("no-folder/defaults.pru") + ": error: Cannot open file " +
                                  dir.File("no-folder/defaults.pru") + "\nNo such file or directory\n");
}
// ".." after a link leads to the link target's parent, as the system sees it: the command
// line follows the name as given, never a shortened one.
TEST(Cli, NamesAreFollowedAsTheSystemFollowsThem) {
    TScratchDir dir;
    std::filesystem::create_directories(dir.File("work"));
    std::filesystem::create_directories(dir.File("real/sub"));
    std::filesystem::create_symlink("../real/sub", dir.File("work/lnk"));
    // The two projects tell apart in what each command prints: name, N1 and fixed outlet.
    TProjectFileData through = RichProject();
    through.Values.ZoneName = "Beside the link's target";
    through.Values.N1 = 1.37;
    through.Values.FixedPRVOutlet = 41.5;
    WriteBytes(dir.File("real/a.pru"), EncodeFileText(FormatProjectFile(through)));
    TProjectFileData lexical = RichProject();
    lexical.Values.ZoneName = "Beside the link";
    lexical.Values.N1 = 0.83;
    lexical.Values.FixedPRVOutlet = 38.25;
    WriteBytes(dir.File("work/a.pru"), EncodeFileText(FormatProjectFile(lexical)));

    const TCliRun show = RunCli({"show", dir.File("work/lnk/../a.pru")});
    EXPECT_EQ(show.ExitCode, 0) << show.Err;
    EXPECT_THAT(show.Out, HasSubstr("Beside the link's target"));
    const TCliRun summary = RunCli({"summary", "--json", dir.File("work/lnk/../a.pru")});
    EXPECT_EQ(summary.ExitCode, 0) << summary.Err;
    EXPECT_THAT(summary.Out, HasSubstr("\"zone_name\":\"Beside the link's target\""));
    // A relative name too, from inside the folder with the link.
    const TCliRun relative =
        RunCli({"summary", "--json", "lnk/../a.pru"}, {.WorkingFolder = dir.File("work")});
    EXPECT_THAT(relative.Out, HasSubstr("\"zone_name\":\"Beside the link's target\"")) << relative.Err;

    const TCliRun import =
        RunCli({"import", Example("import-example.txt"), "-o", dir.File("work/lnk/../new.pru")});
    EXPECT_EQ(import.ExitCode, 0) << import.Err;
    EXPECT_THAT(import.Out, HasSubstr("Saved data to: " + dir.File("work/lnk/../new.pru")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("real/new.pru")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("work/new.pru")));

    const TCliRun sensitivity = RunCli({"sensitivity", "--json", dir.File("work/lnk/../a.pru")});
    EXPECT_EQ(sensitivity.ExitCode, 0) << sensitivity.Err;
    EXPECT_THAT(sensitivity.Out, HasSubstr("\"n1\":1.37,\"project_n1\":true"));
    EXPECT_THAT(sensitivity.Out, Not(HasSubstr("\"n1\":0.83,")));
    // suggest reads and, with --apply, writes through the link.
    const TCliRun suggest = RunCli({"suggest", "--json", dir.File("work/lnk/../a.pru"), "--apply", "-o",
                                    dir.File("work/lnk/../out.pru")});
    EXPECT_THAT(suggest.Out, HasSubstr("\"current\": {\"outlet\": \"41.5")) << suggest.Err;
    EXPECT_THAT(suggest.Out, Not(HasSubstr("\"outlet\": \"38.2")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("real/out.pru"))) << suggest.Err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("work/out.pru")));
}

// Output that does not reach its place fails the command, with the reason.
TEST(Cli, OutputThatCannotBeWrittenFails) {
    TScratchDir dir;
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"show", Example("demo-zone.pru")},
                                               {"show", "--json", Example("demo-zone.pru")},
                                               {"--help"},
                                               {"save-defaults", "-o", dir.File("defaults.pru")}}) {
        const TCliRun full = RunCli(args, {.StdoutTo = "/dev/full"});
        EXPECT_EQ(full.ExitCode, 1) << ::testing::PrintToString(args);
        EXPECT_THAT(full.Err, HasSubstr("halvern-cli: cannot write the output: No space left on device"));
    }
    // The same commands to a file that takes them succeed.
    const TCliRun ok =
        RunCli({"show", "--json", Example("demo-zone.pru")}, {.StdoutTo = dir.File("out.json")});
    EXPECT_EQ(ok.ExitCode, 0);
    EXPECT_GT(ReadBytes(dir.File("out.json")).size(), 8192u);
}

TEST(Cli, ImportRefusesToReplaceItsOwnData) {
    TScratchDir dir;
    const std::string data = ReadBytes(Example("import-example.txt"));
    WriteBytes(dir.File("data.txt"), data);
    std::filesystem::create_symlink("data.txt", dir.File("link.txt"));
    for (const char* output : {"data.txt", "link.txt"}) {
        const TCliRun run = RunCli({"import", dir.File("data.txt"), "-o", dir.File(output)});
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_THAT(run.Err, HasSubstr("halvern-cli: the output " + dir.File(output) +
                                       " is the data file itself; give the project another name"));
        EXPECT_EQ(ReadBytes(dir.File("data.txt")), data);
    }
}

// A project's texts may hold terminal control sequences (a window title, colours, the bell):
// they are shown, escaped, and never acted on.
TEST(Cli, ControlCharactersFromAProjectAreShownEscaped) {
    TScratchDir dir;
    TProjectFileData hostile = RichProject();
    hostile.Values.ZoneName = "\x1B]0;owned\x07\x1B[31mRed\x7F\u009B2J";
    // A right-to-left override would show "gpj.exe" as "exe.jpg".
    hostile.Values.ZoneRef = "plain\u202Egpj.exe\u2066x\u2069";
    WriteBytes(dir.File("hostile\x1B[2J.pru"), EncodeFileText(FormatProjectFile(hostile)));
    const TCliRun run = RunCli({"show", dir.File("hostile\x1B[2J.pru")});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_THAT(run.Out,
                HasSubstr("Zone name                   \\x1b]0;owned\\x07\\x1b[31mRed\\x7f\\u009b2J\n"));
    EXPECT_THAT(run.Out, HasSubstr("hostile\\x1b[2J.pru\n"));
    EXPECT_THAT(run.Out, HasSubstr("plain\\u202egpj.exe\\u2066x\\u2069\n"));
    for (const char control : {'\x1B', '\x07', '\x7F'})
        EXPECT_EQ(run.Out.find(control), std::string::npos);
    for (const char* invisible : {"\u009B", "\u202E", "\u2066", "\u2069"})
        EXPECT_EQ(run.Out.find(invisible), std::string::npos) << invisible;

    const TCliRun json = RunCli({"show", "--json", dir.File("hostile\x1B[2J.pru")});
    EXPECT_THAT(json.Out,
                HasSubstr("\"ZoneNameEdit\": \"\\u001b]0;owned\\u0007\\u001b[31mRed\\u007f\\u009b2J\""));
    EXPECT_THAT(json.Out, HasSubstr("\"ZoneRefEdit\": \"plain\\u202egpj.exe\\u2066x\\u2069\""));

    // The name of a report written, and the status line of a save, as show prints names.
    const TCliRun report = RunCli({"report", dir.File("hostile\x1B[2J.pru"), "-o",
                                   dir.File("r\x1B]0;t\x07.xlsx"), "--sheets", "general"});
    EXPECT_EQ(report.ExitCode, 0) << report.Err;
    EXPECT_EQ(report.Out, "Report written to: " + dir.File("r\\x1b]0;t\\x07.xlsx") + "\n");
    const TCliRun save = RunCli({"save-defaults", "-o", dir.File("\u202Eurp.exe")});
    EXPECT_EQ(save.ExitCode, 0) << save.Err;
    EXPECT_EQ(save.Out, "Saved data to: " + dir.File("\\u202eurp.exe") + "\n");

    // Messages on standard error are escaped too.
    WriteBytes(dir.File("bad.txt"), "\x1B[31m,1,2,3,\n");
    const TCliRun bad = RunCli({"import", dir.File("bad.txt"), "-o", dir.File("out.pru")});
    EXPECT_EQ(bad.Err.find('\x1B'), std::string::npos);
}

// A multiplication factor the window cannot show is named where the command line shows
// the window's messages, and the record of summary carries it.
TEST(Cli, FactorOutsideItsRangeIsNamed) {
    TScratchDir dir;
    TProjectFileData d = RichProject();
    d.Values.CostFactor = 150;
    WriteBytes(dir.File("factor.pru"), EncodeFileText(FormatProjectFile(d)));
    const std::string message =
        "The multiplication factor 150 in " + dir.File("factor.pru") + " is outside 0 to 100; 100 is used.";
    const TCliRun show = RunCli({"show", dir.File("factor.pru")});
    EXPECT_EQ(show.ExitCode, 0);
    EXPECT_EQ(show.Err, dir.File("factor.pru") + ": warning: " + message + "\n");
    EXPECT_THAT(show.Out, HasSubstr("multiplication factor 100 %"));
    const TCliRun summary = RunCli({"summary", "--json", dir.File("factor.pru")});
    EXPECT_THAT(summary.Out, HasSubstr("\"messages\":[\"" + message + "\"]"));
}

TEST(Cli, DoubleDashEndsTheOptions) {
    TScratchDir dir;
    const std::string project = ReadBytes(Example("demo-zone.pru"));
    WriteBytes(dir.File("-o"), project);
    WriteBytes(dir.File("--help"), project);
    // Names that look like options, given after "--".
    const TCliRun show = RunCli({"show", "--", dir.File("-o"), dir.File("--help")});
    EXPECT_EQ(show.ExitCode, 0) << show.Err;
    EXPECT_THAT(show.Out, HasSubstr("-o\n==\n"));
    EXPECT_THAT(show.Out, HasSubstr("--help\n======\n"));

    WriteBytes(dir.File("-data.txt"), ReadBytes(Example("import-example.txt")));
    const TCliRun import = RunCli({"import", "-o", dir.File("out.pru"), "--", dir.File("-data.txt")});
    EXPECT_EQ(import.ExitCode, 0) << import.Err;

    const TCliRun dashed = RunCli({"show", "--", "--json"});
    EXPECT_EQ(dashed.ExitCode, 1); // a file named "--json", which does not exist here
    EXPECT_THAT(dashed.Err, HasSubstr("--json: error: Cannot open file "));
    EXPECT_THAT(dashed.Out, IsEmpty());
}

// A named pipe with no writer used to block the program for ever.
TEST(Cli, PipeIsRefusedAtOnce) {
    TScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    const std::string refusal = dir.File("pipe") + " is not a regular file (a named pipe).";
    const TCliRun show = RunCli({"show", dir.File("pipe")});
    EXPECT_EQ(show.ExitCode, 1);
    EXPECT_THAT(show.Err, HasSubstr("error: Cannot open file " + dir.File("pipe") + "\n" + refusal));
    const TCliRun import = RunCli({"import", dir.File("pipe"), "-o", dir.File("out.pru")});
    EXPECT_EQ(import.ExitCode, 1);
    EXPECT_THAT(import.Err, HasSubstr(refusal));
    const TCliRun save = RunCli({"save-defaults", "-o", dir.File("pipe")});
    EXPECT_EQ(save.ExitCode, 1);
    EXPECT_THAT(save.Err, HasSubstr(refusal));
}

// The sheet names of a written workbook, in tab order.
std::vector<std::string> WorkbookSheets(const std::string& file) {
    const std::string xml = ReadZipEntry(file, "xl/workbook.xml");
    std::vector<std::string> names;
    for (auto at = xml.find("<sheet name=\""); at != std::string::npos;
         at = xml.find("<sheet name=\"", at + 1)) {
        const auto from = at + 13;
        names.push_back(xml.substr(from, xml.find('"', from) - from));
    }
    return names;
}

TEST(Cli, ReportWritesTheWorkbookOfTheDialog) {
    TScratchDir dir;
    const TCliRun all = RunCli({"report", Example("demo-zone.pru"), "-o", dir.File("demo.xlsx")});
    EXPECT_EQ(all.ExitCode, 0) << all.Err;
    EXPECT_EQ(all.Out, std::string("Report written to: ").append(dir.File("demo.xlsx")).append("\n"));
    EXPECT_THAT(WorkbookSheets(dir.File("demo.xlsx")),
                ::testing::ElementsAre("General Data", "Current Situation", "Summary", "Fixed Outlet",
                                       "Time Modulated", "Flow Modulated", "N1 Sensitivity"));

    const TCliRun two =
        RunCli({"report", Example("demo-zone.pru"), "--sheets", "fixed,current", "-o", dir.File("two.xlsx")});
    EXPECT_EQ(two.ExitCode, 0) << two.Err;
    EXPECT_THAT(WorkbookSheets(dir.File("two.xlsx")),
                ::testing::ElementsAre("Current Situation", "Fixed Outlet"));

    // A name without an extension is given .xlsx, and the name written is the one said.
    const TCliRun bare =
        RunCli({"report", Example("demo-zone.pru"), "--sheets", "summary", "-o", dir.File("bare")});
    EXPECT_EQ(bare.ExitCode, 0) << bare.Err;
    EXPECT_EQ(bare.Out, std::string("Report written to: ").append(dir.File("bare.xlsx")).append("\n"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("bare.xlsx")));

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"report", Example("demo-zone.pru"), "-o", dir.File("x.xlsx"), "--sheets",
                                   "fixd"},
          {"report", Example("demo-zone.pru"), "-o", dir.File("x.xlsx"), "--sheets", "general,,flow"},
          {"report", Example("demo-zone.pru")},
          {"report", "-o", dir.File("x.xlsx")},
          {"report", Example("demo-zone.pru"), Example("demo-zone.pru"), "-o", dir.File("x.xlsx")},
          {"report", Example("demo-zone.pru"), "-o", dir.File("x.xlsx"), "-o", dir.File("y.xlsx")},
          // The report would overwrite the project it reports.
          {"report", Example("demo-zone.pru"), "-o", Example("demo-zone.pru")},
          // A workbook under another kind's name, and no sheet named at all.
          {"report", Example("demo-zone.pru"), "-o", dir.File("x.csv")},
          {"report", Example("demo-zone.pru"), "-o", dir.File("x.xlsx"), "--sheets", ""}}) {
        const TCliRun run = RunCli(wrong);
        EXPECT_EQ(run.ExitCode, 2) << ::testing::PrintToString(wrong);
        EXPECT_THAT(run.Err, ::testing::Not(HasSubstr("a file name was expected")));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.csv")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.xlsx")));

    const TCliRun unreadable = RunCli({"report", dir.File("absent.pru"), "-o", dir.File("x.xlsx")});
    EXPECT_EQ(unreadable.ExitCode, 1);
    const TCliRun unwritable =
        RunCli({"report", Example("demo-zone.pru"), "-o", dir.File("no-folder/x.xlsx")});
    EXPECT_EQ(unwritable.ExitCode, 1);
    EXPECT_THAT(unwritable.Err, HasSubstr("Cannot write the report to " + dir.File("no-folder/x.xlsx")));
    EXPECT_THAT(unwritable.Err, HasSubstr("No such file or directory"));
    // A write that failed is an error, as its exit status says.
    EXPECT_THAT(unwritable.Err, HasSubstr(": error: Cannot write the report"));
}

TEST(Cli, AnAnalysisThatStoppedIsNoFullResult) {
    // A negative AZP pressure at 11:00 stops the current situation, and every valve with it.
    TScratchDir dir;
    const std::string zone = TestData("stopped-analysis.pru");
    const TCliRun report = RunCli({"report", zone, "-o", dir.File("stopped.xlsx")});
    EXPECT_EQ(report.ExitCode, 1);
    EXPECT_THAT(report.Out, HasSubstr("Report written to: "));
    EXPECT_TRUE(std::filesystem::exists(dir.File("stopped.xlsx")));
    EXPECT_THAT(report.Err, HasSubstr("error: The analysis stopped on an error, so some results could not be "
                                      "calculated (Current Situation: Invalid floating point operation"));

    const TCliRun summary = RunCli({"summary", zone, Example("demo-zone.pru")});
    EXPECT_EQ(summary.ExitCode, 1);
    EXPECT_THAT(summary.Out, HasSubstr("Not calculated"));
    EXPECT_THAT(summary.Err, HasSubstr("The analysis stopped on an error"));
    const TCliRun fine = RunCli({"summary", Example("demo-zone.pru")});
    EXPECT_EQ(fine.ExitCode, 0) << fine.Err;
}
// import-logger --list: what the reader found in each file.
TEST(Cli, ImportLoggerListsLayouts) {
    TScratchDir dir;
    WriteBytes(dir.File("semi.txt"),
               "\xEF\xBB\xBFTijd;Debiet\r\n2024-03-04T00:00:00;1,5\r\n2024-03-04T00:01:00;2,5\r\n");
    const TCliRun run = RunCli({"import-logger", "--list", Example("zone-logger.csv"), dir.File("semi.txt")});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(
        run.Out,
        Example("zone-logger.csv") +
            "\n  code page: UTF-8\n  separator: comma, decimal point\n"
            "  lines before the data: 5 (the last names the columns)\n"
            "  time stamp: column 1, dd/mm/yyyy hh:mm\n  clock: local time\n"
            "  record: 2024-03-04 00:00 to 2024-03-10 23:55, every 5 min, 2007 samples, 7 days\n"
            "  channels:\n    2 \"Inflow (l/s)\": 2007 samples, l/s\n    3 \"Inlet (m)\": 2007 samples, m\n"
            "    4 \"AZP (m)\": 2007 samples, m\n    5 \"Critical (m)\": 2007 samples, m\n\n" +
            dir.File("semi.txt") +
            "\n  code page: UTF-8 with byte-order mark\n  separator: semicolon, decimal comma\n"
            "  lines before the data: 1 (the last names the columns)\n"
            "  time stamp: column 1, yyyy-mm-ddThh:mm:ss\n  clock: local time\n"
            "  record: 2024-03-04 00:00 to 2024-03-04 00:01, every 1 min, 2 samples, 1 days\n"
            "  channels:\n    2 \"Debiet\": 2 samples\n");
}

// Stamps in UTC are read as the zone's clock when its offset is given: listed from the zone's
// first to its last stamp, the thousands as grouped; refused with the reader's reason without it.
TEST(Cli, ImportLoggerListsUtcStampsInTheZonesClock) {
    TScratchDir dir;
    const std::string utc = dir.File("utc.txt");
    WriteBytes(utc, "Time\tFlow (l/s)\n2024-03-04T22:00:00Z\t1,250.5\n2024-03-04T22:15:00Z\t1,251.5\n"
                    "2024-03-04T22:30:00Z\t1,249.0\n");
    const TCliRun run = RunCli({"import-logger", "--list", "--utc-offset", "+02:00", utc});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out,
              utc + "\n  code page: UTF-8\n  separator: tab, decimal point, thousands grouped with commas\n"
                    "  lines before the data: 1 (the last names the columns)\n"
                    "  time stamp: column 1, yyyy-mm-ddThh:mm:ssZ\n  clock: UTC read as UTC+02:00\n"
                    "  record: 2024-03-05 00:00 to 2024-03-05 00:30, every 15 min, 3 samples, 1 days\n"
                    "  channels:\n    2 \"Flow (l/s)\": 3 samples, l/s\n");
    const TCliRun unknownZone = RunCli({"import-logger", "--list", utc});
    EXPECT_EQ(unknownZone.ExitCode, 1);
    EXPECT_THAT(unknownZone.Err, HasSubstr("halvern-cli: error: " + utc));
    EXPECT_THAT(unknownZone.Out, IsEmpty());
}

// The zone's offset decides which clock hour a sample in UTC belongs to, half hours too.
TEST(Cli, ImportLoggerAveragesUtcStampsByTheZonesHours) {
    TScratchDir dir;
    // Five-minute samples over three days in UTC, each the UTC hour plus 100.
    std::string text = "Time,Flow\n";
    for (int day = 4; day <= 6; ++day)
        for (int minute = 0; minute < 24 * 60; minute += 5) {
            char line[64];
            std::snprintf(line, sizeof line, "2024-03-%02dT%02d:%02d:00Z,%d\n", day, minute / 60, minute % 60,
                          100 + minute / 60);
            text += line;
        }
    WriteBytes(dir.File("utc.csv"), text);
    const struct {
        const char* Offset;
        const char* Midnight; // the zone's 00:00 of 2024-03-05 as printed
        const char* Noon;
    } cases[] = {
        {"+02:00", "\n00:00         122.000  100 %", "\n12:00         110.000  100 %"},
        {"-03:30", "\n00:00         103.500  100 %", "\n12:00         115.500  100 %"},
        {"Z", "\n00:00         100.000  100 %", "\n12:00         112.000  100 %"},
    };
    for (const auto& c : cases) {
        const TCliRun run = RunCli({"import-logger", "--flow", dir.File("utc.csv") + ":2", "--day",
                                    "2024-03-05", "--utc-offset", c.Offset, "-o", dir.File("zone.pru")});
        EXPECT_EQ(run.ExitCode, 0) << c.Offset << ": " << run.Err;
        EXPECT_THAT(run.Out, HasSubstr(c.Midnight)) << c.Offset;
        EXPECT_THAT(run.Out, HasSubstr(c.Noon)) << c.Offset;
    }
}

// The 24 means go into the project as typing them would; what is printed is what is saved.
TEST(Cli, ImportLoggerWritesTheHoursItPrints) {
    TScratchDir dir;
    const std::string e = Example("zone-logger.csv");
    const TCliRun run = RunCli({"import-logger", "--flow", e + ":Inflow (l/s)", "--inlet", e + ":3", "--azp",
                                e + ":4@m", "--critical", e + ":Critical (m)", "--day", "2024-03-05",
                                "--set-flow-hours", "-o", dir.File("zone.pru")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_THAT(run.Out, HasSubstr("Days: 2024-03-05\nHour   Inflow (m³/hr)  cover       Inlet (m)  cover"));
    EXPECT_THAT(run.Out, HasSubstr("\n07:00         104.469  100 %           59.39  100 %"));
    TShownForm form;
    form.Read(dir.File("zone.pru"));
    EXPECT_EQ(form->FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(7)),
              "104.47"); // the table shows two decimals of a project read
    EXPECT_EQ(form->FlowGrid.Cell(Flow::InletCol, Flow::HourRow(7)), "59.39");
    EXPECT_EQ(TimeToShortStr(form->LowTimePicker.Time), "04:00");
    EXPECT_EQ(TimeToShortStr(form->HighTimePicker.Time), "07:00");
}

// The project would replace a file of the measurements it is made from: refused whatever name
// leads to that file (a link, a second hard link), and every file stays as it was.
TEST(Cli, ImportLoggerRefusesToReplaceItsOwnData) {
    TScratchDir dir;
    const std::string data = ReadBytes(Example("zone-logger.csv"));
    WriteBytes(dir.File("zone.csv"), data);
    WriteBytes(dir.File("other.csv"), data);
    std::filesystem::create_symlink("zone.csv", dir.File("link.csv"));
    std::filesystem::create_hard_link(dir.File("other.csv"), dir.File("hard.csv"));
    const std::pair<const char*, const char*> cases[] = {
        {"zone.csv", "zone.csv"}, {"link.csv", "zone.csv"}, {"hard.csv", "other.csv"}};
    for (const auto& [output, input] : cases) {
        const TCliRun run =
            RunCli({"import-logger", "--flow", dir.File("zone.csv") + ":2", "--inlet",
                    dir.File("other.csv") + ":3", "--day", "2024-03-05", "-o", dir.File(output)});
        EXPECT_EQ(run.ExitCode, 1) << output;
        EXPECT_THAT(run.Err,
                    HasSubstr("halvern-cli: error: the output " + dir.File(output) + " is the logger file " +
                              dir.File(input) + "; give the project another name. Nothing was written."));
        EXPECT_THAT(run.Out, IsEmpty());
        EXPECT_EQ(ReadBytes(dir.File("zone.csv")), data);
        EXPECT_EQ(ReadBytes(dir.File("other.csv")), data);
    }
}

// Hours whose mean is past what a number holds, as the file's values add up or once turned
// into the table's unit, give the dialog's refusal, never the bare name of a floating-point
// error, and nothing is written.
TEST(Cli, ImportLoggerRefusesHoursWithoutAFiniteMean) {
    TScratchDir dir;
    // Twelve samples of 1e307 an hour add up past the largest number.
    std::string sum = "Time,Flow\n";
    for (int minute = 0; minute < 24 * 60; minute += 5) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "2024-03-05 %02d:%02d,", minute / 60, minute % 60);
        sum += stamp + (minute / 60 == 7 ? "1" + std::string(307, '0') : std::string("100")) + "\n";
    }
    WriteBytes(dir.File("sum.csv"), sum);
    // A mean of 4.25e307 bar is a number; in metres of water it is not.
    WriteBytes(dir.File("bar.csv"),
               "Time,P\n2024-03-05 07:00:00,1\n2024-03-05 07:00:01,1\n2024-03-05 07:00:02,17" +
                   std::string(307, '0') + "\n2024-03-05 07:00:03,1\n");
    const struct {
        const char* Option;
        const char* File;
        const char* Channel;
    } cases[] = {{"--flow", "sum.csv", ":2"}, {"--inlet", "bar.csv", ":2@bar"}};
    for (const auto& c : cases) {
        const TCliRun run = RunCli({"import-logger", c.Option, dir.File(c.File) + c.Channel, "--day",
                                    "2024-03-05", "--min-coverage", "0", "-o", dir.File("out.pru")});
        EXPECT_EQ(run.ExitCode, 1) << c.File;
        EXPECT_THAT(run.Err, HasSubstr("halvern-cli: error: " + dir.File(c.File) + ": the values of "))
            << c.File;
        EXPECT_THAT(run.Err, HasSubstr("add up past what a number holds in the hour 07:00")) << c.File;
        EXPECT_THAT(run.Err, Not(HasSubstr("Floating point overflow"))) << c.File;
        EXPECT_FALSE(std::filesystem::exists(dir.File("out.pru"))) << c.File;
    }
}

// Bad input says file, line or option and reason, and writes nothing.
TEST(Cli, ImportLoggerRefusals) {
    TScratchDir dir;
    const std::string e = Example("zone-logger.csv");
    WriteBytes(dir.File("words.csv"), "a,b\nx,1\ny,2\n");
    // 29 October 2023: the clock goes back from 03:00 to 02:00, so 02:00 to 03:00 comes twice.
    std::string back = "t,v\n";
    for (int m = 0; m < 24 * 60; m += 30) {
        const std::string clock = (m < 600 ? "0" : "") + std::to_string(m / 60) + (m % 60 ? ":30" : ":00");
        back += "2023-10-29 " + clock + ",70\n";
        if (m == 150) back += "2023-10-29 02:00,71\n2023-10-29 02:30,71\n";
    }
    WriteBytes(dir.File("back.csv"), back);
    const std::string out = dir.File("out.pru");
    const struct {
        std::vector<std::string> Args;
        int Exit;
        std::string Err;
    } cases[] = {
        {{"--flow", e + ":Flow", "--day", "2024-03-05", "-o", out},
         1,
         "error: --flow: " + e +
             " has no channel \"Flow\"; its channels are 2 \"Inflow (l/s)\", 3 \"Inlet (m)\", 4 "
             "\"AZP (m)\", 5 \"Critical (m)\".\n"},
        {{"--flow", e, "--day", "2024-03-05", "-o", out}, 1, "name one as FILE:COLUMN.\n"},
        {{"--flow", e + ":2@psi", "--day", "2024-03-05", "-o", out},
         1,
         "error: --flow: unknown unit \"psi\"; flows are in m3/h, l/s or m3/d.\n"},
        {{"--inlet", e + ":3@l/s", "--day", "2024-03-05", "-o", out},
         1,
         "error: --inlet: l/s is not a unit of inlet pressure.\n"},
        {{"--flow", e + ":2", "--day", "2024-04-01", "-o", out},
         1,
         "error: 2024-04-01 is not in the record of " + e + " (2024-03-04 00:00 to 2024-03-10 23:55).\n"},
        {{"--flow", e + ":2", "--days", "2024-03-06,2024-03-07", "-o", out},
         1,
         "error: coverage too low; choose other days or lower --min-coverage:\nNo samples 03:00–03:45 on "
         "2024-03-07 Thu (inflow, Inflow (l/s)).\nNothing was written.\n"},
        {{"--flow", dir.File("back.csv") + ":v", "--day", "2023-10-29", "--min-coverage", "0", "-o", out},
         1,
         "error: a chosen day has a clock change; choose other days or give "
         "--accept-clock-change:\n2023-10-29 has a "
         "clock change: 25 hours in " +
             dir.File("back.csv") + " (line 8).\nNothing was written.\n"},
        {{"--flow", dir.File("words.csv") + ":2", "--day", "2024-03-05", "-o", out},
         1,
         "error: " + dir.File("words.csv") + ": no time stamp column was found"},
        {{"--flow", e + ":2", "--day", "5 March", "-o", out},
         1,
         "error: \"5 March\" is not a day written as YYYY-MM-DD.\n"},
        {{"--flow", e + ":2", "-o", out},
         2,
         "import-logger needs one of --day, --days, or --from-day with --to-day"},
        {{"--flow", e + ":2", "--day", "2024-03-05", "--weekends", "-o", out},
         2,
         "--weekdays and --weekends choose among --from-day to --to-day"},
        {{"--flow", e + ":2", "--day", "2024-03-05", "--min-coverage", "75", "-o", out},
         2,
         "--min-coverage is a fraction from 0 to 1, such as 0.75"},
        {{"--list"}, 2, "import-logger --list needs one logger file at least"},
        {{"--flow", e + ":2", "--day", "2024-03-05", "--utc-offset", "2 hours", "-o", out},
         2,
         "--utc-offset is the zone's offset from UTC as ±hh:mm, such as +02:00 or -03:30, not \"2 hours\""},
        {{"--list", "--utc-offset", "+25:00", e}, 2, "--utc-offset is the zone's offset from UTC"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"import-logger"};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, c.Exit) << c.Err;
        EXPECT_THAT(run.Err, HasSubstr(c.Err));
        EXPECT_THAT(dir.Names(), Not(::testing::Contains("out.pru"))) << c.Err;
    }
    // Accepted, the clock change day is written.
    const TCliRun accepted =
        RunCli({"import-logger", "--flow", dir.File("back.csv") + ":v", "--day", "2023-10-29",
                "--min-coverage", "0", "--accept-clock-change", "-o", out});
    EXPECT_EQ(accepted.ExitCode, 0) << accepted.Err;
}

#endif
