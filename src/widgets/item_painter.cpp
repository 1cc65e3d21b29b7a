#include "widgets/item_painter.h"

#include "toolkit/items.h"
#include "toolkit/twips.h"

#include <QPainter>

#include <algorithm>

using namespace toolkit;

namespace widgets {

namespace {

void paintLine(QPainter& painter, const Line& line)
{
    if (line.borderStyle() == BorderNone)
        return;
    painter.setPen(QPen(line.borderColor(), std::max(1, line.borderWidth()), Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(pixelPoint(line.x1(), line.y1()), pixelPoint(line.x2(), line.y2()));
}

void paintShape(QPainter& painter, const Shape& shape)
{
    // A one-pixel outline drawn inside the box, so the disc covers exactly its box.
    const QRectF box =
        pixelRectF(shape.left(), shape.top(), shape.width(), shape.height()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(shape.borderColor(), 1.0));
    painter.setBrush(shape.backColor());
    if (shape.kind() == Shape::Kind::Circle) {
        const double side = std::min(box.width(), box.height());
        QRectF circle(0, 0, side, side);
        circle.moveCenter(box.center());
        painter.drawEllipse(circle);
    } else {
        painter.drawRect(box);
    }
}

void paintLabel(QPainter& painter, const Label& label)
{
    const QRectF box = pixelRectF(label.left(), label.top(), label.width(), label.height());
    if (label.borderStyle() != BorderNone) {
        painter.setPen(QPen(Qt::black, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    if (!label.caption().isEmpty()) {
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, label.caption());
    }
}

} // namespace

void paintItem(QPainter& painter, const Item& item)
{
    if (const auto* line = dynamic_cast<const Line*>(&item))
        paintLine(painter, *line);
    else if (const auto* shape = dynamic_cast<const Shape*>(&item))
        paintShape(painter, *shape);
    else if (const auto* label = dynamic_cast<const Label*>(&item))
        paintLabel(painter, *label);
}

} // namespace widgets
