// Reading numbers out of texts, writing them as texts, and narrowing doubles.

#include "toolkit/errors.h"
#include "toolkit/numeric_text.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kSecondsPerSliderStep = 0.15;
constexpr int kSliderSteps = 10;
} // namespace

class TestNumericText : public QObject {
    Q_OBJECT

private slots:
    void numericValueReadsTheLeadingNumber_data();
    void numericValueReadsTheLeadingNumber();
    void numberTextWritesPlainDecimals_data();
    void numberTextWritesPlainDecimals();
    void integerConversionRoundsHalvesToEvenAndRejectsOverflow_data();
    void integerConversionRoundsHalvesToEvenAndRejectsOverflow();
    void floatConversionRoundsToNearestAndRejectsOverflow_data();
    void floatConversionRoundsToNearestAndRejectsOverflow();
};

void TestNumericText::numericValueReadsTheLeadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("fraction") << "0.75" << 0.75;
    QTest::newRow("leading blanks and tab") << "  \t 3.5" << 3.5;
    QTest::newRow("tab before a number") << "\t5" << 5.0;
    QTest::newRow("carriage return before a number") << "\r5" << 5.0;
    QTest::newRow("line feed before a number") << "\n5" << 5.0;
    QTest::newRow("line break and blanks before a sign") << "\r\n \t-5" << -5.0;
    QTest::newRow("form feed is no blank") << "\f5" << 0.0;
    QTest::newRow("no-break space is no blank") << "\u00A05" << 0.0;
    QTest::newRow("ideographic space is no blank") << "\u30005" << 0.0;
    QTest::newRow("plus sign") << "+12" << 12.0;
    QTest::newRow("minus sign") << "-12" << -12.0;
    QTest::newRow("no digit before the point") << ".25" << 0.25;
    QTest::newRow("no digit after the point") << "5." << 5.0;
    QTest::newRow("exponent with plus") << "1e+3" << 1000.0;
    QTest::newRow("capital exponent, negative") << "2.5E-1" << 0.25;
    QTest::newRow("exponent without digits stops before e") << "1e" << 1.0;
    QTest::newRow("stops at a letter") << "7abc" << 7.0;
    QTest::newRow("stops at the second point") << "1.2.3" << 1.2;
    QTest::newRow("stops at an inner blank") << "12 34" << 12.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("point only") << "." << 0.0;
    QTest::newRow("exponent only") << "e5" << 0.0;
    QTest::newRow("blank between sign and digits") << "- 5" << 0.0;
    QTest::newRow("full-width digits are no number") << "７" << 0.0;
    QTest::newRow("full-width after digits stops") << "1２" << 1.0;
    QTest::newRow("beyond double range") << "1e400" << kInf;
    QTest::newRow("beyond double range, negative") << "-1e400" << -kInf;
    QTest::newRow("below double range") << "1e-400" << 0.0;
    QTest::newRow("exponent past any int") << "1e99999999999999999999" << kInf;
    QTest::newRow("many digits") << "1234567890123456789012345678901234567890" << 1.2345678901234568e39;
    QTest::newRow("400 digits overflow") << "1" + QString(400, u'0') << kInf;
    QTest::newRow("400 zeros after the point") << "0." + QString(400, u'0') + "1" << 0.0;
    QTest::newRow("long digits with exponent back in range") << "1" + QString(400, u'0') + "e-390" << 1e10;
}

// Guards the one rule every control text is read by: a wrong stop, a thrown
// parse error or an exception-prone conversion would break START and the grid.
void TestNumericText::numericValueReadsTheLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(toolkit::numericValue(text), expected);
}

void TestNumericText::numberTextWritesPlainDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("whole") << 8.0 << "8";
    QTest::newRow("fraction below one") << 0.75 << "0.75";
    QTest::newRow("negative fraction") << -0.75 << "-0.75";
    QTest::newRow("fifteen significant digits") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("last digit rounded") << 2.0 / 3.0 << "0.666666666666667";
    QTest::newRow("rounding carries into the units") << 0.9999999999999999 << "1";
    QTest::newRow("tiny without exponent") << 1e-20 << "0.00000000000000000001";
    QTest::newRow("huge without exponent") << 1e20 << "100000000000000000000";
    QTest::newRow("infinity") << kInf << "inf";

    // The display times: v * 0.15 carries binary noise (7 * 0.15 is
    // 1.0499999999999998) that must not show.
    const QStringList times{"0", "0.15", "0.3", "0.45", "0.6", "0.75", "0.9", "1.05", "1.2", "1.35", "1.5"};
    for (int v = 0; v <= kSliderSteps; ++v)
        QTest::addRow("slider step %d", v) << v * kSecondsPerSliderStep << times[v];
}

// Guards against exponents, locale commas, leading blanks and binary noise in
// the numbers the window shows.
void TestNumericText::numberTextWritesPlainDecimals()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(toolkit::numberText(value), expected);
}

