#pragma once
// The record window a main window has open, as its own class, and the end of its jobs.

#include "ui/main_window.h"
#include "ui/record/score_record_window.h"

#include <QTest>

inline ui::FrmSCORE* recordWindowOf(const ui::Frm001& w)
{
    return qobject_cast<ui::FrmSCORE*>(w.scoreRecord());
}

/// Whether the record window's job (an import, an export, a backup, a
/// removal: each runs off the window's thread) ended within a few seconds.
inline bool jobEnded(const ui::FrmSCORE& record)
{
    constexpr int kJobMs = 10'000;
    return QTest::qWaitFor([&] { return !record.jobRunning(); }, kJobMs);
}
