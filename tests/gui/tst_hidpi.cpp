// A screen at twice the usual pixel density: the canvas draws at the screen's
// resolution in the same logical places, and the icon is rendered, not stretched.

#include "support/canvas_points.h"
#include "support/game.h"
#include "support/test_main.h"
#include "widgets/canvas.h"
#include "widgets/error_boundary.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTest>

namespace {

constexpr qreal kScale = 2;
constexpr int kCanvasSide = 400; // 6000 twips, border included
constexpr int kIconSide = 64;

// Device pixel of a canvas point given in twips.
QPoint device(double xTwips, double yTwips)
{
    return (widgetPointOf({xTwips, yTwips}) * kScale).toPoint();
}

bool dark(const QImage& image, QPoint p)
{
    constexpr int kDarkGrey = 80;
    return qGray(image.pixel(p)) < kDarkGrey;
}

} // namespace

class TestHiDpi : public QObject {
    Q_OBJECT

private slots:
    // Guards against a canvas that ignores the pixel ratio: drawn at half
    // size, or at the usual size and then stretched.
    void canvasDrawsEveryDevicePixelInTheSamePlaces()
    {
        Game game;
        ui::Frm001& w = game.w();
        QCOMPARE(w.devicePixelRatio(), kScale);

        const QPixmap shot = w.Picture1->grab();
        QCOMPARE(shot.devicePixelRatio(), kScale);
        QCOMPARE(shot.size(), QSize(kCanvasSide, kCanvasSide) * kScale);
        const QImage image = shot.toImage();
        constexpr double kHeadX = 3000;
        constexpr double kHeadY = 1200;
        QVERIFY(dark(image, device(kHeadX, kHeadY)));
    }

    // Guards against blurred lines: a one-pixel grid line stretched from the
    // usual resolution smears grey over four device pixels; drawn for this
    // screen it is solid black two device pixels wide.
    void gridLinesStayCrisp()
    {
        Game game;
        const QImage image = game.w().Picture1->grab().toImage();
        constexpr double kGridX = 750; // the first vertical line of the default grid
        constexpr double kBandMiddleY = 2625; // between two horizontal lines, clear of the figure
        const QPoint line = device(kGridX, kBandMiddleY);

        constexpr int kSearch = 6;
        constexpr int kBlack = 16;
        constexpr int kWhite = 255;
        constexpr int kMaxWidth = 3;
        const auto grey = [&](int x) { return qGray(image.pixel(x, line.y())); };
        int darkest = line.x() - kSearch;
        int inked = 0;
        for (int x = line.x() - kSearch; x <= line.x() + kSearch; ++x) {
            if (grey(x) < grey(darkest))
                darkest = x;
            if (grey(x) < kWhite)
                ++inked;
        }
        QVERIFY2(grey(darkest) < kBlack, qPrintable(QString::number(grey(darkest))));
        QCOMPARE(grey(darkest - 2), kWhite);
        QCOMPARE(grey(darkest + 2), kWhite);
        QVERIFY2(inked <= kMaxWidth, qPrintable(QString::number(inked)));
    }

    // Guards against a window icon missing at this size or scaled up from a
    // small bitmap: rendered for the screen, it has hard edges, so both fully
    // opaque and fully transparent pixels.
    void windowIconIsRenderedAtTheScreensResolution()
    {
        Game game;
        const QPixmap pixmap = game.w().windowIcon().pixmap(kIconSide, kIconSide);
        QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(kIconSide, kIconSide));
        QCOMPARE(pixmap.size(), QSize(kIconSide, kIconSide) * kScale);
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        bool opaque = false;
        bool transparent = false;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int alpha = qAlpha(image.pixel(x, y));
                opaque = opaque || alpha == 255;
                transparent = transparent || alpha == 0;
            }
        }
        QVERIFY(opaque);
        QVERIFY(transparent);
    }
};

// The scale factor has to be in place before the application starts.
int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", QByteArray::number(kScale));
    widgets::Application app(argc, argv);
    reportErrorsToTheTestLogAlone(app);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestHiDpi test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
