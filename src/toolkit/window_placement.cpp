#include "toolkit/window_placement.h"

#include <algorithm>

namespace toolkit {

namespace {

qint64 area(const QRect& rect)
{
    return rect.isEmpty() ? 0 : qint64 {rect.width()} * rect.height();
}

// The screen showing most of `rect`; none when no screen shows any of it.
std::optional<QRect> screenShowing(const QRect& rect, const QList<QRect>& screens)
{
    std::optional<QRect> best;
    qint64 shown = 0;
    for (const QRect& screen : screens) {
        if (const qint64 overlap = area(screen & rect); overlap > shown) {
            shown = overlap;
            best = screen;
        }
    }
    return best;
}

// `rect` shrunk to fit `screen` if need be, and moved the least way onto it.
QRect onto(QRect rect, const QRect& screen)
{
    rect.setSize(rect.size().boundedTo(screen.size()));
    rect.moveLeft(std::clamp(rect.left(), screen.left(), screen.left() + screen.width() - rect.width()));
    rect.moveTop(std::clamp(rect.top(), screen.top(), screen.top() + screen.height() - rect.height()));
    return rect;
}

// Next to `owner` on `screen`: the first side where it covers none of the
// owner, in the order of preference, else the side where it covers least.
QRect beside(QSize size, const QRect& owner, const QRect& screen)
{
    QRect right(QPoint(owner.right() + 1, owner.top()), size);
    QRect left(QPoint(owner.left() - size.width(), owner.top()), size);
    QRect below(QPoint(owner.left(), owner.bottom() + 1), size);
    QRect above(QPoint(owner.left(), owner.top() - size.height()), size);
    std::optional<QRect> best;
    qint64 covered = 0;
    for (const QRect& side : {right, left, below, above}) {
        const QRect placed = onto(side, screen);
        if (const qint64 overlap = area(placed & owner); !best || overlap < covered) {
            best = placed;
            covered = overlap;
        }
    }
    return *best;
}

} // namespace

QRect placeWindow(
    const std::optional<QRect>& last, QSize opening, const QRect& owner, const QList<QRect>& screens, Opening first)
{
    if (screens.isEmpty())
        return last.value_or(QRect(QPoint(), opening));
    if (last) {
        if (const auto screen = screenShowing(*last, screens))
            return onto(*last, *screen);
    }
    const QSize size = last ? last->size() : opening;
    const QRect around = owner.isNull() ? screens.first() : owner;
    const QRect screen = screenShowing(around, screens).value_or(screens.first());
    if (first == Opening::BesideOwner && !owner.isNull())
        return beside(size, owner, screen);
    QRect placed(QPoint(), size);
    placed.moveCenter(around.center());
    return onto(placed, screen);
}

QRect placeFromOwner(QPoint offset, QSize size, const QRect& owner, const QList<QRect>& screens)
{
    const QRect wanted(owner.topLeft() + offset, size);
    if (screens.isEmpty())
        return wanted;
    return onto(wanted, screenShowing(owner, screens).value_or(screens.first()));
}

} // namespace toolkit
