// The canvas: where twips land in pixels, and what its items paint.

#include "support/canvas_points.h"
#include "support/test_main.h"
#include "widgets/canvas.h"

#include <QImage>
#include <QTest>

namespace {

constexpr double kSideTwips = 6000;
constexpr int kSidePixels = 400;

// Darker than any anti-aliased fringe of white.
bool dark(const QImage& image, QPoint logical)
{
    const qreal ratio = image.devicePixelRatio();
    return qGray(image.pixel((QPointF(logical) * ratio).toPoint())) < 100;
}

bool white(const QImage& image, QPoint logical)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixel((QPointF(logical) * ratio).toPoint()) == qRgb(255, 255, 255);
}

} // namespace

class TestCanvas : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void twipsMapToPixelsInsideTheFrame();
    void itemsPaintAtTheirTwips_data();
    void itemsPaintAtTheirTwips();
    void hiddenItemsPaintNothing();

private:
    QImage render(qreal ratio);

    widgets::Canvas* m_canvas = nullptr;
    toolkit::Line* m_line = nullptr;
    toolkit::Shape* m_disc = nullptr;
};

void TestCanvas::init()
{
    m_canvas = new widgets::Canvas;
    m_canvas->setHeightTwips(kSideTwips);
    m_canvas->setWidthTwips(kSideTwips);

    m_line = &m_canvas->scene().add<toolkit::Line>();
    m_line->setX1(1500);
    m_line->setY1(1500);
    m_line->setX2(4500);
    m_line->setY2(1500);
    m_line->setBorderWidth(3);

    m_disc = &m_canvas->scene().add<toolkit::Shape>(toolkit::Shape::Kind::Circle);
    m_disc->setLeft(2887.5);
    m_disc->setTop(1087.5);
    m_disc->setWidth(225);
    m_disc->setHeight(225);
    m_disc->setBackColor(Qt::black);
}

void TestCanvas::cleanup()
{
    delete m_canvas;
}

QImage TestCanvas::render(qreal ratio)
{
    QImage image(m_canvas->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::red); // anything the canvas leaves unpainted shows
    m_canvas->render(&image);
    return image;
}

// Guards the one place twips become pixels: 15 to a pixel, with the origin at
// the inside corner of the frame, not its outer corner.
void TestCanvas::twipsMapToPixelsInsideTheFrame()
{
    QCOMPARE(m_canvas->size(), QSize(kSidePixels, kSidePixels));
    QCOMPARE(m_canvas->contentsRect(),
        QRect(kFramePixels, kFramePixels, kSidePixels - 2 * kFramePixels, kSidePixels - 2 * kFramePixels));
    QCOMPARE(m_canvas->twipsAt(QPointF(kFramePixels, kFramePixels)), QPointF(0, 0));
    QCOMPARE(m_canvas->twipsAt(QPointF(kFramePixels + 100, kFramePixels + 50)), QPointF(1500, 750));
}

void TestCanvas::itemsPaintAtTheirTwips_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("ordinary screen") << qreal(1);
    QTest::newRow("double-density screen") << qreal(2);
}

// Guards item placement on screen, also when Qt scales for a dense screen.
void TestCanvas::itemsPaintAtTheirTwips()
{
    QFETCH(qreal, ratio);
    const QImage image = render(ratio);

    // The line: 1500 twips down is 100 px inside the frame, 3 px thick.
    const int lineY = kFramePixels + 100;
    for (const int x : {kFramePixels + 110, kFramePixels + 200, kFramePixels + 290})
        QVERIFY2(dark(image, {x, lineY}), qPrintable(QString::number(x)));
    QVERIFY(white(image, {kFramePixels + 200, lineY - 5}));
    QVERIFY(white(image, {kFramePixels + 200, lineY + 5}));
    QVERIFY(white(image, {kFramePixels + 80, lineY})); // before its start

    // The disc: centre (200, 80) px, radius 7.5 px.
    const QPoint centre(kFramePixels + 200, kFramePixels + 80);
    QVERIFY(dark(image, centre));
    QVERIFY(white(image, centre + QPoint(10, 0)));
    QVERIFY(white(image, centre - QPoint(0, 10)));
    QVERIFY(white(image, centre + QPoint(6, 6))); // inside the box, outside the circle

    // The inside is painted white to the frame, the frame is not.
    QVERIFY(white(image, {kFramePixels, kFramePixels}));
    QVERIFY(white(image, {kSidePixels - kFramePixels - 1, kSidePixels - kFramePixels - 1}));
    QVERIFY(!white(image, {0, kSidePixels / 2}));
}

// Guards visibility: a hidden line, disc or bordered label leaves the canvas blank.
void TestCanvas::hiddenItemsPaintNothing()
{
    auto& label = m_canvas->scene().add<toolkit::Label>();
    label.setLeft(300);
    label.setTop(300);
    label.setWidth(600);
    label.setHeight(300);
    label.setBorderStyle(toolkit::BorderSolid);
    label.setCaption(QStringLiteral("9"));
    for (toolkit::Item* item : std::initializer_list<toolkit::Item*> {m_line, m_disc, &label})
        item->setVisible(false);

    const QImage image = render(1);
    const QRect inside = m_canvas->contentsRect();
    int painted = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            painted += image.pixel(x, y) != qRgb(255, 255, 255);
    QCOMPARE(painted, 0);

    label.setVisible(true); // the same label shown does paint
    QVERIFY(!white(render(1), {kFramePixels + 20, kFramePixels + 20}));
}

TORMELL_TEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
