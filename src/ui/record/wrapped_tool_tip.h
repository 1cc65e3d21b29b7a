#pragma once
// Tooltips that read as a short column of text rather than one line across
// the screen.

class QString;
class QWidget;

namespace ui {

/// Gives `widget` the tooltip `text`, each of its paragraphs broken into
/// lines of at most about 30 em in the tooltip's font, where the language
/// allows a break, and of about even length, so that no line of a word or
/// two is left at a paragraph's end. The lines are laid out when the tooltip
/// is first asked for; until then toolTip() holds `text` whole.
void setWrappedToolTip(QWidget& widget, const QString& text);

/// `text` broken as setWrappedToolTip() breaks it.
QString wrappedToolTipText(const QString& text);

} // namespace ui
