// Where a window opens: back where it was left while a screen still shows
// that place, else centred over its owner or beside it; always whole on one screen.

#include "support/test_main.h"
#include "toolkit/window_placement.h"

#include <QTest>

#include <optional>

using Screens = QList<QRect>;

namespace {
const QRect kScreen(0, 0, 1000, 800);
const QRect kSecondScreen(1000, 0, 800, 600);
const QRect kOwner(300, 200, 400, 300); // its middle at (500, 350)
} // namespace

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void aWindowOpensWhereItWasLeftOrCentredOverItsOwner_data();
    void aWindowOpensWhereItWasLeftOrCentredOverItsOwner();
    void aWindowAskedBesideItsOwnerCoversItOnlyWhenTheScreenLeavesNoRoom_data();
    void aWindowAskedBesideItsOwnerCoversItOnlyWhenTheScreenLeavesNoRoom();
    void aWindowKeptFromItsOwnerFollowsItOntoItsScreen_data();
    void aWindowKeptFromItsOwnerFollowsItOntoItsScreen();
};

void TestWindowPlacement::aWindowOpensWhereItWasLeftOrCentredOverItsOwner_data()
{
    QTest::addColumn<std::optional<QRect>>("last");
    QTest::addColumn<QSize>("opening");
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<Screens>("screens");
    QTest::addColumn<QRect>("placed");
    const std::optional<QRect> never;
    const QSize opening(200, 100);

    QTest::newRow("first time: centred over the owner")
        << never << opening << kOwner << Screens {kScreen} << QRect(400, 300, 200, 100);
    QTest::newRow("first time, owner at the screen's edge: pushed onto the screen")
        << never << QSize(600, 200) << QRect(0, 200, 400, 300) << Screens {kScreen} << QRect(0, 250, 600, 200);
    QTest::newRow("first time, larger than the screen: shrunk to it")
        << never << QSize(1200, 900) << kOwner << Screens {kScreen} << kScreen;
    QTest::newRow("first time, no owner: centred on the first screen")
        << never << opening << QRect() << Screens {kScreen, kSecondScreen} << QRect(400, 350, 200, 100);
    QTest::newRow("first time, owner on the second screen: opens there")
        << never << QSize(600, 400) << QRect(1200, 100, 400, 300) << Screens {kScreen, kSecondScreen}
        << QRect(1100, 50, 600, 400);
    QTest::newRow("left on the screen: back there, at its size")
        << std::optional(QRect(50, 60, 300, 200)) << opening << kOwner << Screens {kScreen} << QRect(50, 60, 300, 200);
    QTest::newRow("left partly off the screen: moved the least way onto it")
        << std::optional(QRect(900, -50, 300, 200)) << opening << kOwner << Screens {kScreen}
        << QRect(700, 0, 300, 200);
    QTest::newRow("left under a panel: below it")
        << std::optional(QRect(10, 0, 300, 200)) << opening << kOwner << Screens {QRect(0, 30, 1000, 770)}
        << QRect(10, 30, 300, 200);
    QTest::newRow("left on the second screen: back there")
        << std::optional(QRect(1200, 100, 300, 200)) << opening << kOwner << Screens {kScreen, kSecondScreen}
        << QRect(1200, 100, 300, 200);
    QTest::newRow("left across both screens: onto the one showing most of it")
        << std::optional(QRect(900, 100, 300, 200)) << opening << kOwner << Screens {kScreen, kSecondScreen}
        << QRect(1000, 100, 300, 200);
    QTest::newRow("left on a screen since removed: centred over the owner, at its size")
        << std::optional(QRect(1200, 100, 300, 200)) << opening << kOwner << Screens {kScreen}
        << QRect(350, 250, 300, 200);
    QTest::newRow("left on a larger screen since replaced: shrunk to the one there is")
        << std::optional(QRect(100, 100, 1600, 1000)) << opening << kOwner << Screens {kScreen} << kScreen;
}

