#pragma once
// The player's settings: one file for every window, ~/.config/Tormell/Tormell.conf
// (or the same under $XDG_CONFIG_HOME).

#include "tormell_export.h"

#include <QSettings>

namespace ui {

/// The settings file, named for the program here: the game sets no
/// organisation, which would also move its data folder.
TORMELL_EXPORT QSettings playerSettings();

} // namespace ui
