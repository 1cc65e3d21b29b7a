#include "ui/record/memory_speed_chart.h"

#include "core/staircase.h"
#include "ui/record/chart_style.h"

#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>

#include <algorithm>

namespace ui {

namespace {
// Seconds ticked at powers of ten: 0.1, 1, 10.
constexpr double kLogBase = 10;
// A day's point stands at its noon, in the middle of its date, at today's
// offset from UTC: reckoning each day's own (a look at the time zone's rules
// each) would move a point by a summer-time hour at most, out of sight on a
// chart of days.
constexpr qint64 kNoonSeconds = 12 * 3600;
// A single day still gets an axis a day wide on each side.
constexpr qint64 kDaysAround = 1;
constexpr Qt::PenStyle kIntervalPen = Qt::DashLine;
// Days marked by a point each up to a month of them; beyond, the line alone
// reads better, and draws in a third less time.
constexpr qsizetype kMostDaysMarked = 31;
} // namespace

MemorySpeedChart::MemorySpeedChart(QWidget* parent)
    : QChartView(parent), m_speeds(new QLineSeries), m_lows(new QLineSeries), m_highs(new QLineSeries),
      m_time(new QDateTimeAxis), m_seconds(new QLogValueAxis)
{
    QChart* chart = this->chart();
    m_speeds->setName(QStringLiteral("記憶の速さ"));
    m_lows->setName(QStringLiteral("68%区間"));
    // The interval's two ends read as one band: same colour, dashed, one legend entry.
    for (QLineSeries* end : {m_lows, m_highs}) {
        QPen pen = end->pen();
        pen.setStyle(kIntervalPen);
        end->setPen(pen);
    }
    chart->addSeries(m_speeds);
    chart->addSeries(m_lows);
    chart->addSeries(m_highs);
    m_highs->setColor(m_lows->color());
    chart->legend()->markers(m_highs).constFirst()->setVisible(false);

    m_time->setTitleText(QStringLiteral("日付"));
    m_time->setFormat(QStringLiteral("MM/dd"));
    m_seconds->setTitleText(QStringLiteral("表示時間（秒）"));
    m_seconds->setBase(kLogBase);
    m_seconds->setLabelFormat(QStringLiteral("%g"));
    styleChart(*this, *m_time, *m_seconds);
    for (QLineSeries* series : {m_speeds, m_lows, m_highs}) {
        series->attachAxis(m_time);
        series->attachAxis(m_seconds);
    }
    setDays({});
}

void MemorySpeedChart::setDays(const std::vector<core::DayLevel>& days)
{
    QList<QPointF> speeds, lows, highs;
    // The seconds axis spans at least the coach's own range of display times.
    double shortest = core::kShortestCoachedSeconds, longest = core::kLongestCoachedSeconds;
    QDate first, last;
    const int offset = QDateTime::currentDateTime().offsetFromUtc();
    for (const core::DayLevel& day : days) {
        const std::optional<core::MemorySpeed>& speed = day.level.fit.estimate;
        if (!speed)
            continue;
        const auto at = static_cast<double>(
            day.day.startOfDay(Qt::OffsetFromUTC, offset).addSecs(kNoonSeconds).toMSecsSinceEpoch());
        speeds.append({at, speed->seconds});
        lows.append({at, speed->low});
        highs.append({at, speed->high});
        shortest = std::min(shortest, speed->low);
        longest = std::max(longest, speed->high);
        first = first.isValid() ? first : day.day;
        last = day.day;
    }
    m_speeds->setPointsVisible(speeds.size() <= kMostDaysMarked);
    m_speeds->replace(speeds);
    m_lows->replace(lows);
    m_highs->replace(highs);

    const bool empty = speeds.isEmpty();
    chart()->setTitle(empty ? QStringLiteral("まだ記憶の速さを測れた日がありません。") : QString());
    for (QAbstractAxis* axis : std::initializer_list<QAbstractAxis*> {m_time, m_seconds})
        axis->setLabelsVisible(!empty);
    m_seconds->setRange(shortest, longest);
    if (empty)
        return;
    m_time->setRange(first.addDays(-kDaysAround).startOfDay(), last.addDays(kDaysAround + 1).startOfDay());
    m_time->setFormat(first.year() == last.year() ? QStringLiteral("MM/dd") : QStringLiteral("yyyy/MM/dd"));
}

} // namespace ui
