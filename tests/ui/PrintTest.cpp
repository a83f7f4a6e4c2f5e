// Printing from the main window: the page walk over the real widgets, the chart printed
// over its margins, the printer dialog, a printer that cannot be written, the charts'
// pop-up menu, the picture of the page, and real PDF files read back.
#include "../core/RecordingPage.h"
#include "UiFixture.h"
#include "forms/TableLayouts.h"
#include "model/Version.h"
#include "ui/ChartView.h"
#include "ui/PagePrinter.h"
#include "ui/PagePrints.h"
#include "ui/PageTabs.h"
#include "ui/QtDialogs.h"
#include "ui/QtPrintCanvas.h"
#include <QChart>
#include <QChartView>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTimer>
#include <functional>

using namespace halvern;
namespace PRV = PRVGridLayout;

namespace {

QImage Picture(QWidget& widget) {
    return widget.grab().toImage();
}

// Runs a program of poppler-utils and returns what it wrote.
QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// How many pixels of a picture are near the colour.
int CountNear(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
                std::abs(c.blue() - colour.blue()) < 40)
                ++count;
        }
    return count;
}

void ToPdf(QPrinter& printer, const QString& fileName) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(fileName);
}

} // namespace

class PrintTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TUiFixture> ui;
    QTemporaryDir folder;

    void ReadZone() {
        ui->dialogs.FileNames.push_back(std::string(HALVERN_TEST_DATA) + "/windows-zone.pru");
        ui->Run([&] { ui->form.actDataReadExec(); });
    }
    void Show(TTabSheet& page, TTabSheet* sub = nullptr) {
        ui->Run([&] { ui->form.MainPage.SetActivePage(page); });
        if (sub) ui->Run([&] { page.Children->SetActivePage(*sub); });
        QApplication::processEvents();
    }
    // The page that is showing, printed on a recording page twice the screen's size.
    std::unique_ptr<TRecordingPage> RecordShownPage() {
        const QSize screen = ui->window.screen()->size();
        auto page = std::make_unique<TRecordingPage>(2 * screen.width(), 2 * screen.height());
        const auto shown = ui->window.PagePrinter().DescribeShownPage();
        PrintPage(*page, ui->form.PrintHeader(), shown->Tab, screen.width(), screen.height());
        return page;
    }
    QString File(const QString& name) const { return QDir(folder.path()).filePath(name); }

