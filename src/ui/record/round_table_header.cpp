#include "ui/record/round_table_header.h"

#include <QStyleOptionHeader>

namespace ui {

RoundTableHeader::RoundTableHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true); // sorts, as a table's own heading does
    setHighlightSections(false);
}

QSize RoundTableHeader::sectionSizeFromContents(int logicalIndex) const
{
    // As QHeaderView measures, in the heading's font as it is drawn.
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.section = logicalIndex;
    option.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    if (isSortIndicatorShown())
        option.sortIndicator = QStyleOptionHeader::SortDown;
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
}

} // namespace ui
