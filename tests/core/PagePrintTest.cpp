// Printing the page that is showing and a single chart: the page's arithmetic, the walk
// over the controls of a page drawn on a recording page, and the print commands.
#include "forms/PagePrint.h"
#include "FormFixture.h"
#include "RecordingPage.h"
#include "model/Version.h"
#include <gtest/gtest.h>

using namespace halvern;

namespace {

TPrintControl Control(TPrintKind kind, int left, int top, int width, int height, std::string caption = {}) {
    TPrintControl c;
    c.Kind = kind;
    c.Left = left;
    c.Top = top;
    c.Width = width;
    c.Height = height;
    c.Caption = std::move(caption);
    c.Font = {"Tahoma", 5};
    return c;
}

} // namespace

TEST(PrintGeometry, ScreenPositionsRoundToTheNearestUnitHalvesToEven) {
    struct Case {
        int v;
        double scale;
        int expected;
    } cases[] = {{1, 0.5, 0},   {3, 0.5, 2},    {5, 0.5, 2}, {7, 0.5, 4},      {-1, 0.5, 0},
                 {-3, 0.5, -2}, {10, 2.58, 26}, {4, 1.3, 5}, {100, 2.58, 258}, {0, 9.9, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(ScaleToPage(c.v, c.scale), c.expected) << c.v << " x " << c.scale;
}

TEST(PrintGeometry, ScaleIsTheSmallerRatioTimesOnePointTwoNine) {
    EXPECT_DOUBLE_EQ(PageScale(2 * 1280, 2 * 1024, 1280, 1024), 2.58);
    // A4 portrait at 600 dots per inch on a 1920 x 1080 screen: the width decides.
    EXPECT_DOUBLE_EQ(PageScale(4960, 7016, 1920, 1080), 4960.0 / 1920 * 1.29);
    // Landscape on a 1280 x 1024 screen: the height decides.
    EXPECT_DOUBLE_EQ(PageScale(7016, 4960, 1280, 1024), 4960.0 / 1024 * 1.29);
}

TEST(PrintGeometry, AScaleIsOnlyLoweredWhereThePrintWouldLeaveThePaper) {
    EXPECT_DOUBLE_EQ(FitScale(2.58, 900, 600, 4000, 3000), 2.58);
    EXPECT_DOUBLE_EQ(FitScale(8.0, 1000, 600, 4000, 6000), 4.0);
    EXPECT_DOUBLE_EQ(FitScale(8.0, 500, 1000, 8000, 3000), 3.0);
    EXPECT_DOUBLE_EQ(FitScale(2.0, 0, 0, 100, 100), 2.0);
}

TEST(PrintGeometry, ChartRectangleIsThePageLessItsTruncatedMargins) {
    EXPECT_EQ(ChartPrintRect(1000, 700, {}), (TRect{150, 105, 850, 595}));
    EXPECT_EQ(ChartPrintRect(999, 701, {10, 20, 5, 0}), (TRect{99, 140, 999 - 49, 701}));
}

TEST(PrintGeometry, ZoneNameSitsTwoPercentAboveTheChartUnlessItsLinesWouldReachIt) {
    EXPECT_EQ(ChartHeadingTop(1000, {}, 5), 130);
    // A4 landscape at 600 dots per inch in Arial 12: two lines from 13 % would end at
    // 842, inside the chart from 744; they end at its top instead.
    EXPECT_EQ(ChartHeadingTop(4960, {}, 99), 546);
    EXPECT_EQ(ChartHeadingTop(1000, {}, 20), 110);
    EXPECT_EQ(ChartHeadingTop(1000, {15, 1, 15, 15}, 5), 0);
}

TEST(PagePrint, HeaderLinesAreCentredOneLineApartInArialTenBold) {
    TRecordingPage page(1000, 1400);
    // The first line is whatever version text it is given.
    const auto header = PageHeaderLines("Version: 9.9", "Zone", "Z-7", "Vaal supply", "12");
    PrintPage(page, header, Control(TPrintKind::TabSheet, 0, 0, 10, 10), 500, 700);
    // Arial 10: a character is 10 wide and "M" 20 high.
    EXPECT_EQ(page.Texts(), (std::vector<std::string>{
                                "text 440,0 Version: 9.9 [Arial 10 bold]",
                                "text 460,20 Zone Z-7 [Arial 10 bold]",
                                "text 445,40 Vaal supply [Arial 10 bold]",
                                "text 415,60 Report number: 12 [Arial 10 bold]",
                            }));
}

TEST(PagePrint, ALongNameWrapsOnThePaperAndThePageKeepsItsScale) {
    // 136 characters of Arial 10 are 1360 units on a 1000-unit page.
    const std::string name =
        "Rietvallei Extension 4 Pressure Management Zone north of the reservoir, including "
        "the industrial area and Kloofsig Heights housing areas";
    ASSERT_EQ(name.size(), 136u);
    TPrintControl tab = Control(TPrintKind::TabSheet, 0, 0, 0, 0);
    tab.Children.push_back(Control(TPrintKind::Label, 10, 10, 40, 10, "Zone Name:"));
    TRecordingPage shortPage(1000, 1400), longPage(1000, 1400);
    const double usual =
        PrintPage(shortPage, PageHeaderLines("V", "Zone", "Z-7", "Vaal", "1"), tab, 500, 700);
    const double scale =
        PrintPage(longPage, PageHeaderLines("V", name, "Z-7", name + " " + name, "1"), tab, 500, 700);
    EXPECT_DOUBLE_EQ(scale, usual);

    std::string header;
    int lines = 0;
    for (const auto& text : longPage.TextCalls) {
        if (text.Text == "Zone Name:") break;
        // Each line lies whole on the paper, centred, one line below the one before.
        EXPECT_GE(text.X, 0) << text.Text;
        EXPECT_LE(text.X + static_cast<int>(text.Text.size()) * 10, 1000) << text.Text;
        EXPECT_EQ(text.X, (1000 - static_cast<int>(text.Text.size()) * 10) / 2) << text.Text;
        EXPECT_EQ(text.Y, 20 * lines++) << text.Text;
        header += (header.empty() ? "" : " ") + text.Text;
    }
    // Nothing is lost: the lines read back as the header, broken at its blanks.
    EXPECT_EQ(header, "V " + name + " Z-7 " + name + " " + name + " Report number: 1");
    EXPECT_GT(lines, 4);
    // The page starts a blank line below the last line of the header.
    EXPECT_EQ(longPage.Find("Zone Name:")->Y, (lines + 1) * 20 + ScaleToPage(10, scale));
}

TEST(PagePrint, AWordWiderThanThePaperIsCutIntoPiecesThatFit) {
    TRecordingPage page(100, 100);
    page.SetFont({"Arial", 10});
    EXPECT_EQ(WrapToWidth(page, "PMZ-0123456789ABCDEF", 100),
              (std::vector<std::string>{"PMZ-012345", "6789ABCDEF"}));
    EXPECT_EQ(WrapToWidth(page, "A  B  ", 100), (std::vector<std::string>{"A  B"}));
    EXPECT_EQ(WrapToWidth(page, "", 100), (std::vector<std::string>{""}));
    // A character of several bytes is never split: "é" counts its two bytes here.
    EXPECT_EQ(WrapToWidth(page, "\xC3\xA9\xC3\xA9\xC3\xA9", 40),
              (std::vector<std::string>{"\xC3\xA9\xC3\xA9", "\xC3\xA9"}));
}

TEST(PagePrint, PageTwiceTheScreenPrintsAtTwoPointFiveEightFiveLinesDown) {
    TRecordingPage page(2000, 1600);
    TPrintControl tab = Control(TPrintKind::TabSheet, 7, 9, 300, 300);
    tab.Children.push_back(Control(TPrintKind::Label, 100, 50, 40, 10, "2nd Set"));
    const double scale = PrintPage(page, PageHeaderLines("", "", "", "", ""), tab, 1000, 800);
    EXPECT_DOUBLE_EQ(scale, 2.58);
    // The label at S(100) = 258, 5 * 20 + S(50) = 229 (129 rounds to even from 129.0).
    EXPECT_EQ(page.Texts().back(), "text 258,229 2nd Set [Tahoma 5]");
}

TEST(PagePrint, APageWiderThanThePaperIsPrintedSmallerToFit) {
    TRecordingPage page(1000, 4000);
    TPrintControl tab = Control(TPrintKind::TabSheet, 0, 0, 0, 0);
    tab.Children.push_back(Control(TPrintKind::Edit, 0, 0, 500, 20, "wide"));
    // On a 400-pixel screen 1.29 * 1000 / 400 would take the 500-pixel edit to 1612 units
    // on a 1000-unit page; it is printed at 2 instead.
    EXPECT_DOUBLE_EQ(PrintPage(page, {}, tab, 400, 300), 1000.0 / 500);
}

TEST(PagePrint, EachKindOfControlIsDrawnAtItsScaledPlace) {
    // Scale 2; every control's font is Tahoma 5 at that scale: "M" is 20 high.
    struct Case {
        const char* what;
        TPrintControl control;
        std::vector<std::string> calls;
    };
    const auto with = [](TPrintControl c, auto change) {
        change(c);
        return c;
    };
    const Case cases[] = {
        {"label",
         Control(TPrintKind::Label, 10, 20, 50, 8, "Zone inlet"),
         {"text 120,140 Zone inlet [Tahoma 5]"}},
        {"label in a colour of its own",
         with(Control(TPrintKind::Label, 10, 20, 14, 7, "0.00"),
              [](TPrintControl& c) { c.Colour = clValveOpen; }),
         {"text 120,140 0.00 [Tahoma 5] #808080"}},
        {"label wrapped on screen",
         with(Control(TPrintKind::Label, 10, 20, 50, 16, "Total Night"),
              [](TPrintControl& c) {
                  c.Lines = {"Total", "Night"};
              }),
         {"text 120,140 Total [Tahoma 5]", "text 120,160 Night [Tahoma 5]"}},
        {"static text with border",
         with(Control(TPrintKind::StaticText, 10, 20, 50, 8, "28.98"),
              [](TPrintControl& c) { c.Border = true; }),
         // The text interrupts the frame's top line, as a group's caption does.
         {"rect 120,150 220,156", "paint 123,143 173,163 #FFFFFF", "text 123,143 28.98 [Tahoma 5]"}},
        {"static text without border",
         Control(TPrintKind::StaticText, 10, 20, 50, 8, "28.98"),
         {"text 123,143 28.98 [Tahoma 5]"}},
        {"check box, not ticked",
         Control(TPrintKind::CheckBox, 10, 20, 50, 8, "Disable"),
         {"rect 120,140 136,156", "text 145,140 Disable [Tahoma 5]"}},
        {"check box, ticked",
         with(Control(TPrintKind::CheckBox, 10, 20, 50, 8, "Disable"),
              [](TPrintControl& c) { c.Checked = true; }),
         {"rect 120,140 136,156", "line 120,140 136,156", "line 135,140 119,156",
          "text 145,140 Disable [Tahoma 5]"}},
        {"radio button, not selected",
         Control(TPrintKind::RadioButton, 10, 20, 50, 8, "l/s"),
         {"arc 120,140 140,160", "text 145,140 l/s [Tahoma 5]"}},
        {"radio button, selected",
         with(Control(TPrintKind::RadioButton, 10, 20, 50, 8, "l/s"),
              [](TPrintControl& c) { c.Checked = true; }),
         {"arc 120,140 140,160", "fill 120,140 140,160", "text 145,140 l/s [Tahoma 5]"}},
        {"edit",
         Control(TPrintKind::Edit, 10, 20, 50, 8, "1420.00"),
         {"rect 120,140 220,156", "text 123,143 1420.00 [Tahoma 5] within 121,141 219,155"}},
        {"swatch",
         with(Control(TPrintKind::Shape, 10, 20, 14, 7), [](TPrintControl& c) { c.Colour = clAqua; }),
         {"paint 120,140 148,154 #00FFFF", "rect 120,140 148,154"}},
        {"memo",
         with(Control(TPrintKind::Memo, 10, 20, 50, 30),
              [](TPrintControl& c) {
                  c.Lines = {"Name: A", "Tel: 1"};
              }),
         {"rect 120,140 220,200", "text 123,143 Name: A [Tahoma 5] within 121,141 219,199",
          "text 123,163 Tel: 1 [Tahoma 5] within 121,141 219,199"}},
        {"button", Control(TPrintKind::NotPrinted, 10, 20, 50, 8, "Graph properties"), {}},
    };
    for (const Case& c : cases) {
        TRecordingPage page(4000, 4000);
        PrintControl(page, c.control, 100, 100, 2.0);
        EXPECT_EQ(page.Calls, c.calls) << c.what;
    }
}

TEST(PagePrint, ContainersPlaceTheirChildrenAsTheirKindSays) {
    TRecordingPage page(4000, 4000);
    TPrintControl pages = Control(TPrintKind::PageControl, 30, 30, 400, 400);
    TPrintControl sheet = Control(TPrintKind::TabSheet, 4, 24, 390, 370);
    TPrintControl panel = Control(TPrintKind::Panel, 10, 10, 200, 100);
    TPrintControl group = Control(TPrintKind::GroupBox, 5, 6, 100, 50, " Flows ");
    group.Children.push_back(Control(TPrintKind::Label, 1, 2, 10, 5, "m3"));
    panel.Children.push_back(group);
    // A button's children are never printed.
    TPrintControl button = Control(TPrintKind::NotPrinted, 0, 0, 50, 20);
    button.Children.push_back(Control(TPrintKind::Label, 0, 0, 10, 5, "inside a button"));
    panel.Children.push_back(button);
    sheet.Children.push_back(panel);
    pages.Children.push_back(sheet);
    PrintControl(page, pages, 0, 100, 2.0);
    // The page set and its page add nothing; the panel moves by (20, 20) and the group by
    // (10, 12): the group's frame starts half a line below its caption.
    EXPECT_EQ(page.Calls,
              (std::vector<std::string>{"rect 30,142 230,232", "paint 35,132 105,152 #FFFFFF",
                                        "text 35,132  Flows  [Tahoma 5]", "text 32,136 m3 [Tahoma 5]"}));
}

TEST(PagePrint, AChartPrintsOverItsMarginsWhereverItSitsOnScreen) {
    for (const auto& [left, top] : {std::pair{0, 0}, std::pair{300, 200}}) {
        TRecordingPage page(2000, 3000);
        std::vector<TRect> printedInto;
        TPrintControl chart = Control(TPrintKind::Chart, left, top, 500, 400);
        chart.PrintChart = [&](const TRect& rect) { printedInto.push_back(rect); };
        PrintControl(page, chart, 50, 60, 2.58);
        EXPECT_EQ(printedInto, (std::vector<TRect>{{300, 450, 1700, 2550}}));
        EXPECT_TRUE(page.Calls.empty());
    }
}

// The N1 page's two charts share the page with its table: each prints where it stands, scaled
// as the table is, and the page is scaled to take them in; over the margins they would cover
// each other and the table.
TEST(PagePrint, ChartsInPlacePrintWhereTheyStandAndCountInThePagesExtent) {
    TRecordingPage page(2000, 3000);
    std::vector<TRect> printedInto;
    TPrintControl sheet = Control(TPrintKind::TabSheet, 0, 0, 800, 900);
    TPrintControl body = Control(TPrintKind::Panel, 10, 20, 780, 880);
    for (const int left : {0, 400}) {
        TPrintControl chart = Control(TPrintKind::Chart, left, 500, 380, 300);
        chart.InPlace = true;
        chart.PrintChart = [&](const TRect& rect) { printedInto.push_back(rect); };
        body.Children.push_back(chart);
    }
    sheet.Children.push_back(body);
    PrintControl(page, sheet, 50, 60, 2.0);
    EXPECT_EQ(printedInto, (std::vector<TRect>{{70, 1100, 830, 1700}, {870, 1100, 1630, 1700}}));
    // Alone, the charts reach 10 + 780 across and 20 + 800 down.
    const TPrintExtent extent = PrintedExtent(sheet);
    EXPECT_EQ(extent.Right, 790);
    EXPECT_EQ(extent.Bottom, 900);
    sheet.Children[0].Height = 10;
    EXPECT_EQ(PrintedExtent(sheet).Bottom, 820);
}

TEST(PagePrint, AGridPrintsInTheFontTheControlBeforeItLeftOrItsOwnWhenFirst) {
    TMarkStringGrid grid("Grid");
    grid.SetColCount(2);
    grid.SetRowCount(1);
    grid.FixedCols = grid.FixedRows = 0;
    grid.DefaultColWidth = 40;
    grid.DefaultRowHeight = 20;
    constexpr int valueCol = 1, onlyRow = 0;
    grid.SetCell(valueCol, onlyRow, "7.5");
    TFixedWidthCanvas screen(5, 10);
    TPrintControl table = Control(TPrintKind::StringGrid, 10, 30, 83, 21);
    table.Grid = &grid;
    table.GridScreen = &screen;

    TRecordingPage page(4000, 4000);
    TPrintControl sheet = Control(TPrintKind::TabSheet, 0, 0, 400, 400);
    TPrintControl label = Control(TPrintKind::Label, 0, 0, 40, 10, "Hours");
    label.Font = {"Verdana", 7, true};
    sheet.Children = {label, table};
    PrintControl(page, sheet, 0, 0, 2.0);
    // Each cell's frame and text go to the page at (L, T) = (20, 60) plus twice its place.
    EXPECT_EQ(page.Calls, (std::vector<std::string>{"text 0,0 Hours [Verdana 7 bold]", "rect 20,60 100,100",
                                                    "text 26,66  [Verdana 7 bold]", "rect 102,60 182,100",
                                                    "text 108,66 7.5 [Verdana 7 bold]"}));
    EXPECT_FALSE(grid.HardCopy);

    // First on its page, after the header's Arial 10 bold: the table's own font.
    TRecordingPage first(4000, 4000);
    sheet.Children = {table, label};
    PrintPage(first, {}, sheet, 2000, 2000);
    EXPECT_EQ(first.TextCalls.at(5).Font, (TPrintFont{"Tahoma", 5}));
    EXPECT_EQ(first.TextCalls.at(5).Text, "7.5");
}

TEST(PagePrint, TheGridsFullHeightCountsForTheFit) {
    TMarkStringGrid grid("Grid");
    grid.SetColCount(3);
    grid.SetRowCount(40);
    grid.DefaultRowHeight = 24;
    TPrintControl table = Control(TPrintKind::StringGrid, 10, 30, 100, 200);
    table.Grid = &grid;
    const TPrintExtent extent = PrintedExtent(table);
    EXPECT_EQ(extent.Right, 10 + 3 * 65);
    EXPECT_EQ(extent.Bottom, 30 + 40 * 25);
}

TEST(PagePrint, ChartPageCentresTheZoneNameAndReferenceAboveTheChart) {
    TRecordingPage page(3000, 2000);
    std::vector<TRect> printedInto;
    PrintChartPage(page, "Rietvallei", "PMZ-4", {}, [&](const TRect& r) { printedInto.push_back(r); });
    // Arial 12: characters 12 wide, "M" 24 high; the two lines end at the chart's top.
    EXPECT_EQ(page.Calls, (std::vector<std::string>{"text 1440,252 Rietvallei [Arial 12]",
                                                    "text 1470,276 PMZ-4 [Arial 12]"}));
    EXPECT_EQ(printedInto, (std::vector<TRect>{{450, 300, 2550, 1700}}));
}

TEST(PagePrint, ChartPageWrapsALongZoneNameAboveTheChart) {
    TRecordingPage page(1000, 700);
    const std::string name(50, 'x');
    PrintChartPage(page, name + " " + name, "PMZ-4", {}, [](const TRect&) {});
    // Arial 12: 12 units a character, 24 a line; three lines end where the chart begins (105).
    ASSERT_EQ(page.TextCalls.size(), 3u);
    for (const auto& text : page.TextCalls) {
        EXPECT_GE(text.X, 0);
        EXPECT_LE(text.X + static_cast<int>(text.Text.size()) * 12, 1000);
    }
    EXPECT_EQ(page.TextCalls[0].Y, 105 - 3 * 24);
    EXPECT_EQ(page.TextCalls[2].Text, "PMZ-4");
}

TEST(PagePrint, ATablePrintsTheColoursOfItsCellsButNotTheSelection) {
    TMarkStringGrid grid("Grid");
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.FixedCols = grid.FixedRows = 0;
    grid.DefaultColWidth = 40;
    grid.DefaultRowHeight = 20;
    grid.SetCell(1, 0, "46.00");
    grid.SetCell(1, 1, "61.00");
    grid.SetColour(0, 0, clAqua); // the low-flow hour's row
    grid.SetColour(1, 0, clAqua);
    grid.SetFontColour(1, 1, clValveOpen); // the hour the valve stands fully open
    grid.Col = 0;
    grid.Row = 0; // the current cell: the screen shows it in its own colours, the paper does not
    TFixedWidthCanvas screen(5, 10);
    TRecordingPage page(4000, 4000);
    page.SetFont({"Arial", 5});
    grid.DoPrint(0, 0, 1.0, screen, page);
    EXPECT_EQ(page.Calls, (std::vector<std::string>{
                              "paint 0,0 40,20 #00FFFF", "rect 0,0 40,20", "text 3,3  [Arial 5]",
                              "paint 41,0 81,20 #00FFFF", "rect 41,0 81,20", "text 44,3 46.00 [Arial 5]",
                              "rect 0,21 40,41", "text 3,24  [Arial 5]", "rect 41,21 81,41",
                              "text 44,24 61.00 [Arial 5] #808080"}));
}

// ---- the commands --------------------------------------------------------------------------

class PrintCommandsTest : public halvern::test::FormFixture {};

TEST_F(PrintCommandsTest, PrintAsksForThePrinterAndCancelPrintsNothing) {
    int printed = 0;
    form.OnPrintPage = [&] {
        ++printed;
        return std::string();
    };
    dialogs.PrinterAnswers = {false, true};
    form.Dispatch([&] { form.actPrint.Execute(); });
    EXPECT_EQ(printed, 0);
    form.Dispatch([&] { form.actPrint.Execute(); });
    EXPECT_EQ(printed, 1);
    EXPECT_EQ(dialogs.PrinterSetupsShown,
              (std::vector<TPrintOrientation>{TPrintOrientation::Portrait, TPrintOrientation::Portrait}));
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(PrintCommandsTest, APrintToAFileIsOfferedBesideTheProjectNamedAfterWhatIsPrinted) {
    form.OnPrintPage = [] { return std::string(); };
    form.OnPrintChart = [](TChart&) { return std::string(); };
    form.Dispatch([&] { form.actPrintExec(); }); // never saved: the home folder
    form.ProjectFileName = "/data/zones/Rietvallei.pru";
    form.Dispatch([&] { form.MainPage.SetActivePage(form.FixedOutletSheet); });
    form.Dispatch([&] { form.actPrintExec(); });
    form.OutletPopup.Popup(form.FixedPRVChart);
    form.Dispatch([&] { form.PrintGraph2Click(); });
    EXPECT_EQ(dialogs.PrintFilesOffered,
              (std::vector<std::string>{"Data Input - General Info.pdf",
                                        "/data/zones/Rietvallei - Fixed Outlet - Graphical.pdf",
                                        "/data/zones/Rietvallei - Fixed PRV Outlet.pdf"}));
}

TEST_F(PrintCommandsTest, APrinterThatCannotBeWrittenIsSaidOnce) {
    form.OnPrintPage = [] {
        return std::string("Cannot print to /nowhere/page.pdf: No such file or directory");
    };
    form.Dispatch([&] { form.actPrintExec(); });
    EXPECT_EQ(dialogs.Messages,
              (std::vector<TRecordedMessage>{
                  {TMsgDlgType::Error, "Cannot print to /nowhere/page.pdf: No such file or directory"}}));
}

TEST_F(PrintCommandsTest, HeaderTakesTheEditsCurrentTextsNotTheStoredOnes) {
    Set(form.ZoneNameEdit, "Stored zone");
    form.ZoneNameEdit.InitText("Typed zone"); // shown, not yet stored
    form.ZoneRefEdit.InitText("R-1");
    form.WaterSupplySystemEdit.InitText("Vaal");
    form.ReportNumEdit.InitText("42");
    EXPECT_EQ(form.Project.ZoneName, "Stored zone");
    EXPECT_EQ(form.PrintHeader(),
              (std::array<std::string, 4>{VersionText, "Typed zone R-1", "Vaal", "Report number: 42"}));
}

TEST_F(PrintCommandsTest, PrintGraphPrintsTheClickedChartLandscape) {
    std::vector<TChart*> printed;
    form.OnPrintChart = [&](TChart& chart) {
        printed.push_back(&chart);
        return std::string();
    };
    form.Dispatch([&] { form.PrintGraph2Click(); }); // no chart clicked yet: nothing
    EXPECT_TRUE(printed.empty());
    form.OutletPopup.Popup(form.TimePRVChart);
    dialogs.PrinterAnswers = {false};
    form.Dispatch([&] { form.PrintGraph2Click(); });
    EXPECT_TRUE(printed.empty());
    form.Dispatch([&] { form.PrintGraph2Click(); });
    EXPECT_EQ(printed, (std::vector<TChart*>{&form.TimePRVChart}));
    EXPECT_EQ(dialogs.PrinterSetupsShown.back(), TPrintOrientation::Landscape);
}

TEST_F(PrintCommandsTest, PictureIsSavedUnderTheChosenNameProposedFromThePage) {
    std::vector<std::string> saved;
    form.OnSavePagePicture = [&](const std::string& name) {
        saved.push_back(name);
        return name == "/ro/x.png" ? std::string("Cannot write /ro/x.png: Permission denied") : std::string();
    };
    dialogs.FileNames = {std::nullopt, "/tmp/page", "/ro/x.png"};
    for (int i = 0; i < 3; ++i)
        form.Dispatch([&] { form.actPrintToBitmap.Execute(); });
    EXPECT_EQ(dialogs.FileDialogsShown.at(0).InitialFileName, "Data Input - General Info.png");
    EXPECT_EQ(dialogs.FileDialogsShown.at(0).DefaultExt, "png");
    EXPECT_EQ(saved, (std::vector<std::string>{"/tmp/page.png", "/ro/x.png"}));
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"Cannot write /ro/x.png: Permission denied"}));
}

