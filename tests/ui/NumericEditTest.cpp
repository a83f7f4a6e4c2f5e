// The numeric key filter as a person meets it: keys typed into real edits go through the
// form first, and only the keys it accepts reach the edit.
#include "UiFixture.h"
#include "model/Numbers.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTimeEdit>

using namespace halvern;

class NumericEditTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TUiFixture> ui;
    QLineEdit* edit = nullptr;

    void Holding(const char* text) {
        ui->Run([&] { ui->form.MainsLengthEdit.SetText(text); });
        QCOMPARE(edit->text(), QString(text));
        edit->setFocus();
        edit->end(false);
    }

private slots:
    void init() {
        ui = std::make_unique<TUiFixture>();
        edit = ui->Find<QLineEdit>("MainsLengthEdit");
        QVERIFY(edit);
    }
    void cleanup() { ui.reset(); }

    void KeysThatKeepANumberAreTyped() {
        Holding("1.5");
        QTest::keyClick(edit, '7');
        QCOMPARE(edit->text(), QString("1.57"));
        QCOMPARE(ui->form.MainsLengthEdit.Text(), std::string("1.57"));
    }

    void TheLastKeyTypedCountsAtOnce() {
        auto* population = ui->Find<QLineEdit>("PopulationEdit");
        QVERIFY(population);
        ui->Run([&] { ui->form.PopulationEdit.SetText(""); });
        population->setFocus();
        QTest::keyClicks(population, "4200");
        QCOMPARE(population->text(), QString("4200"));
        QCOMPARE(ui->form.Project.Population, 4200);
        QTest::keyClick(population, Qt::Key_Backspace);
        QCOMPARE(ui->form.Project.Population, 420);
        QVERIFY(ui->dialogs.Messages.empty());
    }

    void DigitsTypedIntoATimeBoxAreTaken() {
        auto* picker = ui->Find<QTimeEdit>("HighTimePicker");
        QVERIFY(picker);
        ui->Run([&] { ui->form.InputPage.SetActivePage(ui->form.GeneralSheet); });
        QTRY_VERIFY(picker->isVisible());
        // One click into the hours, then the digits.
        QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(6, picker->height() / 2));
        QCOMPARE(picker->currentSection(), QDateTimeEdit::HourSection);
        QTest::keyClicks(picker, "14");
        QTest::keyClick(picker, Qt::Key_Return);
        QCOMPARE(QString::fromStdString(TimeToStr(ui->form.HighTimePicker.Time)), QString("14:00:00"));
        QCOMPARE(QString::fromStdString(TimeToStr(ui->form.Project.HighFlowTime)), QString("14:00:00"));
    }

    void KeysThatBreakTheNumberAreRefusedSilently() {
        Holding("1.5");
        QTest::keyClick(edit, '.');
        QTest::keyClick(edit, '-');
        QTest::keyClick(edit, 'e');
        QTest::keyClick(edit, ' ');
        QCOMPARE(edit->text(), QString("1.5"));
        QCOMPARE(ui->form.MainsLengthEdit.Text(), std::string("1.5"));
        QVERIFY(ui->dialogs.Messages.empty());
    }

    void AnEmptyEditTakesAPointButNoSign() {
        Holding("1.5");
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace); // always accepted
        QCOMPARE(edit->text(), QString());
        QTest::keyClick(edit, '-');
        QCOMPARE(edit->text(), QString());
        QTest::keyClick(edit, '.');
        QCOMPARE(edit->text(), QString("."));
        QCOMPARE(ui->form.MainsLengthEdit.Text(), std::string("."));
    }

    void EditingKeysWorkAndAPasteMustLeaveANumber() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText("12");
        if (clipboard->text() != "12") QSKIP("no clipboard on this platform");
        Holding("3");
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString("312"));
        QCOMPARE(ui->form.MainsLengthEdit.Text(), std::string("312"));

        // A paste that would make a non-number is refused, from the keys or the menu.
        clipboard->setText("4 km");
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        edit->paste(); // what the context menu's Paste runs
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(edit->text(), QString("312"));
        QCOMPARE(ui->form.MainsLengthEdit.Text(), std::string("312"));

        // Select all, copy, cut and undo.
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(edit->selectedText(), QString("312"));
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QString("312"));
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());
        QCOMPARE(ui->form.MainsLengthEdit.Text(), std::string());
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString("312"));
        QCOMPARE(ui->form.MainsLengthEdit.Text(), std::string("312"));
        QVERIFY(ui->dialogs.Messages.empty());
    }

    void TheFreeTextsTakeAnyPaste() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText("Zone 4 - East");
        if (clipboard->text() != "Zone 4 - East") QSKIP("no clipboard on this platform");
        auto* zone = ui->Find<QLineEdit>("ZoneNameEdit");
        zone->setFocus();
        QTest::keyClick(zone, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(ui->form.Project.ZoneName, std::string("Zone 4 - East"));
    }

    void TextEditsTakeAnyKeyAndStoreIt() {
        auto* zone = ui->Find<QLineEdit>("ZoneNameEdit");
        zone->setFocus();
        QTest::keyClicks(zone, "Hillside-3 East");
        QCOMPARE(zone->text(), QString("Hillside-3 East"));
        QCOMPARE(ui->form.Project.ZoneName, std::string("Hillside-3 East"));
    }

    void ALongTextPutInByTheProgramShowsItsBeginning() {
        // A project read with a long zone name shows the name from its start, not its end.
        ui->Find<QLineEdit>("MainsLengthEdit")->setFocus();
        const std::string name = "Rietvallei " + std::string(200, 'x') + " end";
        ui->Run([&] { ui->form.ZoneNameEdit.SetText(name); });
        auto* zone = ui->Find<QLineEdit>("ZoneNameEdit");
        QCOMPARE(zone->text(), QString::fromStdString(name));
        QCOMPARE(zone->cursorPosition(), 0);
    }

    void AnOutOfRangeN1IsResetWithItsMessage() {
        auto* n1 = ui->Find<QLineEdit>("N1Edit");
        // An empty N1 text would be reset at once, so the edit starts from "0.".
        ui->Run([&] { ui->form.N1Edit.SetText("0."); });
        n1->setFocus();
        n1->end(false);
        QTest::keyClick(n1, '4');
        QVERIFY(!ui->dialogs.Messages.empty());
        QCOMPARE(ui->dialogs.Messages.back().Text, std::string("N1 must be between 0.5 and 2.5"));
        // The edit shows what the form reset it to.
        QCOMPARE(n1->text(), QString::fromStdString(ui->form.N1Edit.Text()));
    }
};

QTEST_MAIN(NumericEditTest)
#include "NumericEditTest.moc"
