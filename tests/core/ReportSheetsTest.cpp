// What the seven sheets say: the window's current texts and the project's values, each in its
// cell, taken as typed and shown through the sheet's formats.
#include "ReportFixture.h"
#include "forms/TableLayouts.h"
#include "model/Messages.h"
#include "reports/ScenarioParts.h"
#include "reports/SheetFrame.h"

#include <gmock/gmock.h>

using namespace halvern;
namespace FixedCost = FixedCostLayout;
using namespace halvern::test;
using ::testing::ElementsAre;

namespace {

using TKind = TCellValue::TKind;

std::vector<std::string> ShownRange(const TWorksheet& sheet, const std::vector<std::string>& cells) {
    std::vector<std::string> shown;
    for (const auto& cell : cells)
        shown.push_back(sheet.Shown(cell));
    return shown;
}

// "1,234" as 1234.
std::string PlainText(std::string text) {
    std::erase(text, ',');
    return text;
}

} // namespace

using ReportSheets = ReportFixture;

TEST_F(ReportSheets, ANewProjectShowsItsDefaultsOnGeneralData) {
    Create({&dialog.GeneralData});
    TWorksheet& sheet = Sheet("General Data");
    EXPECT_EQ(sheet.Shown("G12"), "03:00:00 AM");
    EXPECT_EQ(sheet.Shown("G13"), "11:00:00 AM");
    EXPECT_EQ(sheet.Value("G12").Kind, TKind::Number); // a time, not a text
    EXPECT_THAT(ShownRange(sheet, {"G15", "G16", "G17"}), ElementsAre("0.0", "0.0", "0.0"));
    EXPECT_THAT(ShownRange(sheet, {"G19", "G20", "G21", "G22", "G23", "G24", "G25"}),
                ElementsAre("1.0", "1", "1", "1", "1", "0", "0"));
    EXPECT_EQ(sheet.Shown("H41"), "1.00");
    EXPECT_EQ(sheet.Shown("H39"), "24.00");
    EXPECT_THAT(ShownRange(sheet, {"H34", "H35", "H36", "H37"}), ElementsAre("10.00", "6", "4.00", "0.26"));
    // The leakage parameters: the rates as numbers, the totals as the labels show them.
    EXPECT_THAT(ShownRange(sheet, {"D30", "F30", "H30"}),
                ElementsAre("2", "0", form.TotMainsLossLabel.Caption));

    // A minimum pressure of 12.5 m: as it is for peak demand, whole for the night.
    form.Project.MinPressure = 12.5;
    form.Project.MinNightPressure = 12.5;
    Create({&dialog.GeneralData});
    EXPECT_EQ(Sheet("General Data").Shown("G24"), "12.5");
    EXPECT_EQ(Sheet("General Data").Shown("G25"), "13");
}

TEST_F(ReportSheets, FlowHoursAreWrittenOnTheTwelveHourClock) {
    const std::pair<double, const char*> cases[] = {{0.0, "12:00:00 AM"},
                                                    {3.0 / 24, "03:00:00 AM"},
                                                    {12.0 / 24, "12:00:00 PM"},
                                                    {15.0 / 24, "03:00:00 PM"},
                                                    {23.5 / 24, "11:30:00 PM"}};
    for (const auto& [time, shown] : cases) {
        form.Project.LowFlowTime = time;
        Create({&dialog.GeneralData});
        EXPECT_EQ(Sheet("General Data").Shown("G12"), shown);
        EXPECT_NEAR(Sheet("General Data").Value("G12").Number, time, 1e-9);
    }
}

TEST_F(ReportSheets, EveryLineOfEachContactReachesTheSheet) {
    form.CollectMemo.Lines = {"Name: T. Mokoena", "Tel: 012 345 6789", "Fax: 012 345 6790",
                              "email: t@example.org", ""};
    form.AnalysisMemo.Lines = {"0123456789"};
    Create({&dialog.GeneralData});
    TWorksheet& sheet = Sheet("General Data");
    EXPECT_EQ(sheet.Value("G9").Text,
              "Name: T. Mokoena\nTel: 012 345 6789\nFax: 012 345 6790\nemail: t@example.org");
    // Wrapped in a row tall enough for its four lines.
    EXPECT_TRUE(sheet.Format("G9").WrapText);
    EXPECT_GE(sheet.RowHeight(9), 4 * 10.0);
    // A telephone number alone is still the text typed, not a number.
    EXPECT_EQ(sheet.Value("G10").Kind, TKind::Text);
    EXPECT_EQ(sheet.Value("G10").Text, "0123456789");
    EXPECT_EQ(sheet.RowHeight(10), 10);
    EXPECT_EQ(sheet.Shown("D24"), "Min. pressure, peak demand periods (m):");
    EXPECT_EQ(sheet.Shown("D25"), "Min. pressure, night time (m):");
}

