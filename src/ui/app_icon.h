#pragma once

#include "tormell_export.h"

#include <QIcon>

namespace ui {

/// The program's icon: hand-drawn 16 and 32 pixel bitmaps where a window asks
/// for those sizes, the scalable drawing for every other size.
TORMELL_EXPORT QIcon appIcon();

} // namespace ui
