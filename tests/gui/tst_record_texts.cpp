// What the record window says, word for word: the summary line, the memory
// speed or what it lacks, the coach's offer, why a removal is off.

#include "ui/record/record_texts.h"

#include <QTest>

#include <limits>

namespace {

core::Level determined(int days)
{
    core::Level level;
    level.fit.estimate = core::MemorySpeed {0.4213, 0.357, 0.5049};
    level.fit.missing = core::MemorySpeedFit::Missing::None;
    level.days = days;
    return level;
}

core::Level lacking(core::MemorySpeedFit::Missing missing)
{
    core::Level level;
    level.fit.missing = missing;
    level.fit.distinctTimes = 2;
    level.days = core::kFallbackDays;
    return level;
}

} // namespace

class TestRecordTexts : public QObject {
    Q_OBJECT

private slots:
    void eachTextReadsAsWritten_data()
    {
        using Missing = core::MemorySpeedFit::Missing;
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a setting") << ui::settingText({1, 0.75}) << "難易度 1・表示時間 0.75 秒";
        QTest::newRow("the memory speed of the last week") << ui::memorySpeedText(determined(core::kRecentDays))
                                                           << "記憶の速さ：0.42 秒（68%区間 0.36〜0.50 秒）";
        QTest::newRow("the memory speed of four weeks") << ui::memorySpeedText(determined(core::kFallbackDays))
                                                        << "記憶の速さ：0.42 秒（68%区間 0.36〜0.50 秒、直近28日の回から）";
        QTest::newRow("too few display times") << ui::memorySpeedText(lacking(Missing::DistinctTimes))
                                               << "記憶の速さ：まだ測れません（直近28日、3種類以上の表示時間で遊んだ回が要ります（今は2種類））";
        QTest::newRow("nothing forgotten") << ui::memorySpeedText(lacking(Missing::Forgotten))
                                           << "記憶の速さ：まだ測れません（直近28日、60点未満の回が要ります）";
        QTest::newRow("rounds passed over") << ui::passedOverText(6, 2)
                                            << "　記録のおかしい6回は除きました　見本がほとんど動かなかった2回は数えません";
        QTest::newRow("no rounds passed over") << ui::passedOverText(0, 0) << "";
        QTest::newRow("the summary") << ui::summaryText({12, 97, 71.25}, QStringLiteral("…"))
                                     << "回数：12　最高：97点　直近10回の平均：71.3点　…";
        QTest::newRow("the coach's offer") << ui::coachOfferText(0.5) << "次のおまかせ表示時間：0.50 秒";
        QTest::newRow("no offer") << ui::coachOfferText(std::numeric_limits<double>::quiet_NaN()) << "";
        QTest::newRow("no removal from a newer record") << ui::cannotRemoveText(true)
                                                        << "新しい版のTormellで書かれた記録のため、削除できません。";
    }
    // Guards against a wording changed by accident, a figure not rounded to
    // hundredths, or a part of the summary lost.
    void eachTextReadsAsWritten()
    {
        QFETCH(QString, text);
        QTEST(text, "expected");
    }
};

QTEST_GUILESS_MAIN(TestRecordTexts)
#include "tst_record_texts.moc"
