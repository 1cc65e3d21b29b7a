#pragma once
// A window that opens where the player last left it: its place, size and
// whether it was maximized, kept in the player's settings between runs.

#include "toolkit/window_placement.h"

#include <QSize>

class QString;
class QWidget;

namespace ui {

/// Places `window` before it is shown: where the player last left it (kept
/// under `key`), if that is still on a screen, else at size `opening`
/// centred over the window it belongs to, or beside it as `first` asks.
/// Either way it fits one screen.
void restorePlacement(
    QWidget& window, const QString& key, QSize opening, toolkit::Opening first = toolkit::Opening::OverOwner);

/// Moves `window`, grown since it was placed, back whole onto the screen it is on.
void keepOnScreen(QWidget& window);

/// Keeps where `window` is now, for restorePlacement() to find.
void rememberPlacement(const QWidget& window, const QString& key);

} // namespace ui