TEST_F(ReportSheets, IdentificationTextsStayTheTextsTyped) {
    TProject& p = form.Project;
    p.ZoneName = "0042";
    p.ZoneRef = "2E4";
    p.WaterSupplySystem = "12:30";
    p.ReportNum = "007";
    CreateAll();
    const TWorksheet& general = Sheet("General Data");
    const std::pair<const char*, const char*> cells[] = {
        {"G4", "0042"}, {"G5", "2E4"}, {"G6", "12:30"}, {"G7", "007"}};
    for (const auto& [cell, text] : cells) {
        SCOPED_TRACE(cell);
        EXPECT_EQ(general.Value(cell).Kind, TKind::Text);
        EXPECT_EQ(general.Value(cell).Text, text);
        EXPECT_EQ(general.Shown(cell), text);
    }
    for (const char* name :
         {"Current Situation", "Summary", "Fixed Outlet", "Time Modulated", "Flow Modulated"}) {
        SCOPED_TRACE(name);
        const TWorksheet& sheet = Sheet(name);
        EXPECT_EQ(sheet.Value("A2").Text, "12:30");
        // The zone stands in the merged title cell, which starts at D2 on Current Situation.
        const char* zoneCell = std::string(name) == "Current Situation" ? "D2" : "E2";
        EXPECT_EQ(sheet.Value(zoneCell).Text, "0042");
        EXPECT_EQ(sheet.Value(zoneCell).Kind, TKind::Text);
    }
}

TEST_F(ReportSheets, TheHourlyTableIsTheInputTableAsTyped) {
    ReadDemo();
    Create({&dialog.GeneralData});
    TWorksheet& sheet = Sheet("General Data");
    using namespace FlowGridLayout;
    for (int hour : {0, 10, 23}) {
        const int row = 54 + hour;
        SCOPED_TRACE(row);
        EXPECT_EQ(sheet.Shown("A" + std::to_string(row)), form.FlowGrid.Cell(HourCol, HourRow(hour)));
        EXPECT_EQ(sheet.Value("A" + std::to_string(row)).Kind, TKind::Text); // "00:00 - 01:00"
        EXPECT_EQ(sheet.Value("C" + std::to_string(row)).Number,
                  std::stod(form.FlowGrid.Cell(InflowM3hCol, HourRow(hour))));
        EXPECT_EQ(sheet.Value("I" + std::to_string(row)).Number,
                  std::stod(form.FlowGrid.Cell(CriticalCol, HourRow(hour))));
    }
    EXPECT_THAT(ShownRange(sheet, {"C54", "D54", "E54"}), ElementsAre("82.80", "23.0", "61.0"));
    EXPECT_EQ(sheet.Shown("A52"), "Hour:");
    EXPECT_EQ(sheet.Shown("C53"), "(m³/h)");
    EXPECT_EQ(sheet.MergeAreaOf(ParseCell("B60")), ParseRange("A60:B60"));
    EXPECT_EQ(sheet.Format("J77").Right, TBorderLine::Thin);
    // The night consumption total under its double line.
    EXPECT_EQ(sheet.Format("H47").Bottom, TBorderLine::Double);
    EXPECT_EQ(sheet.Format("D47").Bottom, TBorderLine::Double);
    EXPECT_TRUE(sheet.Format("H48").Bold);
    EXPECT_EQ(sheet.Shown("H48"), form.TotalNonPressureLabel.Caption);
}