TEST_F(PrintCommandsTest, ShownPageCaptionFollowsTheActivePages) {
    form.Dispatch([&] { form.MainPage.SetActivePage(form.FixedOutletSheet); });
    EXPECT_EQ(form.ShownPageCaption(), "Fixed Outlet - Graphical");
    form.Dispatch([&] { form.MainPage.SetActivePage(form.SummarySheet); });
    EXPECT_EQ(form.ShownPageCaption(), "Summary - Cost Summary");
    form.Dispatch([&] { form.SummaryPages.SetActivePage(form.N1SensitivitySheet); });
    EXPECT_EQ(form.ShownPageCaption(), "Summary - N1 Sensitivity");
}

// ---- the charts' pop-up menu ----------------------------------------------------------------

TEST_F(PrintCommandsTest, PopupOnTheCurrentChartOffersItsOwnSeriesTickedAsShown) {
    TOutletPopup& popup = form.OutletPopup;
    popup.Popup(form.CurrentChart);
    std::vector<std::string> offered;
    std::vector<bool> ticked;
    for (const auto& item : popup.Items) {
        if (!item.Visible) continue;
        offered.push_back(item.Caption);
        ticked.push_back(item.Checked);
    }
    EXPECT_EQ(offered,
              (std::vector<std::string>{"Inlet Pressure", "AZP Pressure", "Target Pressure", "Zone Inflow",
                                        "Pressure Dependent", "Pressure Independent"}));
    EXPECT_EQ(ticked, (std::vector<bool>{true, true, true, true, false, false}));

    int changes = 0;
    form.CurrentChart.OnChanged = [&] { ++changes; };
    popup.ItemClick(3); // "Target Pressure": the critical pressure, series 2
    EXPECT_FALSE(form.CurrentChart.Series[2].Active);
    EXPECT_FALSE(popup.Items[3].Checked);
    EXPECT_EQ(changes, 1);
    popup.ItemClick(1); // hidden here: nothing
    EXPECT_EQ(changes, 1);
    // The other charts and the graph options are untouched.
    EXPECT_TRUE(form.FixedPRVChart.Series[3].Active);
    EXPECT_TRUE(form.Project.GraphCritPres);
}

TEST_F(PrintCommandsTest, PopupOnAPRVChartTogglesTheSeriesOfItsPosition) {
    TOutletPopup& popup = form.OutletPopup;
    popup.Popup(form.FlowPRVChart);
    for (const auto& item : popup.Items)
        EXPECT_TRUE(item.Visible) << item.Caption;
    EXPECT_FALSE(popup.Items[4].Checked); // the AZP head loss is hidden at first
    popup.ItemClick(4);
    EXPECT_TRUE(form.FlowPRVChart.Series[4].Active);
    popup.ItemClick(0);
    EXPECT_FALSE(form.FlowPRVChart.Series[0].Active);
    popup.Popup(form.FlowPRVChart);
    EXPECT_TRUE(popup.Items[4].Checked);
    EXPECT_FALSE(popup.Items[0].Checked);
}
