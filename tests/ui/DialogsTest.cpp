// The secondary windows: the N1 window (not modal), the implementation costs dialog
// (modal), the import example, each opened from its button and keeping its state; and
// the file dialog filters.
#include "UiFixture.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include "ui/CostsDialog.h"
#include "ui/ImportHelpWindow.h"
#include "ui/MarkStringGridView.h"
#include "ui/N1Window.h"
#include "ui/QtDialogs.h"
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using namespace halvern;
namespace FixedCost = FixedCostLayout;
namespace N1 = N1GridLayout;

class DialogsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TUiFixture> ui;

    void Type(TMarkStringGridView* grid, int col, int row, const char* text) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRectOnScreen(col, row).center());
        QTest::keyClicks(grid, text);
        QTest::keyClick(grid, Qt::Key_Return);
    }

private slots:
    void init() { ui = std::make_unique<TUiFixture>(); }
    void cleanup() { ui.reset(); }

    void FileDialogFiltersInQtForm() {
        QCOMPARE(ToQtNameFilters("Pressure files|*.pru|All files|*.*"),
                 QStringList({"Pressure files (*.pru)", "All files (*)"}));
        QCOMPARE(ToQtNameFilters("Text Files|*.txt|All Files|*.*"),
                 QStringList({"Text Files (*.txt)", "All Files (*)"}));
    }

    void N1WindowStaysOpenBesideTheMainWindowAndKeepsItsTable() {
        ui->Run([&] { ui->form.MainPage.SetActivePage(ui->form.DataInputSheet); });
        ui->Run([&] { ui->form.InputPage.SetActivePage(ui->form.PropertySheet); });
        ui->Find<QPushButton>("N1Calculation")->click();
        TN1Window* window = ui->window.N1Window();
        QVERIFY(window->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(window->windowTitle(), QString("N1 Calculation"));
        QCOMPARE(window->minimumSize(), window->maximumSize()); // fixed size

        auto* grid = window->findChild<TMarkStringGridView*>("N1Grid");
        Type(grid, N1::AZPCol, N1::StartRow, "50");
        QCOMPARE(ui->form.N1CalculationForm.N1Grid.Cell(N1::AZPCol, N1::StartRow), std::string("50"));

        QAction* close = window->menuBar()->actions().first()->menu()->actions().first();
        QCOMPARE(close->text(), QString("&Close"));
        close->trigger();
        QVERIFY(!window->isVisible());
        QVERIFY(!ui->form.N1CalculationForm.Visible);

        ui->Find<QPushButton>("N1Calculation")->click();
        QVERIFY(window->isVisible());
        QCOMPARE(ui->form.N1CalculationForm.N1Grid.Cell(N1::AZPCol, N1::StartRow), std::string("50"));
        // The close box closes it as File > Close does.
        window->close();
        QVERIFY(!ui->form.N1CalculationForm.Visible);
    }

    void CostsDialogIsModalAndStoresWhatWasTypedWhenClosed() {
        ui->Run([&] { ui->form.MainPage.SetActivePage(ui->form.SummarySheet); });
        bool wasModal = false;
        QTimer::singleShot(100, [&] {
            auto* dialog = qobject_cast<TCostsDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            wasModal = true;
            auto* grid = dialog->findChild<TMarkStringGridView*>("FixedCostGrid");
            // Enter moves down the items, with the editor: one click, then amount, Enter, ...
            Type(grid, FixedCost::FirstOptionCol, FixedCost::FirstItemRow, "1000");
            for (int row = 3; row <= 5; ++row) {
                QTest::keyClicks(grid->Editor(), std::to_string(row * 1000 - 1000).c_str());
                QTest::keyClick(grid->Editor(), Qt::Key_Return);
            }
            dialog->close(); // the close box stores the amounts just like OK
        });
        ui->Find<QPushButton>("ImpCostsButton")->click();
        QVERIFY(wasModal);
        QVERIFY(!ui->window.CostsDialog()->isVisible());
        QCOMPARE(ui->form.Project.FixedCostFixedPRV[0], 1000.0);
        QCOMPARE(ui->form.Project.FixedCostFixedPRV[3], 4000.0);
        QVERIFY(!ui->form.CostsForm.Visible);

        // Reopened, the dialog shows the amounts as typed; OK closes it.
        bool kept = false;
        QTimer::singleShot(100, [&] {
            auto* dialog = qobject_cast<TCostsDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            kept = ui->form.CostsForm.FixedCostGrid.Cell(FixedCost::FirstOptionCol,
                                                         FixedCost::FirstItemRow + 1) == "2000";
            dialog->findChild<QPushButton*>("Button1")->click();
        });
        ui->Find<QPushButton>("ImpCostsButton")->click();
        QVERIFY(kept);
        QVERIFY(!ui->window.CostsDialog()->isVisible());
    }

    void AmountsTypedWithEnterInTheCostsTableEachLand() {
        ui->Run([&] { ui->form.MainPage.SetActivePage(ui->form.SummarySheet); });
        bool typed = false;
        QTimer::singleShot(100, [&] {
            auto* dialog = qobject_cast<TCostsDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            auto* grid = dialog->findChild<TMarkStringGridView*>("FixedCostGrid");
            QTest::mouseClick(
                grid->viewport(), Qt::LeftButton, {},
                grid->CellRectOnScreen(FixedCost::FirstOptionCol, FixedCost::FirstItemRow).center());
            for (const char* amount : {"1000", "2000", "3000", "4000", "500"}) {
                QWidget* keys = grid->Editing() ? static_cast<QWidget*>(grid->Editor()) : grid;
                QTest::keyClicks(keys, amount);
                QTest::keyClick(keys, Qt::Key_Return);
            }
            typed = true;
            dialog->findChild<QPushButton*>("Button1")->click();
        });
        ui->Find<QPushButton>("ImpCostsButton")->click();
        QVERIFY(typed);
        const TMarkStringGrid& costs = ui->form.CostsForm.FixedCostGrid;
        QCOMPARE(costs.Cell(FixedCost::FirstOptionCol, FixedCost::FirstItemRow), std::string("1000"));
        QCOMPARE(costs.Cell(FixedCost::FirstOptionCol, FixedCost::FirstItemRow + 3), std::string("4000"));
        QCOMPARE(costs.Cell(FixedCost::FirstOptionCol, FixedCost::TotalRow), FormatMoney(10000));
        // From the last item, on to the first item of the next valve.
        QCOMPARE(costs.Cell(FixedCost::FirstOptionCol + 1, FixedCost::FirstItemRow), std::string("500"));
    }

    void ImportExampleHasOnlyACloseButtonAndTheExampleFile() {
        ui->Find<QPushButton>("Button1")->click();
        TImportHelpWindow* window = ui->window.ImportHelpWindow();
        QVERIFY(window->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(window->windowTitle(), QString("Import Example"));
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        const QStringList lines =
            window->findChild<QPlainTextEdit*>("ExampleMemo")->toPlainText().split('\n');
        QCOMPARE(lines.size(), 24);
        QCOMPARE(lines.first(), QString("82.800,61.000,50.000,30.000, "));
        window->close();
        QVERIFY(!ui->form.ImportHelp.Visible);
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
