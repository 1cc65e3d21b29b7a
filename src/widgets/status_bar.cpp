#include "widgets/status_bar.h"

#include <QLabel>

namespace widgets {

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent), m_text(new QLabel(this))
{
    setSizeGripEnabled(false);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setObjectName(QStringLiteral("text"));
    addWidget(m_text, 1);
}

QString StatusBar::text() const
{
    return m_text->text();
}

void StatusBar::setText(const QString& text)
{
    m_text->setText(text);
}

} // namespace widgets
