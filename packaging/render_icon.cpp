// Renders the scalable icon into a square PNG of the given side, for the
// icon theme sizes that have no hand-drawn bitmap.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: render_icon ICON.svg SIDE OUT.png\n", stderr);
        return EXIT_FAILURE;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    const int side = std::atoi(argv[2]);
    if (!renderer.isValid() || side <= 0) {
        std::fputs("render_icon: cannot read the icon or the size\n", stderr);
        return EXIT_FAILURE;
    }
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[3])) ? EXIT_SUCCESS : EXIT_FAILURE;
}
