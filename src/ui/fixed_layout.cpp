#include "ui/fixed_layout.h"

#include "toolkit/twips.h"

#include <QFontMetricsF>
#include <QLabel>

namespace ui {

namespace {
// Below this a text is unreadable anyway; it is then clipped instead.
constexpr double kSmallestPointSize = 6.0;
constexpr double kShrinkStep = 0.5;
} // namespace

void place(QWidget& widget, double left, double top, double width, double height)
{
    widget.setGeometry(tk::pixelRect(left, top, width, height));
}

QLabel* addLabel(QWidget& parent, const char* name, const QString& text, double left, double top, double width,
                 double height, Qt::Alignment alignment)
{
    auto* label = new QLabel(text, &parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(alignment);
    label->setTextFormat(Qt::PlainText);
    label->setAttribute(Qt::WA_NoMousePropagation);
    place(*label, left, top, width, height);
    fitText(*label);
    return label;
}

void fitText(QLabel& label)
{
    QFont font = label.font();
    const QRectF box = label.contentsRect();
    const int flags = static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    while (font.pointSizeF() > kSmallestPointSize) {
        const QRectF needed = QFontMetricsF(font).boundingRect(box, flags, label.text());
        if (needed.width() <= box.width() && needed.height() <= box.height())
            break;
        font.setPointSizeF(font.pointSizeF() - kShrinkStep);
    }
    label.setFont(font);
}

} // namespace ui
