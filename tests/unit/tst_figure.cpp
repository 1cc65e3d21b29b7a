// The stick figure: limb geometry, the rest pose, the trunk and the colours.

#include "core/body.h"
#include "support/rest_figure.h"

#include <QtTest>

#include <array>
#include <cmath>
#include <numbers>
#include <utility>

using core::X1;
using core::X2;
using core::Y1;
using core::Y2;

namespace {

// Lays out `angles` on the hidden target lines and returns the coordinates.
core::PoseCoords layOut(core::Figure& f, const core::PoseAngles& angles)
{
    core::PoseCoords dxy;
    f.SUB_FIXPOSI(1, angles, dxy, f.targetLines());
    return dxy;
}

constexpr double kDegrees = std::numbers::pi / 180;
constexpr double kMirrorX = 3000; // the middle of both the shoulder and the waist line

} // namespace

class FigureTest : public QObject {
    Q_OBJECT

private slots:
    void segmentPointsWhereItsAngleSays_data();
    void segmentPointsWhereItsAngleSays();
    void degreesUseTheSixDecimalPi();
    void equalAnglesOnBothSidesMirrorThePose_data();
    void equalAnglesOnBothSidesMirrorThePose();
    void turningAnUpperSegmentCarriesTheLowerOneBodily_data();
    void turningAnUpperSegmentCarriesTheLowerOneBodily();
    void neckTiltsRightForPositiveAngles_data();
    void neckTiltsRightForPositiveAngles();
    void otherFlagsApplyTheCoordinatesUnchanged();
    void restPoseMatchesTheTable_data();
    void restPoseMatchesTheTable();
    void trunkStandsAtItsFixedPlaces();
    void figureHasItsColoursAndLinesAtRestAndDuringTheDisplay();
    void aRoundShownFromItsJointsLooksAsItsCheckDid();
};

// Guards against a swapped sine and cosine, a wrong side sign, wrong lengths,
// or angles wrapped or limited instead of used as given.
void FigureTest::segmentPointsWhereItsAngleSays_data()
{
    QTest::addColumn<int>("segment");
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("dx");
    QTest::addColumn<double>("dy");
    QTest::addColumn<double>("tolerance");

    // At 0 the end is exact; elsewhere the six-decimal pi leaves a trace,
    // larger past a full turn.
    constexpr double kExact = 1e-9;
    constexpr double kPiTrace = 1e-3;
    constexpr double kTurnTrace = 1e-2;
    QTest::newRow("left upper arm at 0 ends its length to the left") << 2 << 0.0 << -800.0 << 0.0 << kExact;
    QTest::newRow("left upper arm at 90 hangs straight down") << 2 << 90.0 << 0.0 << 800.0 << kPiTrace;
    QTest::newRow("left forearm at 180 ends its length to the right") << 3 << 180.0 << 800.0 << 0.0 << kPiTrace;
    QTest::newRow("left thigh at -90 points straight up") << 6 << -90.0 << 0.0 << -1000.0 << kPiTrace;
    QTest::newRow("left shin at 0 ends its length to the left") << 7 << 0.0 << -1200.0 << 0.0 << kExact;
    QTest::newRow("right upper arm at 0 ends its length to the right") << 4 << 0.0 << 800.0 << 0.0 << kExact;
    QTest::newRow("right forearm at 90 hangs straight down") << 5 << 90.0 << 0.0 << 800.0 << kPiTrace;
    QTest::newRow("right thigh at 180 ends its length to the left") << 8 << 180.0 << -1000.0 << 0.0 << kPiTrace;
    QTest::newRow("right shin at 0 ends its length to the right") << 9 << 0.0 << 1200.0 << 0.0 << kExact;
    QTest::newRow("left shin at 360 points as at 0") << 7 << 360.0 << -1200.0 << 0.0 << kTurnTrace;
    QTest::newRow("right shin at 450 hangs as at 90") << 9 << 450.0 << 0.0 << 1200.0 << kTurnTrace;
    QTest::newRow("right thigh at -270 hangs as at 90") << 8 << -270.0 << 0.0 << 1000.0 << kTurnTrace;
}

void FigureTest::segmentPointsWhereItsAngleSays()
{
    QFETCH(int, segment);
    QFETCH(double, angle);
    QFETCH(double, dx);
    QFETCH(double, dy);
    QFETCH(double, tolerance);
    RestFigure g;
    core::PoseAngles angles = g.figure.DTT_DEF;
    angles(segment) = angle;
    const core::PoseCoords dxy = layOut(g.figure, angles);
    QVERIFY(std::abs(dxy(X2, segment) - dxy(X1, segment) - dx) <= tolerance);
    QVERIFY(std::abs(dxy(Y2, segment) - dxy(Y1, segment) - dy) <= tolerance);
}

