// START: which segments it picks, the angles it draws, how it presents the
// target and how it hands the rest pose to the player.

#include "core/body.h"
#include "support/brief_notice.h"
#include "support/clock_period.h"
#include "support/draw_scripts.h"
#include "support/game.h"
#include "support/grid_lines.h"
#include "support/test_main.h"
#include "ui/notice.h"
#include "widgets/canvas.h"
#include "widgets/error_boundary.h"
#include "widgets/status_bar.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

using core::X1;
using core::X2;
using core::Y2;

namespace {

constexpr int kSegmentDraws = 17; // r1 for each of the nine segments, r2 for segments 2..9
constexpr int kReseedsPerSegment = 101; // 100 before r1, one after

// Difficulty 3 picking the head and both forearms.
void prepareThreePicks(Game& g)
{
    setDifficulty(g.w(), QStringLiteral("3"));
    g.random.setDraws(script({1, 3, 5}));
}

void verifyTrunkColour(ui::Frm001& w, QColor colour)
{
    for (toolkit::Line* line : {w.figure().LinBODY, w.figure().LinSHOLD, w.figure().LinWEST})
        QCOMPARE(line->borderColor(), colour);
    for (int j = w.figure().ShpBD.first; j <= w.figure().ShpBD.last; ++j) {
        QCOMPARE(w.figure().ShpBD(j).borderColor(), colour);
        QCOMPARE(w.figure().ShpBD(j).backColor(), colour);
    }
}

} // namespace

class TestRoundStart : public QObject {
    Q_OBJECT

private slots:
    // Guards against even segments among the first five picks, repeated picks,
    // a wrong number of draws or re-seeds, and unpicked segments leaving rest.
    void picksFollowTheDifficulty_data()
    {
        QTest::addColumn<QString>("difficulty");
        QTest::addColumn<QList<int>>("pickDraws");
        QTest::addColumn<QList<int>>("picked");
        QTest::newRow("none at 0") << "0" << QList<int> {} << QList<int> {};
        QTest::newRow("one odd, evens redrawn") << "1" << QList<int> {2, 8, 5} << QList<int> {5};
        QTest::newRow("two, a repeat redrawn") << "2" << QList<int> {3, 3, 6, 1} << QList<int> {1, 3};
        QTest::newRow("three") << "3" << QList<int> {9, 4, 9, 7, 1} << QList<int> {1, 7, 9};
        QTest::newRow("five take every odd one")
            << "5" << QList<int> {1, 3, 3, 5, 7, 8, 9} << QList<int> {1, 3, 5, 7, 9};
        QTest::newRow("sixth takes an even one")
            << "6" << QList<int> {1, 3, 5, 7, 9, 1, 6} << QList<int> {1, 3, 5, 6, 7, 9};
        QTest::newRow("nine take every segment")
            << "9" << QList<int> {1, 3, 5, 7, 9, 2, 2, 4, 6, 8} << QList<int> {1, 2, 3, 4, 5, 6, 7, 8, 9};
    }
    void picksFollowTheDifficulty()
    {
        QFETCH(QString, difficulty);
        QFETCH(QList<int>, pickDraws);
        QFETCH(QList<int>, picked);
        Game g;
        ui::Frm001& w = g.w();
        setDifficulty(w, difficulty);
        w.Text1->setText(QStringLiteral("0"));
        g.random.setDraws(script(pickDraws));

        w.Command1_Click();

        const auto attempts = static_cast<int>(pickDraws.size());
        QCOMPARE(g.random.drawsTaken(), static_cast<std::size_t>(attempts + kSegmentDraws));
        QCOMPARE(g.random.reseeds(), attempts + core::kLastSegment * kReseedsPerSegment);
        for (int j = core::kFirstSegment; j <= core::kLastSegment; ++j) {
            const double swing = picked.contains(j) ? (j == 1 ? kHeadSwing : kLimbSwing) : 0;
            QCOMPARE(w.figure().DTT_TGT(j), w.figure().DTT_DEF(j) + swing);
        }
    }

