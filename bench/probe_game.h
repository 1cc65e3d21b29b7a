#pragma once
// Where every game probe begins: the game's application on the real clock and
// chance, as the program itself runs, and its main window brought on screen.

#include "exposure.h"
#include "record/score_store.h"
#include "toolkit/clock.h"
#include "toolkit/random_source.h"
#include "ui/main_window.h"
#include "widgets/error_boundary.h"

#include <QLineEdit>
#include <QPointer>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace bench {

/// A display time of 0, so that START returns at once: the round probes time
/// the handler and its paint, not the wait.
inline const QString kNoDisplayTime = QStringLiteral("0");

struct ProbeGame {
    ProbeGame(int& argc, char** argv)
        : app(argc, argv)
    {
        // Nor do the probes' settings (coached practice among them) reach the player's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    }

    widgets::Application app; // first: every window and timer needs it
    toolkit::SteadyClock clock;
    toolkit::ClockSeededRandom random;
    QTemporaryDir recordFolder; // what the probes save never reaches the player's record
    QTemporaryDir settingsFolder;
    record::ScoreStore scores{recordFolder.filePath(QStringLiteral("scores.sqlite"))};

    /// Loads the main window (hiding `titleWindow`, as at start-up), waits
    /// until it is exposed and painted, and types `displaySeconds` into its
    /// display-time box. A window that never appears ends the probe with a
    /// failure: there would be nothing to measure.
    std::unique_ptr<ui::Frm001> showMainWindow(const QString& displaySeconds, QWidget* titleWindow = nullptr)
    {
        std::unique_ptr<ui::Frm001> window(ui::Frm001::load({clock, random, scores, QPointer<QWidget>(titleWindow)}));
        if (!waitUntilExposed(*window))
            std::exit(EXIT_FAILURE); // waitUntilExposed has said why
        window->Text1->setText(displaySeconds);
        return window;
    }
};

} // namespace bench
