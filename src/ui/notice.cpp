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
    box->show();
}

} // namespace ui
