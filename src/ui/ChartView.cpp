#include "ui/ChartView.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPainterPath>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace halvern {

namespace {

constexpr int MarkerSize = 10;
constexpr int MarkerImageSize = 36; // drawn large, scaled down smoothly to MarkerSize

QColor ToQColor(TColor colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

Qt::PenStyle ToPenStyle(TLineStyle style) {
    switch (style) {
    case TLineStyle::Solid:
        return Qt::SolidLine;
    case TLineStyle::Dash:
        return Qt::DashLine;
    case TLineStyle::Dot:
        return Qt::DotLine;
    case TLineStyle::DashDot:
        return Qt::DashDotLine;
    case TLineStyle::DashDotDot:
        return Qt::DashDotDotLine;
    }
    return Qt::SolidLine;
}

// The point marker of a series: its shape filled with the series colour and outlined in
// black, so that a yellow or aqua line still shows its points on the white background.
QImage MarkerImage(TPointerStyle shape, const QColor& colour) {
    QImage image(MarkerImageSize, MarkerImageSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = MarkerImageSize;
    const qreal m = 3; // margin for the outline
    const QRectF box(m, m, s - 2 * m, s - 2 * m);
    QPen outline(Qt::black, 3);
    outline.setJoinStyle(Qt::MiterJoin);
    p.setPen(outline);
    p.setBrush(colour);
    switch (shape) {
    case TPointerStyle::Rectangle:
        p.drawRect(box);
        break;
    case TPointerStyle::Circle:
        p.drawEllipse(box);
        break;
    case TPointerStyle::Triangle:
        p.drawPolygon(QPolygonF{{box.center().x(), box.top()}, box.bottomRight(), box.bottomLeft()});
        break;
    case TPointerStyle::DownTriangle:
        p.drawPolygon(QPolygonF{box.topLeft(), box.topRight(), {box.center().x(), box.bottom()}});
        break;
    case TPointerStyle::Diamond:
        p.drawPolygon(QPolygonF{{box.center().x(), box.top()},
                                {box.right(), box.center().y()},
                                {box.center().x(), box.bottom()},
                                {box.left(), box.center().y()}});
        break;
    case TPointerStyle::Cross:
    case TPointerStyle::DiagCross: {
        // Line markers: a wide black stroke under a narrower coloured one.
        QPainterPath path;
        if (shape == TPointerStyle::Cross) {
            path.moveTo(box.center().x(), box.top());
            path.lineTo(box.center().x(), box.bottom());
            path.moveTo(box.left(), box.center().y());
            path.lineTo(box.right(), box.center().y());
        } else {
            path.moveTo(box.topLeft());
            path.lineTo(box.bottomRight());
            path.moveTo(box.topRight());
            path.lineTo(box.bottomLeft());
        }
        p.strokePath(path, QPen(Qt::black, 9, Qt::SolidLine, Qt::FlatCap));
        p.strokePath(path, QPen(colour, 5, Qt::SolidLine, Qt::FlatCap));
        break;
    }
    }
    return image;
}

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

// The largest value a shown series puts on the axis, 0 when none.
double DataMaximum(const TChart& chart, TSeriesAxis axis) {
    double maximum = 0;
    for (const TChartSeries& s : chart.Series)
        if (s.Active && s.Axis == axis)
            for (double v : s.Values)
                if (std::isfinite(v)) maximum = std::max(maximum, v);
    return maximum;
}

// How far above the highest point an automatic axis reaches at least, as a part of its
// span: the marker of the peak hour is drawn whole inside the plot, not on its frame.
constexpr double kHeadroom = 0.05;

// Both vertical axes start at 0; the maximum follows the shown data unless it is fixed.
void SetRange(QValueAxis& axis, const TChartAxis& model, double dataMaximum) {
    if (!model.Automatic && model.Maximum > model.Minimum) {
        axis.setRange(model.Minimum, model.Maximum);
        axis.setTickCount(5);
        return;
    }
    const double span = dataMaximum - model.Minimum;
    axis.setRange(model.Minimum, span > 0 ? dataMaximum + span * kHeadroom : model.Minimum + 1);
    axis.applyNiceNumbers();
    axis.setMin(model.Minimum);
}

} // namespace

TChartView::TChartView(TChart& chart, QWidget* parent) : QWidget(parent), FModel(chart) {
    FChart = new QChart();
    FChart->setBackgroundBrush(Qt::white);
    FChart->setBackgroundRoundness(0);
    FChart->setDropShadowEnabled(false);
    QFont titleFont = Bold(FChart->titleFont());
    titleFont.setPointSizeF(titleFont.pointSizeF() + 4);
    FChart->setTitleFont(titleFont);
    FChart->legend()->setAlignment(Qt::AlignBottom);
    FChart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    // With many series shown the names are shortened; the full name is one hover away.
    FChart->legend()->setShowToolTips(true);

    FHoursAxis = new QCategoryAxis(FChart);
    FHoursAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    FPressureAxis = new QValueAxis(FChart);
    FFlowAxis = new QValueAxis(FChart);
    FFlowAxis->setGridLineVisible(false);
    FFlowAxis->setMinorGridLineVisible(false);
    FChart->addAxis(FHoursAxis, Qt::AlignBottom);
    FChart->addAxis(FPressureAxis, Qt::AlignLeft);
    FChart->addAxis(FFlowAxis, Qt::AlignRight);
    for (QAbstractAxis* axis : FChart->axes()) {
        axis->setTitleFont(Bold(axis->titleFont()));
        axis->setLabelsColor(Qt::black);
        axis->setTitleBrush(Qt::black);
    }

    FView = new QChartView(FChart, this);
    FView->setRenderHint(QPainter::Antialiasing);
    FView->setBackgroundBrush(Qt::white);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FView);
    Refresh();
}

void TChartView::Refresh() {
    FChart->setTitle(QString::fromStdString(FModel.Title));
    FHoursAxis->setTitleText(QString::fromStdString(FModel.BottomAxis.Title));
    FPressureAxis->setTitleText(QString::fromStdString(FModel.LeftAxis.Title));
    FFlowAxis->setTitleText(QString::fromStdString(FModel.RightAxis.Title));
    FFlowAxis->setGridLineVisible(FModel.RightAxis.Grid);
    FPressureAxis->setGridLineVisible(FModel.LeftAxis.Grid);

    FChart->removeAllSeries(); // deletes the old series
    const bool valueX = std::any_of(FModel.Series.begin(), FModel.Series.end(),
                                    [](const TChartSeries& s) { return !s.X.empty(); });
    if (valueX) {
        RefreshValueSeries();
        return;
    }
    const TChartSeries* longest = nullptr;
    for (const TChartSeries& s : FModel.Series) {
        auto* series = new QLineSeries();
        series->setName(QString::fromStdString(s.Title));
        const QColor colour = ToQColor(s.Colour);
        QPen pen(colour, 2, ToPenStyle(s.LineStyle));
        series->setPen(pen);
        series->setColor(colour);
        series->setMarkerSize(MarkerSize);
        series->setLightMarker(MarkerImage(s.Pointer, colour));
        // Points are evenly spaced in the order they were drawn.
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(s.Values.size()));
        for (size_t i = 0; i < s.Values.size(); ++i)
            points.append(QPointF(static_cast<qreal>(i), s.Values[i]));
        series->replace(points);
        FChart->addSeries(series);
        series->attachAxis(FHoursAxis);
        series->attachAxis(s.Axis == TSeriesAxis::Left ? FPressureAxis : FFlowAxis);
        series->setVisible(s.Active);
        for (QLegendMarker* marker : FChart->legend()->markers(series))
            marker->setVisible(s.Active);
        if (!longest || s.Labels.size() > longest->Labels.size()) longest = &s;
    }
    AddOpenValveMarks();

