// halvern-cli run as a user runs it: its output, its messages on standard error, the files
// it writes and its exit codes, checked against what the window shows for the same files.
#ifdef HALVERN_CLI
#include "IoFixture.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <sys/wait.h>

using namespace halvern;
using namespace halvern::testing;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

struct TRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

TRun RunCli(const std::vector<std::string>& args) {
    TScratchDir dir;
    std::string command = Quote(HALVERN_CLI);
    for (const auto& arg : args)
        command += " " + Quote(arg);
    command += " 2>" + Quote(dir.File("stderr"));
    TRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.Out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Err = ReadBytes(dir.File("stderr"));
    return run;
}

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
    const TRun help = RunCli({"--help"});
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
        const TRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 2) << ::testing::PrintToString(args);
        EXPECT_THAT(run.Err, HasSubstr("Usage:"));
        EXPECT_THAT(run.Out, IsEmpty());
    }
}

TEST(Cli, ShowPrintsTheEngineersScreen) {
    const TRun run = RunCli({"show", Example("demo-zone.pru"), TestData("windows-zone.pru")});
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
    const TRun run = RunCli({"show", "--json", Example("demo-zone.pru")});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_THAT(run.Err, IsEmpty());

    TShownForm form;
    form.Read(std::filesystem::absolute(Example("demo-zone.pru")).lexically_normal().string());
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
    const TRun missing = RunCli({"show", dir.File("absent.pru")});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_THAT(missing.Err, HasSubstr("error: Cannot open file " + dir.File("absent.pru")));

    WriteBytes(dir.File("bad.pru"), "HALVERN 4.0\r\nZone\r\n");
    const TRun json = RunCli({"show", "--json", dir.File("bad.pru")});
    EXPECT_EQ(json.ExitCode, 1);
    EXPECT_THAT(json.Out, HasSubstr("\"caption\": \"Halvern, Version: 4.4\""));
    EXPECT_THAT(json.Out, HasSubstr("\"messages\": [\n    {\"type\": \"error\", \"text\": \"Invalid file "
                                    "format encountered.\"}\n  ]"));
    EXPECT_THAT(json.Err, HasSubstr("error: Invalid file format encountered."));

    // One unreadable file among several: the others are still shown.
    const TRun several = RunCli({"show", dir.File("bad.pru"), Example("demo-zone.pru")});
    EXPECT_EQ(several.ExitCode, 1);
    EXPECT_THAT(several.Out, HasSubstr("Rietvallei Ext 4"));
}

TEST(Cli, ImportIntoANewOrAGivenProject) {
    TScratchDir dir;
    const TRun fresh = RunCli({"import", Example("import-example.txt"), "-o", dir.File("new.pru")});
    EXPECT_EQ(fresh.ExitCode, 0) << fresh.Err;
    EXPECT_THAT(fresh.Out, HasSubstr("Saved data to: " + dir.File("new.pru")));
    TShownForm imported;
    imported.Read(dir.File("new.pru"));
    EXPECT_EQ(imported->FlowGrid.Cell(1, 1), "82.80");
    EXPECT_EQ(imported->FlowGrid.Cell(5, 24), "28.00");
    EXPECT_EQ(imported->ZoneNameEdit.Text(), "");

    const TRun litres = RunCli({"import", Example("import-example.txt"), "-o", dir.File("ls.pru"), "--units",
                                "ls", "--from", Example("demo-zone.pru")});
    EXPECT_EQ(litres.ExitCode, 0) << litres.Err;
    TShownForm inLitres;
    inLitres.Read(dir.File("ls.pru"));
    EXPECT_EQ(inLitres->ZoneNameEdit.Text(), "Rietvallei Ext 4");
    EXPECT_TRUE(inLitres->lsRadio.Checked());
    EXPECT_EQ(inLitres->Project.ZoneInflow[0], 298.08); // 82.8 l/s
}

TEST(Cli, ImportRefusals) {
    TScratchDir dir;
    const TRun noData = RunCli({"import", dir.File("absent.txt"), "-o", dir.File("out.pru")});
    EXPECT_EQ(noData.ExitCode, 1);
    EXPECT_THAT(noData.Err, HasSubstr("error: No such file or directory"));

    WriteBytes(dir.File("bad.txt"), "abc,61,50,30,\r\n");
    const TRun bad = RunCli({"import", dir.File("bad.txt"), "-o", dir.File("out.pru")});
    EXPECT_EQ(bad.ExitCode, 1);
    EXPECT_THAT(bad.Err,
                HasSubstr("error: Zone Inflow at interval 00:00 - 01:00 is invalid.\nCannot proceed with "
                          "calculations."));
    EXPECT_THAT(dir.Names(), Not(::testing::Contains("out.pru")));

    const TRun badFrom = RunCli(
        {"import", Example("import-example.txt"), "-o", dir.File("out.pru"), "--from", dir.File("bad.txt")});
    EXPECT_EQ(badFrom.ExitCode, 1);
    // The message names the project that was refused, not the data file.
    EXPECT_THAT(badFrom.Err,
                HasSubstr(dir.File("bad.txt") + ": error: Invalid data file.\nUnable to read data."));

    const TRun missingFrom = RunCli({"import", Example("import-example.txt"), "-o", dir.File("out.pru"),
                                     "--from", dir.File("absent.pru")});
    EXPECT_EQ(missingFrom.ExitCode, 1);
    EXPECT_EQ(missingFrom.Err, dir.File("absent.pru") + ": error: Cannot open file " +
                                   dir.File("absent.pru") + "\n" + dir.File("absent.pru") +
                                   ": No such file or directory\n");

    const TRun emptyName = RunCli({"save-defaults", "-o", ""});
    EXPECT_EQ(emptyName.ExitCode, 2);
    EXPECT_THAT(emptyName.Err, HasSubstr("halvern-cli: an argument is empty; a file name was expected"));
}

TEST(Cli, SaveDefaultsWritesTheNewProjectAsSaveDataDoes) {
    TScratchDir dir;
    const TRun run = RunCli({"save-defaults", "-o", dir.File("defaults.pru")});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    TShownForm form;
    form->actDataNewExec();
    form.Save(dir.File("window.pru"));
    EXPECT_EQ(ReadBytes(dir.File("defaults.pru")), ReadBytes(dir.File("window.pru")));
    EXPECT_EQ(FileLines(ReadBytes(dir.File("defaults.pru"))).size(), 277u);

    const TRun unwritable = RunCli({"save-defaults", "-o", dir.File("no-folder/defaults.pru")});
    EXPECT_EQ(unwritable.ExitCode, 1);
    EXPECT_THAT(unwritable.Err, HasSubstr("error: Cannot open file " + dir.File("no-folder/defaults.pru")));
    EXPECT_THAT(unwritable.Err,
                HasSubstr(dir.File("no-folder/defaults.pru") + ": No such file or directory"));
}
#endif
