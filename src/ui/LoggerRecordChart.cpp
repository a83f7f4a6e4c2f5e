#include "ui/LoggerRecordChart.h"

#include "io/TimeStamp.h"
#include "model/Messages.h"

#include <QAreaSeries>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace halvern {
namespace {

const char* const kCaptions[] = {"Inflow", "Inlet pressure", "AZP pressure", "Critical pressure"};
const QColor kColours[] = {QColor(0x1F, 0x4E, 0xA0), QColor(0xC0, 0x50, 0x00), QColor(0x20, 0x90, 0x40),
                           QColor(0xB0, 0x10, 0x30)};
// A record broken by hours without samples is drawn in pieces up to this many; beyond, one
// line joins them (so many pieces no longer show apart at the chart's width anyway).
constexpr std::size_t kMostPieces = 40;
// Over a long record, chosen days closer than about this share of the time axis are shaded
// as one stretch: apart they would not show.
constexpr int64_t kShadeSteps = 800;

// Local clock seconds as the time axis takes them: the clock as the logger wrote it, shown
// as this computer's clock shows it.
qreal ChartTime(int64_t localSeconds) {
    const int64_t day = DayOfSeconds(localSeconds);
    int y = 0, m = 0, d = 0;
    CivilFromDays(day, y, m, d);
    const QDateTime midnight(QDate(y, m, d), QTime(0, 0));
    return static_cast<qreal>(midnight.addSecs(localSeconds - day * 86400).toMSecsSinceEpoch());
}

QDateTime AxisTime(int64_t localSeconds) {
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(ChartTime(localSeconds)));
}

// A value axis from 0 (or below, for values below it) to past the largest value, in round
// steps, with as many decimals as the steps need and no more: no "1, 1, 2, 2" of a small range.
void FitValueAxis(QValueAxis* axis, double low, double high) {
    low = std::min(0.0, low);
    if (!(high > low)) high = low + 1;
    // A few steps: the chart is short, and labels closer than their height are cut.
    axis->setTickCount(4);
    axis->setRange(low, high + (high - low) * 0.05);
    axis->applyNiceNumbers();
    const double step = (axis->max() - axis->min()) / std::max(1, axis->tickCount() - 1);
    const int decimals = step >= 1 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    axis->setLabelFormat(QString("%.%1f").arg(decimals));
}

// The hourly means of a channel in the table's unit, in pieces where whole hours have none.
struct TRecordLine {
    std::size_t Measured = 0;
    std::vector<QList<QPointF>> Pieces;
    double Low = 0, High = 0;
};

TRecordLine RecordLine(std::size_t q, const TChannelBins& bins, TLoggerUnit unit) {
    TRecordLine line{q, {}, 0, 0};
    int64_t lastHour = 0;
    for (const TDayBins& day : bins.Days)
        for (std::size_t h = 0; h < 24; ++h) {
            const THourBin& bin = day.Hours[h];
            if (bin.Seconds <= 0) continue;
            const double value = ToTableUnit(bin.Sum / bin.Seconds, unit);
            if (!std::isfinite(value)) continue;
            const int64_t hour = day.Day * 24 + static_cast<int64_t>(h);
            if (line.Pieces.empty() || hour != lastHour + 1) line.Pieces.emplace_back();
            lastHour = hour;
            line.Low = std::min(line.Low, value);
            line.High = std::max(line.High, value);
            line.Pieces.back().append(QPointF(ChartTime(hour * 3600 + 1800), value));
        }
    if (line.Pieces.size() > kMostPieces) {
        for (std::size_t i = 1; i < line.Pieces.size(); ++i)
            line.Pieces.front().append(line.Pieces[i]);
        line.Pieces.resize(1);
    }
    return line;
}

} // namespace

TLoggerRecordChart::TLoggerRecordChart(QWidget* parent) : QChartView(new QChart, parent) {
    QChart* chart = this->chart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    setRenderHint(QPainter::Antialiasing);
    // The axes stay for the chart's life, shown while they have something to show: axes
    // taken out and put back leave their labels squeezed by the room the old ones had.
    time_ = new QDateTimeAxis;
    chart->addAxis(time_, Qt::AlignBottom);
    values_[0] = new QValueAxis;
    values_[0]->setTitleText("m³/hr");
    chart->addAxis(values_[0], Qt::AlignLeft);
    values_[1] = new QValueAxis;
    values_[1]->setTitleText("m");
    chart->addAxis(values_[1], Qt::AlignRight);
    // The chosen days under the record, on an axis of their own, never shown.
    shadeAxis_ = new QValueAxis;
    shadeAxis_->setRange(0, 1);
    chart->addAxis(shadeAxis_, Qt::AlignRight);
    shadeAxis_->setVisible(false);
    shadeTop_ = new QLineSeries(this);
    ShowAxes(false, false);
}

