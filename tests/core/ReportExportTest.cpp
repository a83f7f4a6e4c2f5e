// The export run of "Output File Selection": which sheets, in which order, numbered how, the
// progress bar, the file the workbook goes to, and "Export to Excel" afterwards.
#include "IoFixture.h"
#include "ReportFixture.h"
#include "forms/HourlyImportCommand.h"
#include "forms/TableLayouts.h"
#include "model/Version.h"

#include <gmock/gmock.h>

#include <numeric>

using namespace halvern;
using namespace halvern::test;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::StartsWith;

namespace {

std::vector<std::string> CentreFooters(const TWorkbook& book) {
    std::vector<std::string> footers;
    for (int i = 1; i <= book.Count(); ++i)
        footers.push_back(book.Worksheets(i).PageSetup.CenterFooter);
    return footers;
}

} // namespace

using ReportExport = ReportFixture;

TEST_F(ReportExport, NoSheetTickedIsRefusedBeforeAnythingIsAsked) {
    dialogs.Clear();
    dialog.ProgressBar1.SetMax(20);
    dialog.ProgressBar1.SetPosition(7);
    Create({});
    EXPECT_FALSE(report.HasLastReport());
    EXPECT_THAT(dialogs.FileDialogsShown, IsEmpty());
    EXPECT_THAT(Saved, IsEmpty());
    EXPECT_THAT(dialogs.Texts(), ElementsAre("Tick at least one sheet to create a report."));
    EXPECT_EQ(dialogs.Messages.back().Type, TMsgDlgType::Error);
    EXPECT_EQ(dialog.ProgressBar1.Position(), 7);
    // The run itself refuses too, whoever starts it.
    form.Dispatch([this] { report.ExportReport(TReportChoice{}, "/reports/none.xlsx"); });
    EXPECT_THAT(Saved, IsEmpty());
}

TEST_F(ReportExport, ANameThatIsNoWorkbookIsRefused) {
    Create({&dialog.Summary}, "/reports/zone.csv");
    EXPECT_THAT(Saved, IsEmpty());
    EXPECT_THAT(dialogs.Texts().back(),
                ::testing::HasSubstr("its name must end in .xlsx: /reports/zone.csv"));
    Create({&dialog.Summary}, "/reports/zone.XLSX");
    EXPECT_THAT(Saved, ElementsAre("/reports/zone.XLSX"));
}

TEST_F(ReportExport, AllSevenSheetsStandInPageOrderNumberedOneToSeven) {
    std::vector<int> positions;
    dialog.ProgressBar1.OnChange = [&] { positions.push_back(dialog.ProgressBar1.Position()); };
    CreateAll();
    EXPECT_THAT(Book().SheetNames(),
                ElementsAre("General Data", "Current Situation", "Summary", "Fixed Outlet", "Time Modulated",
                            "Flow Modulated", "N1 Sensitivity"));
    // The workbook's first empty sheet does not follow the report.
    EXPECT_THAT(CentreFooters(Book()),
                ElementsAre("&8Page 1 of 7", "&8Page 2 of 7", "&8Page 3 of 7", "&8Page 4 of 7",
                            "&8Page 5 of 7", "&8Page 6 of 7", "&8Page 7 of 7"));
    EXPECT_EQ(Book().ActiveIndex(), 1);
    // Seventy single steps, and the bar full at the end.
    std::vector<int> steps(70);
    std::iota(steps.begin(), steps.end(), 1);
    EXPECT_THAT(positions, ElementsAreArray(steps));
    EXPECT_EQ(dialog.ProgressBar1.Max(), 70);
    EXPECT_EQ(dialog.ProgressBar1.Position(), 70);
}

TEST_F(ReportExport, CurrentSituationAndFixedOutletArePagesOneAndTwoOfTwo) {
    Create({&dialog.FixedOutlet, &dialog.CurrentSituation});
    EXPECT_THAT(Book().SheetNames(), ElementsAre("Current Situation", "Fixed Outlet"));
    EXPECT_THAT(CentreFooters(Book()), ElementsAre("&8Page 1 of 2", "&8Page 2 of 2"));
}

