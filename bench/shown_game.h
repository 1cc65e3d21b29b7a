#pragma once
// The game's main window on the real clock and chance, on screen, with a
// display time of 0 so that START returns at once: where the round probes begin.

#include "exposure.h"
#include "toolkit/clock.h"
#include "record/score_store.h"
#include "toolkit/random_source.h"
#include "core/figure.h"
#include "ui/main_window.h"

#include <QLineEdit>
#include <QTemporaryDir>

namespace bench {

struct ShownGame {
    tk::SteadyClock clock;
    tk::ClockSeededRandom random;
    QTemporaryDir recordFolder; // rounds the probes save never reach the player's record
    record::ScoreStore scores{recordFolder.filePath(QStringLiteral("scores.sqlite"))};
    Frm001* window = Frm001::load({clock, random, scores, nullptr});

    /// Waits for the window to be exposed and sets the display time to 0.
    /// False if the window never appeared.
    bool ready()
    {
        if (!waitUntilExposed(*window))
            return false;
        window->Text1->setText(QStringLiteral("0"));
        return true;
    }
};

} // namespace bench
