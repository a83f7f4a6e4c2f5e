// The table widget: painting through the grid's own cell painter, typing into cells and
// into locked cells, Enter and Tab, column sizing and fixed headings while scrolling.
#include "UiFixture.h"
#include "forms/TableLayouts.h"
#include "ui/CostsDialog.h"
#include "ui/MarkStringGridView.h"
#include "ui/PageTabs.h"
#include <QClipboard>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

using namespace halvern;
namespace FixedCost = FixedCostLayout;
namespace Flow = FlowGridLayout;
namespace N1 = N1GridLayout;
namespace PRV = PRVGridLayout;

class GridViewTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TUiFixture> ui;
    TMarkStringGridView* view = nullptr;

    void ClickCell(int col, int row) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->CellRectOnScreen(col, row).center());
    }

private slots:
    void init() {
        ui = std::make_unique<TUiFixture>();
        ui->Run([&] { ui->form.InputPage.SetActivePage(ui->form.FlowSheet); });
        view = ui->Find<TMarkStringGridView>("FlowGrid");
        QVERIFY(view);
        QVERIFY(QTest::qWaitForWindowExposed(&ui->window));
    }
    void cleanup() { ui.reset(); }

    void CellsArePaintedWithTheirMarks() {
        const QImage image = view->viewport()->grab().toImage();
        // 03:00 is the low-flow hour (aqua), 11:00 the high-flow hour (yellow).
        const QRect low = view->CellRectOnScreen(Flow::InletCol, Flow::HourRow(3));
        const QRect high = view->CellRectOnScreen(Flow::InletCol, Flow::HourRow(11));
        const QRect plain = view->CellRectOnScreen(Flow::InletCol, Flow::HourRow(5));
        const QPoint inside(low.right() - 3, low.center().y());
        QCOMPARE(image.pixelColor(inside), QColor(0, 255, 255));
        QCOMPARE(image.pixelColor(QPoint(high.right() - 3, high.center().y())), QColor(255, 255, 0));
        QCOMPARE(image.pixelColor(QPoint(plain.right() - 3, plain.center().y())),
                 view->palette().color(QPalette::Base));
    }

    void TypingIntoACellReachesTheForm() {
        ClickCell(Flow::InflowM3hCol, Flow::HourRow(3));
        QCOMPARE(ui->form.FlowGrid.Col, Flow::InflowM3hCol);
        QCOMPARE(ui->form.FlowGrid.Row, Flow::HourRow(3));
        QTest::keyClicks(view, "36");
        QVERIFY(view->Editing());
        QCOMPARE(view->Editor()->text(), QString("36"));
        QCOMPARE(ui->form.FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(3)), std::string("36"));
        // The derived l/s column follows at every key.
        QCOMPARE(ui->form.FlowGrid.Cell(Flow::InflowLsCol, Flow::HourRow(3)), std::string("10.00"));
        // Enter moves the current cell down and the editor with it.
        QTest::keyClick(view->Editor(), Qt::Key_Return);
        QCOMPARE(ui->form.FlowGrid.Row, Flow::HourRow(4));
        QVERIFY(view->Editing());
        QCOMPARE(view->Editor()->text(),
                 QString::fromStdString(ui->form.FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(4))));
    }

    void AKeyReachingTheTableBesideItsOpenEditorGoesToTheEditor() {
        // A click on a heading while a cell is edited leaves the editor open and the table
        // focused; a key the editor has no use for came back to the table without end.
        ClickCell(Flow::InletCol, Flow::HourRow(1));
        QTest::keyClicks(view, "5");
        QVERIFY(view->Editing());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->CellRectOnScreen(Flow::InletCol, Flow::HeadingRow).center());
        QVERIFY(view->Editing());
        QTest::keyClick(view, Qt::Key_F5);
        QTest::keyClick(view, Qt::Key_7);
        QVERIFY(view->Editing());
        QCOMPARE(ui->form.FlowGrid.Cell(Flow::InletCol, Flow::HourRow(1)), std::string("57"));
        // Shift+Tab from there moves back a cell, as it does from the editor.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->CellRectOnScreen(Flow::InletCol, Flow::HeadingRow).center());
        QTest::keyClick(view, Qt::Key_Backtab);
        QCOMPARE(ui->form.FlowGrid.Col, Flow::InflowLsCol);
        QCOMPARE(ui->form.FlowGrid.Cell(Flow::InletCol, Flow::HourRow(1)), std::string("57"));
    }

    void TypingIntoALockedCellBeepsAndKeepsItsText() {
        const std::string before = ui->form.FlowGrid.Cell(Flow::InflowLsCol, Flow::HourRow(3));
        ClickCell(Flow::InflowLsCol, Flow::HourRow(3));
        QTest::keyClicks(view, "55");
        QCOMPARE(ui->dialogs.Beeps, 2); // one beep at every key
        QCOMPARE(view->Editor()->text(), QString("55"));
        QCOMPARE(ui->form.FlowGrid.Cell(Flow::InflowLsCol, Flow::HourRow(3)), before);
        // When editing ends the cell shows its own text again.
        ClickCell(Flow::InletCol, Flow::HourRow(3));
        QVERIFY(!view->Editing());
        QCOMPARE(ui->form.FlowGrid.Cell(Flow::InflowLsCol, Flow::HourRow(3)), before);
        QVERIFY(ui->dialogs.Messages.empty());
    }

    void TabMovesFromCellToCell() {
        ClickCell(Flow::InletCol, Flow::HourRow(1));
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(ui->form.FlowGrid.Col, Flow::AZPCol);
        QTest::keyClick(view, Qt::Key_Tab);
        QTest::keyClick(view, Qt::Key_Tab);
        // Past the last column, on to the first of the next row.
        QCOMPARE(ui->form.FlowGrid.Col, Flow::InflowM3hCol);
        QCOMPARE(ui->form.FlowGrid.Row, Flow::HourRow(2));
        QVERIFY(view->hasFocus());
    }

    void ColumnsAreSizedByDraggingTheirHeadingBorder() {
        const int before = ui->form.FlowGrid.ColWidth(1);
        const QRect heading = view->CellRectOnScreen(Flow::InflowM3hCol, Flow::HeadingRow);
        const QPoint border(heading.right() + 1, heading.center().y());
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, border);
        QTest::mouseMove(view->viewport(), border + QPoint(20, 0));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, border + QPoint(20, 0));
        QCOMPARE(ui->form.FlowGrid.ColWidth(1), before + 20);
    }

    void AnEditorOverACellTheProgramRewritesLeavesTheNewText() {
        // New data (its toolbar button takes no focus) while a cell is being edited: the
        // new project's text stays, the typed one from before is not carried into it.
        const std::string fresh = ui->form.FlowGrid.Cell(Flow::InletCol, Flow::HourRow(1));
        ClickCell(Flow::InletCol, Flow::HourRow(1));
        QTest::keyClicks(view, "999");
        QCOMPARE(ui->form.FlowGrid.Cell(Flow::InletCol, Flow::HourRow(1)), std::string("999"));
        ui->Run([&] { ui->form.actDataNewExec(); });
        QCOMPARE(ui->form.FlowGrid.Cell(Flow::InletCol, Flow::HourRow(1)), fresh);
        QVERIFY(!view->Editing());
        ClickCell(Flow::InletCol, Flow::HourRow(4));
        QCOMPARE(ui->form.FlowGrid.Cell(Flow::InletCol, Flow::HourRow(1)), fresh);

        // A rewrite by the cell's own edit event keeps the editor open: typing into a
        // "Total" of the costs table puts the sum of its items back at once.
        ui->Run([&] { ui->form.CostsForm.FormActivate(); });
        auto* costs = ui->window.CostsDialog()->findChild<TMarkStringGridView*>("FixedCostGrid");
        ui->window.CostsDialog()->show();
        QVERIFY(QTest::qWaitForWindowExposed(ui->window.CostsDialog()));
        const QPoint total = costs->CellRectOnScreen(FixedCost::FirstOptionCol, FixedCost::TotalRow).center();
        QTest::mouseClick(costs->viewport(), Qt::LeftButton, {}, total);
        QTest::keyClicks(costs, "5");
        QVERIFY(costs->Editing());
        QCOMPARE(costs->Editor()->text(), QString("5"));
        QVERIFY(ui->form.CostsForm.FixedCostGrid.Cell(FixedCost::FirstOptionCol, FixedCost::TotalRow) != "5");
        ui->window.CostsDialog()->hide();
    }

    void ANarrowedColumnIsWidenedByItsOwnBorder() {
        const int firstWidth = ui->form.FlowGrid.ColWidth(0);
        const auto drag = [&](QPoint from, int dx) {
            QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
            QTest::mouseMove(view->viewport(), from + QPoint(dx, 0));
            QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, from + QPoint(dx, 0));
        };
        const QRect heading = view->CellRectOnScreen(Flow::InflowM3hCol, Flow::HeadingRow);
        drag(QPoint(heading.right() + 1, heading.center().y()), -heading.width());
        QCOMPARE(ui->form.FlowGrid.ColWidth(1), 1);
        // Its border now lies two pixels from the one before it; pressing right on it
        // takes this column, not its neighbour.
        const QRect narrow = view->CellRectOnScreen(Flow::InflowM3hCol, Flow::HeadingRow);
        drag(QPoint(narrow.right() + 1, narrow.center().y()), 40);
        QCOMPARE(ui->form.FlowGrid.ColWidth(1), 41);
        QCOMPARE(ui->form.FlowGrid.ColWidth(0), firstWidth);
    }

    void HeadingsStayWhileTheRestScrolls() {
        ui->Run([&] {
            ui->form.MainPage.SetActivePage(ui->form.FixedOutletSheet);
            ui->form.FixedPRVPage.SetActivePage(ui->form.FixedTabulatedSheet);
        });
        auto* fixed = ui->Find<TMarkStringGridView>("FixedPRVGrid");
        QTRY_VERIFY(fixed->isVisible());
        QVERIFY(fixed->verticalScrollBar()->maximum() > 0);
        fixed->verticalScrollBar()->setValue(5);
        QCOMPARE(fixed->TopRow(), 7);
        QCOMPARE(fixed->CellRectOnScreen(PRV::HourCol, PRV::GroupHeadingRow).topLeft(), QPoint(0, 0));
        // Row 7 now sits right under the two heading rows; rows 2 to 6 are out of view.
        QCOMPARE(fixed->CellRectOnScreen(PRV::InletCol, PRV::HourRow(5)).top(),
                 ui->form.FixedPRVGrid.CellRect(PRV::InletCol, PRV::HourRow(0)).Top);
        QVERIFY(fixed->CellRectOnScreen(PRV::InletCol, PRV::HourRow(0)).isEmpty());
        QCOMPARE(fixed->CellRectOnScreen(PRV::HourCol, PRV::HourRow(5)).left(), 0);
    }

    void LettersNeverReachAnHourlyCell() {
        const std::string before = ui->form.FlowGrid.Cell(Flow::InletCol, Flow::HourRow(3));
        ClickCell(Flow::InletCol, Flow::HourRow(3));
        QTest::keyClicks(view, "abc");
        QVERIFY(!view->Editing()); // a refused first key opens no editor
        QCOMPARE(ui->form.FlowGrid.Cell(Flow::InletCol, Flow::HourRow(3)), before);
        QTest::keyClicks(view, "4a5-.x2");
        QVERIFY(view->Editing());
        QCOMPARE(view->Editor()->text(), QString("45.2"));
        QCOMPARE(ui->form.FlowGrid.Cell(Flow::InletCol, Flow::HourRow(3)), std::string("45.2"));
        QCOMPARE(ui->dialogs.Beeps, 0);
        QVERIFY(ui->dialogs.Messages.empty());
    }

    void APasteIntoACellMustLeaveANumber() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText("abc");
        if (clipboard->text() != "abc") QSKIP("no clipboard on this platform");
        ClickCell(Flow::AZPCol, Flow::HourRow(5));
        QTest::keyClick(view, Qt::Key_F2); // the editor opens with the text selected
        QVERIFY(view->Editing());
        const QString before = view->Editor()->text();
        QTest::keyClick(view->Editor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(view->Editor()->text(), before);
        clipboard->setText("38.5");
        QTest::keyClick(view->Editor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(view->Editor()->text(), QString("38.5"));
        QCOMPARE(ui->form.FlowGrid.Cell(Flow::AZPCol, Flow::HourRow(5)), std::string("38.5"));
        // Undo in the editor gives the cell its text back.
        QTest::keyClick(view->Editor(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(view->Editor()->text(), before);
        QCOMPARE(QString::fromStdString(ui->form.FlowGrid.Cell(Flow::AZPCol, Flow::HourRow(5))), before);
    }

    void CtrlCCopiesTheSelectedCellsForASpreadsheet() {
        TMarkStringGrid& g = ui->form.FlowGrid;
        ui->Run([&] {
            g.SetCell(Flow::InletCol, Flow::HourRow(1), "41");
            g.SetCell(Flow::AZPCol, Flow::HourRow(1), "31");
            g.SetCell(Flow::InletCol, Flow::HourRow(2), "42");
            g.SetCell(Flow::AZPCol, Flow::HourRow(2), "32");
        });
        ClickCell(Flow::InletCol, Flow::HourRow(1));
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("41\n"));
        // Shift with the arrows stretches the selection.
        QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("41\t31\n42\t32\n"));
        // The other selected cells are drawn selected.
        const QImage image = view->viewport()->grab().toImage();
        const QRect other = view->CellRectOnScreen(Flow::InletCol, Flow::HourRow(2));
        QCOMPARE(image.pixelColor(QPoint(other.right() - 3, other.center().y())),
                 view->palette().color(QPalette::Highlight));
        // A plain move selects one cell again; a drag selects what it passes over.
        QTest::keyClick(view, Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("31\n"));
        QTest::mousePress(view->viewport(), Qt::LeftButton, {},
                          view->CellRectOnScreen(Flow::InletCol, Flow::HourRow(1)).center());
        QMouseEvent move(
            QEvent::MouseMove, view->CellRectOnScreen(Flow::AZPCol, Flow::HourRow(2)).center(),
            view->viewport()->mapToGlobal(view->CellRectOnScreen(Flow::AZPCol, Flow::HourRow(2)).center()),
            Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {},
                            view->CellRectOnScreen(Flow::AZPCol, Flow::HourRow(2)).center());
        QVERIFY(!view->Editing());
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("41\t31\n42\t32\n"));
        // Ctrl+A takes the whole day.
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text().count('\n'), 24);
    }

    void TheN1WindowsMeasurementsTakeOnlyNumbers() {
        ui->Run([&] { ui->form.N1CalculationClick(); });
        auto* n1 = ui->window.findChild<TMarkStringGridView*>("N1Grid");
        QVERIFY(n1);
        QTRY_VERIFY(n1->isVisible());
        const auto click = [&](int col, int row) {
            QTest::mouseClick(n1->viewport(), Qt::LeftButton, {}, n1->CellRectOnScreen(col, row).center());
        };
        click(4, 3); // AZP pressure of stage 1
        QTest::keyClicks(n1, "x3y5");
        QCOMPARE(ui->form.N1CalculationForm.N1Grid.Cell(N1::AZPCol, N1::Stage1Row), std::string("35"));
        click(1, 3); // its start time is a time of day
        QTest::keyClicks(n1, "2:30");
        QCOMPARE(ui->form.N1CalculationForm.N1Grid.Cell(N1::StartTimeCol, N1::Stage1Row),
                 std::string("2:30"));
    }

    void TheN1WindowsTimesTakeOnlyTimesAndTabMovesOn() {
        ui->Run([&] { ui->form.N1CalculationClick(); });
        auto* n1 = ui->window.findChild<TMarkStringGridView*>("N1Grid");
        QVERIFY(n1);
        QTRY_VERIFY(n1->isVisible());
        TMarkStringGrid& grid = ui->form.N1CalculationForm.N1Grid;
        QTest::mouseClick(n1->viewport(), Qt::LeftButton, {},
                          n1->CellRectOnScreen(N1::StartTimeCol, N1::Stage1Row).center());
        // Tab ends the edit and moves on: the next time lands in its own cell.
        const auto keysTo = [n1]() -> QWidget* {
            return n1->Editing() ? static_cast<QWidget*>(n1->Editor()) : n1;
        };
        QTest::keyClicks(keysTo(), "02:00");
        QTest::keyClick(keysTo(), Qt::Key_Tab);
        QTest::keyClicks(keysTo(), "02:15");
        QTest::keyClick(keysTo(), Qt::Key_Tab);
        QCOMPARE(QString::fromStdString(grid.Cell(N1::StartTimeCol, N1::Stage1Row)), QString("02:00"));
        QCOMPARE(QString::fromStdString(grid.Cell(N1::EndTimeCol, N1::Stage1Row)), QString("02:15"));
        QCOMPARE(grid.Col, N1::InletCol);
        QVERIFY(ui->dialogs.Messages.empty());

        // A letter in a time is refused, and said.
        QTest::mouseClick(n1->viewport(), Qt::LeftButton, {},
                          n1->CellRectOnScreen(N1::StartTimeCol, N1::Stage2Row).center());
        QTest::keyClicks(keysTo(), "1 am");
        QCOMPARE(grid.Cell(N1::StartTimeCol, N1::Stage2Row), std::string("1"));
        QCOMPARE(ui->dialogs.Texts(), std::vector<std::string>(3, Msg::TimeCellInvalid));
    }
};

QTEST_MAIN(GridViewTest)
#include "GridViewTest.moc"
