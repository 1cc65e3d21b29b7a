#pragma once
// A loaded main window with a fake clock and scripted chance, as the tests
// drive it, with a score record and settings of its own.

#include "support/fake_clock.h"
#include "support/scripted_random.h"
#include "support/temporary_record.h"
#include "support/temporary_settings.h"
#include "core/figure.h"
#include "ui/main_window.h"

#include <QComboBox>
#include <QPointer>
#include <QTest>

#include <memory>

struct Game {
    FakeClock clock;
    ScriptedRandom random;
    TemporaryRecord record;
    TemporarySettings settings;
    QPointer<ui::Frm001> window;

    // Every clock reading moves time on a little, so a display wait runs its
    // course in a few passes; actions queued before START run inside it.
    static constexpr double kStepPerReading = 0.01;

    /// The game with its score record at `recordFileName` in a folder of its own.
    explicit Game(const QString& recordFileName = TemporaryRecord::kFileName)
        : record(recordFileName)
        , window((clock.setStepPerReading(kStepPerReading), ui::Frm001::load({clock, random, record.store, nullptr})))
    {
        QVERIFY2(window, "main window did not load");
    }
    ~Game() { delete window.data(); }
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    ui::Frm001& w() { return *window; }
};

/// Picks `text` in the difficulty list, adding it first if the list lacks it
/// (the list offers 1 to 3; tests reach past them).
inline void setDifficulty(ui::Frm001& w, const QString& text)
{
    if (w.Combo1->findText(text) < 0)
        w.Combo1->addItem(text);
    w.Combo1->setCurrentText(text);
}