TEST_F(ReportExport, EverySheetStepsTheBarTenTimes) {
    int steps = 0;
    dialog.ProgressBar1.OnChange = [&] { ++steps; };
    for (TCheckBox* box : dialog.CheckBoxes()) {
        SCOPED_TRACE(box->Caption);
        dialog.ProgressBar1.SetPosition(0);
        steps = 0;
        Create({box});
        EXPECT_EQ(steps, 10);
        EXPECT_EQ(dialog.ProgressBar1.Max(), 10);
        EXPECT_EQ(dialog.ProgressBar1.Position(), 10);
    }
}

TEST_F(ReportExport, TouchingTheDialogEmptiesTheBarAgain) {
    CreateAll();
    TProgressBar& bar = dialog.ProgressBar1;
    const std::vector<std::function<void()>> touches = {[&] { dialog.FormShow(); },
                                                        [&] { dialog.GroupBox1Click(); },
                                                        [&] { dialog.GeneralData.Click(); },
                                                        [&] { dialog.CurrentSituation.Click(); },
                                                        [&] { dialog.Summary.Click(); },
                                                        [&] { dialog.FixedOutlet.Click(); },
                                                        [&] { dialog.TimeModulated.Click(); },
                                                        [&] { dialog.FlowModulated.Click(); },
                                                        [&] { dialog.N1Sensitivity.Click(); }};
    for (const auto& touch : touches) {
        bar.SetPosition(60);
        touch();
        EXPECT_EQ(bar.Position(), 0);
    }
    // A click still ticks or clears its box; the boxes keep their state when the dialog opens again.
    EXPECT_FALSE(dialog.GeneralData.Checked);
    EXPECT_FALSE(dialog.FlowModulated.Checked);
    dialog.Summary.Click();
    dialog.ShowModal();
    EXPECT_TRUE(dialog.Summary.Checked);
    EXPECT_FALSE(dialog.GeneralData.Checked);
}

TEST_F(ReportExport, CancellingTheSaveDialogWritesNothingAndLeavesTheBar) {
    CreateAll();
    dialogs.Clear();
    Create({&dialog.Summary}, std::nullopt);
    EXPECT_THAT(Saved, ElementsAre("/reports/zone report.xlsx"));
    EXPECT_EQ(dialog.ProgressBar1.Max(), 70);
    EXPECT_EQ(dialog.ProgressBar1.Position(), 70);
    // No box to dismiss before the run: the bar shows it.
    EXPECT_THAT(dialogs.Texts(), IsEmpty());
    EXPECT_EQ(report.ExcelApp->Workbook->Count(), 7);
}

TEST_F(ReportExport, TheReportIsOfferedBesideTheProject) {
    Create({&dialog.Summary});
    ASSERT_FALSE(dialogs.FileDialogsShown.empty());
    const TFileDialogRequest& asked = dialogs.FileDialogsShown.back();
    EXPECT_EQ(asked.InitialFileName, "/home/engineer/Halvern report.xlsx");
    EXPECT_EQ(asked.DefaultExt, "xlsx");

    ReadDemo();
    Create({&dialog.Summary}, "/reports/chosen");
    const std::string demoFolder = std::filesystem::path(form.ProjectFileName).parent_path().string();
    EXPECT_EQ(dialogs.FileDialogsShown.back().InitialFileName, demoFolder + "/demo-zone report.xlsx");
    // A name chosen without an extension gets ".xlsx".
    EXPECT_EQ(Saved.back(), "/reports/chosen.xlsx");
}

TEST_F(ReportExport, AFileThatCannotBeWrittenIsNamedWithTheReasonAndNothingChanges) {
    dialog.ProgressBar1.SetMax(20);
    dialog.ProgressBar1.SetPosition(7);
    SaveError = "No space left on device";
    dialogs.Clear();
    std::vector<bool> busy;
    dialog.OnBusyCursor = [&](bool on) { busy.push_back(on); };
    CreateAll();
    EXPECT_THAT(dialogs.Texts(),
                ElementsAre("Cannot write the report to /reports/zone report.xlsx\nNo space left on device"));
    EXPECT_EQ(dialogs.Messages.back().Type, TMsgDlgType::Error);
    EXPECT_EQ(dialog.ProgressBar1.Max(), 20);
    EXPECT_EQ(dialog.ProgressBar1.Position(), 7);
    EXPECT_FALSE(report.HasLastReport());
    EXPECT_FALSE(form.actExcel.Enabled);
    EXPECT_THAT(busy, ElementsAre(true, false));

    // After a report that was written, a failed one leaves it the last report.
    SaveError.reset();
    Create({&dialog.Summary}, "/reports/first.xlsx");
    SaveError = "Permission denied";
    Create({&dialog.FixedOutlet}, "/reports/second.xlsx");
    ASSERT_TRUE(report.HasLastReport());
    EXPECT_EQ(report.ExcelApp->FileName, "/reports/first.xlsx");
    EXPECT_THAT(Book().SheetNames(), ElementsAre("Summary"));
}

