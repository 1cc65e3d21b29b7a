// CLEAR: back to the ready state from any phase of a round.

#include "core/body.h"
#include "support/draw_scripts.h"
#include "support/game.h"
#include "support/test_main.h"
#include "support/window_snapshot.h"
#include "widgets/status_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using core::X2;
using core::Y2;

namespace {

// A round being reproduced: target drawn, joint 3 dragged, two seconds counted.
void reproduceARound(Game& g)
{
    ui::Frm001& w = g.w();
    w.Text1->setText(QStringLiteral("0"));
    w.Combo1->setCurrentText(QStringLiteral("3"));
    g.random.setDraws(script({1, 3, 5}));
    w.Command1_Click();
    w.LblPOI_DragOver(3, 500, 500);
    emit w.Timer1.tick();
    emit w.Timer1.tick();
}

} // namespace

class TestClear : public QObject {
    Q_OBJECT

private slots:
    // Guards against CLEAR leaving the clock running, the handles draggable or
    // the player's moved joints on view, or resetting the count itself.
    void clearEndsTheRoundBeingReproduced()
    {
        Game g;
        ui::Frm001& w = g.w();
        reproduceARound(g);
        QVERIFY(w.figure().DXY_USR(X2, 3) != w.figure().DXY_DEF(X2, 3));

        w.Command4_Click();

        QCOMPARE(w.Timer1.interval(), 0);
        QCOMPARE(w.Label1->text(), QString());
        QCOMPARE(w.SEC_CNT, 2);
        QCOMPARE(w.StatusBar1->text(), QStringLiteral("READY"));
        for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i) {
            QVERIFY(!w.figure().LblPOI(i).visible());
            QVERIFY(!w.figure().LinA(i).visible());
            QVERIFY(!w.figure().ShpEXP(i).visible());
            QCOMPARE(w.figure().ShpPOINT(i).left(), static_cast<float>(w.figure().DXY_DEF(X2, i) - core::kHandleHalf));
            QCOMPARE(w.figure().ShpPOINT(i).top(), static_cast<float>(w.figure().DXY_DEF(Y2, i) - core::kHandleHalf));
            QCOMPARE(w.figure().LinB(i).x2(), static_cast<float>(w.figure().DXY_DEF(X2, i)));
        }
        QVERIFY(w.figure().DXY_USR == w.figure().DXY_DEF);
    }

    // Guards against CLEAR depending on the state it starts from (a toggle,
    // an accumulation).
    void clearTwiceEqualsClearOnce()
    {
        Game g;
        ui::Frm001& w = g.w();
        reproduceARound(g);
        w.Command4_Click();
        const QStringList once = snapshot(w);

        w.Command4_Click();

        QCOMPARE(snapshot(w), once);
    }

    // Guards against the ready state after CLEAR differing from the one the
    // window loads into.
    void clearBeforeAnyStartKeepsTheLoadedState()
    {
        Game g;
        ui::Frm001& w = g.w();
        const QStringList loaded = snapshot(w);
        QCOMPARE(w.Timer1.interval(), 0);

        w.Command4_Click();

        QCOMPARE(snapshot(w), loaded);
    }

    // Guards against CLEAR wiping the last target, which stays until the next START.
    void clearKeepsTheLastTarget()
    {
        Game g;
        ui::Frm001& w = g.w();
        reproduceARound(g);
        const core::PoseAngles angles = w.figure().DTT_TGT;
        const core::PoseCoords coords = w.figure().DXY_TGT;
        QVERIFY(!(angles == w.figure().DTT_DEF));

        w.Command4_Click();

        QVERIFY(w.figure().DTT_TGT == angles);
        QVERIFY(w.figure().DXY_TGT == coords);
    }
};

TORMELL_TEST_MAIN(TestClear)
#include "tst_clear.moc"
