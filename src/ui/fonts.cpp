#include "ui/fonts.h"

namespace ui {

QFont japaneseFont(QStringList preferred, double pointSize)
{
    preferred << QStringLiteral("Noto Sans CJK JP") << QStringLiteral("IPAPGothic") << QStringLiteral("VL PGothic")
              << QStringLiteral("Droid Sans Fallback");
    QFont font;
    font.setFamilies(preferred);
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace ui