TEST_F(ReportExport, ExportToExcelAddsGeneralDataToTheLastReport) {
    // Before any report there is no workbook to add to: the command does nothing.
    EXPECT_FALSE(form.actExcel.Enabled);
    form.Dispatch([this] { form.actExcel.Execute(); });
    EXPECT_THAT(Saved, IsEmpty());

    Create({&dialog.FixedOutlet, &dialog.TimeModulated}, "/reports/valves.xlsx");
    EXPECT_TRUE(form.actExcel.Enabled);
    form.Dispatch([this] { form.actExcel.Execute(); });
    EXPECT_THAT(Saved, ElementsAre("/reports/valves.xlsx", "/reports/valves.xlsx"));
    EXPECT_THAT(Book().SheetNames(), ElementsAre("General Data", "Fixed Outlet", "Time Modulated"));
    // Numbered with that report's count; General Data is always its first page.
    EXPECT_EQ(Book().Worksheets(1).PageSetup.CenterFooter, "&8Page 1 of 2");

    // A report that already has General Data gets a second one, named as a copy.
    CreateAll();
    form.Dispatch([this] { form.actExcel.Execute(); });
    EXPECT_EQ(Book().Worksheets(1).Name(), "General Data (2)");
    EXPECT_EQ(Book().Worksheets(1).PageSetup.CenterFooter, "&8Page 1 of 7");

    // Not written: the report stays as its file is.
    SaveError = "Read-only file system";
    form.Dispatch([this] { form.actExcel.Execute(); });
    EXPECT_EQ(Book().Count(), 8);
    EXPECT_THAT(dialogs.Texts().back(), StartsWith("Cannot write the report to /reports/zone report.xlsx"));
}

TEST_F(ReportExport, TheWorkbookIsShownInTheSpreadsheetApplicationOrNamed) {
    std::vector<std::string> opened;
    report.OpenInSpreadsheet = [&](const std::string& file) {
        opened.push_back(file);
        return true;
    };
    Create({&dialog.Summary});
    EXPECT_THAT(opened, ElementsAre("/reports/zone report.xlsx"));
    dialogs.Clear();
    report.OpenInSpreadsheet = [](const std::string&) { return false; };
    Create({&dialog.Summary});
    EXPECT_THAT(dialogs.Texts().back(), StartsWith("The report was written to /reports/zone report.xlsx"));
}

