// How the spreadsheet report is reached and run from the window: the menu bar beside the
// unchanged toolbar, the "Output File Selection" dialog bound to its form, and "Create"
// writing the workbook and handing it to the spreadsheet application.
#include "UiFixture.h"
#include "reports/SpreadsheetReport.h"
#include "ui/OutputFileDialog.h"
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

using namespace halvern;

class ReportDialogTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TUiFixture> ui;

    QMenu* Menu(const QString& title) {
        for (QAction* action : ui->window.menuBar()->actions())
            if (action->text() == title) return action->menu();
        return nullptr;
    }
    QAction* Item(const char* name) { return ui->window.findChild<QAction*>(name); }

    // Opens the dialog from the menu and runs `inside` while it is up, then closes it.
    void WithDialog(const std::function<void(TOutputFileDialog*)>& inside) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TOutputFileDialog*>(QApplication::activeModalWidget());
            if (dialog) {
                inside(dialog);
                dialog->reject();
            }
            ran = dialog != nullptr;
        });
        Item("menuSpreadsheetReport")->trigger();
        QVERIFY(ran);
    }

private slots:
    void init() { ui = std::make_unique<TUiFixture>(); }
    void cleanup() { ui.reset(); }

    void TheFileMenuOffersTheReportBesideTheToolbarsCommands() {
        QMenu* file = Menu("&File");
        QVERIFY(file);
        QStringList items;
        for (QAction* action : file->actions())
            items << (action->isSeparator() ? QString("-") : action->text());
        // After the project's own commands and the imports, before the recent projects.
        QCOMPARE(items.mid(7, 4),
                 QStringList({"-", "Sprea&dsheet report…", "Add &General Data to last report", "-"}));
        QVERIFY(Menu("&Help"));
        // Nothing has been reported yet in this run.
        QVERIFY(!Item("menuExcel")->isEnabled());

        // The toolbar still shows its four buttons only.
        int shown = 0;
        for (QAction* action : ui->window.ToolBar()->actions())
            shown += action->isVisible() ? 1 : 0;
        QCOMPARE(shown, 4);
    }

    void TheDialogIsTheFormsAndKeepsItsBoxes() {
        WithDialog([&](TOutputFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Output File Selection"));
            QCOMPARE(dialog->size(), QSize(335, 237));
            auto* summary = dialog->findChild<QCheckBox*>("Summary");
            QVERIFY(summary);
            QCOMPARE(summary->text(), QString("Summary"));
            QCOMPARE(summary->pos(), QPoint(16, 88));
            QCOMPARE(dialog->findChild<QPushButton*>("CreateExcelButton")->geometry(),
                     QRect(8, 168, 321, 25));
            auto* sensitivity = dialog->findChild<QCheckBox*>("N1Sensitivity");
            QVERIFY(sensitivity);
            QCOMPARE(sensitivity->text(), QString("N1 Sensitivity"));
            summary->click();
            QVERIFY(ui->form.frmPrint.Summary.Checked);
        });
        // Opened again, the box is still ticked.
        WithDialog([&](TOutputFileDialog* dialog) {
            QVERIFY(dialog->findChild<QCheckBox*>("Summary")->isChecked());
        });
    }

    void CreateWritesTheWorkbookAndHandsItOver() {
        QTemporaryDir folder;
        const std::string file = folder.filePath("zone report.xlsx").toStdString();
        std::vector<std::string> opened;
        ui->window.Report().OpenInSpreadsheet = [&](const std::string& name) {
            opened.push_back(name);
            return true;
        };
        ui->dialogs.FileNames.push_back(file);
        WithDialog([&](TOutputFileDialog* dialog) {
            dialog->findChild<QCheckBox*>("FixedOutlet")->click();
            dialog->findChild<QPushButton*>("CreateExcelButton")->click();
            auto* bar = dialog->findChild<QProgressBar*>("ProgressBar1");
            QCOMPARE(bar->maximum(), 10);
            QCOMPARE(bar->value(), 10);
            QVERIFY(!QApplication::overrideCursor());
        });
        QVERIFY(QFileInfo::exists(QString::fromStdString(file)));
        QCOMPARE(opened, std::vector<std::string>({file}));
        // No box to dismiss before a run of a fraction of a second: the bar shows it.
        QVERIFY(ui->dialogs.Texts().empty());

        // Now the last report can take a General Data sheet.
        QVERIFY(Item("menuExcel")->isEnabled());
        Item("menuExcel")->trigger();
        QCOMPARE(opened.size(), 2u);
        QCOMPARE(ui->window.Report().ExcelApp->Workbook->Worksheets(1).Name(), std::string("General Data"));
    }
};

QTEST_MAIN(ReportDialogTest)
#include "ReportDialogTest.moc"
