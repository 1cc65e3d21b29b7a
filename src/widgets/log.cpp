#include "widgets/log.h"

namespace widgets {

// Debug lines only when QT_LOGGING_RULES asks for them.
Q_LOGGING_CATEGORY(lcWidgets, "tormell.widgets", QtInfoMsg)

} // namespace widgets
