// The N1 sweep: every row is what the program itself gives for that N1 (the command line's
// `show --json` of the project with the N1 written into it, the Summary with it typed in),
// the window is left as it was, and the sentences say over which N1 a valve pays back.
#include "forms/N1Sweep.h"
#include "CliRunner.h"
#include "IoFixture.h"
#include "forms/TableLayouts.h"
#include "io/TextCodec.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

using namespace halvern;
using namespace halvern::test;

namespace {

constexpr int ValveRows[SweepValves] = {CostSummaryLayout::FixedRow, CostSummaryLayout::TimeRow,
                                        CostSummaryLayout::FlowRow};

std::string Demo() {
    return TestData("../../examples/demo-zone.pru");
}
std::string Golden(const std::string& zone) {
    return TestData("golden/" + zone + ".pru");
}

// The valve's totals and payback as a table row shows them.
std::vector<std::string> SummaryTexts(TMainForm& form, int valve) {
    using namespace CostSummaryLayout;
    const int row = ValveRows[valve];
    return {Trim(form.CostSummaryGrid.Cell(VolumeSavingCol, row)),
            Trim(form.CostSummaryGrid.Cell(MoneySavingCol, row)),
            Trim(form.CostSummaryGrid.Cell(PaybackCol, row))};
}

std::vector<std::string> RowTexts(const TN1SweepRow& row, int valve) {
    const TValveSensitivity& v = row.Valves[static_cast<std::size_t>(valve)];
    return {v.SavingM3a, v.SavingRa, v.Payback};
}

#ifdef HALVERN_CLI
// The texts of one row of the cost table in `show --json` (its cells hold no quotes).
std::vector<std::string> JsonCostRow(const std::string& json, const std::string& rowName) {
    const std::size_t grid = json.find("\"CostSummaryGrid\"");
    const std::size_t start = json.find("[\"" + rowName + "\"", grid);
    const std::size_t end = json.find(']', start);
    std::vector<std::string> cells;
    if (grid == std::string::npos || start == std::string::npos) return cells;
    for (std::size_t at = json.find('"', start); at < end;) {
        const std::size_t close = json.find('"', at + 1);
        cells.push_back(json.substr(at + 1, close - at - 1));
        at = json.find('"', close + 1);
    }
    return cells;
}

// The project file with another N1 written into it.
std::string WithN1(const std::string& projectFile, double n1, const TScratchDir& dir) {
    TProjectParse parse = ParseProjectFile(DecodeFileText(ReadBytes(projectFile)));
    parse.Data.Values.N1 = n1;
    const std::string file = dir.File("n1-" + std::to_string(n1) + ".pru");
    WriteBytes(file, EncodeFileText(FormatProjectFile(parse.Data)));
    return file;
}

class N1SweepShowJson : public ::testing::TestWithParam<const char*> {};

// Each row is the cost table of `show --json` for the project with that N1 in its file. The
// zones share the kept copies of the window, as the page's sweeps do one after the other: a
// copy that held another zone gives the same texts as a new one.
TEST_P(N1SweepShowJson, EveryRowIsTheProgramsOwnResultForThatN1) {
    const std::string project = std::string(GetParam()) == "demo" ? Demo() : Golden(GetParam());
    TShownForm window;
    window.Read(project);
    static TN1SweepCopies kept;
    const std::vector<TN1SweepRow> rows = RunN1Sweep(TakeN1SweepSource(*window), TN1Range{}, 2, &kept);
    ASSERT_GE(rows.size(), 9u);
    TScratchDir dir;
    for (const TN1SweepRow& row : rows) {
        const TCliRun run = RunCli({"show", "--json", WithN1(project, row.N1, dir)});
        ASSERT_EQ(run.ExitCode, 0) << row.N1Text;
        const std::string& json = run.Out;
        for (int v = 0; v < SweepValves; ++v) {
            const std::vector<std::string> cells =
                JsonCostRow(json, SweepValveNames[static_cast<std::size_t>(v)]);
            ASSERT_EQ(cells.size(), static_cast<std::size_t>(CostSummaryLayout::ColCount));
            using namespace CostSummaryLayout;
            EXPECT_EQ(RowTexts(row, v),
                      (std::vector<std::string>{Trim(cells[VolumeSavingCol]), Trim(cells[MoneySavingCol]),
                                                Trim(cells[PaybackCol])}))
                << GetParam() << " N1 " << row.N1Text << " " << SweepValveNames[static_cast<std::size_t>(v)];
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Zones, N1SweepShowJson,
                         ::testing::Values("demo", "n1-low-never-pays", "azp-unsettled"));

// The command line's records: one per N1, the values as `summary` writes them.
TEST(N1SweepCli, CsvAndJsonRecordsFollowTheSweep) {
    TShownForm window;
    window.Read(Demo());
    const TN1Range range{1.0, 1.5, 0.25};
    const std::vector<TN1SweepRow> rows = RunN1Sweep(TakeN1SweepSource(*window), range);
    ASSERT_EQ(rows.size(), 4u); // 1.00, the project's 1.10, 1.25, 1.50

    const TCliRun csvRun = RunCli({"sensitivity", Demo(), "--n1", "1:1.5:0.25", "--horizon", "5"});
    EXPECT_EQ(csvRun.ExitCode, 0);
    const std::string& csv = csvRun.Out;
    const std::vector<std::string> lines = FileLines(csv);
    ASSERT_EQ(lines.size(), rows.size() + 1);
    EXPECT_EQ(lines[0],
              "file,n1,project_n1,horizon_months,fixed_outlet_saving_m3a,fixed_outlet_saving_ra,"
              "fixed_outlet_payback_months,fixed_outlet_within_horizon,time_modulated_saving_m3a,"
              "time_modulated_saving_ra,time_modulated_payback_months,time_modulated_within_horizon,"
              "flow_modulated_saving_m3a,flow_modulated_saving_ra,flow_modulated_payback_months,"
              "flow_modulated_within_horizon,messages,error");
    const auto plain = [](std::string text) {
        std::erase(text, ',');
        return text;
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TN1SweepRow& row = rows[i];
        std::string expected = Demo() + "," + row.N1Text + "," + (row.ProjectN1 ? "true" : "false") + ",5";
        for (const TValveSensitivity& v : row.Valves) {
            const auto months = PaybackMonths(v.Payback);
            expected += "," + plain(v.SavingM3a) + "," + plain(v.SavingRa) + "," + v.Payback + "," +
                        (months && *months <= 5 ? "true" : "false");
        }
        EXPECT_EQ(lines[i + 1], expected + ",,");
    }

    const TCliRun jsonRun = RunCli({"sensitivity", "--json", "--n1", "1:1.5:0.25", Demo()});
    EXPECT_EQ(jsonRun.ExitCode, 0);
    const std::string& json = jsonRun.Out;
    const std::vector<std::string> records = [&] {
        std::vector<std::string> out;
        std::size_t start = 0;
        for (std::size_t end; (end = json.find('\n', start)) != std::string::npos; start = end + 1)
            out.push_back(json.substr(start, end - start));
        return out;
    }();
    ASSERT_EQ(records.size(), rows.size());
    const TN1SweepRow& own = rows[1];
    EXPECT_THAT(records[1], ::testing::StartsWith("{\"file\":\"" + Demo() + "\",\"n1\":" + own.N1Text +
                                                  ",\"project_n1\":true,\"horizon_months\":60,"
                                                  "\"fixed_outlet_saving_m3a\":" +
                                                  plain(own.Valves[0].SavingM3a) + ","));
    EXPECT_THAT(records[1],
                ::testing::HasSubstr("\"flow_modulated_payback_months\":" + own.Valves[2].Payback +
                                     ",\"flow_modulated_within_horizon\":true,"
                                     "\"messages\":[],\"error\":null}"));
}

TEST(N1SweepCli, WrongRangesAndHorizonsAreRefusedAsUsage) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"sensitivity", Demo(), "--n1", "0.4:2:0.25"},
                                               {"sensitivity", Demo(), "--n1", "2:1:0.25"},
                                               {"sensitivity", Demo(), "--n1", "0.5:2.5:0"},
                                               {"sensitivity", Demo(), "--n1", "0.5:2.5"},
                                               {"sensitivity", Demo(), "--horizon", "-3"},
                                               {"sensitivity", Demo(), "--csv", "--json"},
                                               {"sensitivity", Demo(), Demo()},
                                               {"sensitivity"}}) {
        EXPECT_EQ(RunCli(args).ExitCode, 2) << ::testing::PrintToString(args);
    }
    EXPECT_EQ(RunCli({"sensitivity", TestData("no-such-project.pru")}).ExitCode, 1);
}

