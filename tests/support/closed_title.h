#pragma once
// A start of the program whose title window is closed during its wait, the
// way a window manager asks (Alt+F4, WM_DELETE_WINDOW) or the program itself
// closes it, and the main windows that exist afterwards.

#include "app/module1.h"
#include "app/title_window.h"
#include "support/fake_clock.h"
#include "support/scripted_random.h"
#include "support/temporary_record.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>

/// Runs Module1::Main with the title closed once `clock` has moved `after`
/// seconds into its wait; returns what Main returns.
inline bool startWithTitleClosed(FakeClock& clock, double after, bool byWindowManager)
{
    ScriptedRandom random;
    TemporaryRecord record;
    app::Module1 module(clock, random, record.store);
    const double closeAt = clock.peek() + after;
    // Fires on every pass of the wait's event processing until it has closed the title.
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        app::Form1* title = module.titleWindow();
        if (!title || title->isHidden() || clock.peek() < closeAt)
            return;
        if (byWindowManager)
            title->windowHandle()->close(); // as a spontaneous close event from the platform
        else
            title->close();
    });
    closer.start();
    return module.Main();
}

/// Main windows in existence, shown or not.
inline int mainWindowCount()
{
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += qobject_cast<ui::Frm001*>(window) != nullptr;
    return count;
}
