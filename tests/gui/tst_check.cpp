// CHEK through the real window: what it stops, shows, scores and reports.

#include "support/clock_period.h"
#include "support/draw_scripts.h"
#include "support/game.h"
#include "support/grid_lines.h"
#include "support/test_main.h"
#include "support/verdicts.h"
#include "ui/result_dialog.h"
#include "widgets/status_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using core::X2;
using core::Y2;

namespace {

using namespace verdict;

// Whole-number joints keep the ratio exact: all joints on one spot, the target
// moves joint 1 by (300, 400), 500 twips, and the player goes `fraction` of
// the way there, so the ratio is `fraction`.
constexpr double kSpot = 3000;
constexpr double kTargetDx = 300;
constexpr double kTargetDy = 400;

void setRound(ui::Frm001& w, double fraction)
{
    for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i)
        for (core::PoseCoords* pose : {&w.figure().DXY_DEF, &w.figure().DXY_TGT, &w.figure().DXY_USR}) {
            (*pose)(X2, i) = kSpot;
            (*pose)(Y2, i) = kSpot;
        }
    w.figure().DXY_TGT(X2, 1) += kTargetDx;
    w.figure().DXY_TGT(Y2, 1) += kTargetDy;
    w.figure().DXY_USR(X2, 1) += fraction * kTargetDx;
    w.figure().DXY_USR(Y2, 1) += fraction * kTargetDy;
}

QString statusFor(const QString& verdict, int score)
{
    return verdict + QStringLiteral("  ") + QString::number(score) + QStringLiteral("点");
}

} // namespace

class TestCheck : public QObject {
    Q_OBJECT

private slots:
    // Guards against a check that leaves the clock running, keeps the target
    // hidden, skips the grid, or fills the dialog from the wrong controls.
    void checkEndsTheRoundAndReportsIt()
    {
        Game game;
        ui::Frm001& w = game.w();
        game.random.setDraws({kNeckOnlyDraw});
        w.Command1_Click();
        QCOMPARE(w.Timer1.interval(), kClockPeriodMs);
        QVERIFY(!w.figure().LinA(1).visible());
        for (int tick = 0; tick < 3; ++tick)
            w.Timer1_Timer();

        // Drag the head handle onto the target's head (as near as a float lands).
        w.LblPOI_MouseMove(1, Qt::LeftButton, Qt::NoModifier, 0, 0);
        w.Picture1_DragOver(
            static_cast<float>(w.figure().DXY_TGT(X2, 1)), static_cast<float>(w.figure().DXY_TGT(Y2, 1)));
        // Typed but not chosen: only the check's own rebuild can show it.
        w.CmbNline->setEditText(QStringLiteral("3"));

        w.Command2_Click();

        QCOMPARE(w.Timer1.interval(), 0);
        for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i) {
            QVERIFY(w.figure().LinA(i).visible());
            QVERIFY(w.figure().ShpEXP(i).visible());
        }
        QVERIFY2(w.SCORE >= 99, qPrintable(QString::number(w.SCORE)));
        QCOMPARE(w.StatusBar1->text(), statusFor(kVeryGood, w.SCORE));
        QCOMPARE(visibleGridLines(w.figure()), 2 * 4); // three lines each way: four intervals

        ui::FrmMSG* dialog = w.resultDialog();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->LBLDATA1->text(), QStringLiteral("1"));
        QCOMPARE(dialog->LBLDATA2->text(), QStringLiteral("0.75"));
        QCOMPARE(dialog->LBLDATA3->text(), QString::number(w.SCORE));
        QCOMPARE(dialog->LBLDATA4->text(), QStringLiteral("3"));
        QCOMPARE(w.SEC_CNT, 2);
        QCOMPARE(w.Label1->text(), QStringLiteral("3"));
    }

    // Guards against a second dialog, a drifting result on a repeated check,
    // or a dialog that is shown again without being refilled.
    void aSecondCheckRepeatsTheResultInTheSameDialog()
    {
        Game game;
        ui::Frm001& w = game.w();
        setRound(w, 0.5);
        w.Command2_Click();
        const QPointer<ui::FrmMSG> first = w.resultDialog();
        QVERIFY(first);
        const QString status = w.StatusBar1->text();
        QCOMPARE(status, statusFor(kFair, 50));
        QCOMPARE(w.SEC_CNT, -1);
        first->LBLDATA3->setText(QString());

        w.Command2_Click();

        QCOMPARE(w.resultDialog(), first.data());
        QCOMPARE(w.findChildren<ui::FrmMSG*>().size(), 1);
        QCOMPARE(w.StatusBar1->text(), status);
        QCOMPARE(w.SCORE, 50);
        QCOMPARE(first->LBLDATA3->text(), QStringLiteral("50"));
        QCOMPARE(w.SEC_CNT, -2);
    }

    // Guards against a verdict that is appended to, or left over from, the
    // previous check (a band edge that matched nothing did exactly that).
    void theStatusShowsOnlyTheLatestVerdict_data()
    {
        QTest::addColumn<double>("previous");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<int>("score");

        QTest::newRow("very good after bad") << 0.0 << 1.0 << kVeryGood << 100;
        QTest::newRow("bad after very good") << 1.0 << 0.0 << kBad << 0;
        QTest::newRow("exactly 0.4 after very good") << 1.0 << 0.4 << kTryHarder << 40;
        QTest::newRow("exactly 0.6 after bad") << 0.0 << 0.6 << kFair << 60;
        QTest::newRow("good after try harder") << 0.4 << 0.7 << kGood << 70;
        QTest::newRow("farther than rest after good") << 0.7 << -1.0 << kBad << 0;
    }
    void theStatusShowsOnlyTheLatestVerdict()
    {
        QFETCH(double, previous);
        QFETCH(double, fraction);
        QFETCH(QString, verdict);
        QFETCH(int, score);

        Game game;
        ui::Frm001& w = game.w();
        setRound(w, previous);
        w.Command2_Click();
        QVERIFY(w.StatusBar1->text() != statusFor(verdict, score));
        setRound(w, fraction);
        w.Command2_Click();

        QCOMPARE(w.StatusBar1->text(), statusFor(verdict, score));
        QCOMPARE(w.SCORE, score);
        QCOMPARE(w.resultDialog()->LBLDATA3->text(), QString::number(score));
    }

    // Guards against a check before any round raising an error or scoring
    // outside 0..100 against the untouched target.
    void aCheckBeforeAnyStartIsSafe()
    {
        Game game;
        ui::Frm001& w = game.w();
        const int errorsBefore = widgets::Application::instance()->errorCount();

        QTest::mouseClick(w.Command2, Qt::LeftButton);

        QCOMPARE(widgets::Application::instance()->errorCount(), errorsBefore);
        QVERIFY(w.SCORE >= 0 && w.SCORE <= 100);
        QVERIFY(w.StatusBar1->text().endsWith(QStringLiteral("  ") + QString::number(w.SCORE) + QStringLiteral("点")));
        QVERIFY(w.resultDialog());
        QCOMPARE(w.resultDialog()->LBLDATA4->text(), QStringLiteral("0")); // Label1 is still empty
        QCOMPARE(w.SEC_CNT, -1);
    }
};

TORMELL_TEST_MAIN(TestCheck)
#include "tst_check.moc"
