// CLEAR: abandon whatever is on view and return to the ready state.

#include "ui/main_window.h"

void Frm001::Command4_Click()
{
    SUB_SETDEFAULT();
    SUB_MKLINE(gridIntervals());
    Timer1.setInterval(0);
}
