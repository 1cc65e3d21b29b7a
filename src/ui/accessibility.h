#pragma once
// Names and descriptions that screen readers announce for each control, in
// Japanese like the rest of the interface.

class QWidget;

namespace ui {

/// Names the controls of the main window.
void describeMainWindow(QWidget& window);
/// Names the controls of the result dialog.
void describeResultDialog(QWidget& dialog);
/// Names the controls of the score record.
void describeScoreRecord(QWidget& window);

} // namespace ui