    // Guards against a wrong swing formula, an r2 drawn for the head (which
    // would shift every later draw) or the range edges being mishandled.
    void targetAnglesFollowTheDraws()
    {
        Game g;
        ui::Frm001& w = g.w();
        setDifficulty(w, QStringLiteral("9"));
        w.Text1->setText(QStringLiteral("0"));
        std::vector<float> draws;
        for (int p : {1, 3, 5, 7, 9, 2, 4, 6, 8})
            draws.push_back(drawFor(p));
        // Per segment: r1, then r2 from segment 2 on, and the offset they make.
        struct Segment {
            float r1, r2;
            double offset;
        };
        const Segment segments[] = {{0.0f, 0.0f /* none drawn */, -80}, {0.75f, 0.5f, 44}, {0.25f, 0.75f, -46},
            {0.875f, 0.25f, 63}, {0.125f, 0.0f, -60}, {0.625f, 0.5f, 22}, {0.375f, 0.25f, -21},
            {0.9375f, 0.9375f, 83.125}, {0.0625f, 0.0625f, -70.875}};
        for (int j = core::kFirstSegment; j <= core::kLastSegment; ++j) {
            draws.push_back(segments[j - 1].r1);
            if (j >= 2)
                draws.push_back(segments[j - 1].r2);
        }
        g.random.setDraws(draws);

        w.Command1_Click();

        QCOMPARE(g.random.drawsTaken(), draws.size());
        for (int j = core::kFirstSegment; j <= core::kLastSegment; ++j)
            QCOMPARE(w.figure().DTT_TGT(j) - w.figure().DTT_DEF(j), segments[j - 1].offset);
    }

    // Guards against the target being shown off its joints, the last round's
    // handles staying draggable during the display, or the trunk not turning red.
    void targetIsPresentedDuringTheWait()
    {
        Game g;
        ui::Frm001& w = g.w();
        w.Text1->setText(QStringLiteral("0"));
        w.Command1_Click(); // a round being reproduced, its handles shown
        w.Text1->setText(QStringLiteral("0.75"));
        w.StatusBar1->setText(QStringLiteral("before"));
        prepareThreePicks(g);
        bool observed = false;
        QTimer::singleShot(0, &w, [&] {
            observed = true;
            QVERIFY(w.figure().DXY_TGT(X2, 3) != w.figure().DXY_DEF(X2, 3));
            for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i) {
                QVERIFY(w.figure().LinA(i).visible());
                QVERIFY(!w.figure().LinB(i).visible());
                QVERIFY(!w.figure().LblPOI(i).visible());
                QVERIFY(w.figure().ShpEXP(i).visible());
                QCOMPARE(w.figure().LinA(i).x2(), static_cast<float>(w.figure().DXY_TGT(X2, i)));
                QCOMPARE(w.figure().LinA(i).y2(), static_cast<float>(w.figure().DXY_TGT(Y2, i)));
                QCOMPARE(
                    w.figure().ShpPOINT(i).left(), static_cast<float>(w.figure().DXY_TGT(X2, i) - core::kHandleHalf));
                QCOMPARE(
                    w.figure().ShpPOINT(i).top(), static_cast<float>(w.figure().DXY_TGT(Y2, i) - core::kHandleHalf));
                QCOMPARE(
                    w.figure().ShpEXP(i).left(), static_cast<float>(w.figure().DXY_TGT(X2, i) - core::kMarkerHalf));
                QCOMPARE(
                    w.figure().ShpEXP(i).top(), static_cast<float>(w.figure().DXY_TGT(Y2, i) - core::kMarkerHalf));
            }
            verifyTrunkColour(w, QColor(0xFF, 0x00, 0x00));
            QCOMPARE(w.StatusBar1->text(), QStringLiteral("before"));
            QCOMPARE(w.Timer1.interval(), kClockPeriodMs); // still the last round's clock
        });

        w.Command1_Click();

