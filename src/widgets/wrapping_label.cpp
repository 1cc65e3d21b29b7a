#include "widgets/wrapping_label.h"

#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace widgets {

WrappingLabel::WrappingLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

int WrappingLabel::heightForWidth(int width) const
{
    QTextLayout layout({}, font(), this);
    const QSize frame = around();
    return static_cast<int>(std::ceil(layOut(layout, width - frame.width()))) + frame.height();
}

void WrappingLabel::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QSize frame = around();
    QTextLayout layout({}, font(), this);
    layOut(layout, width() - frame.width());
    painter.setPen(palette().color(foregroundRole()));
    layout.draw(&painter, contentsRect().topLeft() + QPoint(margin(), margin()));
}

double WrappingLabel::layOut(QTextLayout& layout, double width) const
{
    QString lines = text();
    lines.replace(u'\n', QChar::LineSeparator);
    layout.setText(lines);
    QTextOption option(alignment() & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);

    // Lines spaced as QLabel spaces them: the font's leading between them, on whole pixels.
    const double leading = fontMetrics().leading();
    double height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

QSize WrappingLabel::around() const
{
    const QRect inside = contentsRect();
    return {width() - inside.width() + 2 * margin(), height() - inside.height() + 2 * margin()};
}

} // namespace widgets
