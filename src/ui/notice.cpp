#include "ui/notice.h"

#include "ui/log.h"

namespace ui {

void tell(QWidget& parent, QMessageBox::Icon icon, const QString& title, const QString& message)
{
    qCDebug(lcUi).noquote() << "told the player:" << title << "-" << message;
    auto* box = new QMessageBox(icon, title, message, QMessageBox::Ok, &parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // A message box is modal from birth; open() would block its parent window.
    box->setWindowModality(Qt::NonModal);
    // Above the window it is about, held there as transient for it: a window
    // still being made (the record's, told of its file while it opens) shows
    // first, once the handler that makes it has returned, or it would cover
    // the box. A message box is an alert to screen readers.
    const auto showAbove = [box] {
        box->show();
        box->raise();
    };
    if (parent.window()->isVisible())
        showAbove();
    else
        QMetaObject::invokeMethod(box, showAbove, Qt::QueuedConnection);
}

} // namespace ui
