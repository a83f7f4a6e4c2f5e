// TPagePrinter: prints what the main window shows. The page that is showing is described
// control by control from its real widgets (kind, place, font, texts, state) and drawn by
// the core's page print; a chart is printed alone under the zone's name; a picture of
// the page is saved as PNG. It serves the form's print commands and holds the current
// printer, the one the printer set-up dialog chooses.
#pragma once
#include "forms/PagePrint.h"
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;
class QWidget;

namespace halvern {

class TMainWindow;
class TChart;
class TChartView;

// A page described for printing, with the canvases its tables are measured on.
struct TPageDescription {
    TPrintControl Tab;
    std::vector<std::unique_ptr<TCanvas>> Canvases;
    // The painter charts print with, set while the page is being printed.
    QPainter* Painter = nullptr;
};

class TPagePrinter {
public:
    explicit TPagePrinter(TMainWindow& window);
    ~TPagePrinter();
    TPagePrinter(const TPagePrinter&) = delete;
    TPagePrinter& operator=(const TPagePrinter&) = delete;

    // The current printer; made when first needed (finding the system's printers takes a
    // moment).
    QPrinter& Printer();

    // The active tab of the main window as the print walks it.
    std::unique_ptr<TPageDescription> DescribeShownPage();
    // Prints on the page's painter; returns the scale used.
    double DrawShownPage(QPainter& painter);
    // One print job each; the platform's message when the printer or file cannot be
    // written, else empty.
    QString PrintShownPage(QPrinter& printer);
    QString PrintChart(TChart& chart, QPrinter& printer);
    QString SavePagePicture(const QString& fileName);

    // The view of a chart, once its page has been seen.
    TChartView* ChartView(const TChart& chart) const;

private:
    TMainWindow& window_;
    std::unique_ptr<QPrinter> printer_;
};

// Margins of 10 mm: the header of a page sits clear of the paper's edge, on a printer
// that could print closer and in a PDF file.
void UsualMargins(QPrinter& printer);

// Describes one widget and its children for the print walk.
TPrintControl DescribeWidget(QWidget* widget, TPageDescription& page, double screenDpi);

} // namespace halvern
