// The report's workbook in memory: texts taken as typed, numbers shown through their formats,
// sheets added in front of the active one, merged cells, and the flows' second axis in the
// saved file's chart parts.
#include "reports/Workbook.h"
#include "IoFixture.h"
#include "io/Leftovers.h"
#include "reports/ChartAxes.h"
#include "reports/NumberFormat.h"
#include "reports/XlsxFile.h"
#include "reports/ZipRewrite.h"

#include <gmock/gmock.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace halvern;
using namespace halvern::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

using TKind = TTypedValue::TKind;

const TTypingForms kCLocale; // "," between thousands, money as "R160,000.00"

struct TTypingCase {
    std::string Typed;
    TKind Kind;
    double Number;
    std::string Format;
};

} // namespace

TEST(TypedValue, TextsBecomeWhatTheyRead) {
    const std::string money = MoneyNumberFormat(kCLocale.Money);
    const TTypingCase cases[] = {
        {"", TKind::Empty, 0, ""},
        {"   ", TKind::Empty, 0, ""},
        {"12.50", TKind::Number, 12.5, "0.00"}, // the decimals typed stay shown (a payback of 5.0)
        {"-3", TKind::Number, -3, ""},
        {".5", TKind::Number, 0.5, "0.0"},
        {"182,625", TKind::Number, 182625, "#,##0"},
        {"1,003,016.5", TKind::Number, 1003016.5, "#,##0.0"},
        {"1.5E02", TKind::Number, 150, "0.0E+00"},
        {"00:00", TKind::Number, 0, "hh:mm"},
        {"9:30", TKind::Number, 9.5 / 24, "h:mm"},
        {"03:00:00 AM", TKind::Number, 3.0 / 24, "hh:mm:ss AM/PM"},
        {"12:00:00 AM", TKind::Number, 0, "hh:mm:ss AM/PM"},
        {"03:00:00 PM", TKind::Number, 15.0 / 24, "hh:mm:ss AM/PM"},
        {"R160,000.00", TKind::Number, 160000, money},
        {"   R0.00", TKind::Number, 0, money},
        {"-R5.00", TKind::Number, -5, money},
        {"Never", TKind::Text, 0, ""},
        {"Status", TKind::Text, 0, ""},
        {"00:00 - 01:00", TKind::Text, 0, ""},
        {"1,23", TKind::Text, 0, ""},
        {"1,2345", TKind::Text, 0, ""},
        {".", TKind::Text, 0, ""},
        {"-", TKind::Text, 0, ""},
        {"24:00", TKind::Text, 0, ""},
        {"13:00:00 PM", TKind::Text, 0, ""},
        {"03:00AM", TKind::Text, 0, ""},
        {"1E", TKind::Text, 0, ""},
        {"R", TKind::Text, 0, ""},
        {"Pressure of 20.00m not reached", TKind::Text, 0, ""},
    };
    for (const TTypingCase& c : cases) {
        SCOPED_TRACE("typed: '" + c.Typed + "'");
        const TTypedValue typed = TypeIn(c.Typed, kCLocale);
        EXPECT_EQ(typed.Kind, c.Kind);
        if (c.Kind == TKind::Number) {
            EXPECT_NEAR(typed.Number, c.Number, 1e-12);
        }
        if (c.Kind == TKind::Text) {
            EXPECT_EQ(typed.Text, c.Typed);
        }
        EXPECT_EQ(typed.NumberFormat, c.Format);
    }
}

TEST(TypedValue, ATypedNumberTimeOrAmountIsShownAsItWasTyped) {
    for (const std::string text : {"182,625", "1,003,016.5", "03:00:00 AM", "11:00:00 PM", "00:00",
                                   "R160,000.00", "-R5.00", "R1,234.56", "12.5", "1.5E+02"}) {
        SCOPED_TRACE(text);
        const TTypedValue typed = TypeIn(text, kCLocale);
        ASSERT_EQ(typed.Kind, TKind::Number);
        EXPECT_EQ(ShowNumber(typed.Number, typed.NumberFormat), text);
    }
    // Below the smallest number a double holds in full, what would be shown reads back as
    // another number: such a text stays the text typed.
    for (const std::string text : {"0000100.39E-323", "4.9E-324", "-1E-310"}) {
        const TTypedValue typed = TypeIn(text, kCLocale);
        EXPECT_EQ(typed.Kind, TKind::Text) << text;
        EXPECT_EQ(typed.Text, text);
    }
    EXPECT_EQ(TypeIn("2.3E-308", kCLocale).Kind, TKind::Number);
}