    // The hours along the bottom, one label per point.
    for (const QString& label : FHoursAxis->categoriesLabels())
        FHoursAxis->remove(label);
    FHoursAxis->setStartValue(0);
    const size_t count = longest ? longest->Labels.size() : 0;
    for (size_t i = 0; i < count; ++i)
        FHoursAxis->append(QString::fromStdString(longest->Labels[i]), static_cast<qreal>(i));
    // An axis without a single category is left out of the chart's layout, its title
    // astray in a corner: a chart with nothing drawn yet keeps one blank hour.
    if (count == 0) FHoursAxis->append(" ", 1);
    FHoursAxis->setRange(0, count > 1 ? static_cast<qreal>(count - 1) : 1);

    // Attaching a series refits the axes to it; the ranges are set last, every time.
    SetRange(*FPressureAxis, FModel.LeftAxis, DataMaximum(FModel, TSeriesAxis::Left));
    SetRange(*FFlowAxis, FModel.RightAxis, DataMaximum(FModel, TSeriesAxis::Right));
}

// A grey ring around each shown point of an hour in which the valve stands fully open, with
// its own legend entry, so the chart says what the table's grey outlet says.
void TChartView::AddOpenValveMarks() {
    QList<QPointF> open;
    TSeriesAxis axis = TSeriesAxis::Left;
    for (const TChartSeries& s : FModel.Series) {
        if (!s.Active) continue;
        for (size_t i = 0; i < s.Values.size() && i < s.Open.size(); ++i)
            if (s.Open[i]) {
                open.append(QPointF(static_cast<qreal>(i), s.Values[i]));
                axis = s.Axis;
            }
    }
    if (open.isEmpty()) return;
    auto* marks = new QScatterSeries();
    marks->setName("Valve fully open");
    marks->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    marks->setMarkerSize(MarkerSize + 8);
    marks->setColor(Qt::transparent);
    marks->setBorderColor(QColor(128, 128, 128));
    QPen ring(QColor(128, 128, 128), 2);
    marks->setPen(ring);
    marks->replace(open);
    FChart->addSeries(marks);
    marks->attachAxis(FHoursAxis);
    marks->attachAxis(axis == TSeriesAxis::Left ? FPressureAxis : FFlowAxis);
}

