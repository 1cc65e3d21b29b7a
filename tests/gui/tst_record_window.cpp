// The record window with nothing recorded shows how rounds are kept instead
// of an empty chart.

#include "support/test_main.h"
#include "ui/record/score_chart.h"

#include <QDateTimeAxis>
#include <QLabel>
#include <QTest>

class TestRecordWindow : public QObject {
    Q_OBJECT

private slots:
    void anEmptyChartShowsTheHintAndNoTimes();
};

// Guards against the time axis of an empty chart reading the epoch's date
// over and over, and against the hint staying once rounds are there.
void TestRecordWindow::anEmptyChartShowsTheHintAndNoTimes()
{
    ui::ScoreChart chart;
    const auto showsHintAlone = [&chart] {
        return chart.emptyHint().isVisibleTo(&chart) && !chart.timeAxis().isVisible()
            && chart.emptyHint().text().startsWith(QStringLiteral("まだ記録がありません"));
    };
    QVERIFY(showsHintAlone());

    QList<record::RoundSummary> rounds(2);
    rounds[0].playedAt = QDateTime(QDate(2024, 3, 9), QTime(20, 0));
    rounds[1].playedAt = rounds[0].playedAt.addDays(1);
    chart.setRounds(rounds);
    QVERIFY(chart.timeAxis().isVisible() && chart.timeAxis().labelsVisible());
    QVERIFY(!chart.emptyHint().isVisibleTo(&chart));

    chart.setRounds({});
    QVERIFY(showsHintAlone());
}

TORMELL_TEST_MAIN(TestRecordWindow)
#include "tst_record_window.moc"
