#pragma once
// The record window's progress chart: a difficulty's memory speed day by day,
// with its 68 % interval, on a logarithmic scale of seconds (lower is better).

#include "core/memory_speed_history.h"

#include <QChartView>
#include <vector>

class QDateTimeAxis;
class QLineSeries;
class QLogValueAxis;

namespace ui {

class MemorySpeedChart : public QChartView {
    Q_OBJECT

public:
    explicit MemorySpeedChart(QWidget* parent = nullptr);

    /// Shows the days of `days` whose level is determined, oldest first;
    /// with none, says that there is nothing to show yet.
    void setDays(const std::vector<core::DayLevel>& days);

    const QLineSeries& speeds() const { return *m_speeds; }

private:
    QLineSeries* m_speeds;
    QLineSeries* m_lows;
    QLineSeries* m_highs;
    QDateTimeAxis* m_time;
    QLogValueAxis* m_seconds;
};

} // namespace ui
