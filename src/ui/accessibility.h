#pragma once
// Names and descriptions that screen readers announce for each control, in
// Japanese like the rest of the interface.

#include "tormell_export.h"

class QLabel;
class QString;
class QWidget;

namespace ui {

/// Names the controls of the main window.
void describeMainWindow(QWidget& window);
/// Names the controls of the result dialog.
void describeResultDialog(QWidget& dialog);
/// Names the controls of the score record.
TORMELL_EXPORT void describeScoreRecord(QWidget& window);

/// Shows `text` on a label that displays a value. Qt gives a label nothing
/// but its name to read, so a value label is named with what it shows, after
/// what it is and before its unit ("経過時間 12 秒"); its description says
/// what it is for.
TORMELL_EXPORT void showValue(QLabel& label, const QString& text);

} // namespace ui
