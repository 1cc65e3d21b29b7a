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

namespace {
constexpr double kTolerance = 1e-7;
constexpr int kSteps = 100;
} // namespace

class TestNumerics : public QObject {
    Q_OBJECT

private slots:
    void theMaximumIsFound_data()
    {
        QTest::addColumn<Function>("f");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("at");
        QTest::newRow("a parabola") << Function([](double x) { return -(x - 1.3) * (x - 1.3); }) << 0.0 << 2.0 << 1.0
                                    << 1.3;
        QTest::newRow("a sine") << Function([](double x) { return std::sin(x); }) << 0.0 << std::numbers::pi << 1.0
                                << std::numbers::pi / 2;
        QTest::newRow("lopsided: x e^-x") << Function([](double x) { return x * std::exp(-x); }) << 0.0 << 4.0 << 2.0
                                          << 1.0;
        QTest::newRow("a flat top: -(x - 0.2)^4") << Function([](double x) { return -std::pow(x - 0.2, 4); }) << -1.0
                                                << 1.0 << 0.0 << 0.2;
    }
    // Guards against a bracket that closes on the wrong side of the best
    // point, and a search that stops short of the tolerance.
    void theMaximumIsFound()
    {
        QFETCH(Function, f);
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(double, start);
        QFETCH(double, at);
        const core::Sample found = core::maximumBetween(f, low, high, {start, f(start)}, kTolerance, kSteps);
        QVERIFY2(std::abs(found.x - at) < 1e-3, qPrintable(QString::number(found.x, 'g', 10)));
        QCOMPARE(found.y, f(found.x));
    }

    void theCrossingIsFound_data()
    {
        QTest::addColumn<Function>("f");
        QTest::addColumn<double>("inside");
        QTest::addColumn<double>("outside");
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("at");
        QTest::newRow("a parabola falling through -2") << Function([](double x) { return -x * x; }) << 0.0 << 3.0
                                                       << -2.0 << std::numbers::sqrt2;
        QTest::newRow("a decay through a half") << Function([](double x) { return std::exp(-x); }) << 0.0 << 5.0 << 0.5
                                                << std::numbers::ln2;
        QTest::newRow("leftwards: a cosine through 0") << Function([](double x) { return std::cos(x); }) << 0.0
                                                       << -2.0 << 0.0 << -std::numbers::pi / 2;
    }
    // Guards against a crossing found short of the tolerance, either way of
    // the point inside, whether the function is convex, concave or neither there.
    void theCrossingIsFound()
    {
        QFETCH(Function, f);
        QFETCH(double, inside);
        QFETCH(double, outside);
        QFETCH(double, level);
        QFETCH(double, at);
        const double x = core::levelCrossing(f, {inside, f(inside)}, {outside, f(outside)}, level, kTolerance,
            kTolerance, kSteps);
        QVERIFY2(std::abs(x - at) < 1e-6, qPrintable(QString::number(x, 'g', 10)));
    }
};

QTEST_GUILESS_MAIN(TestNumerics)
#include "tst_numerics.moc"
