#include "toolkit/numeric_text.h"

#include "toolkit/errors.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace toolkit {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Builds the ASCII text of the leading number, and the decimal magnitude of its
// first significant digit, so that an out-of-range result can be told apart:
// positive magnitude means too large, otherwise too small.
struct LeadingNumber {
    std::string text;
    bool negative = false;
    long long magnitude = 0;
    bool anyNonZero = false;
    qsizetype end = 0; // just past the number's last character
};

LeadingNumber scan(QStringView s)
{
    LeadingNumber n;
    qsizetype i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        n.negative = s[i] == u'-';
        ++i;
    }
    long long digitsBeforeFirstSignificant = 0;
    bool sawDigit = false;
    long long intDigits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        sawDigit = true;
        n.text += static_cast<char>(s[i].unicode());
        if (n.anyNonZero || s[i] != u'0') {
            n.anyNonZero = true;
            ++intDigits;
        }
    }
    if (i < s.size() && s[i] == u'.') {
        const qsizetype afterPoint = i + 1;
        qsizetype j = afterPoint;
        std::string fraction;
        for (; j < s.size() && isDigit(s[j]); ++j) {
            fraction += static_cast<char>(s[j].unicode());
            if (!n.anyNonZero) {
                if (s[j] == u'0')
                    ++digitsBeforeFirstSignificant;
                else
                    n.anyNonZero = true;
            }
        }
        if (sawDigit || !fraction.empty()) {
            sawDigit = true;
            n.text += '.';
            n.text += fraction;
            i = j;
        }
    }
    if (!sawDigit) {
        n.text.clear();
        return n;
    }
    n.end = i;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) {
            expNegative = s[j] == u'-';
            ++j;
        }
        if (j < s.size() && isDigit(s[j])) {
            long long exponent = 0;
            std::string expText;
            for (; j < s.size() && isDigit(s[j]); ++j) {
                expText += static_cast<char>(s[j].unicode());
                // Saturate: anything past a few thousand is out of range anyway.
                exponent = std::min<long long>(exponent * 10 + (s[j].unicode() - u'0'), 1'000'000'000);
            }
            n.text += 'e';
            if (expNegative)
                n.text += '-';
            n.text += expText;
            n.magnitude = expNegative ? -exponent : exponent;
            n.end = j;
        }
    }
    n.magnitude += intDigits > 0 ? intDigits : -digitsBeforeFirstSignificant;
    return n;
}

template <class Int>
Int toInt(double value, const char* name)
{
    constexpr double lo = std::numeric_limits<Int>::min();
    constexpr double hi = std::numeric_limits<Int>::max();
    if (std::isnan(value))
        throw OverflowError(std::string("NaN does not fit ") + name);
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    if (!(rounded >= lo && rounded <= hi))
        throw OverflowError(std::to_string(value) + " does not fit " + name);
    return static_cast<Int>(rounded);
}

} // namespace

double numericValue(QStringView text)
{
    const LeadingNumber n = scan(text);
    if (n.text.empty())
        return 0.0;
    double value = 0.0;
    const auto [end, error] = std::from_chars(n.text.data(), n.text.data() + n.text.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = (n.anyNonZero && n.magnitude > 0) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return n.negative ? -value : value;
}

qsizetype numberLength(QStringView text)
{
    return scan(text).end;
}

QString asciiNumberText(QString text)
{
    // The full-width forms lie U+FEE0 above their ASCII ones.
    constexpr char16_t kFullWidthOffset = 0xFEE0;
    static const QString kFullWidth = QStringLiteral("０１２３４５６７８９．－＋ｅＥ");
    for (QChar& c : text) {
        if (kFullWidth.contains(c))
            c = QChar(c.unicode() - kFullWidthOffset);
        else if (c == u'\u2212') // MINUS SIGN
            c = u'-';
    }
    return text;
}

QString numberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    if (value == 0.0)
        return QStringLiteral("0");

    // 15 significant digits in scientific form, then laid out as plain decimals.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 14);
    const std::string scientific(buffer, result.ptr);
    const auto ePos = scientific.find('e');
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, ePos - 2);
    const int exponent = std::stoi(scientific.substr(ePos + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = value < 0 ? "-" : "";
    const int digitCount = static_cast<int>(digits.size());
    if (exponent < 0) {
        out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (digitCount <= exponent + 1) {
        out += digits + std::string(static_cast<std::size_t>(exponent + 1 - digitCount), '0');
    } else {
        out += digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "."
            + digits.substr(static_cast<std::size_t>(exponent + 1));
    }
    return QString::fromLatin1(out);
}

qint16 toInt16(double value)
{
    return toInt<qint16>(value, "a 16-bit integer");
}

qint32 toInt32(double value)
{
    return toInt<qint32>(value, "a 32-bit integer");
}

float toFloat(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    if (std::isfinite(value) && std::fabs(value) > largest) {
        // Values that round to FLT_MAX still fit; beyond half an ulp past it they overflow.
        const double halfUlp = std::ldexp(1.0, 127 - 24);
        if (std::fabs(value) >= largest + halfUlp)
            throw OverflowError(std::to_string(value) + " does not fit a 32-bit float");
    }
    if (std::isinf(value))
        throw OverflowError("infinity does not fit a 32-bit float");
    return static_cast<float>(value);
}

} // namespace toolkit