TEST_F(ReportSheets, AScenarioNeverCalculatedExportsWhatItsPageShows) {
    Create({&dialog.FixedOutlet, &dialog.TimeModulated, &dialog.FlowModulated});
    for (const auto& [name, statusCell] :
         {std::pair{"Fixed Outlet", "C9"}, std::pair{"Time Modulated", "C18"},
          std::pair{"Flow Modulated", "C12"}}) {
        SCOPED_TRACE(name);
        TWorksheet& sheet = Sheet(name);
        EXPECT_EQ(sheet.Shown(statusCell), "Status");
        EXPECT_TRUE(sheet.Format(statusCell).Bold);
        EXPECT_FALSE(sheet.Format(statusCell).Fill.has_value());
        EXPECT_EQ(sheet.Format(statusCell).Right, TBorderLine::None);
        // An empty ZoneName leaves the sheet's name, a colon and a blank.
        EXPECT_EQ(sheet.ChartObjects().front()->Chart.Title, std::string(name) + ": ");
    }
    EXPECT_EQ(Sheet("Fixed Outlet").Value("F4").Kind, TKind::Empty);
    EXPECT_EQ(Sheet("Fixed Outlet").Shown("F11"), "50.0");
}

TEST_F(ReportSheets, AValveThatKeepsTheMinimumPressureHasAnEmptyStatus) {
    ReadDemo();
    form.FixedWarnLabel.Caption.clear();
    Create({&dialog.FixedOutlet});
    EXPECT_EQ(Sheet("Fixed Outlet").Value("C9").Kind, TKind::Empty);
}

TEST_F(ReportSheets, TheTimeModulatedSheetShowsTheSwitchingTimesOfItsIntervals) {
    form.Dispatch([this] { form.Interval2Radio.Click(); });
    Create({&dialog.TimeModulated});
    TWorksheet& two = Sheet("Time Modulated");
    EXPECT_EQ(two.Shown("F7"), "2 Intervals");
    EXPECT_EQ(two.Format("F7").NumberFormat, "");
    EXPECT_EQ(two.Shown("C9"), "1st Set:");
    EXPECT_EQ(two.Shown("D10"), "3:00:00 AM");
    EXPECT_EQ(two.Shown("D11"), "8:00:00 AM");
    // The second set is neither written nor formatted.
    for (const char* cell : {"F9", "G9", "H9", "F10", "G10", "H11"})
        EXPECT_EQ(two.Find(ParseCell(cell)), nullptr) << cell;

    form.Dispatch([this] { form.Interval4Radio.Click(); });
    Create({&dialog.TimeModulated});
    TWorksheet& four = Sheet("Time Modulated");
    EXPECT_EQ(four.Shown("F7"), "4 Intervals");
    EXPECT_THAT(ShownRange(four, {"F9", "F10", "F11", "G10", "G11"}),
                ElementsAre("2nd Set:", "Start:", "Stop:", "11:00:00 AM", "3:00:00 PM"));
    EXPECT_EQ(four.Format("H11").Bottom, TBorderLine::Thin);

    // Typed per hour: neither button is checked.
    form.Interval2Radio.SetChecked(false);
    form.Interval4Radio.SetChecked(false);
    Create({&dialog.TimeModulated});
    TWorksheet& hourly = Sheet("Time Modulated");
    EXPECT_EQ(hourly.Value("F7").Kind, TKind::Empty);
    EXPECT_EQ(hourly.Shown("C9"), "1st Set:");
    EXPECT_EQ(hourly.Find(ParseCell("F9")), nullptr);
}

TEST_F(ReportSheets, EveryChartStandsBelowItsTableOnTheSheetsPage) {
    ReadDemo();
    CreateAll();
    const std::pair<const char*, int> tables[] = {
        {"Current Situation", 37}, {"Fixed Outlet", 38}, {"Time Modulated", 45}, {"Flow Modulated", 39}};
    for (const auto& [name, lastRow] : tables) {
        SCOPED_TRACE(name);
        const TWorksheet& sheet = Sheet(name);
        ASSERT_EQ(sheet.ChartObjects().size(), 1u);
        const TChartObject& chart = *sheet.ChartObjects().front();
        double tableBottom = 0;
        for (int row = 1; row <= lastRow; ++row)
            tableBottom += sheet.RowHeight(row);
        // A visible gap under the table, and the chart still ends above the closing line.
        EXPECT_GE(chart.Top, tableBottom + 6);
        double pageBottom = 0;
        for (int row = 1; row <= 74; ++row)
            pageBottom += sheet.RowHeight(row);
        EXPECT_LE(chart.Top + chart.Height, pageBottom);
        EXPECT_GE(chart.Height, 250);
    }
}

