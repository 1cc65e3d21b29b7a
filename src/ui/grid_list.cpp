// The grid-line box: its text becomes the grid's interval count.

#include "core/figure.h"
#include "core/grid_count.h"
#include "ui/main_window.h"

#include <QComboBox>

namespace ui {

qint16 Frm001::gridIntervals() const
{
    return core::gridIntervalsFor(CmbNline->currentText());
}

void Frm001::CmbNline_Click()
{
    m_figure->SUB_MKLINE(gridIntervals());
}

} // namespace ui
