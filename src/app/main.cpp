#include "app/command_line.h"
#include "app/module1.h"
#include "app/no_display.h"
#include "record/private_copy.h"
#include "record/score_store.h"
#include "toolkit/clock.h"
#include "toolkit/random_source.h"
#include "ui/translations.h"
#include "widgets/error_boundary.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Qt aborts with a long trace when it finds no display; say it in one line.
bool displayAvailable()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv)
{
    // Named before either start: the record's folder is named for the application.
    QCoreApplication::setApplicationName(QStringLiteral("Tormell"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TORMELL_VERSION));
    record::clearLeftoverCopies(); // what a killed import or read left
    if (app::commandLineAsked(argc, argv)) {
        QCoreApplication app(argc, argv); // no display needed: nothing is shown
        ui::installJapaneseTranslations(app); // Qt's own words in --help too
        return app::runCommandLine();
    }
    if (!displayAvailable()) {
        std::fputs(app::noDisplayAdvice(app::programPath(argv[0])).c_str(), stderr);
        return EXIT_FAILURE;
    }
    widgets::Application app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tormell.Tormell"));
    ui::installJapaneseTranslations(app);
    toolkit::SteadyClock clock;
    toolkit::ClockSeededRandom random;
    record::ScoreStore scores(record::ScoreStore::defaultPath());
    app::Module1 module(clock, random, scores);
    if (!module.Main())
        return EXIT_SUCCESS; // the title was closed before the game began
    return QApplication::exec();
}
