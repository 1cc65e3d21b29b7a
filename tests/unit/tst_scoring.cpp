// How a check turns three poses into a ratio, a verdict and a score.

#include "core/scoring.h"
#include "support/verdicts.h"

#include <QList>
#include <QPointF>
#include <QTest>
#include <cmath>

using core::X2;
using core::Y2;

namespace {

using namespace verdict;

// Ratios are quoted to four decimal places.
constexpr double kFourPlaces = 0.5e-4;
// Joints a row does not mention stand here in all three poses, so they do not count.
constexpr double kIdleX = 4500;
constexpr double kIdleY = 5000;

struct Joint {
    int segment;
    QPointF rest, target, player;
};
using Joints = QList<Joint>;

double ratioOf(const Joints& joints)
{
    core::PoseCoords rest, target, player;
    for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i)
        for (core::PoseCoords* pose : {&rest, &target, &player}) {
            (*pose)(X2, i) = kIdleX;
            (*pose)(Y2, i) = kIdleY;
        }
    for (const Joint& j : joints) {
        rest(X2, j.segment) = j.rest.x();
        rest(Y2, j.segment) = j.rest.y();
        target(X2, j.segment) = j.target.x();
        target(Y2, j.segment) = j.target.y();
        player(X2, j.segment) = j.player.x();
        player(Y2, j.segment) = j.player.y();
    }
    return core::matchRatio(rest, target, player);
}

// The two counted joints of the worked example; the player joint varies by row.
Joint jointA(QPointF player)
{
    return {3, {1000, 1000}, {1300, 1400}, player};
}
Joint jointB(QPointF player)
{
    return {6, {2000, 2000}, {2600, 2800}, player};
}

} // namespace

Q_DECLARE_METATYPE(Joints)

class TestScoring : public QObject {
    Q_OBJECT

private slots:
    // Guards against wrong sums, a wrong band, a score rounded to nearest,
    // a division by zero, and joints counted that the target never moved.
    void poseGivesRatioVerdictAndScore_data()
    {
        QTest::addColumn<Joints>("joints");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<double>("score");

        QTest::newRow("worked example") << Joints {jointA({1300, 1300}), jointB({2000, 2000})} << 0.2667 << kTryHarder
                                        << 26.0;
        // Joint b 1700 from its target: error sum 1800 against 1500.
        QTest::newRow("error beyond the displacement")
            << Joints {jointA({1300, 1300}), jointB({1580, 1440})} << -0.2 << kBad << 0.0;
        QTest::newRow("perfect") << Joints {jointA({1300, 1400}), jointB({2600, 2800})} << 1.0 << kVeryGood << 100.0;
        QTest::newRow("nothing moved") << Joints {jointA({1000, 1000}), jointB({2000, 2000})} << 0.0 << kBad << 0.0;
        QTest::newRow("target kept the rest x")
            << Joints {jointA({1300, 1400}), {5, {700, 700}, {700, 900}, {0, 0}}} << 1.0 << kVeryGood << 100.0;
        QTest::newRow("target kept the rest y")
            << Joints {jointA({1300, 1400}), {5, {700, 700}, {900, 700}, {0, 0}}} << 1.0 << kVeryGood << 100.0;
        QTest::newRow("no joint counts, player moved")
            << Joints {{2, {700, 700}, {700, 700}, {10, 10}}} << 1.0 << kVeryGood << 100.0;
    }
    void poseGivesRatioVerdictAndScore()
    {
        QFETCH(Joints, joints);
        QFETCH(double, ratio);
        QFETCH(QString, verdict);
        QFETCH(double, score);

        const double r = ratioOf(joints);
        QVERIFY2(std::abs(r - ratio) < kFourPlaces, qPrintable(QString::number(r, 'g', 17)));
        QCOMPARE(core::verdictFor(r), verdict);
        QCOMPARE(core::scoreFor(r), score);
    }

    // Guards against an off-by-one comparison at a band edge, or an edge that
    // matches no band and leaves the verdict blank.
    void eachBandIncludesItsUpperEnd_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QString>("verdict");

        const auto above = [](double edge) { return std::nextafter(edge, 1.0); };
        QTest::newRow("negative") << -0.5 << kBad;
        QTest::newRow("0.2") << 0.2 << kBad;
        QTest::newRow("above 0.2") << above(0.2) << kTryHarder;
        QTest::newRow("0.4") << 0.4 << kTryHarder;
        QTest::newRow("above 0.4") << above(0.4) << kFair;
        QTest::newRow("0.6") << 0.6 << kFair;
        QTest::newRow("above 0.6") << above(0.6) << kGood;
        QTest::newRow("0.8") << 0.8 << kGood;
        QTest::newRow("above 0.8") << above(0.8) << kVeryGood;
        QTest::newRow("1") << 1.0 << kVeryGood;
    }
    void eachBandIncludesItsUpperEnd()
    {
        QFETCH(double, ratio);
        QFETCH(QString, verdict);
        QCOMPARE(core::verdictFor(ratio), verdict);
    }

    // Guards against a negative or rounded-up score, or one above 100.
    void scoreIsClampedAndRoundedDown_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("score");

        QTest::newRow("1") << 1.0 << 100.0;
        QTest::newRow("just below 1") << 0.999 << 99.0;
        QTest::newRow("a half") << 0.5 << 50.0;
        QTest::newRow("just above 0") << 0.009 << 0.0;
        QTest::newRow("0") << 0.0 << 0.0;
        QTest::newRow("slightly negative") << -0.001 << 0.0;
        QTest::newRow("far negative") << -7.5 << 0.0;
    }
    void scoreIsClampedAndRoundedDown()
    {
        QFETCH(double, ratio);
        QFETCH(double, score);
        QCOMPARE(core::scoreFor(ratio), score);
    }
};

QTEST_GUILESS_MAIN(TestScoring)
#include "tst_scoring.moc"
