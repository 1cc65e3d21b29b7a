#pragma once
// The record window's progress chart: a difficulty's memory speed day by day,
// with its 68 % interval, on a logarithmic scale of seconds (lower is better).
// Days are ticked at their points, each date once.

#include "core/memory_speed_history.h"

#include <QChartView>
#include <QStringList>
#include <vector>

class QCategoryAxis;
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
    const QCategoryAxis& dayAxis() const { return *m_days; }
    /// The dates ticked along the days, oldest first.
    QStringList dayTicks() const;
    const QLogValueAxis& secondsAxis() const { return *m_seconds; }

private:
    QLineSeries* m_speeds;
    QLineSeries* m_lows;
    QLineSeries* m_highs;
    // A lone day's interval, drawn from end to end: two lines of one point draw nothing.
    QLineSeries* m_span;
    QCategoryAxis* m_days;
    QLogValueAxis* m_seconds;
};

} // namespace ui