        QVERIFY(observed);
    }

    // Guards against leftovers of the last round (player pose, clock count) or
    // of the display (target shown, red trunk) surviving into reproduction.
    void startHandsTheRestPoseToThePlayer()
    {
        Game g;
        ui::Frm001& w = g.w();
        prepareThreePicks(g);
        w.SEC_CNT = 7;
        w.Label1->setText(QStringLiteral("7"));
        w.figure().DTT_USR(3) = 5;
        w.figure().DXY_USR(X2, 3) = 1;
        w.CmbNline->setEditText(QStringLiteral("3"));

        w.Command1_Click();

        for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i) {
            QVERIFY(!w.figure().LinA(i).visible());
            QVERIFY(!w.figure().ShpEXP(i).visible());
            QVERIFY(w.figure().LinB(i).visible());
            QVERIFY(w.figure().LblPOI(i).visible());
            QCOMPARE(w.figure().LinA(i).x2(), static_cast<float>(w.figure().DXY_TGT(X2, i)));
            QCOMPARE(w.figure().LinB(i).x1(), static_cast<float>(w.figure().DXY_DEF(X1, i)));
            QCOMPARE(w.figure().LinB(i).x2(), static_cast<float>(w.figure().DXY_DEF(X2, i)));
            QCOMPARE(w.figure().LinB(i).y2(), static_cast<float>(w.figure().DXY_DEF(Y2, i)));
            QCOMPARE(w.figure().LblPOI(i).left(), static_cast<float>(w.figure().DXY_DEF(X2, i) - core::kHandleHalf));
            QCOMPARE(w.figure().LblPOI(i).top(), static_cast<float>(w.figure().DXY_DEF(Y2, i) - core::kHandleHalf));
            QCOMPARE(w.figure().ShpPOINT(i).left(), w.figure().LblPOI(i).left());
            QCOMPARE(w.figure().ShpPOINT(i).top(), w.figure().LblPOI(i).top());
        }
        QVERIFY(w.figure().DTT_USR == w.figure().DTT_DEF);
        QVERIFY(w.figure().DXY_USR == w.figure().DXY_DEF);
        verifyTrunkColour(w, Qt::black);
        QCOMPARE(visibleGridLines(w.figure()), 2 * (3 + 1)); // three typed lines each way, plus the canvas edges
        QCOMPARE(w.SEC_CNT, 0);
        QCOMPARE(w.Label1->text(), QString());
        QCOMPARE(w.Timer1.interval(), kClockPeriodMs);
        QCOMPARE(w.StatusBar1->text(), QStringLiteral("IMAGE POSITION!"));
    }

    // Guards against a display time misread (no number, zero, negative, or
    // typed in the full-width digits and signs of a Japanese input method) or
    // left unbounded, so that START hangs or ends before the time has passed,
    // and against a text taken otherwise than as it stands without a word.
    void displayWaitLastsTheTypedTime_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("notice"); // none when the text is simply a time
        QTest::newRow("slider value") << "0.75" << 0.75 << "";
        QTest::newRow("blanks around") << " 1.5 " << 1.5 << "";
        QTest::newRow("zero") << "0" << 0.0 << "";
        QTest::newRow("a minute") << "60" << 60.0 << "";
        QTest::newRow("empty") << "" << 0.0 << "表示時間が空のため、見本を表示せずに始めます（0 秒）。";
        QTest::newRow("no number") << "abc" << 0.0 << "「abc」は数ではないため、見本を表示せずに始めます（0 秒）。";
        QTest::newRow("negative") << "-1" << 0.0 << "「-1」は 0 より小さいため、見本を表示せずに始めます（0 秒）。";
        QTest::newRow("decimal comma") << "1,5" << 1.0 << "「1,5」は先頭の数だけを読み、1 秒として表示します。";
        QTest::newRow("unit after") << "0.5秒" << 0.5 << "「0.5秒」は先頭の数だけを読み、0.5 秒として表示します。";
        QTest::newRow("beyond a minute") << "99999" << 60.0 << "「99999」は 1 分を超えるため、60 秒として表示します。";
        QTest::newRow("a full-width time") << "０．５" << 0.5 << "";
        QTest::newRow("full-width sign and exponent")
            << "－１Ｅ＋２" << 0.0 << "「-1E+2」は 0 より小さいため、見本を表示せずに始めます（0 秒）。";
        QTest::newRow("the minus sign") << "\u22121" << 0.0 << "「-1」は 0 より小さいため、見本を表示せずに始めます（0 秒）。";
        QTest::newRow("beyond double range, long") << "1e400000000000000000"
                                                    << 60.0 << "「1e40000000000000…」は 1 分を超えるため、60 秒として表示します。";
    }
    void displayWaitLastsTheTypedTime()
    {
        QFETCH(QString, text);
        QFETCH(double, seconds);
        QFETCH(QString, notice);
        constexpr double kStep = 0.25; // seconds per clock reading; a minute takes 240 passes
        Game g;
        ui::Frm001& w = g.w();
        g.clock.setStepPerReading(kStep);
        w.Text1->clear();
        QInputMethodEvent committed; // typed, as an input method hands over what was typed
        committed.setCommitString(text);
        QCoreApplication::sendEvent(w.Text1, &committed);
        QCOMPARE(w.Text1->cursorPosition(), w.Text1->text().size()); // the caret stays after what was typed
        bool ranInsideTheWait = false;
        QTimer::singleShot(0, &w, [&] { ranInsideTheWait = true; });
        ui::tellBriefly(*w.Picture1, QStringLiteral("about the last round"));
        const double before = g.clock.peek();

        w.Command1_Click();

        const double elapsed = g.clock.peek() - before;
        QVERIFY2(elapsed >= seconds && elapsed <= seconds + 2 * kStep, qPrintable(QString::number(elapsed)));
        QCOMPARE(ranInsideTheWait, seconds > 0); // a zero wait processes no events at all
        QCOMPARE(w.StatusBar1->text(), QStringLiteral("IMAGE POSITION!"));
        // The word about the last round goes at START, whatever START says.
        const QLabel* shown = briefNotice(w);
        QCOMPARE(shown ? shown->text() : QString(), notice);
    }

    // Guards against a second START keeping the player's moved joints or the
    // old target.
    void startDuringReproductionDiscardsTheRound()
    {
        Game g;
        ui::Frm001& w = g.w();
        w.Text1->setText(QStringLiteral("0"));
        g.random.setDraws(script({3}));
        w.Command1_Click();
        w.LblPOI_DragOver(3, 500, 500);
        QVERIFY(w.figure().DXY_USR(X2, 3) != w.figure().DXY_DEF(X2, 3));

        g.random.setDraws(script({9}));
        w.Command1_Click();

        QCOMPARE(w.figure().DTT_TGT(3), w.figure().DTT_DEF(3));
        QCOMPARE(w.figure().DTT_TGT(9), w.figure().DTT_DEF(9) + kLimbSwing);
        QVERIFY(w.figure().DXY_USR == w.figure().DXY_DEF);
        QCOMPARE(w.figure().LinB(3).x2(), static_cast<float>(w.figure().DXY_DEF(X2, 3)));
        QCOMPARE(w.figure().LblPOI(3).left(), static_cast<float>(w.figure().DXY_DEF(X2, 3) - core::kHandleHalf));
        QCOMPARE(w.figure().ShpPOINT(3).top(), static_cast<float>(w.figure().DXY_DEF(Y2, 3) - core::kHandleHalf));
    }

    // Guards the error boundary on the real window: START's overflow on a
    // difficulty past any count is reported once where the click is handled,
    // ends START before it draws a target, and the next START plays a round.
    void aStartThatFailsIsReportedOnceAndTheNextOneWorks()
    {
        Game g;
        ui::Frm001& w = g.w();
        w.Text1->setText(QStringLiteral("0"));
        w.Label1->setText(QStringLiteral("7"));
        setDifficulty(w, QStringLiteral("2147483648"));
        const int errorsBefore = widgets::Application::instance()->errorCount();
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^error boundary: Overflow: .* a 32-bit integer$")));

        w.Command1->click(); // no event delivery around it: only the connection can catch

        QCOMPARE(widgets::Application::instance()->errorCount(), errorsBefore + 1);
        QCOMPARE(w.Label1->text(), QString()); // a step before the count was done
        QVERIFY(!w.figure().ShpEXP(1).visible()); // no target drawn after it
        QCOMPARE(w.StatusBar1->text(), QStringLiteral("READY"));

        setDifficulty(w, QStringLiteral("1"));
        QTest::mouseClick(w.Command1, Qt::LeftButton);

        QCOMPARE(w.StatusBar1->text(), QStringLiteral("IMAGE POSITION!"));
        QCOMPARE(widgets::Application::instance()->errorCount(), errorsBefore + 1);
    }
};

TORMELL_TEST_MAIN(TestRoundStart)
#include "tst_round_start.moc"
