#include "widgets/wrapping_label.h"

#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace widgets {

WrappingLabel::WrappingLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

void WrappingLabel::setPhrases(const QStringList& phrases)
{
    m_phraseEnds.clear();
    m_phrased.clear();
    for (const QString& phrase : phrases) {
        m_phrased += phrase;
        m_phraseEnds.append(static_cast<int>(m_phrased.size()));
    }
    setText(m_phrased);
}

QStringList WrappingLabel::lines() const
{
    QTextLayout layout({}, font(), this);
    layOut(layout, width() - around().width());
    QStringList lines;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        lines.append(text().mid(line.textStart(), line.textLength()));
    }
    return lines;
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
    const bool phrased = text() == m_phrased;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        // A line that ends inside a phrase ends instead after the last phrase it holds whole.
        const int start = line.textStart(), end = start + line.textLength();
        if (phrased && end < lines.size() && !m_phraseEnds.contains(end)) {
            const auto within = std::find_if(m_phraseEnds.crbegin(), m_phraseEnds.crend(),
                [&](int phraseEnd) { return phraseEnd > start && phraseEnd < end; });
            if (within != m_phraseEnds.crend())
                line.setNumColumns(*within - start);
        }
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