TEST_F(ReportExport, EveryPageHasTheFrameOfTheReport) {
    ReadDemo();
    CreateAll();
    for (int i = 1; i <= 6; ++i) {
        const TWorksheet& sheet = Book().Worksheets(i);
        SCOPED_TRACE(sheet.Name());
        EXPECT_FALSE(sheet.DisplayGridlines);
        EXPECT_EQ(sheet.PageSetup.LeftMargin, 35);
        EXPECT_EQ(sheet.PageSetup.RightMargin, 35);
        EXPECT_EQ(sheet.PageSetup.TopMargin, 35);
        EXPECT_EQ(sheet.PageSetup.PaperSize, 9);
        EXPECT_EQ(sheet.PageSetup.Orientation, 1);
        EXPECT_EQ(sheet.PageSetup.LeftFooter.rfind(std::string("&8") + VersionText, 0), 0u);
        EXPECT_THAT(sheet.PageSetup.RightFooter,
                    ::testing::MatchesRegex("&8Date printed: .+ [0-9][0-9]:[0-9][0-9]:[0-9][0-9]"));
        EXPECT_EQ(sheet.StandardHeight, 10);
        EXPECT_EQ(sheet.StandardFormat.FontSize, 9);
        EXPECT_EQ(sheet.StandardFormat.VerticalAlignment, TVerticalAlignment::Centre);
        EXPECT_EQ(sheet.RowHeight(1), 6);
        EXPECT_EQ(sheet.RowHeight(2), 12);
        const bool summary = sheet.Name() == "Summary";
        EXPECT_EQ(sheet.RowHeight(27), summary ? 10 : 12);
        EXPECT_EQ(sheet.RowHeight(50), summary ? 10 : 12);
    }
    // The line closing each printed area, and the columns of each kind of sheet.
    EXPECT_EQ(Sheet("General Data").Format("J78").Bottom, TBorderLine::Thin);
    EXPECT_EQ(Sheet("Current Situation").Format("I75").Bottom, TBorderLine::Thin);
    EXPECT_EQ(Sheet("Current Situation").Format("J75").Bottom, TBorderLine::None);
    EXPECT_EQ(Sheet("Summary").Format("K75").Bottom, TBorderLine::Thin);
    EXPECT_EQ(Sheet("Flow Modulated").Format("A75").Bottom, TBorderLine::Thin);
    EXPECT_EQ(Sheet("General Data").StandardWidth, 8.43);
    EXPECT_EQ(Sheet("Current Situation").ColumnWidth(1), 9.43);
    EXPECT_EQ(Sheet("Current Situation").ColumnWidth(2), 9.57);
    EXPECT_EQ(Sheet("Time Modulated").ColumnWidth(1), 9.3);
    EXPECT_EQ(Sheet("Time Modulated").ColumnWidth(2), 8.43);
    const std::pair<int, double> summaryWidths[] = {{1, 9.71}, {3, 9.71},  {4, 6.86},
                                                    {7, 7.57}, {10, 7.29}, {11, 6.86}};
    for (const auto& [col, width] : summaryWidths)
        EXPECT_EQ(Sheet("Summary").ColumnWidth(col), width) << "column " << col;
}

TEST_F(ReportExport, AReportAfterAnImportDescribesTheImportedHoursOnEverySheet) {
    ReadDemo();
    // Every result page was computed from the file's hours; then a quarter more water
    // arrives by import, and the report is written at once, no page shown in between.
    std::string imported;
    using namespace FlowGridLayout;
    for (int hour = 0; hour < HoursPerDay; ++hour) {
        imported +=
            FormatFixed(std::stod(form.FlowGrid.Cell(InflowM3hCol, HourRow(hour))) * 1.25, 7, 2) + ",";
        for (int col : {InletCol, AZPCol, CriticalCol})
            imported += form.FlowGrid.Cell(col, HourRow(hour)) + ",";
        imported += "\n";
    }
    ASSERT_TRUE(ImportHourlyBytes(form, imported, "more-water.txt"));
    CreateAll();

    TWorksheet& general = Sheet("General Data");
    TWorksheet& current = Sheet("Current Situation");
    for (int hour = 0; hour < HoursPerDay; ++hour) {
        SCOPED_TRACE(hour);
        EXPECT_EQ(current.Value("G" + std::to_string(14 + hour)).Number,
                  general.Value("C" + std::to_string(54 + hour)).Number);
    }

    // The same project read afresh, as `halvern-cli show` reads it, gives the same annual
    // inflow and savings as the Summary sheet.
    halvern::test::TScratchDir dir;
    const std::string saved = dir.File("more-water.pru");
    ASSERT_TRUE(SaveProjectFile(form, saved));
    TScriptedDialogs freshDialogs;
    TMainForm fresh(freshDialogs);
    fresh.Dispatch([&] {
        fresh.FormShow();
        ReadProjectFile(fresh, saved);
    });
    using namespace CostSummaryLayout;
    TWorksheet& summary = Sheet("Summary");
    EXPECT_EQ(summary.Shown("C23"), fresh.CostSummaryGrid.Cell(InflowCol, CurrentRow));
    EXPECT_EQ(summary.Shown("C24"), fresh.CostSummaryGrid.Cell(InflowCol, FixedRow));
    EXPECT_EQ(summary.Shown("I26"), fresh.CostSummaryGrid.Cell(MoneySavingCol, FlowRow));
    EXPECT_EQ(current.Value("G14").Number,
              std::stod(fresh.CurrentGrid.Cell(CurrentGridLayout::TotalFlowCol, ResultRows::HourRow(0))));
}
