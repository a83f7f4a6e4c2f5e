// The "Import logger data" dialog driven end to end: the button on "Flow and Pressure" and
// the File menu, files read away from the window's thread with their progress and a Cancel,
// the channels the headings name (and the units the headings of channels picked by hand
// name), the day offered first, the hours marked as the cautions say, the chart drawn as a
// few series whatever the record spans, OK, and the hourly table filled as typing would,
// which Edit > Undo takes back.
#include "UiFixture.h"
#include "forms/TableLayouts.h"
#include "io/TimeStamp.h"
#include "model/Messages.h"
#include "model/Numbers.h"
#include "ui/LoggerImportDialog.h"

#include <QAction>
#include <QApplication>
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QValueAxis>
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

QString Two(int value) {
    return QString("%1").arg(value, 2, 10, QChar('0'));
}

// Quarter-hourly samples of 2024-03-05 (and 00:00 of the 6th) under the heading given, each
// line's value from the minute.
QByteArray QuarterHours(const QString& heading, const std::function<QString(int)>& value) {
    QByteArray text = ("Time," + heading + "\n").toUtf8();
    for (int minute = 0; minute <= 1440; minute += 15)
        text += QString("2024-03-%1 %2:%3,%4\n")
                    .arg(Two(5 + minute / 1440), Two(minute % 1440 / 60), Two(minute % 60), value(minute))
                    .toUtf8();
    return text;
}

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

class LoggerDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TUiFixture> ui;
    QTemporaryDir dir;

    TLoggerImportDialog* Open() {
        ui->window.findChild<QAction*>("menuLoggerImport")->trigger();
        TLoggerImportDialog* dialog = ui->window.LoggerImportDialog();
        return dialog->isVisible() ? dialog : nullptr;
    }
    // Adds the files and waits until they are read.
    bool Read(TLoggerImportDialog* dialog, const QStringList& files) {
        QSignalSpy read(dialog, &TLoggerImportDialog::FilesRead);
        dialog->AddFiles(files);
        while (read.count() < files.size())
            if (!read.wait(20000)) return false;
        return true;
    }
    template <typename W> W* Find(TLoggerImportDialog* dialog, const char* name) {
        return dialog->findChild<W*>(name);
    }
    QChart* Chart(TLoggerImportDialog* dialog) { return Find<QChartView>(dialog, "RecordChart")->chart(); }
    int VisibleAxes(TLoggerImportDialog* dialog) {
        int shown = 0;
        for (QAbstractAxis* axis : Chart(dialog)->axes())
            shown += axis->isVisible() ? 1 : 0;
        return shown;
    }