TEST(TypedValue, TheUsersOwnThousandsAndMoneyForms) {
    // A locale that groups with blanks and puts the symbol after the amount.
    TTypingForms european;
    european.ThousandsSeparator = " ";
    european.Money = {"€", false, true, " "};
    const TTypedValue volume = TypeIn("182 625", european);
    EXPECT_EQ(volume.Kind, TKind::Number);
    EXPECT_EQ(volume.Number, 182625);
    const TTypedValue amount = TypeIn("160 000.00 €", european);
    EXPECT_EQ(amount.Kind, TKind::Number);
    EXPECT_EQ(amount.Number, 160000);
    EXPECT_EQ(ShowNumber(amount.Number, amount.NumberFormat), "160,000.00 €");
    EXPECT_EQ(TypeIn("182,625", european).Kind, TKind::Text);
    EXPECT_EQ(TypeIn("R160,000.00", european).Kind, TKind::Text);
}

TEST(NumberFormat, ShowsNumbersAsTheSheetFormatsAskForThem) {
    const std::string money = MoneyNumberFormat(kCLocale.Money);
    const std::tuple<double, std::string, std::string> cases[] = {
        {12.5, "", "12.5"},
        {1.0, "#,##0.0", "1.0"},
        {12.5, "#,##0", "13"},
        {0.0, "#,##0.0", "0.0"},
        {1420.0, "#,##0.0", "1,420.0"},
        {-0.04, "#,##0.0", "-0.0"},
        {1234567.891, "#,##0.00", "1,234,567.89"},
        {5.994, "0.00", "5.99"},
        {3.0 / 24, "[$-F400]h:mm:ss AM/PM", "3:00:00 AM"},
        {22.0 / 24, "[$-F400]h:mm:ss AM/PM", "10:00:00 PM"},
        {0.0, "hh:mm:ss AM/PM", "12:00:00 AM"},
        {0.5, "hh:mm", "12:00"},
        {-5.0, money, "-R5.00"},
        {160000.0, money, "R160,000.00"},
        {150.0, "0.0E+00", "1.5E+02"},
        {1e-323, "0E+00", "1E-323"},   // near the smallest number a double holds
        {99999999999.99, "", "1E+11"}, // rounded to twelve digits, the E notation as for 1E+11
        {9999999999.99, "", "10000000000"},
        {1.0 / 3, "", "0.333333333"},
    };
    for (const auto& [value, format, shown] : cases) {
        SCOPED_TRACE(format);
        EXPECT_EQ(ShowNumber(value, format), shown);
    }
}

TEST(Workbook, ANewSheetGoesInFrontOfTheActiveOneAndBecomesActive) {
    TWorkbook book(kCLocale);
    EXPECT_THAT(book.SheetNames(), ElementsAre("Sheet1"));
    book.AddWorksheet().SetName("Flow Modulated");
    book.AddWorksheet().SetName("Time Modulated");
    EXPECT_THAT(book.SheetNames(), ElementsAre("Time Modulated", "Flow Modulated", "Sheet1"));
    EXPECT_EQ(&book.ActiveSheet(), &book.Worksheets(1));

    // A name another sheet has, in any case, is refused as the spreadsheet refuses it.
    TWorksheet& third = book.AddWorksheet();
    EXPECT_THROW(third.SetName("time modulated"), EReportError);
    EXPECT_THROW(third.SetName("Bad/Name"), EReportError);
    EXPECT_THROW(third.SetName(std::string(32, 'x')), EReportError);

    book.DeleteWorksheet(1);
    EXPECT_THAT(book.SheetNames(), ElementsAre("Time Modulated", "Flow Modulated", "Sheet1"));
    EXPECT_EQ(book.ActiveIndex(), 1);
}