void TLoggerRecordChart::ShowAxes(bool flow, bool pressure) {
    time_->setVisible(flow || pressure);
    values_[0]->setVisible(flow);
    values_[1]->setVisible(pressure);
}

void TLoggerRecordChart::Draw(const TLoggerImportForm& form) {
    QString key = QString::number(form.StampAtEnd);
    for (const TLoggerFile& file : form.Files)
        key += "|" + QString::fromStdString(file.FileName);
    for (const TChannelAssignment& slot : form.Assigned)
        key += QString("|%1:%2:%3").arg(slot.File).arg(slot.Channel).arg(static_cast<int>(slot.Unit));
    if (key == key_) return;
    key_ = key;

    QChart* chart = this->chart();
    chart->removeAllSeries();
    shade_ = nullptr;
    std::vector<TRecordLine> lines;
    for (std::size_t q = 0; q < MeasuredCount; ++q) {
        const TChannelAssignment& slot = form.Assigned[q];
        const TLoggerChannel* channel = form.ChannelOf(slot);
        if (!channel || IsFlowUnit(slot.Unit) != (q == 0)) continue;
        TRecordLine line = RecordLine(q, channel->Bins(form.StampAtEnd), slot.Unit);
        if (!line.Pieces.empty()) lines.push_back(std::move(line));
    }
    const std::vector<int64_t> days = form.RecordDays();
    // Nothing to draw: a word instead of empty axes.
    if (days.empty() || lines.empty()) {
        ShowAxes(false, false);
        chart->setTitle(days.empty() ? Msg::LoggerChartNoFile : Msg::LoggerChartNoChannel);
        chart->legend()->hide();
        return;
    }
    chart->setTitle(QString());
    chart->legend()->show();

    from_ = days.front();
    to_ = days.back() + 1;
    const int64_t span = to_ - from_;
    time_->setFormat(span <= 2      ? "dd MMM hh:mm"
                     : span <= 120  ? "dd MMM"
                     : span <= 1100 ? "MMM yyyy"
                                    : "yyyy");
    time_->setTickCount(static_cast<int>(std::clamp<int64_t>(span + 1, 3, 8)));
    time_->setRange(AxisTime(from_ * 86400), AxisTime(to_ * 86400));
    bool shown[2] = {false, false};
    for (int side = 0; side < 2; ++side) {
        double low = 0, high = 0;
        for (const TRecordLine& line : lines)
            if ((line.Measured == 0) == (side == 0)) {
                low = std::min(low, line.Low);
                high = std::max(high, line.High);
                shown[side] = true;
            }
        if (shown[side]) FitValueAxis(values_[side], low, high);
    }
    ShowAxes(shown[0], shown[1]);

    shade_ = new QAreaSeries;
    shade_->setUpperSeries(shadeTop_);
    shade_->setName("Chosen days");
    shade_->setPen(Qt::NoPen);
    shade_->setBrush(QColor(0xE0, 0xA0, 0x00, 70));
    chart->addSeries(shade_);
    shade_->attachAxis(time_);
    shade_->attachAxis(shadeAxis_);

    for (const TRecordLine& line : lines) {
        QValueAxis* axis = values_[line.Measured == 0 ? 0 : 1];
        for (std::size_t i = 0; i < line.Pieces.size(); ++i) {
            auto* series = new QLineSeries;
            series->setName(kCaptions[line.Measured]);
            series->setPen(QPen(kColours[line.Measured], 1.2));
            // A lone hour between hours without samples is a point, not an invisible line.
            series->setPointsVisible(line.Pieces[i].size() == 1);
            series->replace(line.Pieces[i]);
            chart->addSeries(series);
            series->attachAxis(time_);
            series->attachAxis(axis);
            // One entry in the legend for the pieces of a quantity.
            if (i > 0)
                for (QLegendMarker* marker : chart->legend()->markers(series))
                    marker->setVisible(false);
        }
    }
}

void TLoggerRecordChart::Shade(const std::vector<int64_t>& days) {
    if (!shade_) return;
    const int64_t join = std::max<int64_t>(1, (to_ - from_) / kShadeSteps);
    QList<QPointF> points;
    const auto stretch = [&](int64_t from, int64_t to) {
        from = std::max(from, from_);
        to = std::min(to, to_);
        if (from >= to) return;
        points << QPointF(ChartTime(from * 86400), 0) << QPointF(ChartTime(from * 86400), 1)
               << QPointF(ChartTime(to * 86400), 1) << QPointF(ChartTime(to * 86400), 0);
    };
    // Days in a row are one stretch.
    for (std::size_t i = 0; i < days.size();) {
        std::size_t j = i + 1;
        while (j < days.size() && days[j] - days[j - 1] <= join)
            ++j;
        stretch(days[i], days[j - 1] + 1);
        i = j;
    }
    shadeTop_->replace(points);
}

} // namespace halvern
