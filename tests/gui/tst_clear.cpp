// CLEAR: back to the ready state from any phase of a round.

#include "core/body.h"
#include "support/draw_scripts.h"
#include "support/game.h"
#include "support/test_main.h"
#include "widgets/canvas.h"
#include "widgets/status_bar.h"

#include <QComboBox>
#include <QDebug>
#include <QLabel>
#include <QLineEdit>

using figure::X1;
using figure::X2;
using figure::Y2;

namespace {

// Everything a player can see or a later handler reads, as one comparable text.
QString snapshot(Frm001& w)
{
    QString text;
    QDebug out(&text);
    const auto line = [&out](const tk::Line& l) { out << l.visible() << l.x1() << l.y1() << l.x2() << l.y2(); };
    const auto box = [&out](const tk::BoxItem& b) { out << b.visible() << b.left() << b.top(); };
    for (int i = figure::kFirstSegment; i <= figure::kLastSegment; ++i) {
        line(w.figure().LinA(i));
        line(w.figure().LinB(i));
        box(w.figure().ShpPOINT(i));
        box(w.figure().ShpEXP(i));
        box(w.figure().LblPOI(i));
        out << w.figure().DTT_USR(i) << w.figure().DTT_TGT(i);
        for (int k = X1; k <= Y2; ++k)
            out << w.figure().DXY_USR(k, i) << w.figure().DXY_DEF(k, i) << w.figure().DXY_TGT(k, i);
    }
    for (int i = w.figure().LinBG.first; i <= w.figure().LinBG.last; ++i)
        line(w.figure().LinBG(i));
    for (const tk::Line* trunk : {w.figure().LinBODY, w.figure().LinSHOLD, w.figure().LinWEST})
        out << trunk->borderColor();
    for (int j = w.figure().ShpBD.first; j <= w.figure().ShpBD.last; ++j)
        out << w.figure().ShpBD(j).backColor() << w.figure().ShpBD(j).borderColor();
    out << w.Label1->text() << w.StatusBar1->text() << w.Timer1.interval() << w.SEC_CNT;
    return text;
}

// A round being reproduced: target drawn, joint 3 dragged, two seconds counted.
void reproduceARound(Game& g)
{
    Frm001& w = g.w();
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
        Frm001& w = g.w();
        reproduceARound(g);
        QVERIFY(w.figure().DXY_USR(X2, 3) != w.figure().DXY_DEF(X2, 3));

        w.Command4_Click();

        QCOMPARE(w.Timer1.interval(), 0);
        QCOMPARE(w.Label1->text(), QString());
        QCOMPARE(w.SEC_CNT, 2);
        QCOMPARE(w.StatusBar1->text(), QStringLiteral("READY"));
        for (int i = figure::kFirstSegment; i <= figure::kLastSegment; ++i) {
            QVERIFY(!w.figure().LblPOI(i).visible());
            QVERIFY(!w.figure().LinA(i).visible());
            QVERIFY(!w.figure().ShpEXP(i).visible());
            QCOMPARE(w.figure().ShpPOINT(i).left(), static_cast<float>(w.figure().DXY_DEF(X2, i) - figure::kHandleHalf));
            QCOMPARE(w.figure().ShpPOINT(i).top(), static_cast<float>(w.figure().DXY_DEF(Y2, i) - figure::kHandleHalf));
            QCOMPARE(w.figure().LinB(i).x2(), static_cast<float>(w.figure().DXY_DEF(X2, i)));
        }
        QVERIFY(w.figure().DXY_USR == w.figure().DXY_DEF);
    }

    // Guards against CLEAR depending on the state it starts from (a toggle,
    // an accumulation).
    void clearTwiceEqualsClearOnce()
    {
        Game g;
        Frm001& w = g.w();
        reproduceARound(g);
        w.Command4_Click();
        const QString once = snapshot(w);

        w.Command4_Click();

        QCOMPARE(snapshot(w), once);
    }

    // Guards against the ready state after CLEAR differing from the one the
    // window loads into.
    void clearBeforeAnyStartKeepsTheLoadedState()
    {
        Game g;
        Frm001& w = g.w();
        const QString loaded = snapshot(w);
        QCOMPARE(w.Timer1.interval(), 0);

        w.Command4_Click();

        QCOMPARE(snapshot(w), loaded);
    }

    // Guards against CLEAR wiping the last target, which stays until the next START.
    void clearKeepsTheLastTarget()
    {
        Game g;
        Frm001& w = g.w();
        reproduceARound(g);
        const figure::PoseAngles angles = w.figure().DTT_TGT;
        const figure::PoseCoords coords = w.figure().DXY_TGT;
        QVERIFY(!(angles == w.figure().DTT_DEF));

        w.Command4_Click();

        QVERIFY(w.figure().DTT_TGT == angles);
        QVERIFY(w.figure().DXY_TGT == coords);
    }
};

TORMELL_TEST_MAIN(TestClear)
#include "tst_clear.moc"
