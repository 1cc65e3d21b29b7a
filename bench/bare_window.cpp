// The floor for start-up time and memory: the least a Qt Widgets program does
// to put one window on screen. Reports when the window is exposed, then exits.
// With --japanese-text the window shows one line of Japanese: the peer for a
// program whose first window has text, which makes Qt load its font database.

#include "exposure.h"

#include <QApplication>
#include <QLabel>

#include <cstring>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool withText = argc > 1 && std::strcmp(argv[1], "--japanese-text") == 0;
    QLabel window(withText ? QStringLiteral("ポーズを覚えて再現するトレーニング") : QString());
    const bench::ExposureWatch watch(
        [&window](const QWidget& widget) { return &widget == &window; }, bench::reportExposedAndExit);
    window.show();
    return QApplication::exec();
}
