// The reset to the rest pose and the ready state.

#include "core/body.h"
#include "support/clock_period.h"
#include "support/game.h"
#include "support/test_main.h"
#include "support/window_snapshot.h"
#include "toolkit/items.h"
#include "widgets/status_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QtTest>
#include <cmath>

using core::X2;
using core::Y2;

namespace {

// A round in progress: the target shown and gone, two joints dragged (an
// elbow carrying its hand, and a foot) and one clock tick. False if the
// round did not get that far.
bool playUntilMidRound(ui::Frm001& w)
{
    w.Command1_Click();
    if (!w.figure().LblPOI(2).visible())
        return false;
    w.LblPOI_DragOver(2, 500, 300);
    w.LblPOI_DragOver(9, 10, 20);
    w.Timer1_Timer();
    return w.figure().DXY_USR(X2, 3) != w.figure().DXY_DEF(X2, 3)
        && w.figure().DXY_USR(Y2, 9) != w.figure().DXY_DEF(Y2, 9);
}

bool indexZeroSlotsAreEmpty(const core::PoseAngles& dtt, const core::PoseCoords& dxy)
{
    bool empty = dtt(0) == 0;
    for (int i = 0; i <= core::kLastSegment; ++i)
        empty = empty && dxy(0, i) == 0;
    for (int k = 0; k <= Y2; ++k)
        empty = empty && dxy(k, 0) == 0;
    return empty;
}

} // namespace

class ResetTest : public QObject {
    Q_OBJECT

private slots:
    void resetTwiceInARowChangesNothingMore();
    void resetKeepsTheLastTarget();
    void resetLeavesTheSlotsWithoutDataEmpty();
    void resetLeavesTheDragHandlesWhereTheyWere();
    void resetAfterADragReturnsToTheReadyState();
    void resetLeavesTheClockAndTheGridAlone();
};

// Guards against a reset that depends on what the previous one left, e.g. an
// offset applied relative to the current position.
void ResetTest::resetTwiceInARowChangesNothingMore()
{
    Game g;
    QVERIFY(playUntilMidRound(g.w()));
    g.w().SUB_SETDEFAULT();
    const QStringList first = snapshot(g.w());
    g.w().SUB_SETDEFAULT();
    QCOMPARE(snapshot(g.w()), first);
}

// Guards against a reset forgetting the target, which CHEK still reads.
void ResetTest::resetKeepsTheLastTarget()
{
    Game g;
    QVERIFY(playUntilMidRound(g.w()));
    for (int i = 0; i <= core::kLastSegment; ++i) {
        g.w().figure().DTT_TGT(i) = 10.5 * i - 7;
        for (int k = 0; k <= Y2; ++k)
            g.w().figure().DXY_TGT(k, i) = 1000.25 * k + i;
    }
    const core::PoseAngles angles = g.w().figure().DTT_TGT;
    const core::PoseCoords coords = g.w().figure().DXY_TGT;
    g.w().SUB_SETDEFAULT();
    QVERIFY(g.w().figure().DTT_TGT == angles);
    QVERIFY(g.w().figure().DXY_TGT == coords);
}

// Guards against a copy loop starting at 0, which would put data where none belongs.
void ResetTest::resetLeavesTheSlotsWithoutDataEmpty()
{
    Game g;
    constexpr int kRounds = 3;
    for (int round = 0; round < kRounds; ++round) {
        QVERIFY(indexZeroSlotsAreEmpty(g.w().figure().DTT_USR, g.w().figure().DXY_USR));
        QVERIFY(indexZeroSlotsAreEmpty(g.w().figure().DTT_DEF, g.w().figure().DXY_DEF));
        QVERIFY(playUntilMidRound(g.w()));
        g.w().SUB_SETDEFAULT();
        g.w().SUB_SETDEFAULT();
    }
    QVERIFY(indexZeroSlotsAreEmpty(g.w().figure().DTT_USR, g.w().figure().DXY_USR));
    QVERIFY(indexZeroSlotsAreEmpty(g.w().figure().DTT_DEF, g.w().figure().DXY_DEF));
}

