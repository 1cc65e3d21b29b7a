#pragma once
// The record window's chart: the score of every round on view over time, and
// the average of the last ten rounds beside it; pointing at a score tells its
// round's moment and display time. Thousands of rounds are drawn as the highs
// and lows of runs of them, which looks the same.

#include "record/round_record.h"

#include <QChartView>
#include <QList>

class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QValueAxis;

namespace ui {

class ScoreChart : public QChartView {
    Q_OBJECT

public:
    explicit ScoreChart(QWidget* parent = nullptr);

    /// Shows `rounds`, oldest first; with none, a hint on how rounds are kept
    /// instead of the chart.
    void setRounds(const QList<record::RoundSummary>& rounds);

    const QLineSeries& scores() const { return *m_scores; }
    const QLineSeries& averages() const { return *m_averages; }
    const QDateTimeAxis& timeAxis() const { return *m_time; }
    const QLabel& emptyHint() const { return *m_emptyHint; }
    /// What pointing at the score drawn at `at` (ms since 1970) tells: the
    /// nearest round's moment, display time and score.
    QString pointText(double at) const;
    /// Where `round`'s score is drawn, in the view's coordinates.
    QPointF drawnAt(const record::RoundSummary& round) const;
    /// What the pointer at `viewPos` is told: the round whose score is drawn
    /// nearest it within a few pixels; empty with none there.
    QString pointTextNear(QPointF viewPos) const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QList<record::RoundSummary> m_rounds;
    QLineSeries* m_scores;
    QLineSeries* m_averages;
    QDateTimeAxis* m_time;
    QValueAxis* m_points;
    QLabel* m_emptyHint;
    bool m_tellingPoint = false; // the tooltip shown is a round's
};

} // namespace ui
