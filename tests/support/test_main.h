#pragma once
// main() for a Qt Test program: the game's own application object (with its
// error boundary), reporting errors to the test log instead of a message box,
// and the player's settings in a folder of the test's own.

#include "widgets/error_boundary.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#define TORMELL_TEST_MAIN(TestClass)                                                                         \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        tk::Application app(argc, argv);                                                                     \
        app.setReporter([](const QString& message) { qWarning("error boundary: %s", qPrintable(message)); }); \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        const QTemporaryDir settingsFolder;                                                                  \
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());           \
        TestClass test;                                                                                      \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