// Guards against a reset moving the handles, or leaving one shown, bordered or resized.
void ResetTest::resetLeavesTheDragHandlesWhereTheyWere()
{
    Game g;
    for (int i = 1; i <= core::kLastSegment; ++i) {
        toolkit::Label& handle = g.w().figure().LblPOI(i);
        handle.setLeft(100.0 * i + 0.5);
        handle.setTop(4000.0 - 50.0 * i);
        handle.setWidth(40);
        handle.setHeight(60);
        handle.setBorderStyle(toolkit::BorderSolid);
        handle.setVisible(true);
    }
    g.w().SUB_SETDEFAULT();
    for (int i = 1; i <= core::kLastSegment; ++i) {
        const toolkit::Label& handle = g.w().figure().LblPOI(i);
        QCOMPARE(handle.left(), static_cast<float>(100.0 * i + 0.5));
        QCOMPARE(handle.top(), static_cast<float>(4000.0 - 50.0 * i));
        QCOMPARE(handle.width(), 225.0f);
        QCOMPARE(handle.height(), 225.0f);
        QCOMPARE(handle.borderStyle(), int(toolkit::BorderNone));
        QVERIFY(!handle.visible());
    }
}

// Guards against a reset that leaves dragged joints, the target or the handles behind.
void ResetTest::resetAfterADragReturnsToTheReadyState()
{
    Game g;
    ui::Frm001& w = g.w();
    QVERIFY(playUntilMidRound(w));
    QVERIFY(!w.Label1->text().isEmpty());
    w.figure().DXY_USR(X2, 5) = 123; // as a drag would leave it
    w.Command2_Click(); // the target and its markers on view
    w.SUB_SETDEFAULT();

    constexpr double kFloatRounding = 1e-3;
    for (int i = 1; i <= core::kLastSegment; ++i) {
        QVERIFY(
            std::abs(w.figure().ShpPOINT(i).left() + core::kHandleHalf - w.figure().DXY_DEF(X2, i)) < kFloatRounding);
        QVERIFY(
            std::abs(w.figure().ShpPOINT(i).top() + core::kHandleHalf - w.figure().DXY_DEF(Y2, i)) < kFloatRounding);
        QCOMPARE(w.figure().LinB(i).x2(), static_cast<float>(w.figure().DXY_DEF(X2, i)));
        QCOMPARE(w.figure().LinB(i).y2(), static_cast<float>(w.figure().DXY_DEF(Y2, i)));
        QVERIFY(w.figure().LinB(i).visible());
        QVERIFY(!w.figure().LinA(i).visible());
        QVERIFY(!w.figure().ShpEXP(i).visible());
        QVERIFY(!w.figure().LblPOI(i).visible());
        QCOMPARE(w.figure().DTT_USR(i), w.figure().DTT_DEF(i));
    }
    QVERIFY(w.figure().DXY_USR == w.figure().DXY_DEF);
    QCOMPARE(w.StatusBar1->text(), QStringLiteral("READY"));
    QCOMPARE(w.Label1->text(), QString());
}

// Guards against a reset stopping the clock (only CLEAR may) or redrawing the grid.
void ResetTest::resetLeavesTheClockAndTheGridAlone()
{
    Game g;
    ui::Frm001& w = g.w();
    w.Command1_Click();
    QCOMPARE(w.Timer1.interval(), kClockPeriodMs);
    w.CmbNline->setEditText(QStringLiteral("3"));
    w.CmbNline_Click();
    w.CmbNline->setEditText(QStringLiteral("9")); // a reset must not read it
    QStringList grid;
    describeAll(grid, "LinBG", w.figure().LinBG);
    const qint32 seconds = w.SEC_CNT;

    w.SUB_SETDEFAULT();
    QCOMPARE(w.Timer1.interval(), kClockPeriodMs);
    QStringList after;
    describeAll(after, "LinBG", w.figure().LinBG);
    QCOMPARE(after, grid);
    QCOMPARE(w.SEC_CNT, seconds);
}

TORMELL_TEST_MAIN(ResetTest)
#include "tst_reset.moc"
