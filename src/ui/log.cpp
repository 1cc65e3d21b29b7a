#include "ui/log.h"

namespace ui {

// Debug lines only when QT_LOGGING_RULES asks for them.
Q_LOGGING_CATEGORY(lcUi, "tormell.ui", QtInfoMsg)

} // namespace ui
