#include "toolkit/items.h"

#include "toolkit/canvas.h"
#include "toolkit/errors.h"
#include "toolkit/numeric_text.h"
#include "toolkit/twips.h"

#include <QPainter>

namespace tk {

void Item::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    changed();
}

void Item::changed() const
{
    m_canvas.update();
}

void Item::assign(float& property, double value)
{
    const float rounded = toFloat(value);
    if (property == rounded)
        return;
    property = rounded;
    changed();
}

void Line::setBorderColor(QColor color)
{
    m_color = color;
    changed();
}

void Line::setBorderWidth(int pixels)
{
    if (pixels < 0)
        throw RuntimeError("Invalid property value: line width " + std::to_string(pixels));
    m_width = pixels;
    changed();
}

void Line::setBorderStyle(int style)
{
    m_style = style;
    changed();
}

void Line::paint(QPainter& painter) const
{
    if (m_style == BorderNone)
        return;
    QPen pen(m_color, std::max(1, m_width), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(pixelPoint(m_x1, m_y1), pixelPoint(m_x2, m_y2));
}

bool BoxItem::contains(double xTwips, double yTwips) const
{
    return xTwips >= m_left && xTwips < m_left + m_width && yTwips >= m_top && yTwips < m_top + m_height;
}

void Shape::setBackColor(QColor color)
{
    m_back = color;
    changed();
}

void Shape::setBorderColor(QColor color)
{
    m_border = color;
    changed();
}

void Shape::paint(QPainter& painter) const
{
    // A one-pixel outline drawn inside the box, so the disc covers exactly its box.
    const QRectF box = pixelRectF(left(), top(), width(), height()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(m_border, 1.0));
    painter.setBrush(m_back);
    if (m_kind == Kind::Circle) {
        const double side = std::min(box.width(), box.height());
        QRectF circle(0, 0, side, side);
        circle.moveCenter(box.center());
        painter.drawEllipse(circle);
    } else {
        painter.drawRect(box);
    }
}

void Label::setCaption(const QString& caption)
{
    m_caption = caption;
    changed();
}

void Label::setBorderStyle(int style)
{
    m_borderStyle = style;
    changed();
}

void Label::paint(QPainter& painter) const
{
    const QRectF box = pixelRectF(left(), top(), width(), height());
    if (m_borderStyle != BorderNone) {
        painter.setPen(QPen(Qt::black, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    if (!m_caption.isEmpty()) {
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, m_caption);
    }
}

} // namespace tk
