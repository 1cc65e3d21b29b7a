#pragma once
// The widgets' logging category, tormell.widgets: the errors the error
// boundary contains. Warnings are on unless QT_LOGGING_RULES turns them off.

#include <QLoggingCategory>

namespace widgets {

Q_DECLARE_LOGGING_CATEGORY(lcWidgets)

} // namespace widgets
