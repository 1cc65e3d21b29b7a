// The record window as a desktop window: it comes back where the player left
// it, or, with that place on no screen, centred over the main window; and with
// nothing recorded it shows how rounds are kept instead of an empty chart.

#include "support/game.h"
#include "support/record_window.h"
#include "support/test_main.h"
#include "ui/main_window.h"
#include "ui/player_settings.h"
#include "ui/record/score_chart.h"

#include <QAction>
#include <QDateTimeAxis>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QTest>

namespace {

ui::FrmSCORE& openRecord(Game& game)
{
    game.w().MNU点数->trigger();
    return *recordWindowOf(game.w());
}

void closeRecord(Game& game)
{
    game.w().scoreRecord()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestRecordWindow : public QObject {
    Q_OBJECT

private slots:
    void itComesBackWhereThePlayerLeftIt();
    void aPlaceOnNoScreenOpensCentredOverTheMainWindow();
    void anEmptyChartShowsTheHintAndNoTimes();
};

// Guards against a place and size forgotten on close, or read back at the
// client's corner rather than the frame's, and a maximized window coming back
// at its normal size.
void TestRecordWindow::itComesBackWhereThePlayerLeftIt()
{
    Game game;
    const QRect left(QPoint(37, 41), QSize(640, 520));
    ui::FrmSCORE& record = openRecord(game);
    record.resize(left.size());
    record.move(left.topLeft());
    closeRecord(game);

    ui::FrmSCORE& again = openRecord(game);
    QCOMPARE(again.pos(), left.topLeft());
    QCOMPARE(again.size(), left.size());

    again.showMaximized();
    closeRecord(game);
    ui::FrmSCORE& maximized = openRecord(game);
    QVERIFY(maximized.isMaximized());
    maximized.showNormal();
    QCOMPARE(maximized.size(), left.size());
}

// Guards against a window put back on a screen that is gone, where no one can
// reach it, or opened at the corner of the screen rather than over its owner.
void TestRecordWindow::aPlaceOnNoScreenOpensCentredOverTheMainWindow()
{
    Game game;
    // Room on the small offscreen screen for the window centred over the
    // main window, which is off the screen's middle.
    const QSize size(600, 560);
    QSettings settings = ui::playerSettings();
    settings.setValue(QStringLiteral("recordWindow/position"), QPoint(-5000, 5000));
    settings.setValue(QStringLiteral("recordWindow/size"), size);
    settings.sync();
    game.w().move(150, 10);

    ui::FrmSCORE& record = openRecord(game);
    QCOMPARE(record.size(), size);
    const QPoint offCentre = record.frameGeometry().center() - game.w().frameGeometry().center();
    QVERIFY2(
        offCentre.manhattanLength() <= 1, qPrintable(QStringLiteral("%1, %2").arg(offCentre.x()).arg(offCentre.y())));
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(record.frameGeometry()));
}

// Guards against the time axis of an empty chart reading the epoch's date
// over and over, and against the hint staying once rounds are there.
void TestRecordWindow::anEmptyChartShowsTheHintAndNoTimes()
{
    ui::ScoreChart chart;
    const auto showsHintAlone = [&chart] {
        return chart.emptyHint().isVisibleTo(&chart) && !chart.timeAxis().isVisible()
            && chart.emptyHint().text().startsWith(QStringLiteral("まだ記録がありません"));
    };
    QVERIFY(showsHintAlone());

    QList<record::RoundSummary> rounds(2);
    rounds[0].playedAt = QDateTime(QDate(2024, 3, 9), QTime(20, 0));
    rounds[1].playedAt = rounds[0].playedAt.addDays(1);
    chart.setRounds(rounds);
    QVERIFY(chart.timeAxis().isVisible() && chart.timeAxis().labelsVisible());
    QVERIFY(!chart.emptyHint().isVisibleTo(&chart));

    chart.setRounds({});
    QVERIFY(showsHintAlone());
}

TORMELL_TEST_MAIN(TestRecordWindow)
#include "tst_record_window.moc"
