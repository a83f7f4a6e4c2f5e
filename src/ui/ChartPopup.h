// The charts' pop-up menu on screen: a right click on a result chart opens the form's
// OutletPopup over it, its series items ticked as the chart shows them, then "Print Graph".
#pragma once

class QMenu;
class QWidget;

namespace halvern {

class TChart;
class TChartView;
class TViewBinder;

void InstallOutletPopup(TChartView& view, TViewBinder& binder, TChart& chart);

// Builds the menu as the form's popup now reads (the popup must have been opened on a
// chart); the menu runs the items' clicks through the binder.
QMenu* BuildOutletPopupMenu(TViewBinder& binder, QWidget* parent);

} // namespace halvern
