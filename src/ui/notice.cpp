#include "ui/notice.h"

namespace ui {

void tell(QWidget& parent, QMessageBox::Icon icon, const QString& title, const QString& message)
{
    auto* box = new QMessageBox(icon, title, message, QMessageBox::Ok, &parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace ui
