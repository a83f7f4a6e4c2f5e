// The program's real message boxes: the window behind a box already shows what the
// running event has done, and a box raised from a modal dialog opens over that dialog.
#include "forms/MainForm.h"
#include "forms/ProjectDocument.h"
#include "forms/TableLayouts.h"
#include "ui/CostsDialog.h"
#include "ui/MainWindow.h"
#include "ui/MarkStringGridView.h"
#include "ui/PageTabs.h"
#include "ui/QtDialogs.h"
#include "ui/ViewBinder.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace halvern;
namespace FixedCost = FixedCostLayout;
namespace Flow = FlowGridLayout;

namespace {

// The window as the program builds it, with boxes that really open.
struct TQtBoxFixture {
    TQtDialogs dialogs;
    TMainForm form{dialogs};
    TMainWindow window{form};
    TQtBoxFixture() {
        window.UseDialogs(dialogs);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
};

// Answers every box that opens with its default button, after looking at it.
class TBoxWatcher {
public:
    explicit TBoxWatcher(std::function<void(QMessageBox&)> look) : look_(std::move(look)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || box == answering_) return;
            answering_ = box;
            ++Seen;
            look_(*box);
            box->defaultButton()->click();
        });
        timer_.start(10);
    }
    int Seen = 0;

private:
    std::function<void(QMessageBox&)> look_;
    QTimer timer_;
    QMessageBox* answering_ = nullptr;
};

} // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TQtBoxFixture> ui;

private slots:
    void init() { ui = std::make_unique<TQtBoxFixture>(); }
    void cleanup() { ui.reset(); }

    void TheWindowBehindABoxShowsWhatTheEventHasDone() {
        // The highest inflow in the 05:00 hour while the high-flow time says 11:00: opening
        // "Current Situation" warns, after the tab has been highlighted.
        ui->window.Binder().Run([&] {
            for (int row = 1; row <= 24; ++row) {
                ui->form.FlowGrid.SetCell(Flow::InflowM3hCol, row,
                                          row == 4   ? "50"
                                          : row == 6 ? "500"
                                                     : "100");
                ui->form.FlowGrid.SetCell(Flow::AZPCol, row, "50");
            }
        });
        TPageTabs* tabs = ui->window.Tabs(ui->form.MainPage);
        bool currentHighlighted = false;
        bool inputHighlighted = true;
        TBoxWatcher watcher([&](QMessageBox&) {
            currentHighlighted = tabs->HighlightBar()->Highlighted(1);
            inputHighlighted = tabs->HighlightBar()->Highlighted(0);
        });
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
        QVERIFY(watcher.Seen > 0);
        QVERIFY(currentHighlighted);
        QVERIFY(!inputHighlighted);
    }

    // A name that looks like markup is shown as the name it is, in a box and in the status line.
    void FileNamesAreShownAsTheyStand() {
        QTemporaryDir folder;
        const QString name = folder.filePath("<b>bold<img src=x>.pru"); // no "/" in a file's own name
        QString shown;
        Qt::TextFormat format = Qt::AutoText;
        TBoxWatcher watcher([&](QMessageBox& box) {
            shown = box.text();
            format = box.textFormat();
        });
        ui->window.Binder().Run([&] { ReadProjectFile(ui->form, name.toStdString()); });
        QCOMPARE(watcher.Seen, 1);
        QCOMPARE(format, Qt::PlainText);
        QVERIFY2(shown.startsWith("Cannot open file " + name), qPrintable(shown));

        ui->window.Binder().Run([&] { SaveProjectFile(ui->form, name.toStdString()); });
        auto* status = ui->window.findChild<QLabel*>("StatusBar1");
        QVERIFY(status);
        QCOMPARE(status->textFormat(), Qt::PlainText);
        QCOMPARE(status->text(), "Saved data to: " + name);
    }

    void ABoxFromTheCostsDialogOpensOverIt() {
        QWidget* parentOfBox = nullptr;
        TBoxWatcher watcher([&](QMessageBox& box) { parentOfBox = box.parentWidget(); });
        ui->window.Binder().Run([&] { ui->form.MainPage.SetActivePage(ui->form.SummarySheet); });
        parentOfBox = nullptr;
        watcher.Seen = 0;
        QTimer::singleShot(50, [&] {
            auto* dialog = qobject_cast<TCostsDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            auto* grid = dialog->findChild<TMarkStringGridView*>("FixedCostGrid");
            QTest::mouseClick(
                grid->viewport(), Qt::LeftButton, {},
                grid->CellRectOnScreen(FixedCost::FirstOptionCol, FixedCost::FirstItemRow).center());
            QTest::keyClicks(grid, "a"); // "Please enter a valid number."
            dialog->close();
        });
        ui->window.findChild<QPushButton*>("ImpCostsButton")->click();
        QVERIFY(watcher.Seen > 0);
        QCOMPARE(parentOfBox, static_cast<QWidget*>(ui->window.CostsDialog()));
    }

    void FileDialogsOpenInTheProjectsFolderAndSaveOffersItsFile() {
        QTemporaryDir projects, remembered;
        const QString file = projects.filePath("zone.pru");
        QVERIFY(QFile::copy(QStringLiteral(HALVERN_TEST_DATA "/../../examples/demo-zone.pru"), file));
        ui->dialogs.StartFolder = [&](const TFileDialogRequest&) { return remembered.path(); };

        // Looks at the file dialog that opens next, then cancels it.
        struct TSeen {
            QString name, folder, offered;
        };
        const auto seen = [&](const std::function<void()>& command) {
            TSeen shown;
            QTimer::singleShot(100, [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (!dialog) return;
                shown = {dialog->objectName(), dialog->directory().absolutePath(),
                         dialog->selectedFiles().value(0)};
                dialog->reject();
            });
            ui->window.Binder().Run(command);
            return shown;
        };

        // A new run: the folder the desktop remembers.
        TSeen read = seen([&] { ui->form.actDataReadExec(); });
        QCOMPARE(read.name, QString("OpenDialog1"));
        QCOMPARE(read.folder, QDir(remembered.path()).absolutePath());

        ui->dialogs.QueueFileName(file.toStdString(), "OpenDialog1");
        ui->window.Binder().Run([&] { ui->form.actDataReadExec(); });
        QCOMPARE(ui->form.Caption, std::string("Halvern : zone.pru"));

        const QString folder = QDir(projects.path()).absolutePath();
        QCOMPARE(seen([&] { ui->form.actDataReadExec(); }).folder, folder);
        const TSeen import = seen([&] { ui->form.ImportButtonClick(); });
        QCOMPARE(import.name, QString("OpenDialog2"));
        QCOMPARE(import.folder, folder);
        // Save data writes the project's own file; "Save data as" asks, in the project's folder.
        const TSeen save = seen([&] { ui->form.actDataSaveAsExec(); });
        QCOMPARE(save.name, QString("SaveDialog1"));
        QCOMPARE(save.folder, folder);
        QCOMPARE(QFileInfo(save.offered).fileName(), QString("zone.pru"));
    }
};

QTEST_MAIN(MessageBoxTest)
#include "MessageBoxTest.moc"
