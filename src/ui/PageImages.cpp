#include "ui/PageImages.h"
#include "ui/HelpWindow.h"
#include "ui/ImportHelpWindow.h"
#include "ui/MainWindow.h"
#include "ui/N1Window.h"
#include "ui/ViewBinder.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace halvern {

void SettleEvents(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    } while (clock.elapsed() < milliseconds);
}

namespace {

void Settle(int milliseconds) {
    SettleEvents(milliseconds);
}

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
        QTimer::singleShot(250, [this, name] {
            QWidget* dialog = QApplication::activeModalWidget();
            Take(dialog, name);
            if (dialog) dialog->close();
        });
        binder.Run(open);
    }
    QStringList Written;

private:
    QString folder_;
};

} // namespace

QStringList WritePageImages(TMainWindow& window, const QString& folder) {
    QDir().mkpath(folder);
    TPictureTaker pictures(folder);
    TMainForm& form = window.Form();
    TViewBinder& binder = window.Binder();
    Settle(300);
    for (TTabSheet* page : form.MainPage.Pages) {
        binder.Run([&] { form.MainPage.SetActivePage(*page); });
        Settle(150);
        pictures.Take(&window, QString::fromStdString(page->Name));
        if (!page->Children) continue;
        for (TTabSheet* sub : page->Children->Pages) {
            binder.Run([&] { page->Children->SetActivePage(*sub); });
            Settle(150);
            pictures.Take(&window, QString::fromStdString(sub->Name));
        }
    }

    binder.Run([&] { form.N1CalculationClick(); });
    Settle(300);
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
    Settle(300);
    pictures.Take(window.ImportHelpWindow(), "TImportHelp");
    window.ImportHelpWindow()->close();

    // The user guide as F1 on the "Current Situation" tab opens it.
    window.HelpWindow()->ShowTopic(61);
    // At its own size, wide enough for the guide's pictures, whatever the offscreen screen's.
    window.HelpWindow()->resize(980, 720);
    Settle(300);
    pictures.Take(window.HelpWindow(), "HelpWindow");
    window.HelpWindow()->close();
    return pictures.Written;
}

} // namespace halvern
