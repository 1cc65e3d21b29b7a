#pragma once
// The round table's column headings, in the table's own weight. Qt gives the
// headings of selected columns a bold face and measures every heading in it;
// a selected row spans every column, so every heading would turn bold, and
// measuring alone would load the bold Japanese face into the window.

#include <QHeaderView>

namespace ui {

class RoundTableHeader : public QHeaderView {
public:
    explicit RoundTableHeader(QWidget* parent);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};

} // namespace ui
