// What the record window says, word for word, where it is composed: the
// memory speed or what it lacks, the rounds passed over, the summary line.

#include "ui/record/record_texts.h"

#include <QTest>

#include <limits>

namespace {

core::Level levelOf(core::MemorySpeedFit::Missing missing, int days)
{
    core::Level level {{}, days};
    level.fit.missing = missing;
    level.fit.distinctTimes = 2;
    if (missing == core::MemorySpeedFit::Missing::None)
        level.fit.estimate = core::MemorySpeed {0.4213, 0.357, 0.5049};
    return level;
}

} // namespace

class TestRecordTexts : public QObject {
    Q_OBJECT

private slots:
    // Guards against a figure not rounded to hundredths, the fallback to
    // four weeks not said, a reason for no figure lost, and a part of the
    // summary dropped or misplaced.
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
                                               << "記憶の速さ：まだ測れません（直近28日、3種類以上の表示時間で遊んだ回が要ります（今は2種類））";
        QTest::newRow("rounds passed over") << ui::passedOverText(6, 2)
                                            << "　記録のおかしい6回は除きました　見本がほとんど動かなかった2回は数えません";
        QTest::newRow("the summary") << ui::summaryText({12, 97, 71.25}, QStringLiteral("…"))
                                     << "回数：12　最高：97点　直近10回の平均：71.3点　…";
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