// The file name reaches a spreadsheet or a terminal as `summary` writes it: never as a
// formula, never as a control sequence, quoted where it holds a comma.
TEST(N1SweepCli, FileNamesAreNeitherFormulasNorControlSequences) {
    TScratchDir dir;
    const std::string name = "=SUM(1,2)\x1B]0;owned\x07\u202Egpj.pru";
    WriteBytes(dir.File(name), ReadBytes(Demo()));
    const TCliRun csv =
        RunCli({"sensitivity", "--n1", "1:1.5:0.5", "--", name}, {.WorkingFolder = dir.Path().string()});
    ASSERT_EQ(csv.ExitCode, 0) << csv.Err;
    const TCliRun json = RunCli({"sensitivity", "--json", "--n1", "1:1.5:0.5", "--", name},
                                {.WorkingFolder = dir.Path().string()});
    ASSERT_EQ(json.ExitCode, 0) << json.Err;
    for (const std::string& out : {csv.Out, json.Out}) {
        for (const char control : {'\x1B', '\x07'})
            EXPECT_EQ(out.find(control), std::string::npos) << out;
        EXPECT_EQ(out.find("\u202E"), std::string::npos) << out;
    }
    const std::vector<std::string> lines = FileLines(csv.Out);
    ASSERT_EQ(lines.size(), 4u); // the header, 1.00, the project's 1.10, 1.50
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_THAT(lines[i], ::testing::StartsWith("\"'=SUM(1,2)\\x1b]0;owned\\x07\\u202egpj.pru\","));
    EXPECT_THAT(json.Out,
                ::testing::StartsWith("{\"file\":\"=SUM(1,2)\\u001b]0;owned\\u0007\\u202egpj.pru\","));
}

