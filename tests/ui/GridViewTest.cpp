// The table widget: painting through the grid's own cell painter, typing into cells and
// into locked cells, Enter and Tab, column sizing and fixed headings while scrolling.
#include "UiFixture.h"
#include "ui/CostsDialog.h"
#include "ui/MarkStringGridView.h"
#include "ui/PageTabs.h"
#include <QClipboard>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

using namespace halvern;

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
        const QRect low = view->CellRectOnScreen(3, 4);
        const QRect high = view->CellRectOnScreen(3, 12);
        const QRect plain = view->CellRectOnScreen(3, 6);
        const QPoint inside(low.right() - 3, low.center().y());
        QCOMPARE(image.pixelColor(inside), QColor(0, 255, 255));
        QCOMPARE(image.pixelColor(QPoint(high.right() - 3, high.center().y())), QColor(255, 255, 0));
        QCOMPARE(image.pixelColor(QPoint(plain.right() - 3, plain.center().y())),
                 view->palette().color(QPalette::Base));
    }

    void TypingIntoACellReachesTheForm() {
        ClickCell(1, 4);
        QCOMPARE(ui->form.FlowGrid.Col, 1);
        QCOMPARE(ui->form.FlowGrid.Row, 4);
        QTest::keyClicks(view, "36");
        QVERIFY(view->Editing());
        QCOMPARE(view->Editor()->text(), QString("36"));
        QCOMPARE(ui->form.FlowGrid.Cell(1, 4), std::string("36"));
        // The derived l/s column follows at every key.
        QCOMPARE(ui->form.FlowGrid.Cell(2, 4), std::string("10.00"));
        // Enter moves the current cell down and the editor with it.
        QTest::keyClick(view->Editor(), Qt::Key_Return);
        QCOMPARE(ui->form.FlowGrid.Row, 5);
        QVERIFY(view->Editing());
        QCOMPARE(view->Editor()->text(), QString::fromStdString(ui->form.FlowGrid.Cell(1, 5)));
    }

    void AKeyReachingTheTableBesideItsOpenEditorGoesToTheEditor() {
        // A click on a heading while a cell is edited leaves the editor open and the table
        // focused; a key the editor has no use for came back to the table without end.
        ClickCell(3, 2);
        QTest::keyClicks(view, "5");
        QVERIFY(view->Editing());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->CellRectOnScreen(3, 0).center());
        QVERIFY(view->Editing());
        QTest::keyClick(view, Qt::Key_F5);
        QTest::keyClick(view, Qt::Key_7);
        QVERIFY(view->Editing());
        QCOMPARE(ui->form.FlowGrid.Cell(3, 2), std::string("57"));
        // Shift+Tab from there moves back a cell, as it does from the editor.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->CellRectOnScreen(3, 0).center());
        QTest::keyClick(view, Qt::Key_Backtab);
        QCOMPARE(ui->form.FlowGrid.Col, 2);
        QCOMPARE(ui->form.FlowGrid.Cell(3, 2), std::string("57"));
    }

    void TypingIntoALockedCellBeepsAndKeepsItsText() {
        const std::string before = ui->form.FlowGrid.Cell(2, 4);
        ClickCell(2, 4);
        QTest::keyClicks(view, "55");
        QCOMPARE(ui->dialogs.Beeps, 2); // one beep at every key
        QCOMPARE(view->Editor()->text(), QString("55"));
        QCOMPARE(ui->form.FlowGrid.Cell(2, 4), before);
        // When editing ends the cell shows its own text again.
        ClickCell(3, 4);
        QVERIFY(!view->Editing());
        QCOMPARE(ui->form.FlowGrid.Cell(2, 4), before);
        QVERIFY(ui->dialogs.Messages.empty());
    }

    void TabMovesFromCellToCell() {
        ClickCell(3, 2);
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(ui->form.FlowGrid.Col, 4);
        QTest::keyClick(view, Qt::Key_Tab);
        QTest::keyClick(view, Qt::Key_Tab);
        // Past the last column, on to the first of the next row.
        QCOMPARE(ui->form.FlowGrid.Col, 1);
        QCOMPARE(ui->form.FlowGrid.Row, 3);
        QVERIFY(view->hasFocus());
    }

    void ColumnsAreSizedByDraggingTheirHeadingBorder() {
        const int before = ui->form.FlowGrid.ColWidth(1);
        const QRect heading = view->CellRectOnScreen(1, 0);
        const QPoint border(heading.right() + 1, heading.center().y());
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, border);
        QTest::mouseMove(view->viewport(), border + QPoint(20, 0));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, border + QPoint(20, 0));
        QCOMPARE(ui->form.FlowGrid.ColWidth(1), before + 20);
    }

    void AnEditorOverACellTheProgramRewritesLeavesTheNewText() {
        // New data (its toolbar button takes no focus) while a cell is being edited: the
        // new project's text stays, the typed one from before is not carried into it.
        const std::string fresh = ui->form.FlowGrid.Cell(3, 2);
        ClickCell(3, 2);
        QTest::keyClicks(view, "999");
        QCOMPARE(ui->form.FlowGrid.Cell(3, 2), std::string("999"));
        ui->Run([&] { ui->form.actDataNewExec(); });
        QCOMPARE(ui->form.FlowGrid.Cell(3, 2), fresh);
        QVERIFY(!view->Editing());
        ClickCell(3, 5);
        QCOMPARE(ui->form.FlowGrid.Cell(3, 2), fresh);

        // A rewrite by the cell's own edit event keeps the editor open: typing into a
        // "Total" of the costs table puts the sum of its items back at once.
        ui->Run([&] { ui->form.CostsForm.FormActivate(); });
        auto* costs = ui->window.CostsDialog()->findChild<TMarkStringGridView*>("FixedCostGrid");
        ui->window.CostsDialog()->show();
        QVERIFY(QTest::qWaitForWindowExposed(ui->window.CostsDialog()));
        const QPoint total = costs->CellRectOnScreen(1, 6).center();
        QTest::mouseClick(costs->viewport(), Qt::LeftButton, {}, total);
        QTest::keyClicks(costs, "5");
        QVERIFY(costs->Editing());
        QCOMPARE(costs->Editor()->text(), QString("5"));
        QVERIFY(ui->form.CostsForm.FixedCostGrid.Cell(1, 6) != "5");
        ui->window.CostsDialog()->hide();
    }

    void ANarrowedColumnIsWidenedByItsOwnBorder() {
        const int firstWidth = ui->form.FlowGrid.ColWidth(0);
        const auto drag = [&](QPoint from, int dx) {
            QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
            QTest::mouseMove(view->viewport(), from + QPoint(dx, 0));
            QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, from + QPoint(dx, 0));
        };
        const QRect heading = view->CellRectOnScreen(1, 0);
        drag(QPoint(heading.right() + 1, heading.center().y()), -heading.width());
        QCOMPARE(ui->form.FlowGrid.ColWidth(1), 1);
        // Its border now lies two pixels from the one before it; pressing right on it
        // takes this column, not its neighbour.
        const QRect narrow = view->CellRectOnScreen(1, 0);
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
        QCOMPARE(fixed->CellRectOnScreen(0, 0).topLeft(), QPoint(0, 0));
        // Row 7 now sits right under the two heading rows; rows 2 to 6 are out of view.
        QCOMPARE(fixed->CellRectOnScreen(1, 7).top(), ui->form.FixedPRVGrid.CellRect(1, 2).Top);
        QVERIFY(fixed->CellRectOnScreen(1, 2).isEmpty());
        QCOMPARE(fixed->CellRectOnScreen(0, 7).left(), 0);
    }

    void LettersNeverReachAnHourlyCell() {
        const std::string before = ui->form.FlowGrid.Cell(3, 4);
        ClickCell(3, 4);
        QTest::keyClicks(view, "abc");
        QVERIFY(!view->Editing()); // a refused first key opens no editor
        QCOMPARE(ui->form.FlowGrid.Cell(3, 4), before);
        QTest::keyClicks(view, "4a5-.x2");
        QVERIFY(view->Editing());
        QCOMPARE(view->Editor()->text(), QString("45.2"));
        QCOMPARE(ui->form.FlowGrid.Cell(3, 4), std::string("45.2"));
        QCOMPARE(ui->dialogs.Beeps, 0);
        QVERIFY(ui->dialogs.Messages.empty());
    }

    void APasteIntoACellMustLeaveANumber() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText("abc");
        if (clipboard->text() != "abc") QSKIP("no clipboard on this platform");
        ClickCell(4, 6);
        QTest::keyClick(view, Qt::Key_F2); // the editor opens with the text selected
        QVERIFY(view->Editing());
        const QString before = view->Editor()->text();
        QTest::keyClick(view->Editor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(view->Editor()->text(), before);
        clipboard->setText("38.5");
        QTest::keyClick(view->Editor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(view->Editor()->text(), QString("38.5"));
        QCOMPARE(ui->form.FlowGrid.Cell(4, 6), std::string("38.5"));
        // Undo in the editor gives the cell its text back.
        QTest::keyClick(view->Editor(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(view->Editor()->text(), before);
        QCOMPARE(QString::fromStdString(ui->form.FlowGrid.Cell(4, 6)), before);
    }

    void CtrlCCopiesTheSelectedCellsForASpreadsheet() {
        TMarkStringGrid& g = ui->form.FlowGrid;
        ui->Run([&] {
            g.SetCell(3, 2, "41");
            g.SetCell(4, 2, "31");
            g.SetCell(3, 3, "42");
            g.SetCell(4, 3, "32");
        });
        ClickCell(3, 2);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("41\n"));
        // Shift with the arrows stretches the selection.
        QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("41\t31\n42\t32\n"));
        // The other selected cells are drawn selected.
        const QImage image = view->viewport()->grab().toImage();
        const QRect other = view->CellRectOnScreen(3, 3);
        QCOMPARE(image.pixelColor(QPoint(other.right() - 3, other.center().y())),
                 view->palette().color(QPalette::Highlight));
        // A plain move selects one cell again; a drag selects what it passes over.
        QTest::keyClick(view, Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("31\n"));
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, view->CellRectOnScreen(3, 2).center());
        QMouseEvent move(QEvent::MouseMove, view->CellRectOnScreen(4, 3).center(),
                         view->viewport()->mapToGlobal(view->CellRectOnScreen(4, 3).center()), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, view->CellRectOnScreen(4, 3).center());
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
        QCOMPARE(ui->form.N1CalculationForm.N1Grid.Cell(4, 3), std::string("35"));
        click(1, 3); // its start time is a time of day
        QTest::keyClicks(n1, "2:30");
        QCOMPARE(ui->form.N1CalculationForm.N1Grid.Cell(1, 3), std::string("2:30"));
    }

    void TheN1WindowsTimesTakeOnlyTimesAndTabMovesOn() {
        ui->Run([&] { ui->form.N1CalculationClick(); });
        auto* n1 = ui->window.findChild<TMarkStringGridView*>("N1Grid");
        QVERIFY(n1);
        QTRY_VERIFY(n1->isVisible());
        TMarkStringGrid& grid = ui->form.N1CalculationForm.N1Grid;
        QTest::mouseClick(n1->viewport(), Qt::LeftButton, {}, n1->CellRectOnScreen(1, 3).center());
        // Tab ends the edit and moves on: the next time lands in its own cell.
        const auto keysTo = [n1]() -> QWidget* {
            return n1->Editing() ? static_cast<QWidget*>(n1->Editor()) : n1;
        };
        QTest::keyClicks(keysTo(), "02:00");
        QTest::keyClick(keysTo(), Qt::Key_Tab);
        QTest::keyClicks(keysTo(), "02:15");
        QTest::keyClick(keysTo(), Qt::Key_Tab);
        QCOMPARE(QString::fromStdString(grid.Cell(1, 3)), QString("02:00"));
        QCOMPARE(QString::fromStdString(grid.Cell(2, 3)), QString("02:15"));
        QCOMPARE(grid.Col, 3);
        QVERIFY(ui->dialogs.Messages.empty());

        // A letter in a time is refused, and said.
        QTest::mouseClick(n1->viewport(), Qt::LeftButton, {}, n1->CellRectOnScreen(1, 4).center());
        QTest::keyClicks(keysTo(), "1 am");
        QCOMPARE(grid.Cell(1, 4), std::string("1"));
        QCOMPARE(ui->dialogs.Texts(), std::vector<std::string>(3, Msg::TimeCellInvalid));
    }
};

QTEST_MAIN(GridViewTest)
#include "GridViewTest.moc"
