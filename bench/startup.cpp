// The game's start-up as its entry point runs it. Reports when the title
// window is exposed and exits; with --main-window, carries on through the
// title's three seconds and reports when the main window is exposed.

#include "app/module1.h"
#include "app/title_window.h"
#include "exposure.h"
#include "probe_game.h"

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    const bool untilMainWindow = argc > 1 && std::strcmp(argv[1], "--main-window") == 0;
    bench::ProbeGame game(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tormell"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tormell.Tormell"));
    const bench::ExposureWatch watch(
        [untilMainWindow](const QWidget& widget) {
            // By class name: the private library exports no window's meta-object.
            return widget.inherits(untilMainWindow ? "ui::Frm001" : "app::Form1");
        },
        bench::reportExposedAndExit);
    app::Module1 module(game.clock, game.random, game.scores);
    if (!module.Main())
        return EXIT_FAILURE; // the title was closed before it was measured
    return QApplication::exec();
}
