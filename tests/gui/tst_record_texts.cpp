// What the record window says, word for word, where it is composed: the
// memory speed or what it lacks, its change, what a removal does to it, the
// rounds passed over, the summary's lines, moments and the views listed.

#include "ui/record/record_texts.h"

#include <QTest>
#include <limits>

namespace {

core::Level levelOf(core::MemorySpeedFit::Missing missing, int days, core::MemorySpeed speed = {0.4213, 0.357, 0.5049},
    int distinctTimes = 2)
{
    core::Level level {{}, days};
    level.fit.missing = missing;
    level.fit.distinctTimes = distinctTimes;
    level.fit.remembered = 17;
    level.fit.forgotten = 7;
    if (missing == core::MemorySpeedFit::Missing::None)
        level.fit.estimate = speed;
    return level;
}

core::Level measured(double seconds)
{
    return levelOf(core::MemorySpeedFit::Missing::None, 7, {seconds, seconds * 0.9, seconds * 1.1});
}

core::SpeedChange changed(double seconds, core::SpeedChange::Direction direction)
{
    return {seconds, direction};
}

} // namespace

class TestRecordTexts : public QObject {
    Q_OBJECT

private slots:
    // Guards against a figure not rounded to hundredths, the rounds it rests
    // on or the fallback to four weeks not said, a reason for no figure lost,
    // a change within chance said as a direction (or a clear one not said
    // clear), a removal that changes the figure not said, a part of the
    // summary dropped or a line broken inside it, and a moment without its
    // seconds or in the locale's form.
    void eachTextReadsAsWritten_data()
    {
        using Missing = core::MemorySpeedFit::Missing;
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the memory speed of the last week") << ui::memorySpeedText(
            levelOf(Missing::None, 7)) << "記憶の速さ：0.42 秒（68%区間 0.36〜0.50 秒、おまかせ練習の24回から）";
        QTest::newRow("the memory speed of four weeks")
            << ui::memorySpeedText(levelOf(Missing::None, 28))
            << "記憶の速さ：0.42 秒（68%区間 0.36〜0.50 秒、直近28日のおまかせ練習の24回から）";
        QTest::newRow("too few display times")
            << ui::memorySpeedText(levelOf(Missing::DistinctTimes, 28))
            << "記憶の速さ：まだ測れません（直近28日のおまかせ練習に、3種類以上の表示時間の回が要ります。今は2種類）";
        QTest::newRow("no coached round: how to measure it")
            << ui::memorySpeedText(levelOf(Missing::DistinctTimes, 28, {}, 0))
            << "記憶の速さ：おまかせ練習で遊ぶと測れます（点数保存で残した回からは求めません）";
        QTest::newRow("beside one setting, the difficulty's") << ui::memorySpeedText(levelOf(Missing::None, 7), 1.5)
            << "難易度 1.5 の記憶の速さ：0.42 秒（68%区間 0.36〜0.50 秒、おまかせ練習の24回から）";
        QTest::newRow("under a figure: how to read it")
            << ui::memorySpeedHint(levelOf(Missing::None, 7))
            << "表示時間がこれより短いと覚えにくくなる目安です。短いほど速く覚えられます。"
               "68%区間には本当の値が3回に2回ほど入ります。";
        QTest::newRow("under no figure yet: the way to one") << ui::memorySpeedHint(levelOf(Missing::Forgotten, 7))
            << "おまかせ練習を続ければ、表示時間を変えながら出すので、測れるようになります。";
        QTest::newRow("under how to measure it: nothing more")
            << ui::memorySpeedHint(levelOf(Missing::DistinctTimes, 28, {}, 0)) << "";
        QTest::newRow("rounds passed over")
            << ui::passedOverText(6, 2) << "記録のおかしい6回は除きました　見本がほとんど動かなかった2回は数えません";
        QTest::newRow("the summary") << ui::summaryText({12, 97, 71.25}, {QStringLiteral("…"), QString(), "‥"})
                                     << "回数：12　最高：97点　直近10回の平均：71.3点\n…\n‥";
        using Direction = core::SpeedChange::Direction;
        QTest::newRow("clearly faster") << ui::speedChangeText(changed(-0.17, Direction::Faster))
                                        << "20日前から −0.17 秒（はっきり速くなりました）";
        QTest::newRow("clearly slower") << ui::speedChangeText(changed(0.17, Direction::Slower))
                                        << "20日前から ＋0.17 秒（はっきり遅くなりました）";
        QTest::newRow("within chance: no direction")
            << ui::speedChangeText(changed(-0.17, Direction::WithinChance)) << "20日前との差は誤差の範囲";
        QTest::newRow("nothing to compare") << ui::speedChangeText(std::nullopt) << "";
        QTest::newRow("a removal that changes the figure") << ui::removalEffectText(
            measured(1.49), measured(0.76)) << "削除すると、記憶の速さが 1.49 秒から 0.76 秒に変わります。";
        QTest::newRow("a removal that leaves it unmeasured") << ui::removalEffectText(measured(1.49),
            levelOf(Missing::Forgotten, 28)) << "削除すると、記憶の速さ（1.49 秒）がまだ測れなくなります。";
        QTest::newRow("a removal within the hundredth")
            << ui::removalEffectText(measured(0.412), measured(0.408)) << "";
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
