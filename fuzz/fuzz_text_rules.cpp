// Fuzzes the program's text rules. Every input is read as UTF-8, as Latin-1
// and as UTF-16, so that odd characters reach them, and:
// - the leading number of the text must equal, bit for bit, a reference
//   reading written from the rule, converted by strtod in the "C" locale;
// - a finite number written as text must read back within 1e-14 of itself,
//   and be written as plain decimals;
// - rounding to 16- and 32-bit integers must give the nearest, halves to even,
//   or raise an overflow outside the range;
// - the grid count and the display time must follow from the reference
//   reading and stay within their bounds, and what is said of the time moved
//   into its bounds must agree with it.
// Any disagreement aborts, with the text and the two values.

#include "core/grid_count.h"
#include "core/display_time.h"
#include "toolkit/errors.h"
#include "toolkit/numeric_text.h"

#include <QString>

#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr double kRoundTripTolerance = 1e-14;
constexpr int kMostSignificantDigits = 15;
constexpr qsizetype kUnitsShown = 64;

[[noreturn]] void fault(const char* what, QStringView text, double got, double expected)
{
    std::fprintf(stderr, "fuzz_text_rules: %s\n  text (%lld UTF-16 units):", what, static_cast<long long>(text.size()));
    for (QChar c : text.left(kUnitsShown))
        std::fprintf(stderr, " %04x", c.unicode());
    std::fprintf(stderr, "%s\n  got %a, expected %a\n", text.size() > kUnitsShown ? " ..." : "", got, expected);
    std::abort();
}

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The leading number as the rule reads it: blanks " \t\n\r", an optional sign,
// digits with an optional point (a digit on at least one side of it), then an
// exponent if a digit follows the "e" and its optional sign.
double referenceValue(QStringView text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const auto at = [&text](qsizetype k) { return k < text.size() ? text[k].unicode() : char16_t{}; };
    std::string span;
    qsizetype i = 0;
    while (at(i) == u' ' || at(i) == u'\t' || at(i) == u'\n' || at(i) == u'\r')
        ++i;
    if (at(i) == u'+' || at(i) == u'-')
        span += static_cast<char>(at(i++));
    bool anyDigit = false;
    for (; isAsciiDigit(at(i)); anyDigit = true)
        span += static_cast<char>(at(i++));
    if (at(i) == u'.' && (anyDigit || isAsciiDigit(at(i + 1)))) {
        span += static_cast<char>(at(i++));
        for (; isAsciiDigit(at(i)); anyDigit = true)
            span += static_cast<char>(at(i++));
    }
    if (!anyDigit)
        return 0.0;
    if (at(i) == u'e' || at(i) == u'E') {
        const qsizetype sign = (at(i + 1) == u'+' || at(i + 1) == u'-') ? 1 : 0;
        if (isAsciiDigit(at(i + 1 + sign))) {
            for (qsizetype k = i; k <= i + sign; ++k)
                span += static_cast<char>(at(k));
            for (i += 1 + sign; isAsciiDigit(at(i)); ++i)
                span += static_cast<char>(at(i));
        }
    }
    // strtod gives +/-infinity past the range of a double and 0 below it; a
    // subnormal result is representable and stays.
    char* end = nullptr;
    const double value = strtod_l(span.c_str(), &end, cLocale);
    if (end != span.c_str() + span.size())
        fault("strtod did not read the whole reference span", text, 0, 0);
    return value;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Plain decimals: "-" only when negative, no blank, no exponent, one "0"
// before a point below 1, no trailing zeros, at most 15 significant digits.
bool isPlainDecimal(const QString& s, double value)
{
    qsizetype i = s.startsWith(u'-') ? 1 : 0;
    if ((i == 1) != (value < 0) || i == s.size())
        return false;
    const qsizetype wholeStart = i;
    while (i < s.size() && isAsciiDigit(s[i].unicode()))
        ++i;
    const qsizetype wholeDigits = i - wholeStart;
    if (wholeDigits == 0 || (wholeDigits > 1 && s[wholeStart] == u'0'))
        return false;
    if (i < s.size() && (s[i] != u'.' || i + 1 == s.size() || s.back() == u'0'))
        return false;
    std::string digits;
    for (qsizetype k = wholeStart; k < s.size(); ++k) {
        if (k == i)
            continue; // the point
        if (!isAsciiDigit(s[k].unicode()))
            return false;
        digits += static_cast<char>(s[k].unicode());
    }
    // Significant: from the first non-zero digit to the last.
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos || digits.find_last_not_of('0') - first + 1 <= kMostSignificantDigits;
}

template <class Int>
void checkRounding(QStringView text, double value, Int (*convert)(double), const char* name)
{
    const double nearest = std::nearbyint(value); // halves to even in the default rounding mode
    const bool fits = nearest >= std::numeric_limits<Int>::min() && nearest <= std::numeric_limits<Int>::max();
    try {
        const Int got = convert(value);
        if (!fits || got != nearest)
            fault(name, text, got, nearest);
    } catch (const toolkit::OverflowError&) {
        if (fits)
            fault(name, text, 0, nearest);
    }
}

void checkText(QStringView text)
{
    const double value = toolkit::numericValue(text);
    const double expected = referenceValue(text);
    if (std::isnan(value) || !sameBits(value, expected))
        fault("numericValue disagrees with the reference reading", text, value, expected);

    const QString written = toolkit::numberText(value);
    if (std::isinf(value)) {
        if (written != (value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf")))
            fault("numberText of an infinity", text, value, value);
    } else {
        if (!isPlainDecimal(written, value))
            fault(qPrintable(QStringLiteral("numberText wrote '%1'").arg(written)), text, value, value);
        const double readBack = toolkit::numericValue(written);
        if (!(std::abs(readBack - value) <= kRoundTripTolerance * std::abs(value)))
            fault("numberText does not read back", text, readBack, value);
    }

    checkRounding<qint16>(text, value, toolkit::toInt16, "toInt16");
    checkRounding<qint32>(text, value, toolkit::toInt32, "toInt32");

    // The count and the time from the reference reading: lines 0..11 plus the
    // edge interval, halves to even; seconds 0..60.
    const double lines = expected < 0 ? 0 : expected > core::kMostGridLines ? core::kMostGridLines : expected;
    const double expectedIntervals = std::nearbyint(lines + 1);
    const double longest = core::kLongestDisplaySeconds;
    const double expectedSeconds = expected < 0 ? 0 : expected > longest ? longest : expected;
    try {
        const qint16 intervals = core::gridIntervalsFor(text);
        if (intervals != expectedIntervals || intervals < 1 || intervals > core::kMostGridLines + 1)
            fault("gridIntervalsFor", text, intervals, expectedIntervals);
        const core::DisplayTime time = core::readDisplayTime(text);
        if (!sameBits(time.seconds, expectedSeconds) || time.seconds > core::kLongestDisplaySeconds)
            fault("readDisplayTime", text, time.seconds, expectedSeconds);
        // What START says of the text: a time moved into the range exactly
        // when the reference reading is outside it, and no number read where it has one.
        using Reading = core::DisplayTimeReading;
        const auto reading = static_cast<double>(time.reading);
        if ((time.reading == Reading::BelowZero) != (expected < 0))
            fault("readDisplayTime: below zero", text, reading, expected);
        if ((time.reading == Reading::OverAMinute) != (expected > longest))
            fault("readDisplayTime: over a minute", text, reading, expected);
        if ((time.reading == Reading::Empty || time.reading == Reading::NoNumber) && expected != 0)
            fault("readDisplayTime: a number taken for none", text, reading, expected);
    } catch (const std::exception& error) {
        fault(error.what(), text, 0, 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* bytes = reinterpret_cast<const char*>(data);
    const auto length = static_cast<qsizetype>(size);
    checkText(QString::fromUtf8(bytes, length));
    checkText(QString::fromLatin1(bytes, length));
    std::u16string units(size / 2, u'\0'); // copied: the input need not be aligned for UTF-16
    std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    checkText(QStringView(units));
    return 0;
}
