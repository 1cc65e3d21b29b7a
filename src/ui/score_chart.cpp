#include "ui/score_chart.h"

#include "record/progress.h"

#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>

namespace ui {

namespace {
constexpr double kLowestScore = 0;
constexpr double kHighestScore = 100;
// A lone round still gets a span of time to stand in.
constexpr qint64 kShortestSpanMs = 60 * 1000;
// Within a day the axis names hours and minutes, beyond it days.
constexpr qint64 kDayMs = 24 * 60 * 60 * 1000;
} // namespace

ScoreChart::ScoreChart(QWidget* parent)
    : QChartView(parent), m_scores(new QLineSeries), m_averages(new QLineSeries), m_time(new QDateTimeAxis),
      m_points(new QValueAxis)
{
    setRenderHint(QPainter::Antialiasing);
    QChart* chart = this->chart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    m_scores->setName(QStringLiteral("点数"));
    m_scores->setPointsVisible(true);
    m_averages->setName(QStringLiteral("直近%1回の平均").arg(record::kAverageWindow));
    chart->addSeries(m_scores);
    chart->addSeries(m_averages);

    m_time->setTitleText(QStringLiteral("日時"));
    m_time->setFormat(QStringLiteral("MM/dd"));
    m_points->setTitleText(QStringLiteral("点数"));
    m_points->setRange(kLowestScore, kHighestScore);
    m_points->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(m_time, Qt::AlignBottom);
    chart->addAxis(m_points, Qt::AlignLeft);
    for (QLineSeries* series : {m_scores, m_averages}) {
        series->attachAxis(m_time);
        series->attachAxis(m_points);
    }
}

void ScoreChart::setRounds(const QList<record::RoundSummary>& rounds)
{
    const QList<double> averages = record::runningAverages(rounds);
    QList<QPointF> scorePoints, averagePoints;
    scorePoints.reserve(rounds.size());
    averagePoints.reserve(rounds.size());
    for (qsizetype i = 0; i < rounds.size(); ++i) {
        const auto at = static_cast<double>(rounds[i].playedAt.toMSecsSinceEpoch());
        scorePoints.append({at, static_cast<double>(rounds[i].score)});
        averagePoints.append({at, averages[i]});
    }
    // One replace each: a point at a time would redraw the chart as often.
    m_scores->replace(scorePoints);
    m_averages->replace(averagePoints);

    if (rounds.isEmpty())
        return;
    const QDateTime first = rounds.first().playedAt, last = rounds.last().playedAt;
    const qint64 span = std::max(first.msecsTo(last), kShortestSpanMs);
    m_time->setRange(first, first.addMSecs(span));
    m_time->setFormat(span < kDayMs ? QStringLiteral("HH:mm") : QStringLiteral("MM/dd"));
}

} // namespace ui
