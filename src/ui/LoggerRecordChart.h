// The record chart of "Import logger data": the assigned channels' hourly means over the
// whole record, one series per quantity (in pieces where whole hours have no sample), with
// the chosen days shaded as one series under them. Drawn again only when what it shows
// changes; the shading follows every choice of days, in a few points whatever the span.
#pragma once
#include "forms/LoggerImport.h"

#include <QChartView>
#include <QString>
#include <vector>

class QAreaSeries;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace halvern {

class TLoggerRecordChart : public QChartView {
public:
    explicit TLoggerRecordChart(QWidget* parent = nullptr);
    // The record of the form's assigned channels; before any, a word of what is missing.
    void Draw(const TLoggerImportForm& form);
    // The chosen days (ascending), shaded.
    void Shade(const std::vector<int64_t>& days);

private:
    void ShowAxes(bool flow, bool pressure);

    QDateTimeAxis* time_ = nullptr;
    QValueAxis* values_[2] = {}; // flow, pressure
    QValueAxis* shadeAxis_ = nullptr;
    QString key_;                     // what the record was drawn from
    QLineSeries* shadeTop_ = nullptr; // the upper edge of the shading, kept across drawings
    QAreaSeries* shade_ = nullptr;
    int64_t from_ = 0, to_ = 0; // the days the time axis spans
};

} // namespace halvern
