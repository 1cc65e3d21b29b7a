#pragma once
// Where a window opens: where the player last left it, if that is still on
// a screen, or else centred over the window it belongs to; whole on one
// screen either way. Rectangles are window frames, in desktop coordinates.

#include <QList>
#include <QRect>
#include <optional>

namespace toolkit {

/// The frame a window opens with. `last` is where the player left it, if it
/// was open before; `opening` its size the first time. It goes back to
/// `last` when that still overlaps a screen, moved wholly onto that screen;
/// otherwise it is centred over `owner` (null for a window of its own) on the
/// screen that shows most of the owner. `screens` are the screens' available
/// areas; with none known, the window stays as asked.
QRect placeWindow(const std::optional<QRect>& last, QSize opening, const QRect& owner, const QList<QRect>& screens);

} // namespace toolkit
