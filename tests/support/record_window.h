#pragma once
// The record window a main window has open, as its own class.

#include "ui/main_window.h"
#include "ui/record/score_record_window.h"

inline ui::FrmSCORE* recordWindowOf(const ui::Frm001& w)
{
    return qobject_cast<ui::FrmSCORE*>(w.scoreRecord());
}
