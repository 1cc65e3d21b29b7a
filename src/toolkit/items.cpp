#include "toolkit/items.h"

#include "toolkit/errors.h"
#include "toolkit/numeric_text.h"
#include "toolkit/scene.h"
#include "toolkit/twips.h"

namespace toolkit {

void Item::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    change([&] { m_visible = visible; });
}

void Item::repaint(const QRectF& area) const
{
    m_scene.areaChanged(area);
}

void Item::assign(float& property, double value)
{
    const float rounded = toFloat(value);
    if (property == rounded)
        return;
    change([&] { property = rounded; });
}

void Line::setBorderColor(QColor color)
{
    change([&] { m_color = color; });
}

void Line::setBorderWidth(int pixels)
{
    if (pixels < 0)
        throw RuntimeError("Invalid property value: line width " + std::to_string(pixels));
    change([&] { m_width = pixels; });
}

void Line::setBorderStyle(int style)
{
    change([&] { m_style = style; });
}

QRectF Line::paintedArea() const
{
    // Half the pen on either side, plus a pixel for the antialiased edge.
    const double margin = twipsFromPixels(std::max(1, m_width) / 2.0 + 1.0);
    return QRectF(QPointF(m_x1, m_y1), QPointF(m_x2, m_y2)).normalized().adjusted(-margin, -margin, margin, margin);
}

bool BoxItem::contains(double xTwips, double yTwips) const
{
    return xTwips >= m_left && xTwips < m_left + m_width && yTwips >= m_top && yTwips < m_top + m_height;
}

QRectF BoxItem::paintedArea() const
{
    return QRectF(m_left, m_top, m_width, m_height).normalized();
}

void Shape::setBackColor(QColor color)
{
    change([&] { m_back = color; });
}

void Shape::setBorderColor(QColor color)
{
    change([&] { m_border = color; });
}

void Label::setCaption(const QString& caption)
{
    change([&] { m_caption = caption; });
}

void Label::setBorderStyle(int style)
{
    change([&] { m_borderStyle = style; });
}

} // namespace toolkit
