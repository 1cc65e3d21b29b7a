// The estimate's numerics on functions whose answers are known: the highest
// point in a bracket (Brent's method) and where a function falls through a
// level (the Illinois method).

#include "core/level_crossing.h"
#include "core/maximum.h"

#include <QTest>

#include <cmath>
#include <functional>
#include <numbers>

using Function = std::function<double(double)>;
Q_DECLARE_METATYPE(Function)

class TestNumerics : public QObject {
    Q_OBJECT

    static constexpr double kTolerance = 1e-7;
    static constexpr int kSteps = 100;

private slots:
    // Guards against a bracket that closes on the wrong side of the best
    // point, and a search that stops short of the tolerance: columns are the
    // function, the bracket and the point the search starts from.
    void theMaximumIsFound_data()
    {
        QTest::addColumn<Function>("f");
        QTest::addColumn<QPointF>("bracket");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("at");
        QTest::newRow("a parabola") << Function([](double x) { return -(x - 1.3) * (x - 1.3); }) << QPointF(0, 2)
                                    << 1.0 << 1.3;
        QTest::newRow("lopsided: x e^-x") << Function([](double x) { return x * std::exp(-x); }) << QPointF(0, 4)
                                          << 2.0 << 1.0;
        QTest::newRow("a flat top: -(x - 0.2)^4") << Function([](double x) { return -std::pow(x - 0.2, 4); })
                                                  << QPointF(-1, 1) << 0.0 << 0.2;
    }
    void theMaximumIsFound()
    {
        QFETCH(Function, f);
        QFETCH(QPointF, bracket);
        QFETCH(double, start);
        const core::Sample found
            = core::maximumBetween(f, bracket.x(), bracket.y(), {start, f(start)}, kTolerance, kSteps);
        QFETCH(double, at);
        QVERIFY2(std::abs(found.x - at) < 1e-3,
            qPrintable(QString::number(found.x, 'g', 10)));
        QCOMPARE(found.y, f(found.x));
    }

    // Guards against a crossing found short of the tolerance, either way of
    // the point inside, whether the function is convex or concave there.
    void theCrossingIsFound_data()
    {
        QTest::addColumn<Function>("f");
        QTest::addColumn<QPointF>("insideOutside");
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("at");
        QTest::newRow("a decay through a half") << Function([](double x) { return std::exp(-x); }) << QPointF(0, 5)
                                                << 0.5 << std::numbers::ln2;
        QTest::newRow("leftwards: a cosine through 0") << Function([](double x) { return std::cos(x); })
                                                       << QPointF(0, -2) << 0.0 << -std::numbers::pi / 2;
    }
    void theCrossingIsFound()
    {
        QFETCH(Function, f);
        QFETCH(QPointF, insideOutside);
        QFETCH(double, level);
        QFETCH(double, at);
        const double inside = insideOutside.x(), outside = insideOutside.y();
        const double x = core::levelCrossing(
            f, {inside, f(inside)}, {outside, f(outside)}, level, kTolerance, kTolerance, kSteps);
        QVERIFY2(std::abs(x - at) < 1e-6, qPrintable(QString::number(x, 'g', 10)));
    }
};

QTEST_GUILESS_MAIN(TestNumerics)
#include "tst_numerics.moc"
