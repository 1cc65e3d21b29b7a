#include "ui/record/memory_speed_chart.h"

#include "core/staircase.h"
#include "toolkit/utc_offset.h"
#include "ui/record/chart_style.h"

#include <QCategoryAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>

#include <algorithm>
#include <utility>

namespace ui {

namespace {
// Seconds ticked at powers of ten: 0.1, 1, 10.
constexpr double kLogBase = 10;
// A day's point stands at its noon, in the middle of its date, at today's
// offset from UTC: reckoning each day's own (a look at the time zone's rules
// each) would move a point by a summer-time hour at most, out of sight on a
// chart of days.
constexpr qint64 kNoonSeconds = 12 * 3600;
// The first and last days' points stand a day inside the axis's ends.
constexpr double kDayMs = 24.0 * 3600 * 1000;
// Dates ticked at most: more would run into each other on a narrow chart.
constexpr qsizetype kMostTicks = 6;
constexpr Qt::PenStyle kIntervalPen = Qt::DashLine;
// Days marked by a point each up to a month of them; beyond, the line alone
// reads better, and draws in a third less time.
constexpr qsizetype kMostDaysMarked = 31;
} // namespace

MemorySpeedChart::MemorySpeedChart(QWidget* parent)
    : QChartView(parent), m_speeds(new QLineSeries), m_lows(new QLineSeries), m_highs(new QLineSeries),
      m_span(new QLineSeries), m_days(new QCategoryAxis), m_seconds(new QLogValueAxis)
{
    QChart* chart = this->chart();
    m_speeds->setName(QStringLiteral("記憶の速さ"));
    m_lows->setName(QStringLiteral("68%区間"));
    for (QLineSeries* series : {m_speeds, m_lows, m_highs, m_span})
        chart->addSeries(series);
    // The interval's ends read as one band: the theme's colour for it (given
    // once the series is on the chart), dashed, one legend entry.
    QPen pen = m_lows->pen();
    pen.setStyle(kIntervalPen);
    for (QLineSeries* end : {m_lows, m_highs, m_span})
        end->setPen(pen);
    for (QLineSeries* end : {m_highs, m_span})
        chart->legend()->markers(end).constFirst()->setVisible(false);

    m_days->setTitleText(QStringLiteral("日付"));
    m_days->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_seconds->setTitleText(QStringLiteral("記憶の速さ（秒）"));
    m_seconds->setBase(kLogBase);
    m_seconds->setLabelFormat(QStringLiteral("%g"));
    styleChart(*this, *m_days, *m_seconds);
    for (QLineSeries* series : {m_speeds, m_lows, m_highs, m_span}) {
        series->attachAxis(m_days);
        series->attachAxis(m_seconds);
    }
    setDays({});
}

void MemorySpeedChart::setDays(const std::vector<core::DayLevel>& days)
{
    QList<QPointF> speeds, lows, highs;
    QList<QDate> dates;
    // The seconds axis spans at least the coach's own range of display times.
    double shortest = core::kShortestCoachedSeconds, longest = core::kLongestCoachedSeconds;
    const int offset = QDateTime::currentDateTime().offsetFromUtc();
    const auto noonOf = [offset](const QDate& day) {
        return static_cast<double>(
            day.startOfDay(toolkit::zoneAheadOfUtc(offset)).addSecs(kNoonSeconds).toMSecsSinceEpoch());
    };
    for (const core::DayLevel& day : days) {
        const std::optional<core::MemorySpeed>& speed = day.level.fit.estimate;
        if (!speed)
            continue;
        const double at = noonOf(day.day);
        speeds.append({at, speed->seconds});
        lows.append({at, speed->low});
        highs.append({at, speed->high});
        shortest = std::min(shortest, speed->low);
        longest = std::max(longest, speed->high);
        dates.append(day.day);
    }
    m_speeds->setPointsVisible(speeds.size() <= kMostDaysMarked);
    m_speeds->replace(speeds);
    m_lows->replace(lows);
    m_highs->replace(highs);
    m_span->replace(speeds.size() == 1 ? QList<QPointF> {lows.front(), highs.front()} : QList<QPointF> {});

    const bool empty = speeds.isEmpty();
    chart()->setTitle(empty ? QStringLiteral("まだ記憶の速さを測れた日がありません。") : QString());
    // An empty chart has no room for its axes' titles but for an ellipsis.
    for (QAbstractAxis* axis : std::initializer_list<QAbstractAxis*> {m_days, m_seconds}) {
        axis->setLabelsVisible(!empty);
        axis->setTitleVisible(!empty);
    }
    m_seconds->setRange(shortest, longest);

    // Evenly spaced dates from the first, each at its point's noon.
    QList<std::pair<QString, double>> ticks;
    if (!empty) {
        const QString format
            = dates.front().year() == dates.back().year() ? QStringLiteral("MM/dd") : QStringLiteral("yyyy/MM/dd");
        const qint64 span = dates.front().daysTo(dates.back());
        const qint64 step = std::max<qint64>(1, (span + kMostTicks - 2) / (kMostTicks - 1));
        for (qint64 day = 0; day <= span; day += step) {
            const QDate date = dates.front().addDays(day);
            ticks.append({date.toString(format), noonOf(date)});
        }
    }
    // Laid out again only when they change: each label taken off or put on
    // lays the chart out anew, and a round saved today seldom moves a tick.
    QList<std::pair<QString, double>> shown;
    for (const QString& label : dayTicks())
        shown.append({label, m_days->endValue(label)});
    const double from = empty ? 0 : noonOf(dates.front()) - kDayMs;
    if (ticks != shown) {
        for (const auto& [label, at] : shown)
            m_days->remove(label);
        m_days->setStartValue(from);
        for (const auto& [label, at] : ticks)
            m_days->append(label, at);
    }
    if (!empty)
        m_days->setRange(from, noonOf(dates.back()) + kDayMs);
}

QStringList MemorySpeedChart::dayTicks() const
{
    return m_days->categoriesLabels();
}

} // namespace ui