// Where the system gives no thread (a user at the limit of their processes), every N1 is still
// run, on the one thread there is: the same records as with threads.
TEST(N1SweepCli, WithoutThreadsEveryN1IsStillRun) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to run as a user held to one process";
    const std::vector<std::string> args = {"sensitivity", Demo(), "--n1", "0.5:2.5:0.5"};
    const TCliRun limited =
        RunCli(args, {.RunUnder = {"env", "ASAN_OPTIONS=detect_leaks=0", "prlimit", "--nproc=1", "setpriv",
                                   "--reuid=4545", "--regid=4545", "--clear-groups"}});
    EXPECT_EQ(limited.ExitCode, 0) << limited.Err;
    EXPECT_EQ(limited.Err, "");
    EXPECT_EQ(limited.Out, RunCli(args).Out);
    EXPECT_EQ(FileLines(limited.Out).size(), 7u); // the header, 0.5 to 2.5 and the project's 1.10
}
#endif

// The project's own row is the Summary's table; the window, with an hour typed in and not
// yet saved, is exactly as it was after the sweep, on one thread or two.
TEST(N1Sweep, ProjectRowIsTheSummaryAndTheWindowStaysAsItWas) {
    TShownForm window;
    window.Read(Demo());
    TMainForm& form = *window;
    form.Dispatch(
        [&] { form.FlowGrid.SetEditText(FlowGridLayout::InflowM3hCol, FlowGridLayout::HourRow(3), "95"); });
    form.Dispatch([&] { form.N1Edit.SetText("1.37"); });
    form.Dispatch([&] { form.SummarySheetShow(); });
    window.Dialogs.Clear();
    const std::string before = Snapshot(form);

    const TN1SweepSource source = TakeN1SweepSource(form);
    const std::vector<TN1SweepRow> rows = RunN1Sweep(source, TN1Range{}, 1);
    EXPECT_EQ(Snapshot(form), before);
    EXPECT_TRUE(window.Dialogs.Messages.empty());

    const auto own = std::find_if(rows.begin(), rows.end(), [](const TN1SweepRow& r) { return r.ProjectN1; });
    ASSERT_NE(own, rows.end());
    EXPECT_EQ(own->N1Text, "1.37");
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const TN1SweepRow& r) { return r.ProjectN1; }), 1);
    for (int v = 0; v < SweepValves; ++v)
        EXPECT_EQ(RowTexts(*own, v), SummaryTexts(form, v)) << SweepValveNames[static_cast<std::size_t>(v)];

    const std::vector<TN1SweepRow> twoThreads = RunN1Sweep(source, TN1Range{}, 2);
    ASSERT_EQ(twoThreads.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (int v = 0; v < SweepValves; ++v)
            EXPECT_EQ(RowTexts(twoThreads[i], v), RowTexts(rows[i], v));

    // Any other N1 typed in: that row is what the Summary then shows.
    form.Dispatch([&] { form.N1Edit.SetText("2.00"); });
    form.Dispatch([&] { form.SummarySheetShow(); });
    const auto at2 =
        std::find_if(rows.begin(), rows.end(), [](const TN1SweepRow& r) { return r.N1Text == "2.00"; });
    ASSERT_NE(at2, rows.end());
    for (int v = 0; v < SweepValves; ++v)
        EXPECT_EQ(RowTexts(*at2, v), SummaryTexts(form, v));
}

