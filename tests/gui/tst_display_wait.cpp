// Handlers that run while START shows its target: its display wait processes
// every pending event, so anything the player does lands in the middle of START.

#include "support/clock_period.h"
#include "support/draw_scripts.h"
#include "support/game.h"
#include "support/test_main.h"
#include "ui/result_dialog.h"
#include "widgets/error_boundary.h"
#include "widgets/slider.h"
#include "widgets/status_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace {

// Runs START with `inside` queued so that it runs in START's display wait.
void startWith(ui::Frm001& w, const std::function<void()>& inside)
{
    bool ran = false;
    QTimer::singleShot(0, &w, [&] {
        ran = true;
        inside();
    });
    w.Command1_Click();
    QVERIFY2(ran, "the queued action did not run inside the display wait");
}

void verifyReproducing(ui::Frm001& w)
{
    QCOMPARE(w.StatusBar1->text(), QStringLiteral("IMAGE POSITION!"));
    QCOMPARE(w.Timer1.interval(), kClockPeriodMs);
    for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i) {
        QVERIFY(!w.figure().LinA(i).visible());
        QVERIFY(!w.figure().ShpEXP(i).visible());
        QVERIFY(w.figure().LinB(i).visible());
        QVERIFY(w.figure().LblPOI(i).visible());
    }
    QVERIFY(w.figure().DXY_USR == w.figure().DXY_DEF);
}

} // namespace

class TestDisplayWait : public QObject {
    Q_OBJECT

private slots:
    // Guards against a nested START being cut short by the outer one, or the
    // outer one redrawing the target when it resumes.
    void secondStartRunsWholeThenTheFirstFinishes()
    {
        Game g;
        ui::Frm001& w = g.w();
        g.random.setDraws(script({1}));
        startWith(w, [&] {
            g.random.setDraws(script({9}));
            w.Command1->click();
            verifyReproducing(w);
        });

        verifyReproducing(w);
        QCOMPARE(w.figure().DTT_TGT(1), w.figure().DTT_DEF(1));
        QVERIFY(w.figure().DTT_TGT(9) != w.figure().DTT_DEF(9));
    }

    // Guards against CHEK inside the display failing to score or open its
    // dialog, or START then leaving the revealed target or stopped clock.
    void checkDuringTheDisplayScoresThenStartResumes()
    {
        Game g;
        ui::Frm001& w = g.w();
        g.random.setDraws(script({3}));
        startWith(w, [&] {
            w.Command2->click();
            QVERIFY(w.StatusBar1->text().endsWith(QStringLiteral("  0点"))); // the player never moved
            // Nothing is kept, and the note says why: the target was still showing.
            QVERIFY2(w.resultDialog()->LblSAVE->text().startsWith(QStringLiteral("見本の姿勢を見せている途中")),
                qPrintable(w.resultDialog()->LblSAVE->text()));
            QVERIFY(w.resultDialog() && w.resultDialog()->isVisible());
            QCOMPARE(w.Timer1.interval(), 0);
        });

        verifyReproducing(w);
        QCOMPARE(w.SEC_CNT, -1); // zeroed by START, then taken one back by CHEK
        QVERIFY(w.resultDialog() && w.resultDialog()->isVisible());
    }

    // Guards against CLEAR inside the display leaving START stuck in the ready state.
    void clearDuringTheDisplayEndsReproducing()
    {
        Game g;
        ui::Frm001& w = g.w();
        startWith(w, [&] {
            w.Command4->click();
            QCOMPARE(w.StatusBar1->text(), QStringLiteral("READY"));
            QCOMPARE(w.Timer1.interval(), 0);
        });

        verifyReproducing(w);
    }

    // Guards against ticks of a clock left running being lost or the count
    // being reset when the display ends.
    void ticksDuringTheDisplayAreCounted()
    {
        Game g;
        ui::Frm001& w = g.w();
        w.Text1->setText(QStringLiteral("0"));
        w.Command1_Click(); // the clock now runs
        w.Text1->setText(QStringLiteral("0.75"));
        startWith(w, [&] {
            emit w.Timer1.tick();
            emit w.Timer1.tick();
        });

        verifyReproducing(w);
        QCOMPARE(w.SEC_CNT, 2);
        QCOMPARE(w.Label1->text(), QStringLiteral("2"));
    }

    // Guards against a slider move stretching the display already under way.
    void sliderMoveDuringTheDisplaySetsTheNextTimeOnly()
    {
        Game g;
        ui::Frm001& w = g.w();
        const double before = g.clock.peek();
        startWith(w, [&] {
            w.Slider1->setValue(10);
            QTest::mouseMove(w.Slider1, w.Slider1->rect().center() + QPoint(3, 0));
        });

        QCOMPARE(w.Text1->text(), QStringLiteral("1.5"));
        QVERIFY(g.clock.peek() - before < 1.0); // the 0.75 s read at START
        verifyReproducing(w);
    }

    // Guards against START acting on a window closed during its display: a
    // use after free, or an error from a half-destroyed window.
    void closingDuringTheDisplayEndsStartQuietly_data()
    {
        QTest::addColumn<bool>("byEnd");
        QTest::newRow("close box") << false;
        QTest::newRow("END") << true;
    }
    void closingDuringTheDisplayEndsStartQuietly()
    {
        QFETCH(bool, byEnd);
        const int errorsBefore = widgets::Application::instance()->errorCount();
        Game g;
        ui::Frm001& w = g.w();
        const double before = g.clock.peek();
        startWith(w, [&] {
            if (byEnd)
                w.Command3->click();
            else
                w.close();
        });

        QVERIFY(g.clock.peek() - before < 0.75); // abandoned, not waited out
        // START may return before the window's deferred delete has run; it
        // must then have left the window as the close did.
        if (g.window) {
            QCOMPARE(w.Timer1.interval(), 0);
            QVERIFY(w.StatusBar1->text() != QStringLiteral("IMAGE POSITION!"));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(g.window.isNull());
        QCOMPARE(widgets::Application::instance()->errorCount(), errorsBefore);
    }
};

TORMELL_TEST_MAIN(TestDisplayWait)
#include "tst_display_wait.moc"