private slots:
    void init() { ui = std::make_unique<TUiFixture>(); }
    void cleanup() { ui.reset(); }

    void SampleFileFillsTheHourlyTable() {
        QPushButton* button = ui->Find<QPushButton>("LoggerImportButton");
        QVERIFY(button);
        QCOMPARE(button->text(), QString("Import logger data…"));
        button->click();
        TLoggerImportDialog* dialog = ui->window.LoggerImportDialog();
        QVERIFY(dialog->isVisible());

        QSignalSpy read(dialog, &TLoggerImportDialog::FilesRead);
        dialog->AddFiles({SampleFile()});
        QVERIFY(dialog->Reading());
        QVERIFY(read.wait(10000));
        QVERIFY(!dialog->Reading());
        QVERIFY(ui->dialogs.Messages.empty());

        auto* files = Find<QTableWidget>(dialog, "FilesTable");
        QCOMPARE(files->rowCount(), 1);
        QCOMPARE(files->item(0, 1)->text(), QString("5 min"));
        QCOMPARE(files->item(0, 3)->text(), QString("comma, decimal point, dd/mm/yyyy hh:mm, local time"));
        QCOMPARE(Find<QTableWidget>(dialog, "ChannelsTable")->rowCount(), 4);
        // The headings name the quantities and their units.
        QCOMPARE(Find<QComboBox>(dialog, "ChannelBox0")->currentText(),
                 QString("zone-logger.csv: Inflow (l/s)"));
        QCOMPARE(Find<QComboBox>(dialog, "UnitBox0")->currentText(), QString("l/s"));
        QCOMPARE(Find<QComboBox>(dialog, "ChannelBox3")->currentText(),
                 QString("zone-logger.csv: Critical (m)"));
        // The chosen days shaded as one series under one series per quantity.
        QCOMPARE(Chart(dialog)->series().size(), 5);

        // Monday is the first whole day, and the dialog says so.
        auto* days = Find<QListWidget>(dialog, "DayList");
        QCOMPARE(days->count(), 7);
        QCOMPARE(days->selectedItems().size(), 1);
        QCOMPARE(days->selectedItems().front()->text(), QString("2024-03-04 Mon"));
        QCOMPARE(Find<QLabel>(dialog, "DayNoteLabel")->text(),
                 QString("2024-03-04 Mon, the first fully recorded day, is chosen."));

        // Thursday's 03:00 was a logger read-out: chosen with Wednesday, its hour shows
        // Thursday's coverage, marked, beside the caution that names the stretch.
        QCOMPARE(days->item(2)->text(), QString("2024-03-06 Wed"));
        SelectDays(days, {"2024-03-06", "2024-03-07"});
        QVERIFY(Find<QLabel>(dialog, "DayNoteLabel")->isHidden());
        auto* hours = Find<QTableWidget>(dialog, "HoursTable");
        QCOMPARE(hours->item(3, 2)->text(), QString("25 %"));
        QCOMPARE(hours->item(3, 2)->background().color(), QColor(0xFF, 0xE0, 0x80));
        QCOMPARE(hours->item(4, 2)->text(), QString("100 %"));
        QCOMPARE(hours->item(4, 2)->background().style(), Qt::NoBrush);
        QCOMPARE(Find<QLabel>(dialog, "CautionsLabel")->text(),
                 QString("No samples 03:00–03:45 on 2024-03-07 Thu (inflow, Inflow (l/s); inlet pressure, "
                         "Inlet (m); AZP pressure, AZP (m); critical point pressure, Critical (m))."));
        auto* ok = Find<QDialogButtonBox>(dialog, "DialogButtons")->button(QDialogButtonBox::Ok);
        ok->click();
        QVERIFY(dialog->isVisible());
        QVERIFY(Text(ui->dialogs.Messages.back().Text).startsWith("The chosen days are not fully recorded:"));

        // Wednesday alone is whole.
        SelectDays(days, {"2024-03-06"});
        QCOMPARE(hours->item(3, 2)->text(), QString("100 %"));
        const QString inflowAt7 = hours->item(7, 1)->text();
        Find<QCheckBox>(dialog, "FlowHoursCheck")->setChecked(true);
        ok->click();
        QVERIFY(!dialog->isVisible());

        TMarkStringGrid& grid = ui->form.FlowGrid;
        QCOMPARE(Text(grid.Cell(FlowGridLayout::InflowM3hCol, FlowGridLayout::HourRow(7))), inflowAt7);
        QVERIFY(!grid.Cell(FlowGridLayout::InflowLsCol, FlowGridLayout::HourRow(7)).empty());
        QVERIFY(!grid.Cell(FlowGridLayout::CriticalCol, FlowGridLayout::HourRow(23)).empty());
        QCOMPARE(Text(TimeToShortStr(ui->form.HighTimePicker.Time)), QString("07:00"));
        bool errors = true;
        ui->form.GetTheData(errors);
        QVERIFY(!errors);

        // Edit > Undo takes the whole day back.
        QAction* undo = ui->window.findChild<QAction*>("menuUndo");
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QString("&Undo logger data"));
        undo->trigger();
        QCOMPARE(Text(grid.Cell(FlowGridLayout::InflowM3hCol, FlowGridLayout::HourRow(7))), QString("0.00"));
        QVERIFY(!undo->isEnabled());
    }

    // The File menu takes measurements in from any page, as the "Flow and Pressure" page's
    // buttons do.
    void TheFileMenuImportsAsThePageDoes() {
        ui->dialogs.FileNames.push_back(std::nullopt);
        ui->window.findChild<QAction*>("menuImport")->trigger();
        QCOMPARE(ui->dialogs.FileDialogsShown.size(), std::size_t{1});
        QCOMPARE(Text(ui->dialogs.FileDialogsShown.front().Name), QString("OpenDialog2"));
        QVERIFY(Open());
    }

    // A channel picked by hand comes with the unit its heading names, into the unit box.
    void AChannelPickedByHandTakesTheUnitOfItsHeading() {
        TLoggerImportDialog* dialog = Open();
        QVERIFY(dialog);
        const QString file =
            Write(dir, "zufluss.csv",
                  QuarterHours("Zufluss (l/s),Druck [bar]", [](int) { return QString("12.5,5"); }));
        QVERIFY(Read(dialog, {file}));
        auto* channel = Find<QComboBox>(dialog, "ChannelBox0");
        // No heading names inflow: nothing assigned, and the chart says what it waits for.
        QCOMPARE(channel->currentText(), QString("(none)"));
        QCOMPARE(Chart(dialog)->title(), QString(Msg::LoggerChartNoChannel));
        QCOMPARE(VisibleAxes(dialog), 0);
        channel->setCurrentIndex(channel->findText("zufluss.csv: Zufluss (l/s)"));
        QCOMPARE(Find<QComboBox>(dialog, "UnitBox0")->currentText(), QString("l/s"));
        QCOMPARE(ui->form.LoggerImport.Assigned[0].Unit, TLoggerUnit::LitresPerSecond);
        auto* inlet = Find<QComboBox>(dialog, "ChannelBox1");
        inlet->setCurrentIndex(inlet->findText("zufluss.csv: Druck [bar]"));
        QCOMPARE(Find<QComboBox>(dialog, "UnitBox1")->currentText(), QString("bar"));
        // 12.5 l/s is 45 m³/hr.
        QCOMPARE(Find<QTableWidget>(dialog, "HoursTable")->item(0, 1)->text(), QString("45.000"));
        QVERIFY(ui->dialogs.Messages.empty());
    }

    // Before a file, the chart says what it waits for instead of showing empty axes; with a
    // channel, its axes count in steps their labels can tell apart. The day boxes show their
    // days whole.
    void TheChartAndTheBoxesReadWell() {
        TLoggerImportDialog* dialog = Open();
        QVERIFY(dialog);
        QCOMPARE(Chart(dialog)->title(), QString(Msg::LoggerChartNoFile));
        QCOMPARE(VisibleAxes(dialog), 0);
        QVERIFY(!Find<QWidget>(dialog, "DayList")->isEnabled());
        // A small flow: its axis in tenths, each label its own.
        const QString file = Write(dir, "small.csv", QuarterHours("Flow (l/s)", [](int minute) {
                                       return QString::number(0.2 + minute / 3600.0, 'f', 3);
                                   }));
        QVERIFY(Read(dialog, {file}));
        QCOMPARE(Chart(dialog)->title(), QString());
        QCOMPARE(VisibleAxes(dialog), 2);
        const auto axes = Chart(dialog)->axes(Qt::Vertical);
        QValueAxis* flow = nullptr;
        for (QAbstractAxis* axis : axes)
            if (axis->isVisible()) flow = qobject_cast<QValueAxis*>(axis);
        QVERIFY(flow);
        QStringList labels;
        for (int i = 0; i < flow->tickCount(); ++i) {
            const double value = flow->min() + (flow->max() - flow->min()) * i / (flow->tickCount() - 1);
            labels << QString::asprintf(flow->labelFormat().toLatin1().constData(), value);
        }
        labels.removeDuplicates();
        QCOMPARE(labels.size(), flow->tickCount());
        Find<QRadioButton>(dialog, "RangeRadio")->setChecked(true);
        for (const char* name : {"FromDayBox", "ToDayBox"}) {
            auto* box = Find<QComboBox>(dialog, name);
            QVERIFY(box->isEnabled());
            QVERIFY2(box->width() >= box->fontMetrics().horizontalAdvance(box->currentText()) + 16, name);
        }
    }

    // A stamp 176 years on: the dialog says the record spans that long, the days list and the
    // chart hold the days with samples only, and the whole span chosen is a single shade.
    void ARecordSpanningCenturiesStaysSmall() {
        TLoggerImportDialog* dialog = Open();
        QVERIFY(dialog);
        QByteArray bytes = QuarterHours("Flow", [](int) { return QString("10"); });
        bytes += "2200-01-01 00:00,10\n";
        QVERIFY(Read(dialog, {Write(dir, "far.csv", bytes)}));
        auto* notes = Find<QLabel>(dialog, "RecordNotesLabel");
        QVERIFY(notes->isVisible());
        QVERIFY(
            notes->text().contains("the record spans 64220 days, from 2024-03-05 00:00 to 2200-01-01 00:00; "
                                   "a stamp far from the others may be wrong."));
        QCOMPARE(Find<QListWidget>(dialog, "DayList")->count(), 3);
        Find<QRadioButton>(dialog, "RangeRadio")->setChecked(true);
        QCOMPARE(ui->form.LoggerImport.Days().size(), 64220u);
        QVERIFY(Find<QLabel>(dialog, "CautionsLabel")->text().startsWith("2024-03-07 is not in the record"));
        QAreaSeries* shade = nullptr;
        for (QAbstractSeries* series : Chart(dialog)->series())
            if (auto* area = qobject_cast<QAreaSeries*>(series)) shade = area;
        QVERIFY(shade);
        QCOMPARE(shade->upperSeries()->count(), 4);
        QVERIFY(Chart(dialog)->series().size() <= 4);
        // Weekdays only over the whole span: still one series, joined where days lie closer
        // than the chart can show apart.
        Find<QComboBox>(dialog, "DayFilterBox")->setCurrentIndex(1);
        QVERIFY(shade->upperSeries()->count() <= 4 * 1000);
    }

    // An hour whose values add up past a number: the dialog shows the refusal, OK says it in a
    // box and keeps the window, and nothing escapes the dialog.
    void AnHourPastANumberIsRefusedInWords() {
        TLoggerImportDialog* dialog = Open();
        QVERIFY(dialog);
        const QString file = Write(dir, "zone.csv", QuarterHours("Flow", [](int minute) {
                                       return minute / 60 == 3 ? QString("1.7e308") : QString("12");
                                   }));
        QVERIFY(Read(dialog, {file}));
        const QString refusal = file +
                                ": the values of Flow (column 2) add up past what a number holds in the "
                                "hour 03:00; no mean can be taken.";
        QCOMPARE(Find<QLabel>(dialog, "CautionsLabel")->text(), refusal);
        Find<QDialogButtonBox>(dialog, "DialogButtons")->button(QDialogButtonBox::Ok)->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(Text(ui->dialogs.Messages.back().Text), refusal);
        QCOMPARE(Text(ui->form.FlowGrid.Cell(FlowGridLayout::InflowM3hCol, FlowGridLayout::HourRow(3))),
                 QString("0.00"));
    }

    // The progress bar shows how much of a large file is read; Cancel stops it, and a
    // stopped read adds nothing and says nothing.
    void ALargeReadShowsItsProgressAndCanBeCancelled() {
        TLoggerImportDialog* dialog = Open();
        QVERIFY(dialog);
        QByteArray bytes = "Time,Flow\n";
        for (int second = 0; second < 400000; ++second)
            bytes += QString("2024-03-%1 %2:%3:%4,12.5\n")
                         .arg(Two(1 + second / 86400), Two(second % 86400 / 3600), Two(second % 3600 / 60),
                              Two(second % 60))
                         .toUtf8();
        const QString file = Write(dir, "seconds.csv", bytes);
        QSignalSpy read(dialog, &TLoggerImportDialog::FilesRead);
        dialog->AddFiles({file});
        auto* progress = Find<QProgressBar>(dialog, "ReadingProgress");
        auto* cancel = Find<QPushButton>(dialog, "CancelReadingButton");
        QVERIFY(progress->isVisible() && cancel->isVisible());
        QVERIFY(progress->format().startsWith("Reading seconds.csv"));
        // The options that would read the file otherwise wait for it.
        QVERIFY(!Find<QWidget>(dialog, "ZoneOffsetBox")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(progress->value() > 0, 20000);
        QVERIFY(progress->value() < progress->maximum());
        cancel->click();
        QVERIFY(read.wait(20000));
        QVERIFY(!progress->isVisible() && !cancel->isVisible());
        QVERIFY(ui->form.LoggerImport.Files.empty());
        QVERIFY(ui->dialogs.Messages.empty());
    }

    // Stamps in UTC need the zone's offset: refused without it, read once it is chosen, and
    // the file table says how the clock was read.
    void TheZonesOffsetReadsStampsInUtc() {
        TLoggerImportDialog* dialog = Open();
        QVERIFY(dialog);
        QByteArray bytes = "Time,Inflow (l/s)\n";
        for (int minute = 0; minute <= 2 * 1440; minute += 15)
            bytes += QString("2024-03-%1T%2:%3:00Z,12\n")
                         .arg(Two(4 + minute / 1440), Two(minute % 1440 / 60), Two(minute % 60))
                         .toUtf8();
        const QString file = Write(dir, "utc.csv", bytes);
        QVERIFY(Read(dialog, {file}));
        QCOMPARE(ui->dialogs.Messages.size(), std::size_t{1});
        QVERIFY(Text(ui->dialogs.Messages.back().Text).contains("give the zone's offset from UTC"));
        QCOMPARE(Find<QTableWidget>(dialog, "FilesTable")->rowCount(), 0);

        auto* zone = Find<QComboBox>(dialog, "ZoneOffsetBox");
        QSignalSpy readAgain(dialog, &TLoggerImportDialog::FilesRead);
        zone->setCurrentIndex(zone->findText("UTC+02:00"));
        QVERIFY(readAgain.wait(20000));
        QCOMPARE(ui->dialogs.Messages.size(), std::size_t{1});
        auto* files = Find<QTableWidget>(dialog, "FilesTable");
        QCOMPARE(files->rowCount(), 1);
        QVERIFY(files->item(0, 3)->text().endsWith("UTC read as UTC+02:00"));
        QVERIFY(files->item(0, 2)->text().startsWith("2024-03-04 02:00"));
        QCOMPARE(Find<QComboBox>(dialog, "ChannelBox0")->currentText(), QString("utc.csv: Inflow (l/s)"));
    }

    // A block copied from a spreadsheet pastes at the table's current cell with Ctrl+V.
    void PasteFromTheClipboard() {
        ui->Run([&] {
            ui->form.MainPage.SetActivePage(ui->form.DataInputSheet);
            ui->form.InputPage.SetActivePage(ui->form.FlowSheet);
        });
        QWidget* grid = ui->window.findChild<QWidget*>("FlowGrid");
        QVERIFY(grid);
        ui->form.FlowGrid.Col = FlowGridLayout::InletCol;
        ui->form.FlowGrid.Row = FlowGridLayout::FirstHourRow;
        QApplication::clipboard()->setText("61\t51\t31\n62\t52\t32\n");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Text(ui->form.FlowGrid.Cell(FlowGridLayout::CriticalCol, 2)), QString("32"));
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Text(ui->form.FlowGrid.Cell(FlowGridLayout::CriticalCol, 2)), QString("0.00"));
    }
};

QTEST_MAIN(LoggerDialogTest)
#include "LoggerDialogTest.moc"
