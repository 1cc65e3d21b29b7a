#include "ui/record/score_chart.h"

#include "record/progress.h"
#include "toolkit/line_thinning.h"
#include "ui/record/chart_style.h"
#include "ui/record/record_texts.h"

#include <QDateTimeAxis>
#include <QLegend>
#include <QMouseEvent>
#include <QLabel>
#include <QLineSeries>
#include <QToolTip>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>

namespace ui {

namespace {
constexpr double kLowestScore = 0;
constexpr double kHighestScore = 100;
constexpr qint64 kMinuteMs = 60 * 1000;
constexpr qint64 kDayMs = 24 * 60 * kMinuteMs;
// A lone round, or rounds close together, still get this much time, enough
// for the ticks to fall on different seconds.
constexpr qint64 kShortestSpanMs = 10 * 1000;
// The first and last rounds stand this share of the span inside the axis's ends, whole.
constexpr qint64 kEdgeShare = 20;
// Ticks at least this far apart fall on different dates, a day that a change
// of summer time lengthens included.
constexpr qint64 kDistinctDatesMs = 2 * kDayMs;

// The shortest labels in which no two ticks of the axis read alike.
QString timeFormat(const QDateTime& first, const QDateTime& last, qint64 tickSpacingMs)
{
    if (tickSpacingMs < kMinuteMs)
        return QStringLiteral("HH:mm:ss");
    if (first.msecsTo(last) < kDayMs)
        return QStringLiteral("HH:mm");
    if (tickSpacingMs < kDistinctDatesMs)
        return QStringLiteral("MM/dd HH:mm");
    if (first.date().year() != last.date().year())
        return QStringLiteral("yyyy/MM/dd");
    return QStringLiteral("MM/dd");
}

// A score answers the pointer this many pixels from where it is drawn, not
// only on its two-pixel line.
constexpr qreal kPointReach = 6;

qint64 msOf(const record::RoundSummary& round)
{
    return round.playedAt.toMSecsSinceEpoch();
}

// Up to this many rounds each score is marked; beyond, the marks run together
// into the line and only cost drawing time.
constexpr qsizetype kMostMarkedRounds = 200;
// Runs a long line is thinned to: at most 1,000 points, more than the chart
// is pixels wide, so the thinning does not show. Qt Charts keeps each point
// and the outline of the line around them several times over; with every one
// of thousands of rounds drawn, the chart alone would take megabytes.
constexpr qsizetype kThinnedRuns = 250;
} // namespace

ScoreChart::ScoreChart(QWidget* parent)
    : QChartView(parent), m_scores(new QLineSeries), m_averages(new QLineSeries), m_time(new QDateTimeAxis),
      m_points(new QValueAxis),
      m_emptyHint(new QLabel(QStringLiteral("まだ記録がありません。採点結果の「点数保存」で回が記録されます。")))
{
    // With nothing to draw, the hint stands where the chart would be.
    m_emptyHint->setObjectName(QStringLiteral("emptyHint"));
    m_emptyHint->setWordWrap(true);
    m_emptyHint->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(viewport()))->addWidget(m_emptyHint);

    QChart* chart = this->chart();
    m_scores->setName(QStringLiteral("点数"));
    m_averages->setName(QStringLiteral("直近%1回の平均").arg(record::kAverageWindow));
    chart->addSeries(m_scores);
    chart->addSeries(m_averages);

    m_time->setTitleText(QStringLiteral("日時"));
    m_time->setFormat(QStringLiteral("MM/dd"));
    m_points->setTitleText(QStringLiteral("点数"));
    m_points->setRange(kLowestScore, kHighestScore);
    m_points->setLabelFormat(QStringLiteral("%d")); // whole points, as scores are
    styleChart(*this, *m_time, *m_points);
    for (QLineSeries* series : {m_scores, m_averages}) {
        series->attachAxis(m_time);
        series->attachAxis(m_points);
    }
    setRounds({});
}

