// The main window as a person meets it: caption and size, the toolbar, the pages and
// their highlights, page events and "OK to exit?".
#include "UiFixture.h"
#include "forms/TableLayouts.h"
#include "model/Version.h"
#include "ui/ChartView.h"
#include "ui/ImportHelpWindow.h"
#include "ui/N1Window.h"
#include "ui/PageTabs.h"
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimeEdit>
#include <QToolBar>
#include <QToolButton>

using namespace halvern;
namespace Current = CurrentGridLayout;
namespace Flow = FlowGridLayout;

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TUiFixture> ui;

    // Clicks the tab of a page, as a user would.
    void ClickTab(const TPageControl& pages, int index) {
        TPageTabs* tabs = ui->window.Tabs(pages);
        QVERIFY(tabs);
        QTabBar* bar = tabs->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

private slots:
    void init() { ui = std::make_unique<TUiFixture>(); }
    void cleanup() { ui.reset(); }

    void CaptionSizeAndFirstPages() {
        QCOMPARE(ui->window.windowTitle(), QString::fromStdString(std::string("Halvern, ") + VersionText));
        QCOMPARE(ui->window.size(), QSize(908, 645));
        QCOMPARE(ui->window.Tabs(ui->form.MainPage)->currentIndex(), 0);
        QCOMPARE(ui->window.Tabs(ui->form.InputPage)->currentIndex(), 0);
        QCOMPARE(ui->window.Tabs(ui->form.MainPage)->tabText(0), QString("Data Input"));
        QCOMPARE(ui->window.Tabs(ui->form.InputPage)->tabText(2), QString("Flow and Pressure"));
        // The first showing filled the window from a new project.
        QCOMPARE(ui->Find<QLineEdit>("MainsLengthEdit")->text(), QString("1.000"));
    }

    void ToolbarShowsExactlyFourButtons() {
        QStringList shown;
        for (QAction* action : ui->window.ToolBar()->actions()) {
            auto* button = qobject_cast<QToolButton*>(ui->window.ToolBar()->widgetForAction(action));
            if (button && button->isVisible()) shown << button->text();
        }
        QCOMPARE(shown, QStringList({"New data", "Read data", "Save data", "Close"}));
        // The print, picture and spreadsheet commands are on the toolbar, hidden.
        for (const char* hidden : {"actPrint", "actPrintToBitmap", "actExcel"}) {
            auto* action = ui->window.findChild<QAction*>(hidden);
            QVERIFY2(action, hidden);
            QVERIFY(!action->isVisible());
        }
        for (QAction* action : ui->window.ToolBar()->actions())
            if (action->isVisible()) QCOMPARE(action->icon().actualSize(QSize(16, 16)), QSize(16, 16));
    }

    void ShowingAResultTabRunsItsCalculationAndHighlightsIt() {
        THighlightTabBar* mainBar = ui->window.Tabs(ui->form.MainPage)->HighlightBar();
        QVERIFY(mainBar->Highlighted(0));
        ui->form.CurrentGrid.SetCell(Current::HourCol, Current::HourRow(0), "");
        ClickTab(ui->form.MainPage, 1);
        // The current situation was worked out when its tab was shown.
        QCOMPARE(ui->form.CurrentGrid.Cell(Current::HourCol, Current::HourRow(0)),
                 std::string("00:00 - 01:00"));
        QVERIFY(mainBar->Highlighted(1));
        QVERIFY(!mainBar->Highlighted(0));
        // A result tab opens on its chart first.
        QCOMPARE(ui->window.Tabs(ui->form.CurrentPage)->currentIndex(), 1);
        QVERIFY(ui->window.Tabs(ui->form.CurrentPage)->HighlightBar()->Highlighted(1));
    }

    void AChartIsMadeWhenItsPageIsFirstSeen() {
        QVERIFY(!ui->window.findChild<TChartView*>("FixedPRVChart"));
        ClickTab(ui->form.MainPage, 2); // "Fixed Outlet" opens on its chart
        auto* chart = ui->window.findChild<TChartView*>("FixedPRVChart");
        QVERIFY(chart);
        QVERIFY(chart->isVisible());
        QVERIFY(!ui->window.findChild<TChartView*>("TimePRVChart"));
    }

    void TheN1PageReadsWholeAtTheWindowsSize() {
        ui->Run([&] { ui->form.MainPage.SetActivePage(ui->form.SummarySheet); });
        ui->Run([&] { ui->form.SummaryPages.SetActivePage(ui->form.N1SensitivitySheet); });
        auto* savings = ui->window.findChild<TChartView*>("SensitivitySavingsChart");
        auto* payback = ui->window.findChild<TChartView*>("SensitivityPaybackChart");
        QVERIFY(savings && payback);
        QTRY_VERIFY(!ui->form.N1Sensitivity.Rows.empty());
        QApplication::processEvents();
        QCOMPARE(ui->window.size(), QSize(908, 645));
        // The table shows all its columns and rows without scrolling of its own.
        auto* table = ui->Find<QAbstractScrollArea>("SensitivityGrid");
        const TMarkStringGrid& grid = ui->form.N1Sensitivity.SensitivityGrid;
        QVERIFY2(table->viewport()->width() >= grid.TotalWidth(), "the table scrolls sideways");
        QVERIFY2(table->viewport()->height() >= grid.TotalHeight(), "the table scrolls down");
        // The charts side by side under the sentences, each large enough to read.
        auto* lastSentence = ui->Find<QLabel>("FlowSentenceLabel");
        auto* body = ui->Find<QWidget>("N1SensitivityBody");
        const QRect left(savings->mapTo(body, QPoint(0, 0)), savings->size());
        const QRect right(payback->mapTo(body, QPoint(0, 0)), payback->size());
        QVERIFY(left.top() >= lastSentence->mapTo(body, QPoint(0, lastSentence->height())).y());
        QCOMPARE(left.top(), right.top());
        QVERIFY(left.right() < right.left());
        for (const QRect& chart : {left, right})
            QVERIFY2(chart.width() >= 320 && chart.height() >= 300,
                     qPrintable(QString("a chart of %1 x %2").arg(chart.width()).arg(chart.height())));
        // Scrolled to its end, the page shows both charts whole.
        auto* scroll = ui->Find<QScrollArea>("N1SensitivityScroll");
        scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
        QApplication::processEvents();
        const QRect shown = scroll->viewport()->rect();
        for (TChartView* chart : {savings, payback})
            QVERIFY(shown.contains(QRect(chart->mapTo(scroll->viewport(), QPoint(0, 0)), chart->size())));
    }

    void ShowingTheFlowPageFocusesItsTable() {
        ClickTab(ui->form.InputPage, 2);
        QTRY_COMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(),
                     QString("FlowGrid"));
    }

    void CloseAsksFirstAndCancelKeepsTheWindow() {
        auto* close = ui->window.findChild<QAction*>("actClose");
        ui->dialogs.ConfirmAnswers = {false};
        close->trigger();
        QCoreApplication::processEvents();
        QVERIFY(ui->window.isVisible());
        QCOMPARE(ui->dialogs.Messages.back().Text, std::string("OK to exit?"));
        QCOMPARE(ui->dialogs.Messages.back().Type, TMsgDlgType::Confirmation);

        ui->dialogs.ConfirmAnswers = {true};
        close->trigger();
        QTRY_VERIFY(!ui->window.isVisible());
        QVERIFY(ui->form.Closed);
    }

    void PickersShowTimesAndHighlightTheTimeModulatedTab() {
        auto* low = ui->Find<QTimeEdit>("LowTimePicker");
        QCOMPARE(low->displayFormat(), QString("hh:mm:ss"));
        QCOMPARE(low->text(), QString("03:00:00"));
        QVERIFY(!ui->form.TimeModulatedSheet.Highlighted);
        low->setTime(QTime(4, 0));
        QCOMPARE(ui->form.LowTimePicker.Time, 4.0 / 24);
        QVERIFY(ui->window.Tabs(ui->form.MainPage)->HighlightBar()->Highlighted(3));
    }

    void UnitRadiosSwitchTheEditableInflowColumn() {
        auto* litres = ui->Find<QRadioButton>("lsRadio");
        auto* cubic = ui->Find<QRadioButton>("m3hrRadio");
        QVERIFY(cubic->isChecked());
        QVERIFY(ui->form.FlowGrid.GetCellLock(Flow::InflowLsCol, Flow::HourRow(3)));
        litres->click();
        QVERIFY(litres->isChecked());
        QVERIFY(!cubic->isChecked());
        QVERIFY(!ui->form.FlowGrid.GetCellLock(Flow::InflowLsCol, Flow::HourRow(3)));
        QVERIFY(ui->form.FlowGrid.GetCellLock(Flow::InflowM3hCol, Flow::HourRow(3)));
        // A second click on the chosen unit changes nothing.
        litres->click();
        QVERIFY(litres->isChecked());
    }

    void SpinnerCountsOnFromTheNumberInItsEdit() {
        auto* up = ui->window.findChild<QWidget*>("CostFactorUpDown")->findChild<QToolButton*>("Up");
        auto* down = ui->window.findChild<QWidget*>("CostFactorUpDown")->findChild<QToolButton*>("Down");
        auto* edit = ui->Find<QLineEdit>("CostFactorEdit");
        up->click();
        QCOMPARE(edit->text(), QString("100")); // the top of its range
        ui->Run([&] { ui->form.CostFactorEdit.SetText("50"); });
        up->click();
        QCOMPARE(edit->text(), QString("51"));
        down->click();
        down->click();
        QCOMPARE(edit->text(), QString("49"));
        QCOMPARE(ui->form.Project.CostFactor, 49);
        // From the largest whole number the edit can hold, up stays at the top of the range.
        ui->Run([&] { ui->form.CostFactorEdit.SetText("2147483647"); });
        up->click();
        QCOMPARE(edit->text(), QString("100"));
        ui->Run([&] { ui->form.CostFactorEdit.SetText("-2147483648"); });
        down->click();
        QCOMPARE(edit->text(), QString("0"));
    }

    void ClosingTheWindowClosesTheWindowsBesideItThroughTheForm() {
        ui->Run([&] {
            ui->form.N1CalculationClick();
            ui->form.Button1Click(); // the import example
        });
        QWidget* n1 = ui->window.N1Window();
        QWidget* help = ui->window.ImportHelpWindow();
        QVERIFY(n1->isVisible() && help->isVisible());

        // The example's own close box closes it in the form too.
        help->close();
        QVERIFY(!help->isVisible());
        QVERIFY(!ui->form.ImportHelp.Visible);
        ui->Run([&] { ui->form.Button1Click(); });
        QVERIFY(help->isVisible());

        ui->window.close();
        QVERIFY(ui->form.Closed);
        QVERIFY(!n1->isVisible() && !help->isVisible());
        QVERIFY(!ui->form.N1CalculationForm.Visible);
        QVERIFY(!ui->form.ImportHelp.Visible);
    }

    void TypedContactDetailsReachTheForm() {
        auto* memo = ui->Find<QPlainTextEdit>("CollectMemo");
        memo->setFocus();
        memo->selectAll(); // over the "Name:", "Tel:" ... it starts with
        QTest::keyClicks(memo, "J. Smith");
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, "Halvern");
        QCOMPARE(ui->form.CollectMemo.Lines, (std::vector<std::string>{"J. Smith", "Halvern"}));
    }

    void TheFormOutlivesItsWindowWithoutItsMeasuringCanvas() {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs);
        {
            TMainWindow window(form);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QVERIFY(form.FlowGrid.MeasureCanvas);
        }
        for (TMarkStringGrid* grid : form.Controls.All<TMarkStringGrid>())
            QVERIFY2(!grid->MeasureCanvas, grid->Name.c_str());
        // Laying the tables out again measures with their own canvas, not the window's gone one.
        QVERIFY(form.Dispatch([&] { form.Initialise(true); }));
        QVERIFY(dialogs.Messages.empty());
        QVERIFY(form.CostSummaryGrid.ColWidth(0) > 0);
    }

    void NewDataWritesTheStatusLine() {
        ui->window.findChild<QAction*>("actDataNew")->trigger();
        QCOMPARE(ui->Find<QLabel>("StatusBar1")->text(), QString("New project"));
    }

    void AChangedProjectShowsInTheCaptionAndTheCloseBoxAsks() {
        QCOMPARE(ui->window.windowTitle(), QString::fromStdString(std::string("Halvern, ") + VersionText));
        auto* population = ui->Find<QLineEdit>("PopulationEdit");
        population->setFocus();
        population->end(false);
        QTest::keyClick(population, '7');
        QCOMPARE(ui->window.windowTitle(),
                 QString::fromStdString(std::string("Halvern, ") + VersionText + "*"));
        // Typed back, the project is the one it was.
        QTest::keyClick(population, Qt::Key_Backspace);
        QCOMPARE(ui->window.windowTitle(), QString::fromStdString(std::string("Halvern, ") + VersionText));
        QTest::keyClick(population, '7');

        // The close box: Cancel keeps the window and the work.
        ui->dialogs.SaveAnswers = {TSaveChoice::Cancel};
        QVERIFY(!ui->window.close());
        QVERIFY(ui->window.isVisible());
        QCOMPARE(ui->dialogs.Texts(), std::vector<std::string>{"The project has changed. Save the changes?"});
        QVERIFY(!ui->form.Closed);
        QCOMPARE(ui->form.PopulationEdit.Text().back(), '7');

        // Alt+N, the accelerator of "&New data", asks the same before it drops the work.
        ui->dialogs.Clear();
        ui->dialogs.SaveAnswers = {TSaveChoice::Cancel};
        ui->window.activateWindow();
        QTest::keyClick(&ui->window, Qt::Key_N, Qt::AltModifier);
        QCOMPARE(ui->dialogs.Texts(), std::vector<std::string>{"The project has changed. Save the changes?"});
        QCOMPARE(ui->form.PopulationEdit.Text().back(), '7');
        QVERIFY(ui->window.windowTitle().endsWith('*'));

        // Discard: the close box closes without "OK to exit?".
        ui->dialogs.Clear();
        ui->dialogs.SaveAnswers = {TSaveChoice::Discard};
        QVERIFY(ui->window.close());
        QCOMPARE(ui->dialogs.Texts(), std::vector<std::string>{"The project has changed. Save the changes?"});
        QVERIFY(ui->form.Closed);
    }

    void AnUnchangedProjectClosesAndRenewsWithoutAQuestion() {
        ui->window.findChild<QAction*>("actDataNew")->trigger();
        QVERIFY(ui->dialogs.Messages.empty());
        QVERIFY(!ui->window.windowTitle().endsWith('*'));
        QVERIFY(ui->window.close());
        QVERIFY(ui->dialogs.Messages.empty());
    }

    void TheHourlyTableTakesTheRoomOfALargerWindow() {
        ClickTab(ui->form.InputPage, 2);
        auto* grid = ui->Find<QWidget>("FlowGrid");
        auto* units = ui->Find<QWidget>("m3hrRadio")->parentWidget();
        QVERIFY(grid && units);
        const auto heights = [&](QSize size) {
            ui->window.resize(size);
            QTest::qWait(50);
            QCoreApplication::processEvents();
            return std::pair{grid->height(), units->height()};
        };
        const auto small = heights(ui->window.minimumSizeHint());
        const auto large = heights(QSize(1400, 1000));
        // The units box keeps its height; the table shows all its rows when there is room.
        QCOMPARE(large.second, small.second);
        QVERIFY2(large.first >= small.first, qPrintable(QString("%1 %2").arg(large.first).arg(small.first)));
        QVERIFY(large.first >= ui->form.FlowGrid.TotalHeight());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