TEST(N1Sweep, RowsOfARangeWithTheProjectsN1InItsPlace) {
    const auto texts = [](const std::vector<TN1SweepRow>& rows) {
        std::vector<std::string> out;
        for (const TN1SweepRow& r : rows)
            out.push_back(r.N1Text + (r.ProjectN1 ? "*" : ""));
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(texts(N1SweepRows({}, "1.10")),
              (V{"0.50", "0.75", "1.00", "1.10*", "1.25", "1.50", "1.75", "2.00", "2.25", "2.50"}));
    EXPECT_EQ(texts(N1SweepRows({}, "1.0")),
              (V{"0.50", "0.75", "1.00*", "1.25", "1.50", "1.75", "2.00", "2.25", "2.50"}));
    EXPECT_EQ(texts(N1SweepRows({1.0, 1.5, 0.2}, "2.5")), (V{"1.00", "1.20", "1.40", "2.50*"}));
    EXPECT_EQ(texts(N1SweepRows({1.0, 1.0, 0}, "1.125")), (V{"1.00", "1.125*"}));
    EXPECT_EQ(texts(N1SweepRows({0.5, 0.53, 0.01}, "")), (V{"0.50", "0.51", "0.52", "0.53"}));
    // Tenths add up to a little past or short of the end in binary: the end is kept.
    EXPECT_EQ(texts(N1SweepRows({0.5, 1.2, 0.1}, "")),
              (V{"0.50", "0.60", "0.70", "0.80", "0.90", "1.00", "1.10", "1.20"}));
    EXPECT_EQ(texts(N1SweepRows({0.7, 1.0, 0.1}, "")), (V{"0.70", "0.80", "0.90", "1.00"}));
    // Steps that do not meet the end stop before it.
    EXPECT_EQ(texts(N1SweepRows({0.5, 1.2, 0.3}, "")), (V{"0.50", "0.80", "1.10"}));

    EXPECT_EQ(N1RangeProblem({0.4, 2.5, 0.25}), std::string(Msg::N1RangeOutside));
    EXPECT_EQ(N1RangeProblem({0.5, 2.6, 0.25}), std::string(Msg::N1RangeOutside));
    EXPECT_EQ(N1RangeProblem({2.0, 1.0, 0.25}), std::string(Msg::N1RangeReversed));
    EXPECT_EQ(N1RangeProblem({0.5, 2.5, 0.001}), std::string(Msg::N1StepTooSmall));
    EXPECT_EQ(N1RangeProblem({0.5, 2.5, -1}), std::string(Msg::N1StepTooSmall));
    EXPECT_FALSE(N1RangeProblem({1.5, 1.5, 0}));
    EXPECT_TRUE(N1SweepRows({0.4, 2.5, 0.25}, "").empty());
}

// Rows whose paybacks are given, for the sentences.
std::vector<TN1SweepRow> Paybacks(const std::vector<std::pair<const char*, const char*>>& n1AndPayback) {
    std::vector<TN1SweepRow> rows;
    for (const auto& [n1, payback] : n1AndPayback) {
        TN1SweepRow row;
        row.N1Text = n1;
        row.N1 = *ParseNumber(n1);
        for (TValveSensitivity& v : row.Valves)
            v.Payback = payback;
        rows.push_back(row);
    }
    return rows;
}

TEST(N1Sweep, SentencesSayOverWhichN1AValvePaysBack) {
    struct TCase {
        std::vector<std::pair<const char*, const char*>> Rows;
        int Valve;
        double Horizon;
        std::string Sentence;
    };
    const TCase cases[] = {
        {{{"0.50", "40.0"}, {"1.50", "12.0"}, {"2.50", "60.0"}},
         2,
         60,
         "Flow Modulated PRV pays back within 60 months for every N1 from 0.50 to 2.50."},
        {{{"0.50", "Never"}, {"1.50", "80.0"}, {"2.50", "61.0"}},
         0,
         60,
         "Fixed Outlet PRV does not pay back within 60 months for any N1 from 0.50 to 2.50."},
        {{{"0.50", "Never"}, {"1.00", "75.5"}, {"1.25", "59.9"}, {"2.50", "20.0"}},
         1,
         60,
         "Time Modulated PRV pays back within 60 months only for N1 ≥ 1.25."},
        {{{"0.50", "10.0"}, {"1.00", "30.0"}, {"1.25", "Never"}},
         1,
         24,
         "Time Modulated PRV pays back within 24 months only for N1 ≤ 0.50."},
        {{{"0.50", "Never"},
          {"1.00", "30.0"},
          {"1.25", "Never"},
          {"1.50", "5.0"},
          {"1.75", "6.0"},
          {"2.00", "Never"}},
         0,
         36.5,
         "Fixed Outlet PRV pays back within 36.5 months only for N1 = 1.00 and from 1.50 to 1.75."},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(PaybackSentence(Paybacks(c.Rows), c.Valve, c.Horizon), c.Sentence);

    // A row whose analysis stopped on an error counts as no payback.
    std::vector<TN1SweepRow> rows = Paybacks({{"0.50", "5.0"}, {"1.00", "5.0"}});
    rows[0].Failed = true;
    EXPECT_EQ(PaybackSentence(rows, 2, 60),
              "Flow Modulated PRV pays back within 60 months only for N1 ≥ 1.00.");
}

// The page: shown, it sweeps and fills its table, charts and sentences; it sweeps again when
// the window's inputs or its range change, and only then; its charts' menu names the valves.
TEST(N1SensitivityPage, FollowsTheWindowAndShowsTheLastSweep) {
    TShownForm window;
    window.Read(Demo());
    TMainForm& form = *window;
    TN1SensitivityForm& page = form.N1Sensitivity;
    form.Dispatch([&] { form.MainPage.SetActivePage(form.SummarySheet); });
    EXPECT_TRUE(page.Rows.empty()); // not in view yet
    form.Dispatch([&] { form.SummaryPages.SetActivePage(form.N1SensitivitySheet); });
    ASSERT_EQ(page.Rows.size(), 10u);
    EXPECT_TRUE(form.N1SensitivitySheet.Highlighted);

    namespace L = N1SensitivityLayout;
    const TMarkStringGrid& grid = page.SensitivityGrid;
    ASSERT_EQ(grid.RowCount(), L::FirstN1Row + 10);
    for (std::size_t i = 0; i < page.Rows.size(); ++i) {
        const int row = L::FirstN1Row + static_cast<int>(i);
        EXPECT_EQ(grid.Cell(L::N1Col, row), page.Rows[i].N1Text);
        for (int v = 0; v < SweepValves; ++v)
            EXPECT_EQ((std::vector<std::string>{grid.Cell(L::ValveCol(v, L::SavingM3aOffset), row),
                                                grid.Cell(L::ValveCol(v, L::SavingRaOffset), row),
                                                grid.Cell(L::ValveCol(v, L::PaybackOffset), row)}),
                      RowTexts(page.Rows[i], v));
    }
    const auto own =
        std::find_if(page.Rows.begin(), page.Rows.end(), [](const auto& r) { return r.ProjectN1; });
    ASSERT_NE(own, page.Rows.end());
    EXPECT_EQ(page.ProjectN1Label.Caption, "Highlighted: the project's N1 (" + own->N1Text + ")");
    for (const TChart* chart : {&page.SavingsChart, &page.PaybackChart}) {
        ASSERT_EQ(chart->Series.size(), 3u);
        EXPECT_EQ(chart->Series[0].X.size(), 10u);
        EXPECT_TRUE(chart->HasMarker);
        EXPECT_EQ(chart->MarkerX, own->N1);
    }
    EXPECT_EQ(page.SentenceLabels[1].Caption, PaybackSentence(page.Rows, 1, 60));

    // Nothing changed: no new sweep. A cost input changed: the next refresh sweeps again.
    const TN1SweepSource swept = *page.SweptSource;
    page.Rows.front().Valves[0].SavingM3a = "stale";
    page.Refresh();
    EXPECT_EQ(page.Rows.front().Valves[0].SavingM3a, "stale");
    form.Dispatch([&] { form.InflowCostEdit.SetText("2.5"); });
    page.Refresh();
    EXPECT_NE(page.Rows.front().Valves[0].SavingM3a, "stale");
    EXPECT_FALSE(*page.SweptSource == swept);

    // The horizon only rewrites the sentences; a range that cannot be swept is named and the
    // last sweep stays.
    form.Dispatch([&] { page.HorizonEdit.SetText("3"); });
    EXPECT_EQ(page.SentenceLabels[2].Caption, PaybackSentence(page.Rows, 2, 3));
    form.Dispatch([&] { page.N1ToEdit.SetText("3.00"); });
    EXPECT_EQ(page.RangeWarningLabel.Caption, Msg::N1RangeOutside);
    EXPECT_EQ(page.Rows.size(), 10u);
    form.Dispatch([&] { page.N1ToEdit.SetText("1.50"); });
    EXPECT_EQ(page.RangeWarningLabel.Caption, "");
    EXPECT_EQ(page.Rows.size(), 6u);

    // The charts' menu lists the valves and switches their lines; the result charts get their
    // own items back.
    TOutletPopup& popup = form.OutletPopup;
    popup.Popup(page.PaybackChart);
    ASSERT_EQ(popup.Items.size(), 3u);
    EXPECT_EQ(popup.Items[2].Caption, "Flow Modulated PRV");
    EXPECT_TRUE(popup.Items[2].Checked);
    popup.ItemClick(2);
    EXPECT_FALSE(page.PaybackChart.Series[2].Active);
    popup.Popup(form.FixedPRVChart);
    EXPECT_EQ(popup.Items.size(), 9u);
    EXPECT_EQ(popup.Items[0].Caption, "Inlet Pressure");
}

// A payback of "Never" is a gap in the payback chart, not a point at zero.
TEST(N1SensitivityPage, NeverIsAGapInThePaybackChart) {
    TShownForm window;
    window.Read(Golden("n1-low-never-pays"));
    TN1SensitivityForm& page = window->N1Sensitivity;
    page.SweepNow();
    bool sawNever = false;
    for (int v = 0; v < SweepValves; ++v)
        for (std::size_t i = 0; i < page.Rows.size(); ++i) {
            const bool never = page.Rows[i].Valves[static_cast<std::size_t>(v)].Payback == "Never";
            sawNever = sawNever || never;
            EXPECT_EQ(page.PaybackChart.Series[static_cast<std::size_t>(v)].Gap[i], never);
        }
    EXPECT_TRUE(sawNever);
}

} // namespace