TEST(Workbook, AMergedCellShowsTheFirstValueInTheLookItWasGiven) {
    TWorkbook book(kCLocale);
    TWorksheet& sheet = book.Worksheets(1);
    sheet.AllCells().SetFontSize(9);
    // A group label: the text in B, bold and larger, then A to C merged.
    sheet.Range("B4").SetText("Zone Reference:").SetBold().SetFontSize(10);
    sheet.Range("A4:C4").Merge().SetHorizontalAlignment(THorizontalAlignment::Left);
    EXPECT_EQ(sheet.Shown("A4"), "Zone Reference:");
    EXPECT_EQ(sheet.Value("B4").Kind, TCellValue::TKind::Empty);
    EXPECT_TRUE(sheet.Format("A4").Bold);
    EXPECT_EQ(sheet.Format("A4").FontSize, 10);
    EXPECT_EQ(sheet.Format("C4").HorizontalAlignment, THorizontalAlignment::Left);
    // Only the merged cell itself takes a value.
    EXPECT_THROW(sheet.Range("B4").SetText("x"), EReportError);
    EXPECT_THROW(sheet.Range("B4:D4").Merge(), EReportError);
    EXPECT_NO_THROW(sheet.Range("A4:C4").Merge());
    // Cells first touched after the sheet's standard format was set take it.
    EXPECT_EQ(sheet.Format("Z99").FontSize, 9);
    sheet.Range("Z99").SetBold();
    EXPECT_EQ(sheet.Format("Z99").FontSize, 9);
}

TEST(Workbook, BordersRunRoundEveryCellOrUnderTheRangeOnly) {
    TWorkbook book(kCLocale);
    TWorksheet& sheet = book.Worksheets(1);
    sheet.Range("A1:B2").SetBorders(TBorderLine::Thin);
    sheet.Range("D5:H5").SetBottomBorder(TBorderLine::Double);
    EXPECT_EQ(sheet.Format("B2").Top, TBorderLine::Thin);
    EXPECT_EQ(sheet.Format("A1").Right, TBorderLine::Thin);
    EXPECT_EQ(sheet.Format("H5").Bottom, TBorderLine::Double);
    EXPECT_EQ(sheet.Format("H5").Top, TBorderLine::None);
    EXPECT_EQ(sheet.Format("H4").Bottom, TBorderLine::None);
}

