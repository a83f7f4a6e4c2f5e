// The "Import logger data" dialog driven end to end on the sample logger file: the button
// on "Flow and Pressure", the file read away from the window's thread, the channels the
// headings name, the days chosen in the list, the hours flagged and accepted, OK, and the
// hourly table filled as typing would, which Edit > Undo takes back.
#include "UiFixture.h"
#include "forms/TableLayouts.h"
#include "io/TimeStamp.h"
#include "model/Numbers.h"
#include "ui/LoggerImportDialog.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

using namespace halvern;

namespace {

QString SampleFile() {
    return QString(HALVERN_TEST_DATA) + "/../../examples/zone-logger.csv";
}

void SelectDays(QListWidget* list, const QStringList& days) {
    list->clearSelection();
    for (int i = 0; i < list->count(); ++i)
        if (days.contains(list->item(i)->text().left(10))) list->item(i)->setSelected(true);
}

} // namespace

class LoggerDialogTest : public QObject {
    Q_OBJECT
private slots:
    void SampleFileFillsTheHourlyTable() {
        TUiFixture ui;
        QPushButton* button = ui.Find<QPushButton>("LoggerImportButton");
        QVERIFY(button);
        QCOMPARE(button->text(), QString("Import logger data…"));
        button->click();
        TLoggerImportDialog* dialog = ui.window.LoggerImportDialog();
        QVERIFY(dialog->isVisible());

        QSignalSpy read(dialog, &TLoggerImportDialog::FilesRead);
        dialog->AddFiles({SampleFile()});
        QVERIFY(dialog->Reading());
        QVERIFY(read.wait(10000));
        QVERIFY(!dialog->Reading());
        QVERIFY(ui.dialogs.Messages.empty());

        auto* files = dialog->findChild<QTableWidget*>("FilesTable");
        QCOMPARE(files->rowCount(), 1);
        QCOMPARE(files->item(0, 1)->text(), QString("comma, decimal point, dd/mm/yyyy hh:mm"));
        QCOMPARE(files->item(0, 2)->text(), QString("5 min"));
        QCOMPARE(dialog->findChild<QTableWidget*>("ChannelsTable")->rowCount(), 4);
        // The headings name the quantities and their units.
        QCOMPARE(dialog->findChild<QComboBox*>("ChannelBox0")->currentText(),
                 QString("zone-logger.csv: Inflow (l/s)"));
        QCOMPARE(dialog->findChild<QComboBox*>("UnitBox0")->currentText(), QString("l/s"));
        QCOMPARE(dialog->findChild<QComboBox*>("ChannelBox3")->currentText(),
                 QString("zone-logger.csv: Critical (m)"));
        QVERIFY(dialog->findChild<QChartView*>("RecordChart")->chart()->series().size() >= 5);

        // Thursday's 03:00 was a logger read-out: chosen with Wednesday it is flagged.
        auto* days = dialog->findChild<QListWidget*>("DayList");
        QCOMPARE(days->count(), 7);
        QCOMPARE(days->item(2)->text(), QString("2024-03-06 Wed"));
        SelectDays(days, {"2024-03-06", "2024-03-07"});
        auto* hours = dialog->findChild<QTableWidget*>("HoursTable");
        QCOMPARE(hours->item(3, 2)->text(), QString("63 %"));
        QVERIFY(dialog->findChild<QLabel*>("CautionsLabel")->text().startsWith("2024-03-07 03:00: inflow"));
        auto* ok = dialog->findChild<QDialogButtonBox*>("DialogButtons")->button(QDialogButtonBox::Ok);
        ok->click();
        QVERIFY(dialog->isVisible());
        QVERIFY(QString::fromStdString(ui.dialogs.Messages.back().Text)
                    .startsWith("The chosen days are not fully recorded:"));

        // Wednesday alone is whole.
        SelectDays(days, {"2024-03-06"});
        QCOMPARE(hours->item(3, 2)->text(), QString("100 %"));
        const QString inflowAt7 = hours->item(7, 1)->text();
        dialog->findChild<QCheckBox*>("FlowHoursCheck")->setChecked(true);
        ok->click();
        QVERIFY(!dialog->isVisible());

        TMarkStringGrid& grid = ui.form.FlowGrid;
        QCOMPARE(QString::fromStdString(grid.Cell(FlowGridLayout::InflowM3hCol, FlowGridLayout::HourRow(7))),
                 inflowAt7);
        QVERIFY(!grid.Cell(FlowGridLayout::InflowLsCol, FlowGridLayout::HourRow(7)).empty());
        QVERIFY(!grid.Cell(FlowGridLayout::CriticalCol, FlowGridLayout::HourRow(23)).empty());
        QCOMPARE(QString::fromStdString(TimeToShortStr(ui.form.HighTimePicker.Time)), QString("07:00"));
        bool errors = true;
        ui.form.GetTheData(errors);
        QVERIFY(!errors);

        // Edit > Undo takes the whole day back.
        QAction* undo = ui.window.findChild<QAction*>("menuUndo");
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QString("&Undo logger data"));
        undo->trigger();
        QCOMPARE(QString::fromStdString(grid.Cell(FlowGridLayout::InflowM3hCol, FlowGridLayout::HourRow(7))),
                 QString("0.00"));
        QVERIFY(!undo->isEnabled());
    }

    // A block copied from a spreadsheet pastes at the table's current cell with Ctrl+V.
    void PasteFromTheClipboard() {
        TUiFixture ui;
        ui.Run([&] {
            ui.form.MainPage.SetActivePage(ui.form.DataInputSheet);
            ui.form.InputPage.SetActivePage(ui.form.FlowSheet);
        });
        QWidget* grid = ui.window.findChild<QWidget*>("FlowGrid");
        QVERIFY(grid);
        ui.form.FlowGrid.Col = FlowGridLayout::InletCol;
        ui.form.FlowGrid.Row = FlowGridLayout::FirstHourRow;
        QApplication::clipboard()->setText("61\t51\t31\n62\t52\t32\n");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(QString::fromStdString(ui.form.FlowGrid.Cell(FlowGridLayout::CriticalCol, 2)),
                 QString("32"));
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(QString::fromStdString(ui.form.FlowGrid.Cell(FlowGridLayout::CriticalCol, 2)),
                 QString("0.00"));
    }
};

QTEST_MAIN(LoggerDialogTest)
#include "LoggerDialogTest.moc"