// Guards against a window lost off every screen, reaching past one, opened
// at a screen's corner rather than over its owner, or forgetting where the
// player left it while that place can still be seen.
void TestWindowPlacement::aWindowOpensWhereItWasLeftOrCentredOverItsOwner()
{
    QFETCH(std::optional<QRect>, last);
    QFETCH(QSize, opening);
    QFETCH(QRect, owner);
    QFETCH(Screens, screens);
    QFETCH(QRect, placed);
    QCOMPARE(toolkit::placeWindow(last, opening, owner, screens), placed);
}

void TestWindowPlacement::aWindowAskedBesideItsOwnerCoversItOnlyWhenTheScreenLeavesNoRoom_data()
{
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<Screens>("screens");
    QTest::addColumn<QRect>("placed"); // first opened at 200 x 100
    QTest::newRow("room on the right: there") << kOwner << Screens {kScreen} << QRect(700, 200, 200, 100);
    QTest::newRow("none on the right: left")
        << QRect(500, 200, 400, 300) << Screens {kScreen} << QRect(300, 200, 200, 100);
    QTest::newRow("none on either side: below")
        << QRect(100, 100, 800, 300) << Screens {kScreen} << QRect(100, 400, 200, 100);
    QTest::newRow("none anywhere: covering the least")
        << QRect(50, 50, 900, 700) << Screens {kScreen} << QRect(50, 700, 200, 100);
    QTest::newRow("owner on the second screen: beside it there")
        << QRect(1200, 100, 400, 300) << Screens {kScreen, kSecondScreen} << QRect(1600, 100, 200, 100);
}

// Guards against a window opened over the figure its owner shows while the
// screen has room beside it, or pushed off the screen to stay beside it.
void TestWindowPlacement::aWindowAskedBesideItsOwnerCoversItOnlyWhenTheScreenLeavesNoRoom()
{
    QFETCH(QRect, owner);
    QFETCH(Screens, screens);
    QFETCH(QRect, placed);
    QCOMPARE(
        toolkit::placeWindow(std::nullopt, QSize(200, 100), owner, screens, toolkit::Opening::BesideOwner), placed);
}

void TestWindowPlacement::aWindowKeptFromItsOwnerFollowsItOntoItsScreen_data()
{
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<Screens>("screens");
    QTest::addColumn<QRect>("placed"); // kept 410 px right of the owner's corner, 200 x 100
    QTest::newRow("owner moved: the same side of it") << kOwner << Screens {kScreen} << QRect(710, 200, 200, 100);
    QTest::newRow("owner at the screen's right edge: pushed back onto it, over the owner")
        << QRect(580, 200, 400, 300) << Screens {kScreen} << QRect(800, 200, 200, 100);
    QTest::newRow("owner moved to the second screen: on that one")
        << QRect(1000, 100, 400, 300) << Screens {kScreen, kSecondScreen} << QRect(1410, 100, 200, 100);
    QTest::newRow("owner by the second screen: on the owner's, not across both")
        << QRect(500, 200, 400, 300) << Screens {kScreen, kSecondScreen} << QRect(800, 200, 200, 100);
    QTest::newRow("no screen known: as kept")
        << QRect(1000, 100, 400, 300) << Screens {} << QRect(1410, 100, 200, 100);
}

// Guards against a window that stays where its owner was, or is put across
// two screens or off the owner's to stay beside it.
void TestWindowPlacement::aWindowKeptFromItsOwnerFollowsItOntoItsScreen()
{
    QFETCH(QRect, owner);
    QFETCH(Screens, screens);
    QFETCH(QRect, placed);
    QCOMPARE(toolkit::placeFromOwner(QPoint(410, 0), QSize(200, 100), owner, screens), placed);
}

TORMELL_TEST_MAIN(TestWindowPlacement)
#include "tst_window_placement.moc"
