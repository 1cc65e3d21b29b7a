#pragma once
// main() for a Qt Test program: the game's own application object (with its
// error boundary), whose errors reach the test log through the boundary's log
// line ("error boundary: ...") and no report box, Qt's texts in Japanese as the
// game has them, and the player's settings in a folder of the test's own.

#include "ui/translations.h"
#include "widgets/error_boundary.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

/// The boundary logs every error, which Qt Test writes to its log; tests show
/// the player nothing more.
inline void reportErrorsToTheTestLogAlone(widgets::Application& app)
{
    app.setReporter([](const QString&) {});
}

#define TORMELL_TEST_MAIN(TestClass)                                                                         \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        widgets::Application app(argc, argv);                                                                \
        reportErrorsToTheTestLogAlone(app);                                                                  \
        ui::installJapaneseTranslations(app);                                                                \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        const QTemporaryDir settingsFolder;                                                                  \
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());           \
        TestClass test;                                                                                      \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