namespace {

// A sheet with hours, two pressures and a flow column, and its line chart: the flows on the
// second axis, as every report chart has them.
void ChartSheet(TWorkbook& book, bool flowsOnSecondAxis = true) {
    TWorksheet& sheet = book.AddWorksheet();
    sheet.SetName("Fixed Outlet");
    for (int hour = 0; hour < 24; ++hour) {
        char label[16];
        std::snprintf(label, sizeof label, "%02d:00 - next", hour);
        sheet.Cells(15 + hour, 1).SetText(label);
        sheet.Cells(15 + hour, 2).SetNumber(60 - hour % 3);
        sheet.Cells(15 + hour, 3).SetNumber(45);
        sheet.Cells(15 + hour, 8).SetNumber(80 + hour);
    }
    TSheetChart& chart = sheet.AddChart(0, 403, 483, 350).Chart;
    chart.AddSeriesBlock(sheet.Name(), ParseRange("A15:C38"));
    chart.AddSeries(sheet.Name(), ParseRange("H15:H38"));
    chart.SeriesAt(1).Name = "Inlet";
    chart.SeriesAt(2).Name = "PRV Outlet";
    chart.SeriesAt(3).Name = "Flows";
    chart.SeriesAt(3).AxisGroup = flowsOnSecondAxis ? 2 : 1;
    chart.ValueAxisTitle = "Pressure(m)";
    chart.SecondaryValueAxisTitle = "Flow (m³/hr)";
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(XlsxFile, TheFlowsAreReadOnASecondValueAxisOnTheRight) {
    TScratchDir dir;
    TWorkbook book(kCLocale);
    ChartSheet(book);
    const std::string file = dir.File("report.xlsx");
    SaveWorkbookAs(book, file);

    const std::string chart = ReadZipEntry(file, "xl/charts/chart1.xml");
    EXPECT_EQ(Count(chart, "<c:lineChart>"), 2u);
    const std::string second = chart.substr(chart.rfind("<c:lineChart>"));
    const std::string secondGroup = second.substr(0, second.find("</c:lineChart>"));
    EXPECT_THAT(secondGroup, HasSubstr("<c:v>Flows</c:v>"));
    EXPECT_EQ(Count(secondGroup, "<c:ser>"), 1u);
    EXPECT_EQ(Count(chart, "<c:ser>"), 3u);
    EXPECT_EQ(Count(chart, "<c:valAx>"), 2u);
    EXPECT_THAT(chart, HasSubstr("<c:axPos val=\"r\"/>"));
    EXPECT_THAT(chart, HasSubstr("<c:crosses val=\"max\"/>"));
    EXPECT_THAT(chart, HasSubstr("<c:delete val=\"1\"/>"));
    EXPECT_THAT(chart, HasSubstr("<a:t>Flow (m³/hr)</a:t>"));
    EXPECT_THAT(chart, HasSubstr("<a:t>Pressure(m)</a:t>"));
    // Every other part of the workbook is there as the library wrote it.
    EXPECT_THAT(ZipEntryNames(file), ::testing::Contains("xl/worksheets/sheet1.xml"));
}

TEST(XlsxFile, AChartPartNotAsExpectedIsRefusedWhole) {
    TWorkbook book(kCLocale);
    ChartSheet(book);
    TScratchDir dir;
    SaveWorkbookAs(book, dir.File("good.xlsx"));
    const std::string chart = ReadZipEntry(dir.File("good.xlsx"), "xl/charts/chart1.xml");
    // Already rewritten: two groups are no longer one.
    EXPECT_THROW(PutOnSecondaryAxis(chart, {{"Flows"}, "'Fixed Outlet'!$H$15:$H$38", "Flow"}), EReportError);

    // The unchanged part of a chart without a second axis, asked for a series it lacks or
    // for the wrong cells.
    TWorkbook plain(kCLocale);
    ChartSheet(plain, false);
    SaveWorkbookAs(plain, dir.File("plain.xlsx"));
    const std::string one = ReadZipEntry(dir.File("plain.xlsx"), "xl/charts/chart1.xml");
    EXPECT_EQ(Count(one, "<c:lineChart>"), 1u);
    EXPECT_THROW(PutOnSecondaryAxis(one, {{"Losses"}, "'Fixed Outlet'!$H$15:$H$38", "Flow"}), EReportError);
    EXPECT_THROW(PutOnSecondaryAxis(one, {{"Flows"}, "'Fixed Outlet'!$G$15:$G$38", "Flow"}), EReportError);
    EXPECT_THROW(
        PutOnSecondaryAxis(one, {{"Inlet", "PRV Outlet", "Flows"}, "'Fixed Outlet'!$B$15:$B$38", ""}),
        EReportError);
    // Series that are not one element after the other cannot be split between two groups.
    const std::size_t secondSeries = one.find("<c:ser>", one.find("<c:ser>") + 1);
    for (const std::string inserted : {"<c:marker/>", "<c:ser><c:idx val=\"9\"/></c:ser>"}) {
        SCOPED_TRACE(inserted);
        std::string odd = one;
        odd.insert(inserted.rfind("<c:ser>", 0) == 0 ? secondSeries + 7 : secondSeries, inserted);
        EXPECT_THROW(PutOnSecondaryAxis(odd, {{"Flows"}, "'Fixed Outlet'!$H$15:$H$38", ""}), EReportError);
    }
    // A value axis with two titles: dropping one would leave the other on the right axis.
    std::string twoTitles = one;
    const std::size_t valueAxis = twoTitles.find("<c:valAx>");
    twoTitles.insert(twoTitles.find("<c:axPos val=\"l\"/>", valueAxis), "<c:title><c:tx/></c:title>");
    EXPECT_THROW(PutOnSecondaryAxis(twoTitles, {{"Flows"}, "'Fixed Outlet'!$H$15:$H$38", ""}), EReportError);
    // The value axis's position inside its title: dropping or rewriting the title would
    // leave the second axis with no place on the right.
    std::string placeInTitle = one;
    const std::size_t place = placeInTitle.find("<c:axPos val=\"l\"/>", valueAxis);
    placeInTitle.erase(place, std::string("<c:axPos val=\"l\"/>").size());
    placeInTitle.insert(placeInTitle.find("<c:layout/></c:title>", valueAxis), "<c:axPos val=\"l\"/>");
    for (const char* title : {"", "Flow"})
        EXPECT_THROW(PutOnSecondaryAxis(placeInTitle, {{"Flows"}, "'Fixed Outlet'!$H$15:$H$38", title}),
                     EReportError)
            << title;
    const std::string rewritten = PutOnSecondaryAxis(one, {{"Flows"}, "'Fixed Outlet'!$H$15:$H$38", "A & B"});
    EXPECT_THAT(rewritten, HasSubstr("<a:t>A &amp; B</a:t>"));

    // A series on the second axis before one on the first cannot be drawn: nothing is written.
    TWorkbook wrong(kCLocale);
    ChartSheet(wrong);
    wrong.ActiveSheet().ChartObjects().front()->Chart.SeriesAt(1).AxisGroup = 2;
    EXPECT_THROW(SaveWorkbookAs(wrong, dir.File("wrong.xlsx")), EReportError);
    EXPECT_FALSE(std::filesystem::exists(dir.File("wrong.xlsx")));
}

TEST(XlsxFile, AFileThatCannotBeWrittenKeepsWhatWasThere) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TScratchDir dir;
    TWorkbook book(kCLocale);
    ChartSheet(book);

    // A read-only report keeps its bytes.
    const std::string readOnly = dir.File("old.xlsx");
    WriteBytes(readOnly, "old report");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_THROW(SaveWorkbookAs(book, readOnly), EReportWriteError);
    EXPECT_EQ(ReadBytes(readOnly), "old report");

    // A folder that may not be written to gets nothing, not even a temporary file.
    const std::string locked = dir.File("locked");
    std::filesystem::create_directory(locked);
    ::chmod(locked.c_str(), 0555);
    EXPECT_THROW(SaveWorkbookAs(book, locked + "/report.xlsx"), EReportWriteError);
    EXPECT_TRUE(std::filesystem::is_empty(locked));
    ::chmod(locked.c_str(), 0755);
}

TEST(XlsxFile, ANameThatIsAFolderIsRefusedWithTheSystemsReason) {
    TScratchDir dir;
    TWorkbook book(kCLocale);
    std::filesystem::create_directory(dir.File("report.xlsx"));
    try {
        SaveWorkbookAs(book, dir.File("report.xlsx"));
        FAIL() << "a folder was taken for a file";
    } catch (const EReportWriteError& e) {
        EXPECT_THAT(e.what(), HasSubstr("(a folder)"));
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("report.xlsx")));
    EXPECT_THAT(dir.Names(), ElementsAre("report.xlsx"));
}

