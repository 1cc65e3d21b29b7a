#include "ui/fixed_layout.h"

#include "toolkit/twips.h"

#include <QFontMetricsF>
#include <QLabel>

#include <cmath>

namespace ui {

namespace {
// Below this a text is unreadable anyway; it is then clipped instead.
constexpr double kSmallestPointSize = 6.0;
constexpr double kShrinkStep = 0.5;
} // namespace

void place(QWidget& widget, double left, double top, double width, double height)
{
    widget.setGeometry(toolkit::pixelRect(left, top, width, height));
}

QLabel* addLabel(QWidget& parent, const char* name, const QString& text, double left, double top, double width,
                 double height, Qt::Alignment alignment)
{
    auto* label = new QLabel(text, &parent);
    label->setObjectName(QString::fromLatin1(name));
    // Centred vertically, so a face taller than the box overflows evenly and its ink stays inside.
    label->setAlignment((alignment & ~Qt::AlignVertical_Mask) | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    label->setAttribute(Qt::WA_NoMousePropagation);
    place(*label, left, top, width, height);
    fitText(*label);
    return label;
}

void fitText(QLabel& label)
{
    // Japanese faces reserve much more line height than their glyphs use, so a
    // one-line label is judged by the ink of its text, a wrapped one by its lines.
    QFont font = label.font();
    const QRectF box = label.contentsRect();
    while (font.pointSizeF() > kSmallestPointSize) {
        const QFontMetricsF metrics(font);
        const double ink = metrics.tightBoundingRect(label.text()).height();
        QSizeF needed(metrics.horizontalAdvance(label.text()), ink);
        if (label.wordWrap()) {
            const QRectF lines
                = metrics.boundingRect(box, static_cast<int>(label.alignment()) | Qt::TextWordWrap, label.text());
            const double lineCount = std::round(lines.height() / metrics.lineSpacing());
            needed = QSizeF(lines.width(), (lineCount - 1) * metrics.lineSpacing() + ink);
        }
        if (needed.width() <= box.width() && needed.height() <= box.height())
            break;
        font.setPointSizeF(font.pointSizeF() - kShrinkStep);
    }
    label.setFont(font);
}

} // namespace ui
