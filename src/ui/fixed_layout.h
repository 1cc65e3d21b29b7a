#pragma once
// Controls sit at fixed positions given in twips; nothing is laid out again
// when a window is resized.

#include <QString>
#include <Qt>

class QLabel;
class QWidget;

namespace ui {

/// Places `widget` at Left, Top, Width, Height in twips of its parent.
void place(QWidget& widget, double left, double top, double width, double height);

/// A static label at a fixed place. Its font shrinks, if need be, until the
/// text fits the box, since the installed fonts vary from machine to machine.
QLabel* addLabel(QWidget& parent, const char* name, const QString& text, double left, double top, double width,
                 double height, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

/// Shrinks the label's font until its text fits its box.
void fitText(QLabel& label);

} // namespace ui
