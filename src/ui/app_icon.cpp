#include "ui/app_icon.h"

namespace ui {

QIcon appIcon()
{
    QIcon icon(QStringLiteral(":/tormell/icon.svg"));
    icon.addFile(QStringLiteral(":/tormell/icon-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/tormell/icon-32.png"), QSize(32, 32));
    return icon;
}

} // namespace ui
