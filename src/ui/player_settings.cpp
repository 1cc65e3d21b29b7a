#include "ui/player_settings.h"

#include <QCoreApplication>

namespace ui {

QSettings playerSettings()
{
    const QString name = QCoreApplication::applicationName();
    return QSettings(QSettings::UserScope, name, name);
}

} // namespace ui
