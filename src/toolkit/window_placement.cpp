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

} // namespace

QRect placeWindow(const std::optional<QRect>& last, QSize opening, const QRect& owner, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return last.value_or(QRect(QPoint(), opening));
    if (last) {
        if (const auto screen = screenShowing(*last, screens))
            return onto(*last, *screen);
    }
    QRect placed(QPoint(), last ? last->size() : opening);
    const QRect around = owner.isNull() ? screens.first() : owner;
    placed.moveCenter(around.center());
    return onto(placed, screenShowing(around, screens).value_or(screens.first()));
}

} // namespace toolkit
