// Dragging joints with real presses, moves and releases on the canvas.

#include "core/body.h"
#include "support/canvas_points.h"
#include "support/figure_points.h"
#include "support/game.h"
#include "support/test_main.h"
#include "widgets/canvas.h"

#include <QComboBox>
#include <QCursor>
#include <QLineF>
#include <QtTest>
#include <algorithm>
#include <array>

using core::X1;
using core::X2;
using core::Y1;
using core::Y2;

namespace {

constexpr int kStepPixels = 4; // well inside the 15-pixel handle, so a step stays on it
const QPoint kDragBy(20, -10); // (+300, -150) twips

QPointF segmentStart(const ui::Frm001& w, int i)
{
    return {w.figure().DXY_USR(X1, i), w.figure().DXY_USR(Y1, i)};
}

std::array<QLineF, 3> trunkOf(const ui::Frm001& w)
{
    const auto line = [](const toolkit::Line* l) { return QLineF(l->x1(), l->y1(), l->x2(), l->y2()); };
    return {line(w.figure().LinBODY), line(w.figure().LinSHOLD), line(w.figure().LinWEST)};
}

/// Everything a drag may move: the player's pose and the handle and disc positions.
struct Figure {
    core::PoseCoords pose;
    std::array<QPointF, 10> handles, discs;
    bool operator==(const Figure&) const = default;
};

Figure figureOf(const ui::Frm001& w)
{
    Figure f {w.figure().DXY_USR, {}, {}};
    for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i) {
        f.handles[i] = centreOf(w.figure().LblPOI(i));
        f.discs[i] = centreOf(w.figure().ShpPOINT(i));
    }
    return f;
}

/// A window on screen, past START's display unless told otherwise, driven through the mouse.
struct Round {
    Game g;
    core::PoseAngles anglesAtStart;
    std::array<QLineF, 3> trunkAtStart;
    QPoint pointer;

    explicit Round(bool started = true)
    {
        g.w().Combo1->setCurrentText(QStringLiteral("1"));
        if (started)
            g.w().Command1_Click();
        QVERIFY(QTest::qWaitForWindowExposed(&g.w()));
        anglesAtStart = g.w().figure().DTT_USR;
        trunkAtStart = trunkOf(g.w());
    }

    // The pointer comes to rest on `at` without a button, then presses there.
    void press(QPoint at)
    {
        QTest::mouseMove(g.w().Picture1, at);
        QTest::mousePress(g.w().Picture1, Qt::LeftButton, {}, at);
        pointer = at;
    }

    // Moves with the button held, in small steps unless told to jump; the
    // canvas keeps the mouse, so points off it are still sent to it.
    void moveTo(QPoint to, bool jump = false)
    {
        const QPoint from = pointer;
        const int steps = jump ? 1 : std::max(1, (to - from).manhattanLength() / kStepPixels);
        for (int s = 1; s <= steps; ++s) {
            pointer = from + (to - from) * s / steps;
            QTest::mouseMove(g.w().Picture1, pointer);
            verifyConsistent();
            if (QTest::currentTestFailed())
                return;
        }
    }

    // Releasing ends the drag and moves nothing.
    void release()
    {
        QVERIFY(g.w().Picture1->draggedLabel());
        const Figure before = figureOf(g.w());
        QTest::mouseRelease(g.w().Picture1, Qt::LeftButton, {}, pointer);
        QVERIFY(!g.w().Picture1->draggedLabel());
        QVERIFY(figureOf(g.w()) == before);
    }

    // Handle, disc, pose array and segment line agree on every joint, and
    // dragging leaves the angles and the trunk alone.
    void verifyConsistent()
    {
        const ui::Frm001& w = g.w();
        for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i) {
            const QString where = QStringLiteral("joint %1").arg(i);
            QVERIFY2(near(centreOf(w.figure().LblPOI(i)), jointOf(w.figure(), i)), qPrintable(where));
            QVERIFY2(near(centreOf(w.figure().ShpPOINT(i)), jointOf(w.figure(), i)), qPrintable(where));
            QVERIFY2(near(QPointF(w.figure().LinB(i).x2(), w.figure().LinB(i).y2()), jointOf(w.figure(), i)),
                qPrintable(where));
            QVERIFY2(
                near(QPointF(w.figure().LinB(i).x1(), w.figure().LinB(i).y1()), segmentStart(w, i)), qPrintable(where));
        }
        QVERIFY(w.figure().DTT_USR == anglesAtStart);
        QVERIFY(trunkOf(w) == trunkAtStart);
    }
};

} // namespace

class DragTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        // Park the pointer off the window so every hover is a real move.
        QCursor::setPos(0, 0);
    }

    // Guards against a hand, foot or head drag disturbing any other joint or its own segment start.
    void endJointDragMovesOnlyThatJoint_data()
    {
        QTest::addColumn<int>("joint");
        for (int i : {1, 3, 5, 7, 9})
            QTest::addRow("joint %d", i) << i;
    }
    void endJointDragMovesOnlyThatJoint()
    {
        QFETCH(int, joint);
        Round r;
        const Figure before = figureOf(r.g.w());
        const QPoint from = pixelOf(jointOf(r.g.w().figure(), joint));
        r.press(from);
        r.moveTo(from + kDragBy);
        r.release();
        const ui::Frm001& w = r.g.w();
        QVERIFY(near(jointOf(w.figure(), joint), twipsOf(from + kDragBy)));
        QCOMPARE(segmentStart(w, joint), QPointF(before.pose(X1, joint), before.pose(Y1, joint)));
        for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i) {
            if (i == joint)
                continue;
            QCOMPARE(jointOf(w.figure(), i), QPointF(before.pose(X2, i), before.pose(Y2, i)));
            QCOMPARE(segmentStart(w, i), QPointF(before.pose(X1, i), before.pose(Y1, i)));
        }
    }

    // Guards against the hand or foot being left behind, stretched or turned when its elbow or knee moves.
    void elbowDragCarriesTheJointBelow_data()
    {
        QTest::addColumn<int>("elbow");
        QTest::newRow("left elbow") << 2;
        QTest::newRow("right elbow") << 4;
        QTest::newRow("left knee") << 6;
        QTest::newRow("right knee") << 8;
    }
    void elbowDragCarriesTheJointBelow()
    {
        QFETCH(int, elbow);
        const int hand = elbow + 1;
        Round r;
        const ui::Frm001& w = r.g.w();
        const QPointF elbowBefore = jointOf(w.figure(), elbow);
        const QPointF handBefore = jointOf(w.figure(), hand);
        const QPoint from = pixelOf(elbowBefore);
        r.press(from);
        r.moveTo(from + kDragBy);
        r.release();
        QVERIFY(near(jointOf(w.figure(), elbow), twipsOf(from + kDragBy)));
        QVERIFY(near(jointOf(w.figure(), hand) - handBefore, jointOf(w.figure(), elbow) - elbowBefore));
        QVERIFY(near(segmentStart(w, hand), jointOf(w.figure(), elbow)));
        QVERIFY(near(jointOf(w.figure(), hand) - segmentStart(w, hand), handBefore - elbowBefore));
    }

    // Guards against a hand drag pulling its elbow along.
    void handDragAfterElbowLeavesTheElbow()
    {
        Round r;
        const ui::Frm001& w = r.g.w();
        const QPoint elbow = pixelOf(jointOf(w.figure(), 2));
        r.press(elbow);
        r.moveTo(elbow + kDragBy);
        r.release();
        const QPointF elbowAfter = jointOf(w.figure(), 2);
        const QPoint hand = pixelOf(jointOf(w.figure(), 3));
        r.press(hand);
        r.moveTo(hand + QPoint(-15, 20));
        r.release();
        QCOMPARE(jointOf(w.figure(), 2), elbowAfter);
        QVERIFY(near(jointOf(w.figure(), 3), twipsOf(hand + QPoint(-15, 20))));
        QVERIFY(near(segmentStart(w, 3), elbowAfter));
    }

    // Guards against the joint stalling once the pointer outruns its handle onto the bare canvas.
    void pointerAheadOnBareCanvasBringsTheHandleUnderIt()
    {
        Round r;
        const QPoint bare(300, 60); // clear of every handle
        r.press(pixelOf(jointOf(r.g.w().figure(), 1)));
        r.moveTo(bare, true);
        QCOMPARE(r.g.w().POI_SEL, qint16(1));
        QVERIFY(near(jointOf(r.g.w().figure(), 1), twipsOf(bare)));
        r.release();
    }

    // Guards against a drag that keeps moving its first joint after passing onto another handle.
    void passingOverAnotherHandleSwitchesTheDrag()
    {
        Round r;
        const ui::Frm001& w = r.g.w();
        const QPoint leftFoot = pixelOf(jointOf(w.figure(), 7));
        const QPoint rightFoot = pixelOf(jointOf(w.figure(), 9));
        r.press(leftFoot);
        r.moveTo(leftFoot + QPoint(5, 0));
        r.moveTo(rightFoot, true);
        QCOMPARE(w.POI_SEL, qint16(9));
        r.moveTo(rightFoot + QPoint(0, -10));
        r.release();
        QVERIFY(near(jointOf(w.figure(), 7), twipsOf(leftFoot + QPoint(5, 0))));
        QVERIFY(near(jointOf(w.figure(), 9), twipsOf(rightFoot + QPoint(0, -10))));
    }

    // Guards against moves off the canvas (still sent to it while it holds the mouse) moving the joint.
    void leavingTheCanvasKeepsTheLastPositionOnIt_data()
    {
        QTest::addColumn<QPoint>("lastOnCanvas");
        QTest::addColumn<QPoint>("offCanvas");
        QTest::newRow("beyond the right edge") << QPoint(390, 225) << QPoint(450, 225);
        QTest::newRow("over the panel") << QPoint(300, 390) << QPoint(300, 470);
    }
    void leavingTheCanvasKeepsTheLastPositionOnIt()
    {
        QFETCH(QPoint, lastOnCanvas);
        QFETCH(QPoint, offCanvas);
        Round r;
        QVERIFY(!r.g.w().Picture1->rect().contains(offCanvas));
        r.press(pixelOf(jointOf(r.g.w().figure(), 5)));
        r.moveTo(lastOnCanvas);
        r.moveTo(offCanvas, true);
        r.release();
        QVERIFY(near(jointOf(r.g.w().figure(), 5), twipsOf(lastOnCanvas)));
    }

    // Guards against joints being draggable while the handles are hidden before START.
    void hiddenHandlesCannotBeDragged()
    {
        Round r(false);
        const ui::Frm001& w = r.g.w();
        const Figure before = figureOf(w);
        const QPoint disc = pixelOf(jointOf(w.figure(), 1));
        QVERIFY(w.figure().ShpPOINT(1).visible());
        r.press(disc);
        QVERIFY(!w.Picture1->draggedLabel());
        for (const QPoint to : {disc + QPoint(3, 0), disc + kDragBy}) {
            QTest::mouseMove(w.Picture1, to);
            QVERIFY(figureOf(w) == before);
        }
        QTest::mouseRelease(w.Picture1, Qt::LeftButton, {}, disc + kDragBy);
        QVERIFY(figureOf(w) == before);
        QCOMPARE(w.POI_SEL, qint16(0));
    }
};

TORMELL_TEST_MAIN(DragTest)
#include "tst_drag.moc"
