// CLEAR: abandon whatever is on view and return to the ready state.

#include "core/figure.h"
#include "ui/main_window.h"

namespace ui {

void Frm001::Command4_Click()
{
    SUB_SETDEFAULT();
    m_figure->SUB_MKLINE(gridIntervals());
    Timer1.setInterval(0);
}

} // namespace ui