QPointF ScoreChart::drawnAt(const record::RoundSummary& round) const
{
    QChart& drawn = *chart();
    const QPointF value(static_cast<double>(msOf(round)), round.score);
    return mapFromScene(drawn.mapToScene(drawn.mapToPosition(value, m_scores)));
}

QString ScoreChart::pointTextNear(QPointF viewPos) const
{
    if (m_rounds.isEmpty())
        return {};
    // Only the rounds within reach across are measured: a long record's
    // pointer passes over thousands.
    QChart& drawn = *chart();
    const QPointF inChart = drawn.mapFromScene(mapToScene(viewPos.toPoint()));
    const double at = drawn.mapToValue(inChart, m_scores).x();
    const double reachMs = std::abs(drawn.mapToValue(inChart + QPointF(kPointReach, 0), m_scores).x() - at);
    auto round = std::lower_bound(m_rounds.cbegin(), m_rounds.cend(), at - reachMs,
        [](const record::RoundSummary& each, double ms) { return static_cast<double>(msOf(each)) < ms; });
    const record::RoundSummary* nearest = nullptr;
    qreal nearestDistance = kPointReach;
    for (; round != m_rounds.cend() && static_cast<double>(msOf(*round)) <= at + reachMs; ++round) {
        if (const qreal distance = QLineF(drawnAt(*round), viewPos).length(); distance <= nearestDistance) {
            nearest = &*round;
            nearestDistance = distance;
        }
    }
    return nearest ? roundText(*nearest) : QString();
}

void ScoreChart::mouseMoveEvent(QMouseEvent* event)
{
    QChartView::mouseMoveEvent(event);
    const QString text = pointTextNear(event->position());
    if (!text.isEmpty())
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    else if (m_tellingPoint)
        QToolTip::hideText();
    m_tellingPoint = !text.isEmpty();
}

QString ScoreChart::pointText(double at) const
{
    if (m_rounds.isEmpty())
        return {};
    const auto ms = static_cast<qint64>(at);
    auto nearest = std::lower_bound(m_rounds.cbegin(), m_rounds.cend(), ms,
        [&](const record::RoundSummary& round, qint64 t) { return msOf(round) < t; });
    if (nearest == m_rounds.cend() || (nearest != m_rounds.cbegin() && ms - msOf(*(nearest - 1)) < msOf(*nearest) - ms))
        --nearest;
    return roundText(*nearest);
}

void ScoreChart::setRounds(const QList<record::RoundSummary>& rounds)
{
    m_rounds = rounds;
    const QList<double> averages = record::runningAverages(rounds);
    QList<QPointF> scorePoints, averagePoints;
    scorePoints.reserve(rounds.size());
    averagePoints.reserve(rounds.size());
    for (qsizetype i = 0; i < rounds.size(); ++i) {
        const auto at = static_cast<double>(rounds[i].playedAt.toMSecsSinceEpoch());
        scorePoints.append({at, static_cast<double>(rounds[i].score)});
        averagePoints.append({at, averages[i]});
    }
    m_scores->setPointsVisible(rounds.size() <= kMostMarkedRounds);
    // One replace each: a point at a time would redraw the chart as often.
    m_scores->replace(toolkit::thinnedLine(scorePoints, kThinnedRuns));
    m_averages->replace(toolkit::thinnedLine(averagePoints, kThinnedRuns));

    // An empty chart has no times to mark: its axes would read the epoch's date five times over.
    const bool empty = rounds.isEmpty();
    m_emptyHint->setVisible(empty);
    m_time->setVisible(!empty);
    m_points->setVisible(!empty);
    chart()->legend()->setVisible(!empty);
    if (empty)
        return;
    const QDateTime first = rounds.first().playedAt, last = rounds.last().playedAt;
    const qint64 span = first.msecsTo(last);
    const qint64 shown = std::max(span + 2 * (span / kEdgeShare), kShortestSpanMs);
    const QDateTime from = first.addMSecs(-(shown - span) / 2), to = from.addMSecs(shown);
    m_time->setRange(from, to);
    m_time->setFormat(timeFormat(from, to, shown / std::max(m_time->tickCount() - 1, 1)));
}

} // namespace ui