void TestNumericText::integerConversionRoundsHalvesToEvenAndRejectsOverflow_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<bool>("overflows");

    QTest::newRow("0.5 to even 0") << 16 << 0.5 << qint64(0) << false;
    QTest::newRow("1.5 to even 2") << 16 << 1.5 << qint64(2) << false;
    QTest::newRow("2.5 to even 2") << 16 << 2.5 << qint64(2) << false;
    QTest::newRow("-0.5 to even 0") << 16 << -0.5 << qint64(0) << false;
    QTest::newRow("-1.5 to even -2") << 16 << -1.5 << qint64(-2) << false;
    QTest::newRow("-2.5 to even -2") << 16 << -2.5 << qint64(-2) << false;
    QTest::newRow("just below a half") << 16 << 0.49999999999999994 << qint64(0) << false;
    QTest::newRow("just above a half") << 16 << 2.5000000000000004 << qint64(3) << false;
    QTest::newRow("grid count 7 + 1") << 16 << 8.0 << qint64(8) << false;
    QTest::newRow("int16 top rounds down") << 16 << 32767.4 << qint64(32767) << false;
    QTest::newRow("int16 top rounds up past") << 16 << 32767.5 << qint64(0) << true;
    QTest::newRow("int16 bottom half to even") << 16 << -32768.5 << qint64(-32768) << false;
    QTest::newRow("int16 below bottom") << 16 << -32768.6 << qint64(0) << true;
    QTest::newRow("int16 NaN") << 16 << kNaN << qint64(0) << true;
    QTest::newRow("int16 infinity") << 16 << kInf << qint64(0) << true;
    QTest::newRow("int32 beyond int16") << 32 << 40000.0 << qint64(40000) << false;
    QTest::newRow("int32 top rounds down") << 32 << 2147483647.4 << qint64(2147483647) << false;
    QTest::newRow("int32 top rounds up past") << 32 << 2147483647.5 << qint64(0) << true;
    QTest::newRow("int32 bottom half to even") << 32 << -2147483648.5 << qint64(-2147483648LL) << false;
    QTest::newRow("int32 below bottom") << 32 << -2147483649.0 << qint64(0) << true;
    QTest::newRow("int32 huge") << 32 << 1e300 << qint64(0) << true;
    QTest::newRow("int32 infinity") << 32 << kInf << qint64(0) << true;
}

// Guards against C-style truncation, round-half-away, and silent wrap-around
// where the program expects an overflow error.
void TestNumericText::integerConversionRoundsHalvesToEvenAndRejectsOverflow()
{
    QFETCH(int, bits);
    QFETCH(double, value);
    QFETCH(qint64, expected);
    QFETCH(bool, overflows);

    const auto convert = [&]() -> qint64 { return bits == 16 ? toolkit::toInt16(value) : toolkit::toInt32(value); };
    if (overflows)
        QVERIFY_THROWS_EXCEPTION(toolkit::OverflowError, convert());
    else
        QCOMPARE(convert(), expected);
}

void TestNumericText::floatConversionRoundsToNearestAndRejectsOverflow_data()
{
    constexpr double largest = std::numeric_limits<float>::max();
    const double halfUlpAtTop = std::ldexp(1.0, 127 - 24);

    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("overflows");

    QTest::newRow("figure coordinate") << 2226.3817221639 << false;
    QTest::newRow("three quarters of an ulp rounds up") << 1000.0 + 0.75 / 16384 << false; // ulp 2^-14
    QTest::newRow("negative") << -1234.56789012345 << false;
    QTest::newRow("rounds down to largest float") << largest + halfUlpAtTop / 2 << false;
    QTest::newRow("half an ulp past largest") << largest + halfUlpAtTop << true;
    QTest::newRow("beyond float range") << 1e39 << true;
    QTest::newRow("infinity") << kInf << true;
}

// Guards item geometry: a double must become the nearest float (not a
// truncated one), and a value no float can hold must be an error, not inf.
void TestNumericText::floatConversionRoundsToNearestAndRejectsOverflow()
{
    QFETCH(double, value);
    QFETCH(bool, overflows);

    if (overflows) {
        QVERIFY_THROWS_EXCEPTION(toolkit::OverflowError, toolkit::toFloat(value));
        return;
    }
    const float result = toolkit::toFloat(value);
    QVERIFY(std::isfinite(result));
    const double error = std::fabs(double(result) - value);
    QVERIFY(error <= std::fabs(double(std::nextafter(result, std::numeric_limits<float>::max())) - value));
    QVERIFY(error <= std::fabs(double(std::nextafter(result, std::numeric_limits<float>::lowest())) - value));
}

QTEST_GUILESS_MAIN(TestNumericText)
#include "tst_numeric_text.moc"
