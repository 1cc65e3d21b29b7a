#pragma once
// The record window's progress chart: a difficulty's memory speed day by day,
// with its 68 % interval, on a logarithmic scale of seconds (lower is better).

#include "ui/coach.h"

#include <QChartView>
#include <QList>

class QDateTimeAxis;
class QLineSeries;
class QLogValueAxis;

namespace ui {

class MemorySpeedChart : public QChartView {
    Q_OBJECT

public:
    explicit MemorySpeedChart(QWidget* parent = nullptr);

    /// Shows `days`, oldest first; with none, says that there is nothing to show yet.
    void setDays(const QList<coach::DayEstimate>& days);

    const QLineSeries& speeds() const { return *m_speeds; }

private:
    QLineSeries* m_speeds;
    QLineSeries* m_lows;
    QLineSeries* m_highs;
    QDateTimeAxis* m_time;
    QLogValueAxis* m_seconds;
};

} // namespace ui
