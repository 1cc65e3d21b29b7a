// Pointer feedback: real pointer moves over handles, canvas, window background
// and panel controls set the window's pointer shape and the current handle.

#include "support/canvas_points.h"
#include "support/figure_points.h"
#include "support/game.h"
#include "support/test_main.h"
#include "widgets/canvas.h"

#include <QComboBox>
#include <QCursor>
#include <QtTest>

namespace {

const QPoint kBareCanvas(300, 60); // clear of every joint

// A move without a button: the pointer really goes there, so the window
// routes it to whatever widget lies under it.
void hover(QWidget* widget, QPoint at = {})
{
    QTest::mouseMove(widget, at);
}

// The shape the window records and the cursor Qt shows for it agree.
void verifyShape(const ui::Frm001& w, toolkit::PointerShape expected)
{
    QCOMPARE(w.mousePointer(), expected);
    QCOMPARE(w.cursor().shape(), expected == toolkit::PointerShape::UpArrow ? Qt::UpArrowCursor : Qt::ArrowCursor);
}

// A window past START's display, with its handles shown, on screen.
void startRound(Game& g)
{
    g.w().Combo1->setCurrentText(QStringLiteral("1"));
    g.w().Command1_Click();
    QVERIFY(g.w().figure().LblPOI(1).visible());
    QVERIFY(QTest::qWaitForWindowExposed(&g.w()));
}

} // namespace

class PointerTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        // Park the pointer off the window so every hover is a real move.
        QCursor::setPos(0, 0);
    }

    // Guards against hovering a handle leaving the current handle or the up arrow unset.
    void hoverOverAHandleSelectsIt_data()
    {
        QTest::addColumn<int>("joint");
        for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i)
            QTest::addRow("joint %d", i) << i;
    }
    void hoverOverAHandleSelectsIt()
    {
        QFETCH(int, joint);
        Game g;
        startRound(g);
        hover(g.w().Picture1, pixelOf(jointOf(g.w().figure(), joint)));
        QCOMPARE(g.w().POI_SEL, qint16(joint));
        verifyShape(g.w(), toolkit::PointerShape::UpArrow);
    }

    // Guards against the bare canvas clearing the current handle or keeping the up arrow.
    void bareCanvasShowsArrowAndKeepsTheCurrentHandle()
    {
        Game g;
        startRound(g);
        hover(g.w().Picture1, pixelOf(jointOf(g.w().figure(), 4)));
        hover(g.w().Picture1, kBareCanvas);
        QCOMPARE(g.w().POI_SEL, qint16(4));
        verifyShape(g.w(), toolkit::PointerShape::Arrow);
    }

    // Guards against the window background (also inside the drawn panel frame) not restoring the default.
    void windowBackgroundShowsTheDefaultPointer_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::newRow("beside the buttons") << QPoint(5, 470);
        QTest::newRow("inside the panel frame") << QPoint(392, 430);
    }
    void windowBackgroundShowsTheDefaultPointer()
    {
        QFETCH(QPoint, at);
        Game g;
        startRound(g);
        QWidget* client = g.w().centralWidget();
        QVERIFY2(!client->childAt(at), "the point must lie on the bare background");
        hover(g.w().Picture1, pixelOf(jointOf(g.w().figure(), 6)));
        hover(g.w().Picture1, kBareCanvas);
        verifyShape(g.w(), toolkit::PointerShape::Arrow);
        hover(client, at);
        QCOMPARE(g.w().POI_SEL, qint16(6));
        verifyShape(g.w(), toolkit::PointerShape::Default);
    }

    // Guards against hidden handles catching the pointer before START.
    void jointDiscBeforeStartCountsAsCanvas()
    {
        Game g;
        QVERIFY(QTest::qWaitForWindowExposed(&g.w()));
        QVERIFY(g.w().figure().ShpPOINT(1).visible());
        QVERIFY(!g.w().figure().LblPOI(1).visible());
        hover(g.w().Picture1, pixelOf(jointOf(g.w().figure(), 1)));
        QCOMPARE(g.w().POI_SEL, qint16(0));
        verifyShape(g.w(), toolkit::PointerShape::Arrow);
    }

    // Guards against a panel control passing its pointer moves on to the window background.
    void panelControlsLeaveShapeAndHandleAlone_data()
    {
        QTest::addColumn<QString>("control");
        for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Slider1", "Text1", "Combo1",
                 "CmbNline", "Label1", "Label3", "Label4", "Label5", "StatusBar1"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void panelControlsLeaveShapeAndHandleAlone()
    {
        QFETCH(QString, control);
        Game g;
        startRound(g);
        auto* widget = g.w().findChild<QWidget*>(control);
        QVERIFY(widget);
        hover(g.w().Picture1, pixelOf(jointOf(g.w().figure(), 3)));
        hover(widget);
        QVERIFY(widget->underMouse());
        QCOMPARE(g.w().POI_SEL, qint16(3));
        verifyShape(g.w(), toolkit::PointerShape::UpArrow);
    }
};

TORMELL_TEST_MAIN(PointerTest)
#include "tst_pointer.moc"
