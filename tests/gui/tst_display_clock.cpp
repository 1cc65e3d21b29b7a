// The seconds clock of a round and the display-time slider.

#include "support/game.h"
#include "support/test_main.h"
#include "toolkit/errors.h"
#include "widgets/slider.h"

#include <QLabel>
#include <QLineEdit>
#include <limits>

namespace {

// A pointer move over the slider, at a different spot each time so that it
// is a move at all.
void movePointerOver(widgets::Slider& slider)
{
    static int nudge = 0;
    nudge = 1 - nudge;
    QTest::mouseMove(&slider, slider.rect().center() + QPoint(nudge, 0));
}

} // namespace

class TestDisplayClock : public QObject {
    Q_OBJECT

private slots:
    // Guards against a wrong step, float noise ("0.44999...") or a lost
    // leading zero in the display time the slider writes.
    void sliderWritesItsDisplaySeconds_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        const char* const texts[] = {"0", "0.15", "0.3", "0.45", "0.6", "0.75", "0.9", "1.05", "1.2", "1.35", "1.5"};
        for (int v = 0; v <= 10; ++v)
            QTest::addRow("%d", v) << v << QString::fromLatin1(texts[v]);
    }
    void sliderWritesItsDisplaySeconds()
    {
        QFETCH(int, value);
        QFETCH(QString, text);
        Game g;
        ui::Frm001& w = g.w();
        w.Slider1->setValue(value);
        w.Text1->setText(QStringLiteral("typed"));

        movePointerOver(*w.Slider1);

        QCOMPARE(w.Text1->text(), text);
    }

    // Guards against the text following the slider's value directly rather
    // than through a pointer move over it.
    void keyboardChangeShowsAtTheNextPointerMove()
    {
        Game g;
        ui::Frm001& w = g.w();
        QCOMPARE(w.Slider1->value(), 5);
        QCOMPARE(w.Text1->text(), QStringLiteral("0.75"));

        QTest::keyClick(w.Slider1, Qt::Key_Right);
        QCOMPARE(w.Slider1->value(), 6);
        QCOMPARE(w.Text1->text(), QStringLiteral("0.75"));

        movePointerOver(*w.Slider1);
        QCOMPARE(w.Text1->text(), QStringLiteral("0.9"));
    }

    // Guards against ticks not counting or showing, and CHEK's correction of
    // the count rewriting the elapsed time the result dialog reads.
    void ticksCountSecondsAndCheckTakesOneBack()
    {
        Game g;
        ui::Frm001& w = g.w();
        w.Text1->setText(QStringLiteral("0"));
        w.Command1_Click();
        QCOMPARE(w.Label1->text(), QString());

        for (const char* shown : {"1", "2", "3"}) {
            emit w.Timer1.tick();
            QCOMPARE(w.Label1->text(), QString::fromLatin1(shown));
        }
        QCOMPARE(w.SEC_CNT, 3);

        w.Command2_Click();
        QCOMPARE(w.SEC_CNT, 2);
        QCOMPARE(w.Label1->text(), QStringLiteral("3"));
        QCOMPARE(w.Timer1.interval(), 0);
    }

    // Guards against the count silently wrapping to a negative number.
    void countOverflowIsAnErrorNotAWrap()
    {
        Game g;
        ui::Frm001& w = g.w();
        constexpr qint32 kMost = std::numeric_limits<qint32>::max();
        w.SEC_CNT = kMost;
        w.Label1->setText(QStringLiteral("shown"));

        QVERIFY_THROWS_EXCEPTION(toolkit::OverflowError, w.Timer1_Timer());

        QCOMPARE(w.SEC_CNT, kMost);
        QCOMPARE(w.Label1->text(), QStringLiteral("shown"));
    }
};

TORMELL_TEST_MAIN(TestDisplayClock)
#include "tst_display_clock.moc"