// The hourly tables show their numbers with one decimal, shrunk rather than shown as ###;
// the hours stay text.
TEST_F(ReportSheets, ScenarioTablesShowTheirNumbersWithOneDecimal) {
    ReadDemo();
    CreateAll();
    struct Case {
        const char* sheet;
        int headingRow;
        int columns;
    };
    const Case cases[] = {
        {"Current Situation", CurrentSituationSheetLayout::TableHeadingRow, CurrentGridLayout::ColCount},
        {"Fixed Outlet", FixedOutletSheetLayout::TableHeadingRow, PRVGridLayout::ColCount},
        {"Time Modulated", TimeModulatedSheetLayout::TableHeadingRow, PRVGridLayout::ColCount},
        {"Flow Modulated", FlowModulatedSheetLayout::TableHeadingRow, PRVGridLayout::ColCount},
    };
    for (const Case& c : cases) {
        const TWorksheet& sheet = Sheet(c.sheet);
        std::vector<std::string> wrong;
        for (int row = TableFirstHourRow(c.headingRow); row <= TableLastHourRow(c.headingRow); ++row) {
            const std::string hour = At(ColumnOf(ResultRows::HourCol), row);
            if (!sheet.Format(hour).NumberFormat.empty()) wrong.push_back(hour);
            for (int col = ResultRows::HourCol + 1; col < c.columns; ++col) {
                const std::string cell = At(ColumnOf(col), row);
                const TCellFormat& format = sheet.Format(cell);
                if (format.NumberFormat != "#,##0.0" || !format.ShrinkToFit)
                    wrong.push_back(cell + " " + format.NumberFormat);
            }
        }
        EXPECT_THAT(wrong, ::testing::IsEmpty()) << c.sheet;
    }
}

TEST_F(ReportSheets, ScenarioSheetsCarryTheirTablesAndCharts) {
    ReadDemo();
    CreateAll();
    TWorksheet& fixed = Sheet("Fixed Outlet");
    using namespace PRVGridLayout;
    EXPECT_EQ(fixed.Shown("A15"), form.FixedPRVGrid.Cell(HourCol, HourRow(0)));
    EXPECT_EQ(fixed.Value("J38").Number, std::stod(form.FixedPRVGrid.Cell(IndepFlowCol, HourRow(23))));
    EXPECT_EQ(fixed.Value("F4").Number, std::stod(form.FixedDepLabel.Caption));
    EXPECT_EQ(fixed.Value("F6").Number, std::stod(form.FixedTotLabel.Caption));
    EXPECT_EQ(fixed.Format("F6").NumberFormat, "#,##0.0");
    EXPECT_EQ(fixed.Shown("A13"), "Hour");
    EXPECT_EQ(fixed.MergeAreaOf(ParseCell("A14")), ParseRange("A13:A14"));
    EXPECT_EQ(fixed.Shown("C14"), "PRV Outlet");
    EXPECT_TRUE(fixed.Format("J14").WrapText);
    EXPECT_FALSE(fixed.Format("G14").WrapText);
    EXPECT_EQ(fixed.RowHeight(14), 36);
    EXPECT_EQ(fixed.Shown("I2"), "Fixed Outlet");
    EXPECT_EQ(fixed.Format("J2").Bottom, TBorderLine::Thick);

    const TChartObject& object = *fixed.ChartObjects().front();
    EXPECT_EQ(object.Width, 483);
    const TSheetChart& chart = object.Chart;
    ASSERT_EQ(chart.Series.size(), 5u);
    std::vector<std::string> names;
    for (const auto& series : chart.Series)
        names.push_back(series.Name);
    EXPECT_THAT(names, ElementsAre("Inlet", "PRV Outlet", "AZP", "Critical", "Flows"));
    EXPECT_EQ(chart.Series[4].AxisGroup, 2);
    EXPECT_EQ(chart.Series[3].AxisGroup, 1);
    EXPECT_EQ(chart.Series[4].Values, ParseRange("H15:H38"));
    EXPECT_EQ(chart.Series[0].Categories, ParseRange("A15:A38"));
    EXPECT_EQ(chart.Series[1].LineColour, 0x00FFFFu);
    EXPECT_EQ(chart.Series[4].MarkerStyle, TMarkerStyle::Square);
    EXPECT_EQ(chart.Series[4].MarkerBackgroundColorIndex, 4);
    EXPECT_EQ(chart.Series[0].MarkerSize, 3);
    EXPECT_EQ(chart.Series[2].LineWeight, 0.75);
    EXPECT_EQ(chart.Title, "Fixed Outlet: " + form.Project.ZoneName);
    EXPECT_EQ(chart.SecondaryValueAxisTitle, "Flow (m³/hr)");
    EXPECT_EQ(chart.Legend, TLegendPosition::Bottom);

    TWorksheet& current = Sheet("Current Situation");
    const TSheetChart& currentChart = current.ChartObjects().front()->Chart;
    ASSERT_EQ(currentChart.Series.size(), 4u);
    EXPECT_EQ(currentChart.Series[3].Name, "Flows");
    EXPECT_EQ(currentChart.Series[3].LineColour, 0xFF0000u); // the fourth style: red triangles
    EXPECT_EQ(currentChart.Series[3].Values, ParseRange("G14:G37"));
    EXPECT_EQ(current.Shown("G12"), "Flow(m³/hr)");
    EXPECT_EQ(current.Shown("D2"), form.Project.ZoneName);
    EXPECT_EQ(current.Format("K12").Bold, true);
    EXPECT_FALSE(current.Format("K12").Fill.has_value());
}