void TChartView::RefreshValueSeries() {
    // Made the first time: the hourly charts never carry it.
    if (!FValueXAxis) {
        FHoursAxis->setVisible(false);
        FChart->removeAxis(FHoursAxis);
        FValueXAxis = new QValueAxis(FChart);
        FChart->addAxis(FValueXAxis, Qt::AlignBottom);
        FValueXAxis->setTitleFont(FHoursAxis->titleFont());
        FValueXAxis->setLabelsColor(Qt::black);
        FValueXAxis->setTitleBrush(Qt::black);
        // These charts stand two side by side: the legend's four names a point smaller
        // read whole.
        QFont legend = FChart->legend()->font();
        legend.setPointSizeF(legend.pointSizeF() - 1);
        FChart->legend()->setFont(legend);
    }
    FValueXAxis->setTitleText(QString::fromStdString(FModel.BottomAxis.Title));
    double minX = 0, maxX = 0;
    bool anyPoint = false;
    for (const TChartSeries& s : FModel.Series) {
        const QColor colour = ToQColor(s.Colour);
        QLineSeries* named = nullptr;
        QList<QPointF> points;
        // A point without a value ("Never") ends one line; the next value starts another.
        const auto flush = [&] {
            if (points.isEmpty() && named) return;
            auto* series = new QLineSeries();
            series->setName(QString::fromStdString(s.Title));
            series->setPen(QPen(colour, 2, ToPenStyle(s.LineStyle)));
            series->setColor(colour);
            series->setMarkerSize(MarkerSize);
            series->setLightMarker(MarkerImage(s.Pointer, colour));
            series->replace(points);
            FChart->addSeries(series);
            series->attachAxis(FValueXAxis);
            series->attachAxis(s.Axis == TSeriesAxis::Left ? FPressureAxis : FFlowAxis);
            series->setVisible(s.Active);
            // One legend entry per valve, however many pieces its line has.
            for (QLegendMarker* marker : FChart->legend()->markers(series))
                marker->setVisible(s.Active && !named);
            if (!named) named = series;
            points.clear();
        };
        for (std::size_t i = 0; i < s.Values.size() && i < s.X.size(); ++i) {
            minX = anyPoint ? std::min(minX, s.X[i]) : s.X[i];
            maxX = anyPoint ? std::max(maxX, s.X[i]) : s.X[i];
            anyPoint = true;
            if (i < s.Gap.size() && s.Gap[i]) {
                if (!points.isEmpty()) flush();
                continue;
            }
            points.append(QPointF(s.X[i], s.Values[i]));
        }
        flush();
    }
    SetRange(*FPressureAxis, FModel.LeftAxis, DataMaximum(FModel, TSeriesAxis::Left));
    SetRange(*FFlowAxis, FModel.RightAxis, DataMaximum(FModel, TSeriesAxis::Right));
    FFlowAxis->setVisible(std::any_of(FModel.Series.begin(), FModel.Series.end(),
                                      [](const TChartSeries& s) { return s.Axis == TSeriesAxis::Right; }));
    if (!anyPoint) {
        minX = 0.5;
        maxX = 2.5;
    }
    if (maxX - minX < 0.1) {
        minX -= 0.05;
        maxX += 0.05;
    }
    FValueXAxis->setRange(minX, maxX);
    FValueXAxis->setLabelFormat("%.2f");
    FValueXAxis->setTickType(QValueAxis::TicksDynamic);
    FValueXAxis->setTickAnchor(minX);
    FValueXAxis->setTickInterval(maxX - minX > 1 ? 0.25 : 0.05);

    // The project's N1: a grey upright line from the bottom of the plot to its top.
    if (FModel.HasMarker) {
        auto* marker = new QLineSeries();
        marker->setName(QString::fromStdString(FModel.MarkerCaption));
        marker->setPen(QPen(Qt::darkGray, 2, Qt::DashLine));
        marker->setColor(Qt::darkGray);
        marker->replace(
            QList<QPointF>{{FModel.MarkerX, FPressureAxis->min()}, {FModel.MarkerX, FPressureAxis->max()}});
        FChart->addSeries(marker);
        marker->attachAxis(FValueXAxis);
        marker->attachAxis(FPressureAxis);
    }
    SetRange(*FPressureAxis, FModel.LeftAxis, DataMaximum(FModel, TSeriesAxis::Left));
    // Savings of rands a year read as whole numbers; a payback of months with its tenth.
    FPressureAxis->setLabelFormat(FPressureAxis->max() >= 1000 ? "%.0f" : "%.1f");
}

void TChartView::PrintTo(QPainter& painter, const QRectF& rect) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    // Lay the chart out at a screen-like size with the target's proportions, so that
    // fonts and markers keep their size relative to the plot whatever the resolution.
    const QSizeF shown = FChart->size();
    const qreal logicalWidth = std::max<qreal>(width() > 100 ? width() : 0, 800);
    const QSizeF logical(logicalWidth, logicalWidth * rect.height() / rect.width());
    const auto layOut = [this](const QSizeF& size) {
        FChart->resize(size);
        // The chart lays itself out on a later event; printing cannot wait for it.
        if (QGraphicsLayout* layout = FChart->layout()) layout->activate();
    };
    layOut(logical);
    painter.fillRect(rect, Qt::white);
    FChart->scene()->render(&painter, rect, QRectF(FChart->pos(), logical), Qt::IgnoreAspectRatio);
    layOut(shown);
}

} // namespace halvern
