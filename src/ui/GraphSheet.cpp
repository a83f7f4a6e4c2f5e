// A "Graphical" page: the strip with its "Graph properties" button above the chart.
#include "ui/ChartPopup.h"
#include "ui/ChartView.h"
#include "ui/Pages.h"
#include "ui/ViewBinder.h"
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace halvern {

QWidget* BuildGraphSheet(TViewBinder& b, TTabSheet& sheet, TButton& button, TChart& chart,
                         int chartHelpContext) {
    auto* page = new QWidget;
    auto* strip = new QHBoxLayout;
    strip->addWidget(b.Button(button));
    strip->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(strip);
    auto* holder = new QWidget;
    holder->setObjectName(QString::fromStdString(chart.Name) + "Holder");
    auto* holderLayout = new QVBoxLayout(holder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(holder, 1);

    // Qt Charts is slow to build; a chart is made the first time its page is seen.
    b.AddRefresher([&b, holder, holderLayout, &sheet, &chart, chartHelpContext,
                    view = static_cast<TChartView*>(nullptr)]() mutable {
        if (view || !sheet.Showing()) return;
        view = new TChartView(chart, holder);
        view->setObjectName(QString::fromStdString(chart.Name));
        view->setProperty("helpContext", chartHelpContext);
        view->setFocusPolicy(Qt::ClickFocus);
        holderLayout->addWidget(view);
        view->show();
        chart.OnChanged = [view] { view->Refresh(); };
        view->Refresh();
        InstallOutletPopup(*view, b, chart);
    });
    return page;
}

} // namespace halvern
