// Coached practice: with it on, a check after START keeps the round at once
// and the coach types the next display time; with it off, nothing differs.

#include "record/score_store.h"
#include "support/draw_scripts.h"
#include "support/game.h"
#include "support/record_window.h"
#include "support/test_main.h"
#include "support/verdicts.h"
#include "ui/coach.h"
#include "ui/result_dialog.h"
#include "widgets/slider.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <limits>

using core::X2;
using core::Y2;

namespace {

constexpr int kRemembered = 60;

// START, then the head dropped on the target's head or far from it, then CHEK.
ui::FrmMSG& practise(Game& game, bool remember)
{
    constexpr float kFarX = 2000;
    constexpr float kFarY = 900;
    ui::Frm001& w = game.w();
    game.random.setDraws({kNeckOnlyDraw});
    w.Command1_Click();
    w.LblPOI_MouseMove(1, Qt::LeftButton, Qt::NoModifier, 0, 0);
    if (remember)
        w.Picture1_DragOver(
            static_cast<float>(w.figure().DXY_TGT(X2, 1)), static_cast<float>(w.figure().DXY_TGT(Y2, 1)));
    else
        w.Picture1_DragOver(kFarX, kFarY);
    w.Command2_Click();
    return *w.resultDialog();
}

QList<record::RoundSummary> kept(Game& game)
{
    return game.record.store.rounds().value;
}

// A coached round of difficulty 1 played `daysAgo` days before `now`.
record::RoundRecord coachedRound(const QDateTime& now, double daysAgo, double seconds, int score)
{
    constexpr qint64 kSecondsADay = 24 * 3600;
    record::RoundRecord round;
    round.playedAt = now.addSecs(-static_cast<qint64>(daysAgo * kSecondsADay));
    round.difficulty = 1;
    round.displaySeconds = seconds;
    round.score = score;
    round.verdict = verdict::kFair; // the record asks for one; the coach reads the score
    round.coached = true;
    return round;
}

} // namespace

class TestCoachedPractice : public QObject {
    Q_OBJECT

private slots:
    void aPractisedRoundIsKeptAtOnceAndTheBoxStepped_data()
    {
        QTest::addColumn<bool>("remember");
        QTest::addColumn<QString>("next");
        // 0.75 / 2^(1/4) = 0.6307; 0.75 x 2^(3/4) = 1.2613.
        QTest::newRow("remembered: one step shorter") << true << QStringLiteral("0.63");
        QTest::newRow("forgotten: three steps longer") << false << QStringLiteral("1.26");
    }
    // Guards against a coached round left for 点数保存 (or kept twice by it),
    // a box that does not follow the staircase, and a slider moved with it.
    void aPractisedRoundIsKeptAtOnceAndTheBoxStepped()
    {
        QFETCH(bool, remember);
        QFETCH(QString, next);
        Game game; // with settings of its own
        ui::coach::setPracticeOn(true);
        ui::Frm001& w = game.w();
        const int slider = w.Slider1->value();
        ui::FrmMSG& dialog = practise(game, remember);
        QCOMPARE(w.SCORE >= kRemembered, remember);

        QVERIFY(dialog.kept());
        QVERIFY(dialog.LblSAVE->isVisible());
        QCOMPARE(kept(game).size(), 1);
        QVERIFY(kept(game).first().coached);
        QCOMPARE(kept(game).first().displaySeconds, 0.75);
        QCOMPARE(w.Text1->text(), next);
        QCOMPARE(w.Slider1->value(), slider);

        QTest::mouseClick(dialog.Command1, Qt::LeftButton);
        QVERIFY(dialog.isHidden());
        QCOMPARE(kept(game).size(), 1);

        // The next round steps from the time it was played at, typed over or not.
        w.Text1->setText(QStringLiteral("2"));
        practise(game, true);
        QCOMPARE(w.Text1->text(), QStringLiteral("1.68")); // 2 / 2^(1/4) = 1.6818
    }

    // Guards against practice counted from a check that showed no target:
    // one with no START, a second check, and one after CLEAR.
    void onlyACheckAfterStartIsPractice()
    {
        Game game; // with settings of its own
        ui::coach::setPracticeOn(true);
        ui::Frm001& w = game.w();
        w.Command2_Click();
        QVERIFY(!w.resultDialog()->kept());
        practise(game, true);
        w.Command2_Click();
        QVERIFY(!w.resultDialog()->kept());
        game.random.setDraws({kNeckOnlyDraw});
        w.Command1_Click();
        w.Command4_Click();
        w.Command2_Click();
        QVERIFY(!w.resultDialog()->kept());
        QCOMPARE(kept(game).size(), 1);
        QCOMPARE(w.Text1->text(), QStringLiteral("0.63"));
    }

