#pragma once

#include "tormell_export.h"

#include <QFont>
#include <QStringList>

namespace ui {

/// A font that can show Japanese: the preferred faces first, then the
/// Japanese faces a Linux desktop commonly has. Naming them saves Qt a
/// search through every installed font for the first kana it meets.
TORMELL_EXPORT QFont japaneseFont(QStringList preferred, double pointSize);

} // namespace ui
