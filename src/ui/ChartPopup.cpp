#include "ui/ChartPopup.h"
#include "ui/ChartView.h"
#include "ui/ViewBinder.h"
#include <QChartView>
#include <QMenu>

namespace halvern {

QMenu* BuildOutletPopupMenu(TViewBinder& binder, QWidget* parent) {
    TOutletPopup& popup = binder.Form.OutletPopup;
    auto* menu = new QMenu(parent);
    menu->setObjectName("OutletPopup");
    for (int i = 0; i < static_cast<int>(popup.Items.size()); ++i) {
        const TOutletPopup::TItem& item = popup.Items[i];
        if (!item.Visible) continue;
        QAction* action = menu->addAction(QString::fromStdString(item.Caption));
        action->setCheckable(true);
        action->setChecked(item.Checked);
        QObject::connect(action, &QAction::triggered, menu, [&binder, i] {
            binder.Run([&binder, i] { binder.Form.OutletPopup.ItemClick(i); });
        });
    }
    menu->addSeparator();
    QAction* print = menu->addAction(TOutletPopup::PrintGraphCaption);
    print->setObjectName("PrintGraph2");
    QObject::connect(print, &QAction::triggered, menu,
                     [&binder] { binder.Run([&binder] { binder.Form.PrintGraph2Click(); }); });
    return menu;
}

void InstallOutletPopup(TChartView& view, TViewBinder& binder, TChart& chart) {
    if (&chart == &binder.Form.CurrentChart) view.setToolTip(TOutletPopup::CurrentChartHint);
    // The right click lands on the chart's drawing area inside the view.
    QWidget* area = view.findChild<QChartView*>();
    if (!area) area = &view;
    area->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(area, &QWidget::customContextMenuRequested, &view,
                     [area, &binder, &chart](const QPoint& position) {
                         binder.Run([&binder, &chart] { binder.Form.OutletPopup.Popup(chart); });
                         QMenu* menu = BuildOutletPopupMenu(binder, area);
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         menu->popup(area->mapToGlobal(position));
                     });
}

} // namespace halvern
