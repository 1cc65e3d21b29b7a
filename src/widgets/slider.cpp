#include "widgets/slider.h"

#include "toolkit/twips.h"

#include <QMouseEvent>

using namespace toolkit;

namespace widgets {

Slider::Slider(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
}

void Slider::mouseMoveEvent(QMouseEvent* event)
{
    QSlider::mouseMoveEvent(event);
    const QPointF at = event->position();
    emit mouseMoved(event->buttons(), event->modifiers(), static_cast<float>(twipsFromPixels(at.x())),
                    static_cast<float>(twipsFromPixels(at.y())));
}

} // namespace widgets