TEST_F(ReportSheets, TheSummaryCarriesCostsAndSavingsAsTheWindowShowsThem) {
    ReadDemo();
    using namespace CostSummaryLayout;
    // Water that costs nothing saves no money: the time-modulated valve never pays back.
    form.Dispatch([&] { form.InflowCostEdit.SetText("0"); });
    ASSERT_EQ(form.CostSummaryGrid.Cell(PaybackCol, TimeRow), "Never");
    Create({&dialog.Summary});
    TWorksheet& sheet = Sheet("Summary");
    EXPECT_EQ(sheet.Shown("K25"), "Never");
    EXPECT_EQ(sheet.Value("K25").Kind, TKind::Text);
    EXPECT_EQ(sheet.Format("K25").HorizontalAlignment, THorizontalAlignment::General);
    // The current situation has only its inflow.
    EXPECT_EQ(sheet.Value("C23").Kind, TKind::Number);
    for (const char* cell : {"D23", "G23", "J23", "K23"})
        EXPECT_EQ(sheet.Value(cell).Kind, TKind::Empty) << cell;
    EXPECT_EQ(sheet.Shown("C24"), form.CostSummaryGrid.Cell(InflowCol, FixedRow));
    EXPECT_EQ(sheet.Shown("J24"), Trim(form.CostSummaryGrid.Cell(ImplementationCol, FixedRow)));
    EXPECT_EQ(sheet.Value("J24").Kind, TKind::Number);
    // Implementation costs in the money form; the prices with one decimal, the factor whole.
    EXPECT_EQ(sheet.Shown("F10"), FormatMoney(std::stod(form.CostsForm.FixedCostGrid.Cell(
                                      FixedCost::FirstOptionCol, FixedCost::FirstItemRow))));
    EXPECT_EQ(sheet.Shown("D12"), "Equipment Costs:");
    EXPECT_EQ(sheet.Value("D14").Kind, TKind::Empty);
    EXPECT_EQ(sheet.Format("H4").NumberFormat, "#,##0.0");
    EXPECT_EQ(sheet.Format("H6").NumberFormat, "");
    EXPECT_EQ(sheet.Shown("H6"), form.CostFactorEdit.Text());
    EXPECT_EQ(sheet.Shown("J20"), "Implemen-tation Costs (R)");
    EXPECT_EQ(sheet.MergeAreaOf(ParseCell("B21")), ParseRange("A20:B22"));
    EXPECT_EQ(sheet.RowHeight(22), 36);
    EXPECT_EQ(sheet.Shown("A26"), "Flow Modulated PRV");
}

