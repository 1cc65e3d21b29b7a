#include "widgets/canvas.h"

#include "toolkit/numeric_text.h"
#include "toolkit/twips.h"
#include "widgets/item_painter.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

using namespace toolkit;

namespace widgets {

namespace {
// The standard sunken border of a picture box: two pixels on each side.
constexpr int kFramePixels = 2;
} // namespace

Canvas::Canvas(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kFramePixels);
    setMidLineWidth(0);
    // QFrame holds the frame's width in the contents margins; contentsRect()
    // is then the drawing area inside the border, as the twips assume.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoMousePropagation);
    m_scene.setObserver(this);
}

Canvas::~Canvas() = default;

double Canvas::widthTwips() const
{
    return twipsFromPixels(sceneSize().width());
}

double Canvas::heightTwips() const
{
    return twipsFromPixels(sceneSize().height());
}

void Canvas::setWidthTwips(double twips)
{
    setSceneSize(QSize(static_cast<int>(std::lround(pixelsFromTwips(toFloat(twips)))), sceneSize().height()));
}

void Canvas::setHeightTwips(double twips)
{
    setSceneSize(QSize(sceneSize().width(), static_cast<int>(std::lround(pixelsFromTwips(toFloat(twips))))));
}

QSize Canvas::sceneSize() const
{
    return m_scaledToFit ? m_sceneSize : size();
}

void Canvas::setSceneSize(QSize pixels)
{
    if (!m_scaledToFit) {
        resize(pixels);
        return;
    }
    m_sceneSize = pixels;
    updateGeometry();
    update();
}

void Canvas::setScaledToFit(bool fit)
{
    if (fit == m_scaledToFit)
        return;
    m_sceneSize = size();
    m_scaledToFit = fit;
    const auto policy = fit ? QSizePolicy::Expanding : QSizePolicy::Preferred;
    setSizePolicy(policy, policy);
    updateGeometry();
    update();
}

QSize Canvas::sizeHint() const
{
    return m_scaledToFit ? m_sceneSize : QFrame::sizeHint();
}

QTransform Canvas::sceneToWidget() const
{
    const QRectF inside = contentsRect();
    QTransform transform = QTransform::fromTranslate(inside.left(), inside.top());
    const QSizeF scene = QSizeF(m_sceneSize).shrunkBy(QMarginsF(contentsMargins()));
    if (!m_scaledToFit || scene.isEmpty())
        return transform;
    const double scale = std::min(inside.width() / scene.width(), inside.height() / scene.height());
    const QSizeF drawn = scene * scale;
    return transform.translate((inside.width() - drawn.width()) / 2, (inside.height() - drawn.height()) / 2)
        .scale(scale, scale);
}

void Canvas::clear()
{
    update();
}

void Canvas::refresh()
{
    repaint();
}

QPointF Canvas::twipsAt(QPointF widgetPos) const
{
    const QPointF inside = sceneToWidget().inverted().map(widgetPos);
    return {twipsFromPixels(inside.x()), twipsFromPixels(inside.y())};
}

void Canvas::sceneChanged()
{
    update();
}

void Canvas::sceneAreaChanged(const QRectF& twips)
{
    if (twips.isEmpty())
        return;
    const QRectF pixels = pixelRectF(twips.x(), twips.y(), twips.width(), twips.height());
    update(sceneToWidget().mapRect(pixels).toAlignedRect().intersected(contentsRect()));
}

void Canvas::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event); // the sunken border
    QPainter painter(this);
    const QRect inside = contentsRect();
    const QRect dirty = event->rect().intersected(inside);
    painter.fillRect(dirty, m_scene.backColor());
    painter.setClipRect(dirty);
    painter.setTransform(sceneToWidget());
    painter.setRenderHint(QPainter::Antialiasing);
    // Only what overlaps the damaged area: a drag repaints a few joints, not the grid.
    const QRectF dirtyTwips = QRectF(twipsAt(dirty.topLeft()), twipsAt(dirty.bottomRight() + QPoint(1, 1)));
    for (const auto& item : m_scene.items()) {
        if (item->visible() && item->paintedArea().intersects(dirtyTwips))
            paintItem(painter, *item);
    }
    if (m_drag && m_drag->outlineAt) {
        // The drag outline: the dragged label's box where a drop would put it.
        painter.setPen(QPen(Qt::black, 1.0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(pixelRectF(m_drag->outlineAt->x(), m_drag->outlineAt->y(), m_drag->label->width(),
                                    m_drag->label->height())
                             .adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

QRectF Canvas::outlineArea() const
{
    if (!m_drag || !m_drag->outlineAt)
        return {};
    return QRectF(*m_drag->outlineAt, QSizeF(m_drag->label->width(), m_drag->label->height()));
}

void Canvas::moveOutline(std::optional<QPointF> topLeft)
{
    sceneAreaChanged(outlineArea());
    m_drag->outlineAt = topLeft;
    sceneAreaChanged(outlineArea());
}

Label* Canvas::shownLabelAt(QPointF twips) const
{
    const auto& items = m_scene.items();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        auto* label = dynamic_cast<Label*>(it->get());
        if (label && label->visible() && label->contains(twips.x(), twips.y()))
            return label;
    }
    return nullptr;
}

void Canvas::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = twipsAt(event->position());
    Label* label = shownLabelAt(at);
    if (event->button() == Qt::LeftButton && label && label->automaticDrag()) {
        // A label that appeared under a pointer at rest was never reported as
        // under it; report it now, or the drag's first notification could go to
        // the bare canvas while the program still holds an earlier label current.
        emit labelMouseMove(*label, event->buttons(), event->modifiers(), static_cast<float>(at.x() - label->left()),
                            static_cast<float>(at.y() - label->top()));
        m_drag = Drag{label, at - QPointF(label->left(), label->top()), std::nullopt};
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

void Canvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = twipsAt(event->position());
    const auto x = static_cast<float>(at.x());
    const auto y = static_cast<float>(at.y());
    if (m_drag && !m_drag->label->visible()) {
        // Hidden handles take no part in dragging, also one hidden mid-drag.
        endDrag();
    }
    if (m_drag) {
        // A drag keeps the mouse grabbed, so moves off the canvas arrive here too:
        // only those over the canvas become notifications.
        const bool overCanvas = rect().contains(event->position().toPoint());
        moveOutline(overCanvas ? std::optional<QPointF>(at - m_drag->grabOffset) : std::nullopt);
        if (!overCanvas)
            return;
        if (Label* label = shownLabelAt(at))
            emit labelDragOver(*label, static_cast<float>(x - label->left()), static_cast<float>(y - label->top()));
        else
            emit dragOver(x, y);
        return;
    }
    if (Label* label = shownLabelAt(at))
        emit labelMouseMove(*label, event->buttons(), event->modifiers(), static_cast<float>(x - label->left()),
                            static_cast<float>(y - label->top()));
    else
        emit mouseMoved(event->buttons(), event->modifiers(), x, y);
}

void Canvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_drag && event->button() == Qt::LeftButton) {
        endDrag();
        event->accept();
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

void Canvas::endDrag()
{
    moveOutline(std::nullopt);
    m_drag.reset();
}

} // namespace widgets
