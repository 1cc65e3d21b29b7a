#pragma once
// A window that opens where the player last left it: its place, size and
// whether it was maximized, kept in the player's settings between runs.

#include "toolkit/window_placement.h"
#include "tormell_export.h"

#include <QSize>

class QString;
class QWidget;

namespace ui {

/// What a window's place is kept as: a place on the desktop, or a place
/// beside the window it belongs to, which it follows wherever that moves.
enum class KeptPlace { OnDesktop, FromOwner };

/// Places `window` before it is shown: where the player last left it (kept
/// under `key`), if that is still on a screen (kept from its owner: on the
/// owner's screen), else at size `opening` centred over the window it
/// belongs to, or beside it as `first` asks. Either way it fits one screen.
TORMELL_EXPORT void restorePlacement(QWidget& window, const QString& key, QSize opening,
    toolkit::Opening first = toolkit::Opening::OverOwner, KeptPlace kept = KeptPlace::OnDesktop);

/// Places `window`, one of the game's own, in the middle of its screen; a
/// second copy of the game running for the player places its windows lower
/// and to the right by a title bar's height, a third by two, and so on.
void centreOnScreen(QWidget& window);

/// Moves `window`, grown since it was placed, back whole onto the screen it is on.
void keepOnScreen(QWidget& window);

/// Keeps where `window` is now, for restorePlacement() to find.
TORMELL_EXPORT void rememberPlacement(const QWidget& window, const QString& key, KeptPlace kept = KeptPlace::OnDesktop);

} // namespace ui