// Guards against converting degrees with the full-precision pi, and against
// the pose being cut to the lines' single precision.
void FigureTest::degreesUseTheSixDecimalPi()
{
    RestFigure g;
    // 3000 - 600 cos(3.141592 / 2); with the exact pi the head would sit at 3000.
    constexpr double kHeadX = 2999.9998039;
    QVERIFY(std::abs(g.figure.DXY_DEF(X2, 1) - kHeadX) < 1e-5);
    QVERIFY(std::abs(g.figure.DXY_DEF(Y2, 1) - 1200) < 1e-5);
    // That x lies between two floats: the line takes the nearer, the pose keeps the double.
    QCOMPARE(g.figure.LinB(1).x2(), static_cast<float>(kHeadX));
    QVERIFY(static_cast<double>(g.figure.LinB(1).x2()) != g.figure.DXY_DEF(X2, 1));
}

// Guards against one side of the body using another convention or anchor.
void FigureTest::equalAnglesOnBothSidesMirrorThePose_data()
{
    QTest::addColumn<double>("upper");
    QTest::addColumn<double>("lower");
    QTest::newRow("horizontal") << 0.0 << 0.0;
    QTest::newRow("raised") << -45.0 << -100.0;
}

void FigureTest::equalAnglesOnBothSidesMirrorThePose()
{
    QFETCH(double, upper);
    QFETCH(double, lower);
    RestFigure g;
    core::PoseAngles angles;
    for (int i : {2, 4, 6, 8})
        angles(i) = upper;
    for (int i : {3, 5, 7, 9})
        angles(i) = lower;
    const core::PoseCoords dxy = layOut(g.figure, angles);
    constexpr double kTolerance = 1e-9;
    constexpr std::array<std::pair<int, int>, 4> kMirroredJoints {{{2, 4}, {3, 5}, {6, 8}, {7, 9}}};
    for (const auto& [left, right] : kMirroredJoints) {
        QVERIFY(std::abs((dxy(X2, left) - kMirrorX) + (dxy(X2, right) - kMirrorX)) < kTolerance);
        QVERIFY(std::abs(dxy(Y2, left) - dxy(Y2, right)) < kTolerance);
    }
}

// Guards against lower segments taking a stale start or measuring their angle
// relative to the segment above.
void FigureTest::turningAnUpperSegmentCarriesTheLowerOneBodily_data()
{
    QTest::addColumn<int>("upper");
    QTest::newRow("left upper arm") << 2;
    QTest::newRow("right upper arm") << 4;
    QTest::newRow("left thigh") << 6;
    QTest::newRow("right thigh") << 8;
}

void FigureTest::turningAnUpperSegmentCarriesTheLowerOneBodily()
{
    QFETCH(int, upper);
    const int lower = upper + 1;
    RestFigure g;
    core::PoseAngles angles = g.figure.DTT_DEF;
    const core::PoseCoords before = layOut(g.figure, angles);
    angles(upper) = 10;
    const core::PoseCoords after = layOut(g.figure, angles);
    QVERIFY(after(X2, upper) != before(X2, upper));
    QCOMPARE(after(X1, lower), after(X2, upper));
    QCOMPARE(after(Y1, lower), after(Y2, upper));
    constexpr double kTolerance = 1e-9;
    QVERIFY(std::abs((after(X2, lower) - after(X1, lower)) - (before(X2, lower) - before(X1, lower))) < kTolerance);
    QVERIFY(std::abs((after(Y2, lower) - after(Y1, lower)) - (before(Y2, lower) - before(Y1, lower))) < kTolerance);
}

// Guards against the neck turning the wrong way, missing its quarter turn or
// dragging the limbs along.
void FigureTest::neckTiltsRightForPositiveAngles_data()
{
    QTest::addColumn<double>("angle");
    QTest::newRow("30 tilts right") << 30.0;
    QTest::newRow("-30 tilts left") << -30.0;
    QTest::newRow("90 lies flat to the right") << 90.0;
}

void FigureTest::neckTiltsRightForPositiveAngles()
{
    QFETCH(double, angle);
    RestFigure g;
    core::PoseAngles angles = g.figure.DTT_DEF;
    angles(1) = angle;
    const core::PoseCoords dxy = layOut(g.figure, angles);
    for (int i = 2; i <= core::kLastSegment; ++i)
        for (int k = X1; k <= Y2; ++k)
            QCOMPARE(dxy(k, i), g.figure.DXY_DEF(k, i));
    constexpr double kNeck = 600;
    constexpr double kTolerance = 1e-3;
    QVERIFY(std::abs(dxy(X2, 1) - (dxy(X1, 1) + kNeck * std::sin(angle * kDegrees))) < kTolerance);
    QVERIFY(std::abs(dxy(Y2, 1) - (dxy(Y1, 1) - kNeck * std::cos(angle * kDegrees))) < kTolerance);
}

