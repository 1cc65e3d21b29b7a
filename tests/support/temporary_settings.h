#pragma once
// The player's settings in a folder of their own that goes with them: tests
// never read or write the player's, and each starts with none.

#include <QSettings>
#include <QTemporaryDir>

struct TemporarySettings {
    QTemporaryDir folder;

    TemporarySettings() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path()); }
};
