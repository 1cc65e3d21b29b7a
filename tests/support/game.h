#pragma once
// A loaded main window with a fake clock and scripted chance, as the tests drive it.

#include "support/fake_clock.h"
#include "support/scripted_random.h"
#include "ui/main_window.h"

#include <QPointer>
#include <QTest>

#include <memory>

struct Game {
    FakeClock clock;
    ScriptedRandom random;
    QPointer<Frm001> window;

    Game() : window(Frm001::load({clock, random, nullptr})) { QVERIFY2(window, "main window did not load"); }
    ~Game() { delete window.data(); }
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    Frm001& w() { return *window; }
};
