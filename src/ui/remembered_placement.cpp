#include "ui/remembered_placement.h"

#include "ui/player_settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace ui {

namespace {

QString position(const QString& key)
{
    return key + QStringLiteral("/position");
}

QString size(const QString& key)
{
    return key + QStringLiteral("/size");
}

QString maximized(const QString& key)
{
    return key + QStringLiteral("/maximized");
}

// The decorations round a window: the window manager frames it as it framed
// its owner, and a window not yet shown has no frame to measure.
QMargins frameOf(const QWidget* owner)
{
    if (!owner)
        return {};
    const QRect frame = owner->frameGeometry();
    const QRect client = owner->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
        frame.bottom() - client.bottom()};
}

// The screens' available areas, where a window may stand whole.
QList<QRect> availableAreas()
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    return screens;
}

} // namespace

void restorePlacement(QWidget& window, const QString& key, QSize opening, toolkit::Opening first)
{
    const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    const QMargins frame = frameOf(owner);
    const QSettings kept = playerSettings();
    std::optional<QRect> last;
    const QPoint lastPosition = kept.value(position(key)).toPoint();
    const QSize lastSize = kept.value(size(key)).toSize();
    if (kept.contains(position(key)) && !lastSize.isEmpty())
        last = QRect(lastPosition, lastSize.grownBy(frame));
    const QRect placed = toolkit::placeWindow(
        last, opening.grownBy(frame), owner ? owner->frameGeometry() : QRect(), availableAreas(), first);
    window.resize(placed.size().shrunkBy(frame));
    window.move(placed.topLeft()); // a window's position is that of its frame
    if (kept.value(maximized(key)).toBool())
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void keepOnScreen(QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect placed = toolkit::placeWindow(frame, frame.size(), {}, availableAreas());
    if (placed.topLeft() != frame.topLeft())
        window.move(placed.topLeft());
}

void rememberPlacement(const QWidget& window, const QString& key)
{
    // A maximized window is kept at the place it goes back to.
    const bool isMaximized = window.isMaximized();
    const QRect client = isMaximized ? window.normalGeometry() : window.geometry();
    const QPoint frameOffset = window.geometry().topLeft() - window.pos();
    QSettings kept = playerSettings();
    kept.setValue(position(key), client.topLeft() - frameOffset);
    kept.setValue(size(key), client.size());
    kept.setValue(maximized(key), isMaximized);
}

} // namespace ui