// Guards against the flag being ignored: any value but 1 must only draw.
void FigureTest::otherFlagsApplyTheCoordinatesUnchanged()
{
    RestFigure g;
    core::PoseAngles angles;
    angles(3) = 123; // would move everything if computed
    core::PoseCoords dxy;
    for (int i = 1; i <= core::kLastSegment; ++i)
        for (int k = X1; k <= Y2; ++k)
            dxy(k, i) = 100.0 * i + k + 0.123456789;
    const core::PoseCoords given = dxy;
    for (const qint16 flag : {qint16(0), qint16(2), qint16(-1)}) {
        g.figure.SUB_FIXPOSI(flag, angles, dxy, g.figure.targetLines());
        QVERIFY(dxy == given);
        for (int i = 1; i <= core::kLastSegment; ++i) {
            QCOMPARE(g.figure.LinA(i).x1(), static_cast<float>(given(X1, i)));
            QCOMPARE(g.figure.LinA(i).y1(), static_cast<float>(given(Y1, i)));
            QCOMPARE(g.figure.LinA(i).x2(), static_cast<float>(given(X2, i)));
            QCOMPARE(g.figure.LinA(i).y2(), static_cast<float>(given(Y2, i)));
        }
    }
}

// Guards against a wrong rest angle, anchor or marker offset.
void FigureTest::restPoseMatchesTheTable_data()
{
    QTest::addColumn<int>("joint");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("head") << 1 << 3000.0 << 1200.0;
    QTest::newRow("left elbow") << 2 << 2226.4 << 2551.8;
    QTest::newRow("left hand") << 3 << 2087.5 << 3339.6;
    QTest::newRow("right elbow") << 4 << 3773.6 << 2551.8;
    QTest::newRow("right hand") << 5 << 3912.5 << 3339.6;
    QTest::newRow("left knee") << 6 << 2358.0 << 4239.7;
    QTest::newRow("left foot") << 7 << 2149.6 << 5421.5;
    QTest::newRow("right knee") << 8 << 3642.0 << 4239.7;
    QTest::newRow("right foot") << 9 << 3850.4 << 5421.5;
}

void FigureTest::restPoseMatchesTheTable()
{
    QFETCH(int, joint);
    QFETCH(double, x);
    QFETCH(double, y);
    RestFigure g;
    const core::Figure& f = g.figure;
    constexpr double kTableRounding = 0.05 + 1e-3; // the table gives 0.1 twip
    const auto near = [&](double actualX, double actualY) {
        return std::abs(actualX - x) <= kTableRounding && std::abs(actualY - y) <= kTableRounding;
    };
    QVERIFY(near(f.DXY_DEF(X2, joint), f.DXY_DEF(Y2, joint)));
    QVERIFY(near(f.DXY_USR(X2, joint), f.DXY_USR(Y2, joint)));
    QVERIFY(near(f.LinB(joint).x2(), f.LinB(joint).y2()));
    QVERIFY(near(f.LinA(joint).x2(), f.LinA(joint).y2()));
    QVERIFY(near(f.ShpPOINT(joint).left() + core::kHandleHalf, f.ShpPOINT(joint).top() + core::kHandleHalf));
    QVERIFY(near(f.ShpEXP(joint).left() + core::kMarkerHalf, f.ShpEXP(joint).top() + core::kMarkerHalf));
    QCOMPARE(f.ShpPOINT(joint).width(), 225.0f);
    QCOMPARE(f.ShpEXP(joint).height(), 157.5f);
}

// Guards against a misplaced trunk, which would move every limb with it.
void FigureTest::trunkStandsAtItsFixedPlaces()
{
    RestFigure g;
    const core::Figure& f = g.figure;
    const auto ends = [](const toolkit::Line* line) {
        return QList<float> {line->x1(), line->y1(), line->x2(), line->y2()};
    };
    QCOMPARE(ends(f.LinBODY), (QList<float> {3000, 1800, 3000, 3300}));
    QCOMPARE(ends(f.LinSHOLD), (QList<float> {2500, 1800, 3500, 1800}));
    QCOMPARE(ends(f.LinWEST), (QList<float> {2700, 3300, 3300, 3300}));

    const QList<QPointF> discCentres {{3000, 1800}, {2500, 1800}, {3500, 1800}, {2700, 3300}, {3300, 3300}};
    for (int j = f.ShpBD.first; j <= f.ShpBD.last; ++j) {
        QCOMPARE(f.ShpBD(j).width(), 157.5f);
        QCOMPARE(f.ShpBD(j).left() + core::kMarkerHalf, discCentres[j].x());
        QCOMPARE(f.ShpBD(j).top() + core::kMarkerHalf, discCentres[j].y());
    }
    QCOMPARE(f.ShpBD(0).left(), 2921.25f);
    QCOMPARE(f.ShpBD(0).top(), 1721.25f);
    QVERIFY(std::abs(f.ShpPOINT(1).left() - 2887.5) < 1e-3);
    QVERIFY(std::abs(f.ShpPOINT(1).top() - 1087.5) < 1e-3);
}

