#include "widgets/error_report.h"

#include <QMessageBox>

namespace widgets {

ErrorReport::ErrorReport() = default;

ErrorReport::~ErrorReport() = default;

void ErrorReport::post(const QString& message)
{
    if (m_count++ == 0)
        m_first = message;
    if (m_queued)
        return; // one update shows them all
    m_queued = true;
    QMetaObject::invokeMethod(this, &ErrorReport::show, Qt::QueuedConnection);
}

void ErrorReport::show()
{
    m_queued = false;
    if (m_count == 0)
        return; // the box was closed after the errors it was to show
    if (!m_box) {
        m_box = std::make_unique<QMessageBox>(QMessageBox::Critical, QStringLiteral("Tormell"), QString(),
                                              QMessageBox::Ok);
        m_box->setObjectName(QStringLiteral("errorReport"));
        // A message box is modal from birth; the game must go on behind it.
        m_box->setWindowModality(Qt::NonModal);
        // Left open, it must not keep the program running once the game's windows close.
        m_box->setAttribute(Qt::WA_QuitOnClose, false);
        connect(m_box.get(), &QDialog::finished, this, [this] { m_count = 0; });
    }
    m_box->setText(text());
    m_box->show();
}

QString ErrorReport::text() const
{
    if (m_count <= 1)
        return m_first;
    return m_first + QStringLiteral("\n（ほか %1 回）").arg(m_count - 1);
}

} // namespace widgets
