#include "ui/remembered_placement.h"

#include "toolkit/copy_slot.h"
#include "ui/player_settings.h"

#include <QFileInfo>

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

QString offset(const QString& key)
{
    return key + QStringLiteral("/offset");
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

const QWidget* ownerOf(const QWidget& window)
{
    return window.parentWidget() ? window.parentWidget()->window() : nullptr;
}

// The screens' available areas, where a window may stand whole.
QList<QRect> availableAreas()
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    return screens;
}

// Copies of the game told apart; a copy past the last opens where the first does.
constexpr int kCopiesTold = 16;
// About a title bar's height: each copy's title shows below the one before.
constexpr int kCopyOffsetPixels = 32;

} // namespace

void centreOnScreen(QWidget& window)
{
    // Held while this copy runs, beside the player's settings, which all copies share.
    static const toolkit::CopySlot copy(QFileInfo(playerSettings().fileName()).absolutePath(), kCopiesTold);
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    frame.translate(QPoint(kCopyOffsetPixels, kCopyOffsetPixels) * copy.number());
    window.move(toolkit::placeWindow(frame, frame.size(), {}, {screen->availableGeometry()}).topLeft());
}

void restorePlacement(QWidget& window, const QString& key, QSize opening, toolkit::Opening first, KeptPlace keptAs)
{
    const QWidget* owner = ownerOf(window);
    const QMargins frame = frameOf(owner);
    const QSettings kept = playerSettings();
    const QSize lastSize = kept.value(size(key)).toSize().grownBy(frame);
    const bool fromOwner = keptAs == KeptPlace::FromOwner && owner;
    const QString place = fromOwner ? offset(key) : position(key);
    const bool wasLeft = kept.contains(place) && !lastSize.isEmpty();
    QRect placed;
    if (wasLeft && fromOwner) {
        placed = toolkit::placeFromOwner(kept.value(place).toPoint(), lastSize, owner->frameGeometry(), availableAreas());
    } else {
        std::optional<QRect> last;
        if (wasLeft)
            last = QRect(kept.value(place).toPoint(), lastSize);
        placed = toolkit::placeWindow(
            last, opening.grownBy(frame), owner ? owner->frameGeometry() : QRect(), availableAreas(), first);
    }
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

void rememberPlacement(const QWidget& window, const QString& key, KeptPlace keptAs)
{
    // A maximized window is kept at the place it goes back to.
    const bool isMaximized = window.isMaximized();
    const QRect client = isMaximized ? window.normalGeometry() : window.geometry();
    const QPoint frameOffset = window.geometry().topLeft() - window.pos();
    const QPoint frameAt = client.topLeft() - frameOffset;
    const QWidget* owner = ownerOf(window);
    const bool fromOwner = keptAs == KeptPlace::FromOwner && owner;
    QSettings kept = playerSettings();
    // Written only where it changed: a write syncs the settings file to disk,
    // and a dialog closed round after round has mostly stayed where it was.
    const auto keep = [&kept]<class Value>(const QString& name, const Value& value) {
        // Read back as it is kept: a flag comes back from the file as text.
        if (!kept.contains(name) || kept.value(name).value<Value>() != value)
            kept.setValue(name, value);
    };
    keep(fromOwner ? offset(key) : position(key), fromOwner ? QPoint(frameAt - owner->pos()) : frameAt);
    keep(size(key), client.size());
    keep(maximized(key), isMaximized);
}

} // namespace ui
