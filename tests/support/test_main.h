#pragma once
// main() for a Qt Test program: the game's own application object (with its
// error boundary), reporting errors to the test log instead of a message box.

#include "widgets/error_boundary.h"

#include <QTest>

#define TORMELL_TEST_MAIN(TestClass)                                                                         \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        tk::Application app(argc, argv);                                                                     \
        app.setReporter([](const QString& message) { qWarning("error boundary: %s", qPrintable(message)); }); \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        TestClass test;                                                                                      \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
