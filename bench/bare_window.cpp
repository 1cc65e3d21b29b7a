// The floor for start-up time and memory: the least a Qt Widgets program does
// to put one window on screen. Reports when the window is exposed, then exits.

#include "exposure.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    const bench::ExposureWatch watch(
        [&window](const QWidget& widget) { return &widget == &window; }, bench::reportExposedAndExit);
    window.show();
    return QApplication::exec();
}
