#pragma once
// The program's rules for reading numbers out of texts, writing numbers as
// texts, and narrowing doubles to the integers that hold counts and indices.

#include "tormell_export.h"

#include <QString>
#include <QStringView>

namespace toolkit {

/// The number at the start of `text`: leading blanks skipped, then an optional
/// sign, digits, an optional "." with digits and an optional exponent. Reading
/// stops at the first character that cannot continue the number; a text that
/// does not start with a number gives 0. A number beyond the range of a double
/// gives +/-infinity; one too small to represent gives 0.
double numericValue(QStringView text);

/// How many characters of `text` numericValue() reads as its number, the
/// blanks before it included; 0 when it does not start with a number.
qsizetype numberLength(QStringView text);

/// `text` with the full-width digits, point, signs and exponent letters a
/// Japanese input method types (０-９ ． － ＋ ｅ Ｅ, and the minus sign −)
/// in their ASCII forms, and every other character as it was: read by
/// numericValue() as the player meant it.
QString asciiNumberText(QString text);

/// `value` as plain decimal text: no exponent, no leading blank, "-" when
/// negative, "0" before the point below 1, at most 15 significant digits and no
/// trailing zeros. Infinities are written "inf" and "-inf".
TORMELL_EXPORT QString numberText(double value);

/// Nearest integer, halves to the even neighbour; OverflowError outside the
/// target's range (NaN and infinities included).
qint16 toInt16(double value);
qint32 toInt32(double value);

/// Nearest 32-bit float; OverflowError when `value` lies beyond the float range.
float toFloat(double value);

} // namespace toolkit
