#pragma once
// The accessible role of the program's own windows. Qt announces a window
// built on a plain QWidget as a filler, a part of something else; a screen
// reader then does not say that a window has opened, nor which.

namespace widgets {

/// Has every top-level window whose class derives directly from QWidget
/// announced as a window (a frame, to AT-SPI). The application installs it
/// once, before any window is made.
void announceWidgetWindowsAsWindows();

} // namespace widgets
