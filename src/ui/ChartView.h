// The Qt view of one result chart: renders a TChart (series, markers, the hours axis
// and the pressure and flow axes) with Qt Charts. The owner connects the model to the
// view once, after creating it:  chart.OnChanged = [view] { view->Refresh(); };
#pragma once
#include "forms/Chart.h"
#include <QWidget>

QT_BEGIN_NAMESPACE
class QPainter;
class QRectF;
class QChart;
class QChartView;
class QValueAxis;
class QCategoryAxis;
QT_END_NAMESPACE

namespace halvern {

class TChartView : public QWidget {
    Q_OBJECT
public:
    explicit TChartView(halvern::TChart& chart, QWidget* parent = nullptr);
    // Rebuilds the series, points, visibility and axis ranges from the model.
    void Refresh();
    // Paints the chart as shown into rect (printing and page images).
    void PrintTo(QPainter& painter, const QRectF& rect);

    // The Qt chart, for tests and for the print code.
    QChart* Chart() const { return FChart; }

private:
    void AddOpenValveMarks();
    // The series along a value axis: each a line broken at its gaps, and the marker line.
    void RefreshValueSeries();
    TChart& FModel;
    QChart* FChart = nullptr;
    QChartView* FView = nullptr;
    QCategoryAxis* FHoursAxis = nullptr;
    QValueAxis* FValueXAxis = nullptr; // for series whose points stand at X (the N1 charts)
    QValueAxis* FPressureAxis = nullptr;
    QValueAxis* FFlowAxis = nullptr;
};

} // namespace halvern