// Guards against a marker keeping its design colour, a red player line, the
// trunk staying red after the display, or the design's thinner plain lines.
void FigureTest::figureHasItsColoursAndLinesAtRestAndDuringTheDisplay()
{
    const QColor black(Qt::black);
    const QColor red(0xFF, 0x00, 0x00);
    const auto checkColours = [&](const core::Figure& f, const QColor& trunk) {
        for (int i = 1; i <= core::kLastSegment; ++i) {
            for (const toolkit::Shape* marker : {&f.ShpPOINT(i), &f.ShpEXP(i)}) {
                QCOMPARE(marker->backColor(), black);
                QCOMPARE(marker->borderColor(), black);
            }
            QCOMPARE(f.LinA(i).borderColor(), red);
            QVERIFY(f.LinB(i).borderColor() != red);
            for (const toolkit::Line* line : {&f.LinA(i), &f.LinB(i)}) {
                QCOMPARE(line->borderWidth(), core::kFigureLineWidth);
                QCOMPARE(line->borderStyle(), int(toolkit::BorderInsideSolid));
            }
        }
        for (const toolkit::Line* line : {f.LinBODY, f.LinSHOLD, f.LinWEST}) {
            QCOMPARE(line->borderColor(), trunk);
            QCOMPARE(line->borderWidth(), core::kFigureLineWidth);
        }
        for (int j = f.ShpBD.first; j <= f.ShpBD.last; ++j) {
            QCOMPARE(f.ShpBD(j).backColor(), trunk);
            QCOMPARE(f.ShpBD(j).borderColor(), trunk);
        }
    };

    RestFigure g;
    checkColours(g.figure, black);
    g.figure.presentTarget();
    QVERIFY(g.figure.LinA(1).visible()); // the target is on view
    checkColours(g.figure, red);
    g.figure.handOverRestPose();
    checkColours(g.figure, black);
}

// Guards the record's view of a saved round: a lower segment must hang from the
// joint above it, an upper one from the trunk, and every marker sit on its joint.
void FigureTest::aRoundShownFromItsJointsLooksAsItsCheckDid()
{
    RestFigure played;
    core::Figure& f = played.figure;
    f.DTT_TGT = f.DTT_DEF;
    f.DTT_TGT(2) = 10;
    f.DTT_TGT(9) = 150;
    f.SUB_FIXPOSI(1, f.DTT_TGT, f.DXY_TGT, f.targetLines());
    f.presentTarget();
    f.handOverRestPose();
    f.dragOverCanvas(4, 4100.5f, 2000.25f); // an elbow, carrying its hand
    f.dragOverCanvas(7, 1900, 5200);
    f.revealTarget();

    RestFigure shown;
    constexpr qint16 kGridIntervals = 8;
    shown.figure.showRound(core::jointsOf(f.DXY_TGT), core::jointsOf(f.DXY_USR), kGridIntervals);
    const core::Figure& g = shown.figure;
    const auto ends = [](const toolkit::Line& line) { return QList<float>{line.x1(), line.y1(), line.x2(), line.y2()}; };
    for (int i = 1; i <= core::kLastSegment; ++i) {
        QCOMPARE(ends(g.LinA(i)), ends(f.LinA(i)));
        QCOMPARE(ends(g.LinB(i)), ends(f.LinB(i)));
        QCOMPARE(QPointF(g.ShpPOINT(i).left(), g.ShpPOINT(i).top()), QPointF(f.ShpPOINT(i).left(), f.ShpPOINT(i).top()));
        QCOMPARE(QPointF(g.ShpEXP(i).left(), g.ShpEXP(i).top()), QPointF(f.ShpEXP(i).left(), f.ShpEXP(i).top()));
        QVERIFY(g.LinA(i).visible() && g.LinB(i).visible() && g.ShpEXP(i).visible());
        QVERIFY(!g.LblPOI(i).visible());
    }
    QVERIFY(g.LinBG(kGridIntervals).visible() && !g.LinBG(2 * kGridIntervals + 1).visible());
}

QTEST_GUILESS_MAIN(FigureTest)
#include "tst_figure.moc"
