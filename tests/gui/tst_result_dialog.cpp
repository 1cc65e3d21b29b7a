// The result dialog: its layout, its two buttons, its close box, and how it
// goes when the main window closes.

#include "support/checked_round.h"
#include "support/clock_period.h"
#include "support/game.h"
#include "support/test_main.h"
#include "toolkit/twips.h"
#include "ui/result_dialog.h"
#include "widgets/status_bar.h"

#include <QApplication>
#include <QScreen>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <vector>

using core::X2;
using core::Y2;

namespace {

constexpr int kNeverEnded = 2;
constexpr int kGuardMs = 5000;

// What a dialog button may or may not leave alone on the main window.
struct WindowState {
    core::PoseCoords player;
    std::vector<bool> shown; // LinA, ShpEXP and LblPOI of each joint
    std::vector<bool> grid;
    QString status;
    QString clockText;
    int clockPeriod;

    explicit WindowState(ui::Frm001& w)
        : player(w.figure().DXY_USR)
        , status(w.StatusBar1->text())
        , clockText(w.Label1->text())
        , clockPeriod(w.Timer1.interval())
    {
        for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i)
            shown.insert(shown.end(),
                {w.figure().LinA(i).visible(), w.figure().ShpEXP(i).visible(), w.figure().LblPOI(i).visible()});
        for (int i = w.figure().LinBG.first; i <= w.figure().LinBG.last; ++i)
            grid.push_back(w.figure().LinBG(i).visible());
    }
};

void destroyClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestResultDialog : public QObject {
    Q_OBJECT

private slots:
    // Guards against a misplaced, mislabelled or wrongly weighted control.
    // Each row is named after the control's object name.
    void controlsSitWhereTheyBelong_data()
    {
        QTest::addColumn<QRect>("twips"); // left, top, width, height
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("bold");

        // Value fields as a check before any round fills them.
        QTest::newRow("Label1") << QRect(120, 120, 1215, 375) << "難易度レベル：" << false;
        QTest::newRow("LBLDATA1") << QRect(1440, 120, 1575, 255) << "1" << false;
        QTest::newRow("Label7") << QRect(360, 480, 975, 255) << "表示時間：" << false;
        QTest::newRow("LBLDATA2") << QRect(1440, 480, 1575, 255) << "0.75" << false;
        // A line one pixel thick.
        QTest::newRow("Line1") << QRect(0, 720, 3120, 15) << "" << false;
        QTest::newRow("Label3") << QRect(240, 840, 1095, 255) << "結果" << false;
        QTest::newRow("Label2") << QRect(120, 1200, 1215, 255) << "点数：" << true;
        QTest::newRow("LBLDATA3") << QRect(1440, 1200, 855, 375) << "0" << true;
        QTest::newRow("Label4") << QRect(2400, 1200, 495, 255) << "点" << true;
        QTest::newRow("Label5") << QRect(0, 1560, 1335, 375) << "経過時間：" << true;
        QTest::newRow("LBLDATA4") << QRect(1440, 1560, 855, 375) << "0" << true;
        QTest::newRow("Label6") << QRect(2400, 1560, 615, 255) << "秒" << true;
        QTest::newRow("Command1") << QRect(120, 2040, 1215, 255) << "点数保存" << false;
        QTest::newRow("Command2") << QRect(1680, 2040, 1215, 255) << "終了" << false;
    }
    void controlsSitWhereTheyBelong()
    {
        QFETCH(QRect, twips);
        QFETCH(QString, text);
        QFETCH(bool, bold);

        Game game;
        game.w().Command2_Click();
        ui::FrmMSG* dialog = game.w().resultDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("採点結果"));

        auto* control = dialog->findChild<QWidget*>(QString::fromUtf8(QTest::currentDataTag()));
        QVERIFY(control);
        QCOMPARE(control->geometry(), toolkit::pixelRect(twips.left(), twips.top(), twips.width(), twips.height()));
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(control))
            shown = label->text();
        else if (auto* button = qobject_cast<QPushButton*>(control))
            shown = button->text();
        QCOMPARE(shown, text);
        QCOMPARE(control->font().bold(), bold);
    }

    // Guards against a label that takes the focus or a Tab order that starts
    // on the button that resets the round.
    void onlyTheButtonsTakeFocusSaveFirst()
    {
        Game game;
        ui::FrmMSG& dialog = checkARound(game);
        for (QWidget* child : dialog.findChildren<QWidget*>()) {
            const bool isButton = child == dialog.Command1 || child == dialog.Command2;
            QCOMPARE(child->focusPolicy() != Qt::NoFocus, isButton);
        }
        QCOMPARE(dialog.focusWidget(), dialog.Command1);
        QTest::keyClick(&dialog, Qt::Key_Tab);
        QCOMPARE(dialog.focusWidget(), dialog.Command2);
        QTest::keyClick(&dialog, Qt::Key_Tab);
        QCOMPARE(dialog.focusWidget(), dialog.Command1);
    }

    // Guards against "点数保存" or the close box touching the main window, a
    // dialog that lingers after closing, and one that cannot be opened again.
    void savingOrClosingLeavesTheWindowAsItWas_data()
    {
        QTest::addColumn<bool>("viaCloseBox");
        QTest::newRow("点数保存") << false;
        QTest::newRow("close box") << true;
    }
    void savingOrClosingLeavesTheWindowAsItWas()
    {
        QFETCH(bool, viaCloseBox);
        Game game;
        ui::Frm001& w = game.w();
        const QPointer<ui::FrmMSG> dialog = &checkARound(game);
        w.Timer1.setInterval(kClockPeriodMs); // as a START made meanwhile would leave it
        const WindowState before(w);

        if (viaCloseBox)
            dialog->close();
        else
            QTest::mouseClick(dialog->Command1, Qt::LeftButton);
        destroyClosedWindows();

        QVERIFY(dialog.isNull());
        QVERIFY(!w.resultDialog());
        const WindowState after(w);
        QVERIFY(after.player == before.player);
        QCOMPARE(after.shown, before.shown);
        QCOMPARE(after.grid, before.grid);
        QCOMPARE(after.status, before.status);
        QCOMPARE(after.clockText, before.clockText);
        QCOMPARE(after.clockPeriod, kClockPeriodMs);

        w.Command2_Click();
        QVERIFY(w.resultDialog());
        QVERIFY(w.resultDialog()->isVisible());
    }

    // Guards against "終了" leaving the round on view, or doing CLEAR's extra
    // work of rebuilding the grid and stopping the clock.
    void endGivesTheReadyStateButLeavesGridAndClock()
    {
        Game game;
        ui::Frm001& w = game.w();
        const QPointer<ui::FrmMSG> dialog = &checkARound(game);
        QVERIFY(!(w.figure().DXY_USR == w.figure().DXY_DEF));
        w.figure().SUB_MKLINE(3); // a grid other than the list's 7 lines
        w.Timer1.setInterval(kClockPeriodMs);
        const WindowState before(w);

        QTest::mouseClick(dialog->Command2, Qt::LeftButton);
        destroyClosedWindows();

        QVERIFY(dialog.isNull());
        QCOMPARE(w.StatusBar1->text(), QStringLiteral("READY"));
        QCOMPARE(w.Label1->text(), QString());
        QVERIFY(w.figure().DXY_USR == w.figure().DXY_DEF);
        const WindowState after(w);
        QCOMPARE(after.shown, std::vector<bool>(after.shown.size(), false));
        QCOMPARE(after.grid, before.grid);
        QCOMPARE(after.clockPeriod, kClockPeriodMs);
    }

    // Guards against a dialog over the figure it reports on, one that forgets
    // where the player put it beside the main window or stays there when the
    // main window has moved, and one that jumps on a second check.
    void theDialogOpensBesideTheWindowThenWhereItWasLeft()
    {
        Game game;
        game.w().move(0, 0); // room on its right on the offscreen screen
        ui::FrmMSG& dialog = checkARound(game);
        QVERIFY(!dialog.frameGeometry().intersects(game.w().frameGeometry()));
        const QPoint left(100, 200);
        dialog.move(left);
        QCOMPARE(&checkARound(game), &dialog);
        QCOMPARE(dialog.pos(), left);
        dialog.close();
        destroyClosedWindows();
        const QPoint moved(60, 40);
        game.w().move(moved);
        ui::FrmMSG& again = checkARound(game);
        QCOMPARE(again.pos(), left + moved);

        // Left at the screen's foot, it stays whole there when a note makes it taller.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        again.move(left.x(), screen.bottom() - again.frameGeometry().height());
        game.w().Command2_Click(); // a check without a target, which the note says
        QVERIFY(again.LblSAVE->isVisible());
        QVERIFY(screen.contains(again.frameGeometry()));
    }

    // Guards against the dialog outliving the main window and keeping the
    // program running with no main window. Last, as it ends the program.
    void closingTheMainWindowTakesTheDialogAlong()
    {
        Game game;
        const QPointer<ui::FrmMSG> dialog = &checkARound(game);
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);

        // The program's end shows only inside its event loop; if it never
        // comes, the guard ends the loop and the test fails.
        QTimer::singleShot(0, game.window, [&game, &dialog] {
            game.w().close();
            QVERIFY(!dialog || !dialog->isVisible());
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(kNeverEnded); });
        guard.start(kGuardMs);
        const int exitCode = QCoreApplication::exec();
        destroyClosedWindows();

        QCOMPARE(exitCode, 0);
        QVERIFY(dialog.isNull());
        QVERIFY(game.window.isNull());
        QCOMPARE(lastClosed.count(), 1);
    }
};

TORMELL_TEST_MAIN(TestResultDialog)
#include "tst_result_dialog.moc"