// Reports killed at any moment leave no folder of theirs in the temporary folder once the
// next report has run; a folder merely named like theirs stays.
TEST(XlsxFile, KilledReportsLeaveNoTemporaryFolder) {
    TScratchDir temporary, state, out;
    const std::string savedTmpdir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", temporary.Path().c_str(), 1);
    UseLeftoverRecord(state.File("halvern/unfinished"));
    std::filesystem::create_directory(temporary.File("halvern-report-abcdef"));
    WriteBytes(temporary.File("halvern-report-abcdef/notes.txt"), "the user's own");
    TWorkbook book(kCLocale);
    ChartSheet(book);
    int killed = 0;
    for (int kill = 0; kill < 20; ++kill) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (;;)
                SaveWorkbookAs(book, out.File("report.xlsx"));
        }
        ::usleep(static_cast<useconds_t>(20000 + 7919 * kill % 60000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        killed += temporary.Names().size() > 1 ? 1 : 0;
    }
    SaveWorkbookAs(book, out.File("report.xlsx"));
    EXPECT_THAT(temporary.Names(), ElementsAre("halvern-report-abcdef"));
    EXPECT_EQ(ReadBytes(temporary.File("halvern-report-abcdef/notes.txt")), "the user's own");
    std::cout << "[          ] 20 killed reports, " << killed
              << " left a folder behind, removed by the next report\n";
    UseLeftoverRecord("");
    if (savedTmpdir.empty())
        ::unsetenv("TMPDIR");
    else
        ::setenv("TMPDIR", savedTmpdir.c_str(), 1);
}
