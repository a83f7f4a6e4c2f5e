#include "ui/PageImages.h"
#include "ui/HelpWindow.h"
#include "ui/ImportHelpWindow.h"
#include "ui/LoggerImportDialog.h"
#include "ui/MainWindow.h"
#include "ui/N1Window.h"
#include "ui/PageTabs.h"
#include "ui/ViewBinder.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>

namespace halvern {

void SettleEvents() {
    // A zero-delay timer fires once every event posted before it has been handled; events
    // handled may post more (a chart made when first shown, a scroll once the page is laid
    // out), so the queue is drained again, a few rounds in all.
    constexpr int Rounds = 4;
    for (int round = 0; round < Rounds; ++round) {
        bool drained = false;
        QTimer::singleShot(0, [&drained] { drained = true; });
        while (!drained)
            QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

namespace {

class TPictureTaker {
public:
    TPictureTaker(const QString& folder) : folder_(folder) {}
    void Take(QWidget* widget, const QString& name) {
        const QString file = QDir(folder_).filePath(name + ".png");
        if (widget && widget->grab().save(file))
            Written << file;
        else
            std::fprintf(stderr, "Could not write %s\n", qPrintable(file));
    }
    // Opens a modal window through the form, pictures it once it is up, and closes it
    // as its close box would.
    void TakeModal(TViewBinder& binder, const std::function<void()>& open, const QString& name) {
        QElapsedTimer clock;
        clock.start();
        TakeWhenUp(name, clock);
        binder.Run(open);
    }
    QStringList Written;

private:
    // Looks for the modal window in the events to come (it is up once its own event loop
    // runs), for a few seconds at most.
    void TakeWhenUp(const QString& name, QElapsedTimer clock) {
        QTimer::singleShot(0, [this, name, clock] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog && clock.elapsed() < 5000) return TakeWhenUp(name, clock);
            SettleEvents();
            Take(dialog, name);
            if (dialog) dialog->close();
        });
    }

    QString folder_;
};

} // namespace

QStringList WritePageImages(TMainWindow& window, const QString& folder) {
    QDir().mkpath(folder);
    TPictureTaker pictures(folder);
    TMainForm& form = window.Form();
    TViewBinder& binder = window.Binder();
    SettleEvents();
    for (TTabSheet* page : form.MainPage.Pages) {
        binder.Run([&] { form.MainPage.SetActivePage(*page); });
        SettleEvents();
        pictures.Take(&window, QString::fromStdString(page->Name));
        if (!page->Children) continue;
        for (TTabSheet* sub : page->Children->Pages) {
            binder.Run([&] { page->Children->SetActivePage(*sub); });
            SettleEvents();
            pictures.Take(&window, QString::fromStdString(sub->Name));
            // A page taller than the window (the N1 page's charts under its table) once more,
            // scrolled to its end, and back as it was.
            QWidget* shown =
                window.Tabs(*page->Children) ? window.Tabs(*page->Children)->currentWidget() : nullptr;
            for (QScrollArea* scroll : shown ? shown->findChildren<QScrollArea*>() : QList<QScrollArea*>()) {
                QScrollBar* bar = scroll->verticalScrollBar();
                if (bar->maximum() <= 0) continue;
                const int was = bar->value();
                bar->setValue(bar->maximum());
                SettleEvents();
                pictures.Take(&window, QString::fromStdString(sub->Name) + "Below");
                bar->setValue(was);
                SettleEvents();
            }
        }
    }

    binder.Run([&] { form.N1CalculationClick(); });
    SettleEvents();
    pictures.Take(window.N1Window(), "TN1CalculationForm");
    binder.Run([&] { form.N1CalculationForm.Close1Click(); });

    // The report's dialog as the engineer leaves it for a full report.
    for (TCheckBox* box : form.frmPrint.CheckBoxes())
        box->Checked = true;
    pictures.TakeModal(
        binder, [&] { form.SpreadsheetReportClick(); }, "TfrmPrint");
    pictures.TakeModal(
        binder, [&] { form.ImpCostsButtonClick(); }, "TCostsForm");
    pictures.TakeModal(
        binder, [&] { form.FullGraphOptionButtonClick(); }, "TGraphPropForm");

    binder.Run([&] { form.Button1Click(); });
    SettleEvents();
    pictures.Take(window.ImportHelpWindow(), "TImportHelp");
    window.ImportHelpWindow()->close();

    // "Import logger data" on the sample logger file beside the project, when there is one,
    // with its first whole day chosen.
    const std::filesystem::path project(form.ProjectFileName);
    const std::filesystem::path logger = project.parent_path() / "zone-logger.csv";
    std::error_code ec;
    if (!form.ProjectFileName.empty() && std::filesystem::exists(logger, ec)) {
        binder.Run([&] {
            form.LoggerImport.AddFile(ReadLoggerFile(logger.string()));
            form.LoggerImportButton.Click();
        });
        SettleEvents();
        pictures.Take(window.LoggerImportDialog(), "TLoggerImportForm");
        binder.Run([&] {
            form.LoggerImport.Cancel();
            while (!form.LoggerImport.Files.empty())
                form.LoggerImport.RemoveFile(0);
        });
    }

    // The user guide as F1 on the "Current Situation" tab opens it.
    window.HelpWindow()->ShowTopic(61);
    // At its own size, wide enough for the guide's pictures, whatever the offscreen screen's.
    window.HelpWindow()->resize(980, 720);
    SettleEvents();
    pictures.Take(window.HelpWindow(), "HelpWindow");
    window.HelpWindow()->close();
    return pictures.Written;
}

} // namespace halvern