private slots:
    void init() { ui = std::make_unique<TUiFixture>(); }
    void cleanup() { ui.reset(); }

    void AHiddenLabelIsPrintedInItsRow() {
        ui->Run([&] { ui->form.Interval2Radio.Click(); });
        Show(ui->form.TimeModulatedSheet, &ui->form.TimeTabulatedSheet);
        QVERIFY(ui->Find<QLabel>("SecondSetLabel")->isHidden());
        const auto page = RecordShownPage();
        const auto* second = page->Find("2nd Set");
        const auto* first = page->Find("1st Set");
        QVERIFY(second && first);
        // Below "1st Set" in the same column, not at the corner of its group.
        QCOMPARE(second->X, first->X);
        QVERIFY(second->Y > first->Y);
        // Buttons are not printed; edits and radio buttons are.
        QVERIFY(!page->Find("Graph properties"));
        QVERIFY(page->Find(ui->form.HighPressureEdit.Text()));
        QVERIFY(page->Find("4 Intervals"));
    }

    void TheSummarysPagesPrintBelowItsCostInputs() {
        ReadZone();
        const std::pair<TTabSheet*, const char*> pages[] = {{&ui->form.CostSummarySheet, "Current Situation"},
                                                            {&ui->form.N1SensitivitySheet, "N1 from"}};
        for (const auto& [sub, first] : pages) {
            Show(ui->form.SummarySheet, sub);
            const auto page = RecordShownPage();
            const auto* inputs = page->Find("Multiplication factor (%)");
            const auto* below = page->Find(first);
            QVERIFY(inputs && below);
            QVERIFY2(below->Y > inputs->Y + 20, first);
        }
    }

    void TheHeaderTakesWhatTheIdentificationEditsShow() {
        ReadZone();
        auto* zone = ui->Find<QLineEdit>("ZoneNameEdit");
        zone->clear();
        QTest::keyClicks(zone, "Typed Zone");
        Show(ui->form.SummarySheet);
        const auto page = RecordShownPage();
        const std::vector<std::string> header = {page->TextCalls.at(0).Text, page->TextCalls.at(1).Text,
                                                 page->TextCalls.at(2).Text, page->TextCalls.at(3).Text};
        QCOMPARE(header, (std::vector<std::string>{VersionText, "Typed Zone PM-17/b", "Rand West",
                                                   "Report number: R 2024-03"}));
        // Each header line is centred on the page, one line below the other.
        for (int i = 0; i < 4; ++i) {
            const auto& line = page->TextCalls.at(i);
            QCOMPARE(line.X, (page->Width - static_cast<int>(line.Text.size()) * 10) / 2);
            QCOMPARE(line.Y, 20 * i);
        }
    }

    void AChartPrintsOverItsMarginsAndTheWindowStaysAsItWas() {
        ReadZone();
        Show(ui->form.FixedOutletSheet); // opens on its chart
        QVERIFY(ui->window.findChild<TChartView*>("FixedPRVChart"));
        const QImage before = Picture(ui->window);
        QImage paper(1000, 1400, QImage::Format_RGB32);
        paper.fill(Qt::white);
        {
            QPainter painter(&paper);
            ui->window.PagePrinter().DrawShownPage(painter);
        }
        QCOMPARE(Picture(ui->window), before);
        // Below the header, everything printed lies in the 15 % margins' rectangle.
        int red = 0;
        for (int y = 120; y < paper.height(); ++y)
            for (int x = 0; x < paper.width(); ++x) {
                const QColor c = paper.pixelColor(x, y);
                if (c == Qt::white) continue;
                QVERIFY2(x >= 150 && x < 850 && y >= 210 && y < 1190,
                         qPrintable(QString("ink at %1, %2").arg(x).arg(y)));
                if (c.red() > 200 && c.green() < 60 && c.blue() < 60) ++red;
            }
        QVERIFY(red > 20); // the critical pressure keeps its colour
    }

    void PrintingATablePageLeavesTheWindowAsItWas() {
        ReadZone();
        Show(ui->form.CurrentSituationSheet, &ui->form.CurrentTabulatedSheet);
        const QImage before = Picture(ui->window);
        QImage paper(2000, 2800, QImage::Format_RGB32);
        paper.fill(Qt::white);
        {
            QPainter painter(&paper);
            ui->window.PagePrinter().DrawShownPage(painter);
        }
        QCOMPARE(Picture(ui->window), before);
        QVERIFY(!ui->form.CurrentGrid.HardCopy);
    }

    void CancellingThePrinterDialogPrintsNothing() {
        TQtDialogs dialogs;
        TMainForm form(dialogs);
        TMainWindow window(form);
        window.UseDialogs(dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ToPdf(window.PagePrinter().Printer(), File("cancelled.pdf"));
        form.ProjectFileName = File("Rietvallei.pru").toStdString();
        QString seen, offered;
        QTimer::singleShot(300, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen = dialog->objectName();
                if (auto* field = dialog->findChild<QLineEdit*>("filename")) offered = field->text();
                dialog->reject();
            }
        });
        window.Binder().Run([&] { form.actPrint.Execute(); });
        QCOMPARE(seen, QString("PrinterSetupDialog1"));
        QVERIFY(!QFile::exists(File("cancelled.pdf")));
        // A print to a file is offered beside the project, not in the home folder.
        QCOMPARE(offered, File("Rietvallei - Data Input - General Info.pdf"));
    }

    void TimePickersRowColoursAndSwatchesArePrinted() {
        ReadZone();
        Show(ui->form.TimeModulatedSheet, &ui->form.TimeTabulatedSheet);
        const auto page = RecordShownPage();
        // The switching times, each in its box.
        for (const char* name : {"TimeStart1Picker", "TimeStop1Picker"}) {
            const auto* time = page->Find(ui->Find<QTimeEdit>(name)->text().toStdString());
            QVERIFY2(time && time->Box, name);
        }
        // The low- and high-flow rows and the legend's swatches in their colours on paper.
        QImage paper(2000, 2800, QImage::Format_RGB32);
        paper.fill(Qt::white);
        {
            QPainter painter(&paper);
            ui->window.PagePrinter().DrawShownPage(painter);
        }
        QVERIFY(CountNear(paper, QColor(0, 255, 255)) > 2000);
        QVERIFY(CountNear(paper, QColor(255, 255, 0)) > 2000);
        const auto shown = ui->window.PagePrinter().DescribeShownPage();
        std::vector<TColor> swatches;
        const std::function<void(const TPrintControl&)> collect = [&](const TPrintControl& c) {
            if (c.Kind == TPrintKind::Shape) swatches.push_back(c.Colour);
            for (const TPrintControl& child : c.Children)
                collect(child);
        };
        collect(shown->Tab);
        QCOMPARE(swatches, (std::vector<TColor>{clAqua, clYellow}));
    }

    void AnEditsTextStopsAtItsBox() {
        QImage paper(400, 100, QImage::Format_RGB32);
        paper.fill(Qt::white);
        {
            QPainter painter(&paper);
            TQtPrintCanvas canvas(painter, paper.size(), 96);
            canvas.SetFont({"Arial", 10});
            canvas.TextRect({10, 10, 60, 40}, 12, 12, std::string(40, 'W'), clBlack);
        }
        int ink = 0;
        for (int y = 0; y < paper.height(); ++y)
            for (int x = 0; x < paper.width(); ++x) {
                if (paper.pixelColor(x, y) == Qt::white) continue;
                QVERIFY2(x >= 10 && x < 60 && y >= 10 && y < 40,
                         qPrintable(QString("ink at %1, %2").arg(x).arg(y)));
                ++ink;
            }
        QVERIFY(ink > 50);
    }

    void AFileThatCannotBeWrittenIsSaidOnceAndTheWindowStays() {
        Show(ui->form.SummarySheet);
        ToPdf(ui->window.PagePrinter().Printer(), "/no/such/folder/page.pdf");
        const QImage before = Picture(ui->window);
        ui->Run([&] { ui->form.actPrint.Execute(); });
        QCOMPARE(ui->dialogs.Texts(),
                 (std::vector<std::string>{
                     "Cannot print to /no/such/folder/page.pdf: No such file or directory"}));
        QCOMPARE(Picture(ui->window), before);
    }

    void TheChartsPopupSwitchesSeriesAndPrintsTheGraph() {
        ReadZone();
        Show(ui->form.CurrentSituationSheet); // opens on its chart
        auto* view = ui->window.findChild<TChartView*>("CurrentChart");
        QVERIFY(view);
        QCOMPARE(view->toolTip(), QString("Right click to remove series"));
        auto* area = view->findChild<QChartView*>();
        const QPoint at = area->viewport()->rect().center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, area->viewport()->mapToGlobal(at));
        QApplication::sendEvent(area->viewport(), &click);
        auto* menu = area->findChild<QMenu*>("OutletPopup");
        QVERIFY(menu);
        QStringList items;
        for (QAction* action : menu->actions())
            items << (action->isSeparator() ? "-" : action->text() + (action->isChecked() ? " +" : ""));
        QCOMPARE(items,
                 QStringList({"Inlet Pressure +", "AZP Pressure +", "Target Pressure +", "Zone Inflow +",
                              "Pressure Dependent", "Pressure Independent", "-", "Print Graph"}));
        menu->actions().at(2)->trigger(); // "Target Pressure": the critical pressure
        QVERIFY(!view->Chart()->series().at(2)->isVisible());
        QVERIFY(view->Chart()->series().at(0)->isVisible());

        ToPdf(ui->window.PagePrinter().Printer(), File("graph.pdf"));
        menu->actions().last()->trigger();
        QCOMPARE(ui->dialogs.PrinterSetupsShown,
                 std::vector<TPrintOrientation>{TPrintOrientation::Landscape});
        const QString info = Run("pdfinfo", {File("graph.pdf")});
        QVERIFY2(info.contains("842 x 595"), qPrintable(info)); // A4 landscape
        QVERIFY(info.contains("Zizodaza Duridadive Zuzoz"));
        menu->close();
    }

    void ThePictureOfThePageIsSavedAsPng() {
        Show(ui->form.FixedOutletSheet, &ui->form.FixedTabulatedSheet);
        ui->dialogs.FileNames = {File("fixed").toStdString()};
        ui->Run([&] { ui->form.actPrintToBitmap.Execute(); });
        QCOMPARE(ui->dialogs.FileDialogsShown.back().InitialFileName,
                 std::string("Fixed Outlet - Tabulated.png"));
        const QImage saved(File("fixed.png"));
        QCOMPARE(saved.size(), ui->window.centralWidget()->size());
        QVERIFY(ui->dialogs.Messages.empty());
    }

    void AResultPageAndAChartPrintToPdfsThatReadBack() {
        ReadZone();
        Show(ui->form.FixedOutletSheet, &ui->form.FixedTabulatedSheet);
        ToPdf(ui->window.PagePrinter().Printer(), File("fixed.pdf"));
        ui->window.findChild<QAction*>("menuPrint")->trigger(); // File > Print…
        QVERIFY(ui->dialogs.Messages.empty());
        const QString text = Run("pdftotext", {"-layout", File("fixed.pdf"), "-"});
        QVERIFY2(text.contains("Zoné Oos PM-17/b"), qPrintable(text)); // the header
        QVERIFY(text.contains("Report number: R 2024-03"));
        QVERIFY(text.contains(QString::fromStdString(ui->form.FixedPRVOutletEdit.Text()))); // an edit
        QVERIFY(text.contains("PRV Outlet Pressure"));                                      // a label
        QVERIFY(text.contains("00:00 - 01:00"));                                            // grid cells
        QVERIFY(
            text.contains(QString::fromStdString(ui->form.FixedPRVGrid.Cell(PRV::AZPCol, PRV::HourRow(0)))));

        Show(ui->form.FixedOutletSheet, &ui->form.FixedGraphSheet);
        ToPdf(ui->window.PagePrinter().Printer(), File("chart.pdf"));
        ui->Run([&] { ui->form.OutletPopup.Popup(ui->form.FixedPRVChart); });
        ui->Run([&] { ui->form.PrintGraph2Click(); });
        QVERIFY(ui->dialogs.Messages.empty());
        const QString heading = Run("pdftotext", {File("chart.pdf"), "-"});
        QVERIFY(heading.contains("Zoné Oos"));
        QVERIFY(heading.contains("PM-17/b"));
        Run("pdftoppm", {"-r", "40", "-png", "-singlefile", File("chart.pdf"), File("chart")});
        const QImage chart(File("chart.png"));
        QVERIFY(!chart.isNull());
        // The shown series keep their colours: aqua outlet, blue AZP, red critical, lime inflow.
        for (const QColor colour :
             {QColor(0, 255, 255), QColor(0, 0, 255), QColor(255, 0, 0), QColor(0, 255, 0)})
            QVERIFY2(CountNear(chart, colour) > 15, qPrintable(colour.name()));
    }

    void EmptyTablesAndAChartWithoutPointsPrintWithoutError() {
        Show(ui->form.FixedOutletSheet, &ui->form.FixedTabulatedSheet);
        TMarkStringGrid& grid = ui->form.FixedPRVGrid;
        for (int row = grid.FixedRows; row < grid.RowCount(); ++row)
            for (int col = 0; col < grid.ColCount(); ++col)
                grid.SetCell(col, row, "");
        ToPdf(ui->window.PagePrinter().Printer(), File("empty-table.pdf"));
        ui->Run([&] { ui->form.actPrint.Execute(); });

        Show(ui->form.FixedOutletSheet, &ui->form.FixedGraphSheet);
        for (TChartSeries& series : ui->form.FixedPRVChart.Series)
            series.Clear();
        ui->form.FixedPRVChart.Changed();
        const QImage before = Picture(ui->window);
        ToPdf(ui->window.PagePrinter().Printer(), File("empty-page.pdf"));
        ui->Run([&] { ui->form.actPrint.Execute(); });
        ToPdf(ui->window.PagePrinter().Printer(), File("empty-chart.pdf"));
        ui->Run([&] { ui->form.OutletPopup.Popup(ui->form.FixedPRVChart); });
        ui->Run([&] { ui->form.PrintGraph2Click(); });
        QVERIFY(ui->dialogs.Messages.empty());
        QCOMPARE(Picture(ui->window), before);
        for (const char* name : {"empty-table.pdf", "empty-page.pdf", "empty-chart.pdf"})
            QVERIFY2(Run("pdfinfo", {File(name)}).contains("Pages:           1"), name);
        // The empty chart still shows its title and axes.
        QVERIFY(Run("pdftotext", {File("empty-chart.pdf"), "-"}).contains("Fixed PRV Outlet"));
    }

    void EveryPageAndChartIsPrintedToItsOwnPdf() {
        ReadZone();
        const TPagePrintsResult result = WritePagePrints(ui->window, File("pages"));
        QVERIFY(result.Failures.isEmpty());
        QStringList names;
        for (const QString& file : result.Written)
            names << QFileInfo(file).fileName();
        QCOMPARE(names,
                 QStringList({"GeneralSheet.pdf", "PropertySheet.pdf", "FlowSheet.pdf",
                              "CurrentTabulatedSheet.pdf", "GraphicalSheet.pdf", "FixedTabulatedSheet.pdf",
                              "FixedGraphSheet.pdf", "TimeTabulatedSheet.pdf", "TimeGraphicalSheet.pdf",
                              "FlowTabulatedSheet.pdf", "FlowGraphicalSheet.pdf", "CostSummarySheet.pdf",
                              "N1SensitivitySheet.pdf", "CurrentChart.pdf", "FixedPRVChart.pdf",
                              "TimePRVChart.pdf", "FlowPRVChart.pdf", "SensitivitySavingsChart.pdf",
                              "SensitivityPaybackChart.pdf"}));
        QVERIFY(Run("pdfinfo", {File("pages/CostSummarySheet.pdf")}).contains("595 x 842")); // A4 portrait
        // The N1 page is printed with its table and sentences.
        // The N1 page is printed with its table, sentences and both charts, scrolled out of
        // view or not.
        const QString n1Page = Run("pdftotext", {File("pages/N1SensitivitySheet.pdf"), "-"});
        for (const char* text : {"pays back within 60 months", "Savings against N1", "Payback against N1"})
            QVERIFY2(n1Page.contains(text), text);
        QVERIFY(Run("pdfinfo", {File("pages/FlowPRVChart.pdf")}).contains("842 x 595"));
        // The flow table is printed whole: its last hour too.
        QVERIFY(Run("pdftotext", {File("pages/FlowSheet.pdf"), "-"}).contains("23:00 - 00:00"));
    }
};

QTEST_MAIN(PrintTest)
#include "PrintTest.moc"
