#pragma once
// A message the player reads and dismisses while the game goes on: modeless,
// above the window it is about, gone once closed.

#include <QMessageBox>

namespace ui {

void tell(QWidget& parent, QMessageBox::Icon icon, const QString& title, const QString& message);

} // namespace ui
