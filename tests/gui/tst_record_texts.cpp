// What the record window says, word for word, where it is composed: the
// memory speed or what it lacks, its change over a week, the rounds passed
// over, the summary's lines, moments and the views listed.

#include "ui/record/record_texts.h"

#include <QTest>

#include <limits>

namespace {

core::Level levelOf(core::MemorySpeedFit::Missing missing, int days, core::MemorySpeed speed = {0.4213, 0.357, 0.5049})
{
    core::Level level {{}, days};
    level.fit.missing = missing;
    level.fit.distinctTimes = 2;
    if (missing == core::MemorySpeedFit::Missing::None)
        level.fit.estimate = speed;
    return level;
}

core::Level measured(double seconds, double low, double high)
{
    return levelOf(core::MemorySpeedFit::Missing::None, 7, {seconds, low, high});
}

} // namespace

class TestRecordTexts : public QObject {
    Q_OBJECT

private slots:
    // Guards against a figure not rounded to hundredths, the fallback to
    // four weeks not said, a reason for no figure lost, a change called clear
    // while the intervals overlap (or not called so when apart), a part of
    // the summary dropped or a line broken inside it, and a moment without
    // its seconds or in the locale's form.
    void eachTextReadsAsWritten_data()
    {
        using Missing = core::MemorySpeedFit::Missing;
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the memory speed of the last week") << ui::memorySpeedText(levelOf(Missing::None, 7))
                                                           << "記憶の速さ：0.42 秒（68%区間 0.36〜0.50 秒）";
        QTest::newRow("the memory speed of four weeks") << ui::memorySpeedText(levelOf(Missing::None, 28))
                                                        << "記憶の速さ：0.42 秒（68%区間 0.36〜0.50 秒、直近28日の回から）";
        QTest::newRow("too few display times") << ui::memorySpeedText(levelOf(Missing::DistinctTimes, 28))
                                               << "記憶の速さ：まだ測れません（直近28日に、3種類以上の表示時間で遊んだ回が要ります。今は2種類）";
        QTest::newRow("rounds passed over") << ui::passedOverText(6, 2)
                                            << "記録のおかしい6回は除きました　見本がほとんど動かなかった2回は数えません";
        QTest::newRow("the summary") << ui::summaryText({12, 97, 71.25}, {QStringLiteral("…"), QString(), "‥"})
                                     << "回数：12　最高：97点　直近10回の平均：71.3点\n…\n‥";
        QTest::newRow("faster, intervals apart") << ui::speedChangeText(measured(0.38, 0.33, 0.43), measured(0.55, 0.47, 0.62))
                                                 << "1週間前から −0.17 秒（はっきり速くなりました）";
        QTest::newRow("slower, intervals apart") << ui::speedChangeText(measured(0.55, 0.47, 0.62), measured(0.38, 0.33, 0.43))
                                                 << "1週間前から ＋0.17 秒（はっきり遅くなりました）";
        QTest::newRow("intervals touching") << ui::speedChangeText(measured(0.38, 0.33, 0.47), measured(0.41, 0.47, 0.50))
                                            << "1週間前から −0.03 秒";
        QTest::newRow("no change in hundredths") << ui::speedChangeText(measured(0.412, 0.3, 0.5), measured(0.408, 0.3, 0.5))
                                                 << "1週間前と同じ";
        QTest::newRow("nothing a week earlier") << ui::speedChangeText(measured(0.4, 0.3, 0.5), levelOf(Missing::Remembered, 28))
                                                << "";
        QTest::newRow("a moment") << ui::momentText(QDateTime(QDate(2026, 12, 8), QTime(3, 12, 59, 640)))
                                  << "2026/12/08 03:12:59";
        QTest::newRow("a whole difficulty") << ui::viewText({{1.5, 0.75}, true}) << "難易度 1.5・すべての表示時間";
        QTest::newRow("no offer without a time") << ui::coachOfferText(std::numeric_limits<double>::quiet_NaN()) << "";
    }
    void eachTextReadsAsWritten()
    {
        QFETCH(QString, text);
        QTEST(text, "expected");
    }
};

QTEST_GUILESS_MAIN(TestRecordTexts)
#include "tst_record_texts.moc"
