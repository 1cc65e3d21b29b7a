#pragma once
// Messages to the player while the game goes on: one read and dismissed
// (modeless, above the window it is about, gone once closed), and a brief
// word that something worked, gone by itself.

#include "tormell_export.h"

#include <QMessageBox>

namespace ui {

TORMELL_EXPORT void tell(QWidget& parent, QMessageBox::Icon icon, const QString& title, const QString& message);

/// Shows `message` for a few seconds at the top of `over`, inside its
/// window, then takes it away. It takes no focus or clicks and waits for
/// nothing; a newer one replaces it.
TORMELL_EXPORT void tellBriefly(QWidget& over, const QString& message);

/// Takes away the brief word on `over`'s window, if one shows: it was about
/// what came before.
void endBriefNotice(QWidget& over);

} // namespace ui
