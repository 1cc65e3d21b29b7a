#pragma once
// The windows' logging category, tormell.ui: what they told the player, as
// debug lines, on when QT_LOGGING_RULES asks for them ("tormell.ui.debug=true").

#include <QLoggingCategory>

namespace ui {

Q_DECLARE_LOGGING_CATEGORY(lcUi)

} // namespace ui
