#include "ui/PagePrints.h"
#include "model/Messages.h"
#include "ui/MainWindow.h"
#include "ui/PageImages.h"
#include "ui/PagePrinter.h"
#include "ui/ViewBinder.h"
#include <QDir>
#include <QPrinter>

namespace halvern {

namespace {

class TPdfPrints {
public:
    TPdfPrints(TMainWindow& window, const QString& folder) : window_(window), folder_(folder) {}

    void PrintPage(const std::string& name) {
        QPrinter printer(QPrinter::HighResolution);
        ToPdf(printer, name, QPageLayout::Portrait);
        Record(printer, window_.PagePrinter().PrintShownPage(printer));
    }
    void PrintChart(TChart& chart) {
        QPrinter printer(QPrinter::HighResolution);
        ToPdf(printer, chart.Name, QPageLayout::Landscape);
        // The chart as its pop-up menu knows it, printed by the code behind "Print Graph".
        window_.Binder().Run([&] { window_.Form().OutletPopup.Popup(chart); });
        Record(printer, window_.PagePrinter().PrintChart(chart, printer));
    }
    TPagePrintsResult Result;

private:
    void ToPdf(QPrinter& printer, const std::string& name, QPageLayout::Orientation orientation) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(orientation);
        UsualMargins(printer);
        printer.setOutputFileName(QDir(folder_).filePath(QString::fromStdString(name) + ".pdf"));
    }
    void Record(const QPrinter& printer, const QString& failure) {
        if (failure.isEmpty())
            Result.Written << printer.outputFileName();
        else
            Result.Failures << failure;
    }
    TMainWindow& window_;
    QString folder_;
};

} // namespace

TPagePrintsResult WritePagePrints(TMainWindow& window, const QString& folder) {
    TPdfPrints prints(window, folder);
    if (!QDir().mkpath(folder)) {
        const std::string shown = QDir::toNativeSeparators(folder).toStdString();
        prints.Result.Failures << QString::fromStdString(Msg::CannotCreateFolder(shown));
        return prints.Result;
    }
    TMainForm& form = window.Form();
    TViewBinder& binder = window.Binder();
    SettleEvents();
    for (TTabSheet* page : form.MainPage.Pages) {
        binder.Run([&] { form.MainPage.SetActivePage(*page); });
        if (!page->Children) {
            SettleEvents();
            prints.PrintPage(page->Name);
            continue;
        }
        for (TTabSheet* sub : page->Children->Pages) {
            binder.Run([&] { page->Children->SetActivePage(*sub); });
            SettleEvents();
            prints.PrintPage(sub->Name);
        }
    }
    // Every chart has been seen on its page by now, so each has its view.
    for (TChart* chart : {&form.CurrentChart, &form.FixedPRVChart, &form.TimePRVChart, &form.FlowPRVChart,
                          &form.N1Sensitivity.SavingsChart, &form.N1Sensitivity.PaybackChart})
        prints.PrintChart(*chart);
    return prints.Result;
}

} // namespace halvern
