#pragma once
// The five verdicts, written with escapes so each ideographic space (U+3000),
// full-width letter and full-width "!" (U+FF01) is explicit.

#include <QString>

namespace verdict {

inline const QString kBad = QStringLiteral("\u00D7\u00D7\u3000だめ\uFF01\u3000\u00D7\u00D7");
inline const QString kTryHarder = QStringLiteral("\u3000\u00D7もっとがんばれ\u00D7\u3000");
inline const QString kFair = QStringLiteral("\u25B3\u25B3\u3000ふつう\u3000\u25B3\u25B3");
inline const QString kGood = QStringLiteral("\u25CB\u25CB\u3000\uFF27\uFF2F\uFF2F\uFF24\uFF01\uFF01\u3000\u25CB\u25CB");
inline const QString kVeryGood
    = QStringLiteral("\u25CE\u25CE \uFF36\uFF25\uFF32\uFF39\u3000\uFF27\uFF2F\uFF2F\uFF24\uFF01\uFF01 \u25CE\u25CE");

} // namespace verdict
