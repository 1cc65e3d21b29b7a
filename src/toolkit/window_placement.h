#pragma once
// Where a window opens: where the player last left it, if that is still on
// a screen, or else over or beside the window it belongs to; whole on one
// screen either way. Rectangles are window frames, in desktop coordinates.

#include <QList>
#include <QRect>
#include <optional>

namespace toolkit {

/// Where a window opens the first time, against the window it belongs to.
enum class Opening {
    OverOwner, ///< centred over it
    BesideOwner, ///< next to it, covering as little of it as the screen allows
};

/// The frame a window opens with. `last` is where the player left it, if it
/// was open before; `opening` its size the first time. It goes back to
/// `last` when that still overlaps a screen, moved wholly onto that screen.
/// Otherwise it opens on the screen that shows most of `owner` (null for a
/// window of its own, which opens centred on the first screen): centred over
/// the owner, or beside it, with `first` BesideOwner: to its right where the
/// screen has room, else to its left, else below or above it, else on the side
/// where it covers the least of the owner. `screens` are the screens'
/// available areas; with none known, the window stays as asked.
QRect placeWindow(const std::optional<QRect>& last, QSize opening, const QRect& owner, const QList<QRect>& screens,
    Opening first = Opening::OverOwner);

/// The frame of a window kept at `offset` from its owner's top-left corner,
/// wherever the owner has moved: there, moved the least way to stand whole
/// on the screen that shows most of the owner.
QRect placeFromOwner(QPoint offset, QSize size, const QRect& owner, const QList<QRect>& screens);

} // namespace toolkit