TEST_F(ReportSheets, AScenarioThatCouldNotBeCalculatedSaysSoAndShowsNoNumber) {
    // A logger fault left the 11:00 AZP pressure at -5 m: the current situation stops on it
    // (a negative pressure has no real power N1), and no valve is worked out after it.
    form.Dispatch(
        [this] { ReadProjectFile(form, std::string(HALVERN_TEST_DATA) + "/stopped-analysis.pru"); });
    ASSERT_EQ(form.FailureOf(TMainForm::TAnalysisScenario::CurrentSituation),
              "Invalid floating point operation");
    CreateAll();
    const std::string why = std::string("Could not be calculated: ") + Msg::ScenarioNotReached;

    TWorksheet& flow = Sheet("Flow Modulated");
    EXPECT_EQ(flow.Shown("C12"), why);
    for (const char* cell : {"F7", "F8", "F9", "F11", "B16", "H16", "J39"}) {
        SCOPED_TRACE(cell);
        EXPECT_EQ(flow.Value(cell).Kind, TKind::Empty);
    }
    // The hours are there, with nothing drawn over them.
    EXPECT_EQ(flow.Shown("A16"), form.FlowPRVGrid.Cell(PRVGridLayout::HourCol, ResultRows::HourRow(0)));
    EXPECT_TRUE(flow.ChartObjects().empty());
    EXPECT_TRUE(Sheet("Fixed Outlet").ChartObjects().empty());

    // The summary's valve rows say why, with no inflow or payback; the costs stay.
    TWorksheet& summary = Sheet("Summary");
    EXPECT_EQ(summary.Shown("C26"), "Could not be calculated: Invalid floating point operation");
    EXPECT_EQ(summary.MergeAreaOf(ParseCell("D26")), ParseRange("C26:I26"));
    EXPECT_EQ(summary.Value("K26").Kind, TKind::Empty);
    EXPECT_EQ(summary.Value("J26").Kind, TKind::Number);

    // The window's summary table says the same.
    using namespace CostSummaryLayout;
    EXPECT_EQ(form.CostSummaryGrid.Cell(InflowCol, FlowRow), "Not calculated");
    EXPECT_EQ(form.CostSummaryGrid.Cell(PaybackCol, FlowRow), "");

    // Once the scenario calculates again, its sheet has its numbers back.
    form.Project.ZoneName = "again";
    form.Dispatch([this] { form.actDataNewExec(); });
    EXPECT_FALSE(form.AnalysisStopped());
}

TEST_F(ReportSheets, LongNamesWrapInTheirCellsInsteadOfBeingCut) {
    ReadDemo();
    const std::string longName(136, 'N');
    form.Project.ZoneName = longName;
    form.Project.WaterSupplySystem =
        "Rietvallei Reservoir supply through the northern trunk main and booster";
    CreateAll();
    TWorksheet& general = Sheet("General Data");
    EXPECT_EQ(general.Value("G4").Text, longName);
    EXPECT_TRUE(general.Format("G4").WrapText);
    EXPECT_TRUE(general.Format("G6").WrapText);
    // Tall enough for the lines the name takes at nine points over G:J.
    EXPECT_GE(general.RowHeight(4), 3 * 9.0);
    EXPECT_FALSE(general.Format("G5").WrapText); // a short reference stays on its line
    EXPECT_EQ(general.RowHeight(5), 10);
    for (const char* name :
         {"Current Situation", "Summary", "Fixed Outlet", "Time Modulated", "Flow Modulated"}) {
        SCOPED_TRACE(name);
        TWorksheet& sheet = Sheet(name);
        const char* zoneCell = std::string(name) == "Current Situation" ? "D2" : "E2";
        EXPECT_TRUE(sheet.Format(zoneCell).WrapText);
        EXPECT_TRUE(sheet.Format("A2").WrapText);
        EXPECT_GE(sheet.RowHeight(2), 4 * 12.0);
    }
}

