#include "ui/score_chart.h"

#include "record/progress.h"
#include "toolkit/line_thinning.h"

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
      m_points(new QValueAxis)
{
    setRenderHint(QPainter::Antialiasing);
    QChart* chart = this->chart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    m_scores->setName(QStringLiteral("点数"));
    m_averages->setName(QStringLiteral("直近%1回の平均").arg(record::kAverageWindow));
    chart->addSeries(m_scores);
    chart->addSeries(m_averages);

    m_time->setTitleText(QStringLiteral("日時"));
    m_time->setFormat(QStringLiteral("MM/dd"));
    m_points->setTitleText(QStringLiteral("点数"));
    m_points->setRange(kLowestScore, kHighestScore);
    // The chart's words in the window's Japanese font, titles bold as in the
    // theme. The theme's own Arial would send Qt through its fallbacks for
    // every Japanese word and load a Latin face besides.
    QFont title = font();
    title.setBold(true);
    chart->legend()->setFont(font());
    for (QAbstractAxis* axis : std::initializer_list<QAbstractAxis*> {m_time, m_points}) {
        axis->setTitleFont(title);
        axis->setLabelsFont(font());
    }
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
    m_scores->setPointsVisible(rounds.size() <= kMostMarkedRounds);
    // One replace each: a point at a time would redraw the chart as often.
    m_scores->replace(tk::thinnedLine(scorePoints, kThinnedRuns));
    m_averages->replace(tk::thinnedLine(averagePoints, kThinnedRuns));

    if (rounds.isEmpty())
        return;
    const QDateTime first = rounds.first().playedAt, last = rounds.last().playedAt;
    const qint64 span = std::max(first.msecsTo(last), kShortestSpanMs);
    m_time->setRange(first, first.addMSecs(span));
    m_time->setFormat(span < kDayMs ? QStringLiteral("HH:mm") : QStringLiteral("MM/dd"));
}

} // namespace ui
