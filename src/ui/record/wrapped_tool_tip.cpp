#include "ui/record/wrapped_tool_tip.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontInfo>
#include <QHash>
#include <QStringList>
#include <QFont>
#include <QTextLayout>
#include <QToolTip>
#include <QVariant>
#include <QWidget>

namespace ui {

namespace {

// About sixty Latin letters or thirty Japanese characters: a comfortable line.
constexpr int kWidestLineEms = 30;
// Narrowing steps in the search for the narrowest width with as few lines.
constexpr int kBalancingSteps = 12;

// `paragraph` laid out in lines no wider than `width`.
QStringList linesOf(const QString& paragraph, const QFont& font, qreal width)
{
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

// The paragraph in as few lines as the widest allows, each as near the
// same length as the breaks allow: the narrowest width that keeps that count.
QStringList balancedLines(const QString& paragraph, const QFont& font, qreal widest)
{
    const QStringList most = linesOf(paragraph, font, widest);
    if (most.size() <= 1)
        return most;
    QStringList best = most;
    qreal fits = widest, tooNarrow = widest / static_cast<qreal>(most.size());
    for (int step = 0; step < kBalancingSteps; ++step) {
        const qreal width = (fits + tooNarrow) / 2;
        QStringList lines = linesOf(paragraph, font, width);
        if (lines.size() <= most.size()) {
            fits = width;
            best = std::move(lines);
        } else {
            tooNarrow = width;
        }
    }
    return best;
}

} // namespace

QString wrappedToolTipText(const QString& text)
{
    // Laid out once a run: the windows that show these texts open again and again.
    static QHash<QString, QString> wrapped;
    const QFont font = QToolTip::font();
    const QString key = font.key() + u'\n' + text;
    if (const auto known = wrapped.constFind(key); known != wrapped.cend())
        return *known;
    const qreal widest = kWidestLineEms * QFontInfo(font).pixelSize();
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n'))
        lines << balancedLines(paragraph, font, widest);
    return *wrapped.insert(key, lines.join(u'\n'));
}

namespace {

// The text a widget's tooltip is laid out from, until it has been.
const char* const kUnwrapped = "unwrappedToolTip";

// Lays a widget's tooltip out in lines the first time it is asked for.
class WrapOnShow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        const QString text = widget->property(kUnwrapped).toString();
        if (!text.isEmpty() && widget->toolTip() == text)
            widget->setToolTip(wrappedToolTipText(text));
        widget->setProperty(kUnwrapped, QVariant());
        return false; // the widget shows it
    }
};

} // namespace

void setWrappedToolTip(QWidget& widget, const QString& text)
{
    // Whole until it is first shown, and for screen readers, which read it
    // as the widget's description: balancing the lines of a window's several
    // tooltips would hold up the window's first opening by milliseconds.
    static WrapOnShow* const wrapper = new WrapOnShow(QCoreApplication::instance());
    widget.setToolTip(text);
    widget.setProperty(kUnwrapped, text);
    widget.removeEventFilter(wrapper);
    widget.installEventFilter(wrapper);
}

} // namespace ui