// The N1 sweep's sheet: the table as the page shows it, row for row, the project's N1 marked,
// the sentences, and the two charts over the values they are drawn from.
TEST_F(ReportSheets, N1SensitivityHoldsTheSweepAndItsTwoCharts) {
    ReadDemo();
    form.Dispatch([this] { form.N1Sensitivity.N1StepEdit.SetText("0.50"); });
    Create({&dialog.N1Sensitivity});
    const TN1SensitivityForm& page = form.N1Sensitivity;
    ASSERT_EQ(page.Rows.size(), 6u); // 0.50, 1.00, the project's 1.10, 1.50, 2.00, 2.50
    TWorksheet& sheet = Sheet("N1 Sensitivity");
    EXPECT_EQ(sheet.Shown("I2"), "N1 Sensitivity");
    EXPECT_EQ(sheet.Shown("H6"), "0.50");
    EXPECT_EQ(sheet.Shown("B9"), "Fixed Outlet PRV");
    for (std::size_t i = 0; i < page.Rows.size(); ++i) {
        const TN1SweepRow& row = page.Rows[i];
        const int r = 11 + static_cast<int>(i);
        SCOPED_TRACE(row.N1Text);
        std::vector<std::string> expected{row.N1Text};
        for (const TValveSensitivity& v : row.Valves)
            expected.insert(expected.end(), {v.SavingM3a, v.SavingRa, v.Payback});
        const std::string n = std::to_string(r);
        EXPECT_EQ(ShownRange(sheet, {"A" + n, "B" + n, "C" + n, "D" + n, "E" + n, "F" + n, "G" + n, "H" + n,
                                     "I" + n, "J" + n}),
                  expected);
        EXPECT_EQ(sheet.Value("C" + n).Kind, TKind::Number);
        EXPECT_EQ(sheet.Format("A" + n).Bold, row.ProjectN1);
    }
    // The sentences under the table.
    EXPECT_EQ(sheet.Shown("A18"), page.SentenceLabels[0].Caption);
    EXPECT_EQ(sheet.Shown("A20"), page.SentenceLabels[2].Caption);

    ASSERT_EQ(sheet.ChartObjects().size(), 2u);
    const TSheetChart& savings = sheet.ChartObjects()[0]->Chart;
    const TSheetChart& payback = sheet.ChartObjects()[1]->Chart;
    EXPECT_EQ(savings.ValueAxisTitle, "Savings (R/a)");
    EXPECT_EQ(payback.ValueAxisTitle, "Payback (months)");
    for (const TSheetChart* chart : {&savings, &payback}) {
        ASSERT_EQ(chart->Series.size(), 4u);
        EXPECT_EQ(chart->Series[2].Name, "Flow Modulated PRV");
        EXPECT_EQ(chart->Series[0].Values.Rows(), 6);
        EXPECT_EQ(chart->CategoryAxisTitle, "N1");
        // The project's N1 as the window marks it: one point, on the project's row, at the top
        // of a fixed value axis, with a line down to its bottom; nothing on the other rows.
        const TSheetSeries& marker = chart->Series[3];
        SCOPED_TRACE(chart->Title);
        EXPECT_EQ(marker.Name, "Project N1 1.10");
        ASSERT_TRUE(chart->ValueAxisMin && chart->ValueAxisMax && marker.UprightLineLength);
        EXPECT_EQ(*chart->ValueAxisMin, 0.0);
        EXPECT_EQ(*marker.UprightLineLength, *chart->ValueAxisMax - *chart->ValueAxisMin);
        EXPECT_EQ(marker.Values.Rows(), 6);
        for (int i = 0; i < 6; ++i) {
            const TCellValue v =
                sheet.Value(At(ColumnOf(marker.Values.First.Col - 1), marker.Values.First.Row + i));
            if (page.Rows[static_cast<std::size_t>(i)].ProjectN1) {
                EXPECT_EQ(v.Number, *chart->ValueAxisMax);
            } else {
                EXPECT_EQ(v.Kind, TKind::Empty);
            }
            // Every line stays within the axis.
            for (int s = 0; s < 3; ++s) {
                const TCellValue value = sheet.Value(
                    At(ColumnOf(chart->Series[s].Values.First.Col - 1), marker.Values.First.Row + i));
                if (value.Kind == TKind::Number) {
                    EXPECT_LE(value.Number, *chart->ValueAxisMax);
                }
            }
        }
    }
    // Each chart's values are the table's: the savings in R/a, the payback in months.
    const TCellRange values = savings.Series[1].Values;
    const TCellRange months = payback.Series[2].Values;
    for (int i = 0; i < 6; ++i) {
        const TN1SweepRow& row = page.Rows[static_cast<std::size_t>(i)];
        EXPECT_EQ(sheet.Value(At(ColumnOf(values.First.Col - 1), values.First.Row + i)).Number,
                  *ParseNumber(PlainText(row.Valves[1].SavingRa)));
        EXPECT_EQ(sheet.Value(At(ColumnOf(months.First.Col - 1), months.First.Row + i)).Number,
                  *ParseNumber(row.Valves[2].Payback));
    }
}