    // Guards against a round the record would not take changing the box, or
    // lost: the dialog says why, and 点数保存 tries again.
    void aRoundThatCannotBeKeptLeavesTheBoxAlone()
    {
        Game game; // with settings of its own
        ui::coach::setPracticeOn(true);
        ui::Frm001& w = game.w();
        const QString blocked = QStringLiteral("scores.sqlite");
        QVERIFY(QDir(game.record.folder.path()).mkdir(blocked)); // a folder where the file should be
        ui::FrmMSG& dialog = practise(game, true);
        QVERIFY(!dialog.kept());
        QVERIFY(dialog.LblSAVE->text().startsWith(QStringLiteral("点数を保存できませんでした。")));
        QCOMPARE(w.Text1->text(), QStringLiteral("0.75"));

        QVERIFY(QDir(game.record.folder.path()).rmdir(blocked));
        QTest::mouseClick(dialog.Command1, Qt::LeftButton);
        QVERIFY(dialog.isHidden());
        QCOMPARE(kept(game).size(), 1);
        QVERIFY(kept(game).first().coached);
    }

    // Guards against coached practice reaching into a round with it off.
    void withPracticeOffARoundIsAsEver()
    {
        Game game;
        ui::coach::setPracticeOn(false);
        ui::Frm001& w = game.w();
        ui::FrmMSG& dialog = practise(game, true);
        QVERIFY(!dialog.kept());
        QVERIFY(dialog.LblSAVE->isHidden());
        QVERIFY(kept(game).isEmpty());
        QCOMPARE(w.Text1->text(), QStringLiteral("0.75"));
        QTest::mouseClick(dialog.Command1, Qt::LeftButton);
        QCOMPARE(kept(game).size(), 1);
        QVERIFY(!kept(game).first().coached);
    }

    // Guards against rounds no game plays (a record edited by hand) steering
    // the staircase or the memory speed, or left out without a word.
    void roundsNoGameCouldPlayAreLeftOutAndCounted()
    {
        const QDateTime now = QDateTime::currentDateTime();
        constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
        Game game;
        ui::Frm001& w = game.w();
        // Remembered at 0.5 s, forgotten at 0.2 s, then nothing but nonsense.
        QList<record::RoundRecord> rounds {coachedRound(now, 3, 0.5, 90), coachedRound(now, 2, 0.2, 10),
            coachedRound(now, 1, 0, 90), coachedRound(now, 1, -1, 90), coachedRound(now, 1, kNaN, 90),
            coachedRound(now, 1, 0.4, 101), coachedRound(now, 1, 0.4, -1), coachedRound(now, -1, 0.4, 90)};
        for (record::RoundRecord& round : rounds)
            QVERIFY(!game.record.store.append(round));

        w.MNU点数->trigger();
        ui::FrmSCORE& record = *recordWindowOf(w);
        QVERIFY2(record.LblSUMMARY->text().contains(QStringLiteral("記録のおかしい6回は除きました")),
            qPrintable(record.LblSUMMARY->text()));
        QCOMPARE(record.coachedSeconds(), 0.34); // three steps up from 0.2 s: 0.3364

        const QList<record::RoundSummary> summaries(rounds.begin(), rounds.end());
        const ui::coach::Reading recent = ui::coach::windowRounds(summaries, now, now);
        QCOMPARE(recent.trials.size(), std::size_t {2});
        QCOMPARE(recent.leftOut, 6);
    }

    // Guards against a day's point fitted to other days than the four weeks
    // ending with it, or a day without rounds given a point.
    void eachDayIsFittedToTheFourWeeksEndingWithIt()
    {
        const QDateTime now = QDateTime::currentDateTime();
        QList<record::RoundSummary> rounds;
        // Forty days ago: rounds that alone determine a speed of about 0.3 s.
        for (const double seconds : {0.1, 0.2, 0.3, 0.5, 0.8})
            for (int n = 0; n < 4; ++n)
                rounds.append(coachedRound(now, 40, seconds, seconds >= 0.3 || n == 0 ? 90 : 10));
        // Today: one round, remembered, at a single time.
        rounds.append(coachedRound(now, 0, 0.2, 90));
        const QList<ui::coach::DayEstimate> days = ui::coach::dailyMemorySpeed(rounds, now);
        QCOMPARE(days.size(), 1); // today's window holds too little
        QCOMPARE(days.first().day, now.addDays(-40).date());
        QVERIFY(days.first().speed.seconds > 0.1 && days.first().speed.seconds < 0.5);
    }

    // Guards against a switch that is not remembered, and an offer of the
    // coach's time that the main window does not take.
    void theRecordWindowSwitchesPracticeAndOffersTheCoachsTime()
    {
        Game game; // with settings of its own
        ui::coach::setPracticeOn(true);
        ui::Frm001& w = game.w();
        practise(game, false);
        w.MNU点数->trigger();
        ui::FrmSCORE& record = *recordWindowOf(w);
        QVERIFY(record.ChkCOACH->isChecked());
        QTest::mouseClick(record.ChkCOACH, Qt::LeftButton);
        QVERIFY(!ui::coach::practiceOn());

        QCOMPARE(record.coachedSeconds(), 1.26);
        QVERIFY(record.LblCOACH->text().contains(QStringLiteral("1.26 秒")));
        w.Text1->setText(QStringLiteral("0.3"));
        w.Combo1->setCurrentIndex(2);
        QTest::mouseClick(record.CmdCOACH, Qt::LeftButton);
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("1"));
        QCOMPARE(w.Text1->text(), QStringLiteral("1.26"));
        QVERIFY(record.LblSUMMARY->text().contains(QStringLiteral("記憶の速さ：まだ測れません")));
    }
};

TORMELL_TEST_MAIN(TestCoachedPractice)
#include "tst_coached_practice.moc"
