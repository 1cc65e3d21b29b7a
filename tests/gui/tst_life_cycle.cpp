// Start-up through the title window, the loaded state, and closing the program.

#include "app/module1.h"
#include "app/title_window.h"
#include "support/closed_title.h"
#include "support/game.h"
#include "support/test_main.h"
#include "support/window_snapshot.h"
#include "widgets/status_bar.h"
#include "widgets/error_boundary.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <optional>

namespace {

constexpr double kTitleSeconds = 3;
constexpr double kStepPerReading = 0.05;
constexpr double kSecondsPerDay = 86400;
constexpr int kStillRunning = 1;
constexpr int kPassesToEnd = 4;

} // namespace

class TestLifeCycle : public QObject {
    Q_OBJECT

private slots:
    void aRunShowsTheTitleThenTheReadyWindowAndEndsOnClose_data();
    void aRunShowsTheTitleThenTheReadyWindowAndEndsOnClose();
    void closingTheTitleDuringItsWaitEndsTheRun_data();
    void closingTheTitleDuringItsWaitEndsTheRun();
    void pointsMenuChangesNothing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const FakeClock* m_clock = nullptr;
    std::optional<double> m_titleShownAt;
    std::optional<double> m_mainShownAt;
};

bool TestLifeCycle::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && m_clock) {
        if (qobject_cast<app::Form1*>(watched) && !m_titleShownAt)
            m_titleShownAt = m_clock->peek();
        if (qobject_cast<ui::Frm001*>(watched) && !m_mainShownAt)
            m_mainShownAt = m_clock->peek();
    }
    return QObject::eventFilter(watched, event);
}

void TestLifeCycle::aRunShowsTheTitleThenTheReadyWindowAndEndsOnClose_data()
{
    QTest::addColumn<double>("clockStart");
    QTest::addColumn<bool>("byEndButton");
    QTest::newRow("ordinary start, close box") << 1000.0 << false;
    QTest::newRow("one second before midnight, END") << kSecondsPerDay - 1 << true;
    QTest::newRow("long-running clock, END") << 1e9 << true;
}

// Guards the run from start to end: the title stays three seconds (also across
// a day boundary), the main window opens ready with the title hidden but
// loaded, and closing destroys both, so no hidden window keeps the program alive.
void TestLifeCycle::aRunShowsTheTitleThenTheReadyWindowAndEndsOnClose()
{
    QFETCH(double, clockStart);
    QFETCH(bool, byEndButton);
    FakeClock clock;
    clock.setStepPerReading(kStepPerReading);
    clock.advance(clockStart - clock.peek());
    ScriptedRandom random;
    m_clock = &clock;
    m_titleShownAt.reset();
    m_mainShownAt.reset();
    qApp->installEventFilter(this);
    TemporaryRecord record;
    app::Module1 module(clock, random, record.store);
    const bool goesOn = module.Main();
    qApp->removeEventFilter(this);
    m_clock = nullptr;

    QVERIFY(goesOn);
    QPointer<app::Form1> title = module.titleWindow();
    QVERIFY(title);
    QPointer<ui::Frm001> main = title->mainWindow();
    QVERIFY(main);
    QVERIFY(m_titleShownAt && m_mainShownAt);
    QVERIFY2(*m_mainShownAt - *m_titleShownAt >= kTitleSeconds,
        qPrintable(QString::number(*m_mainShownAt - *m_titleShownAt)));
    QVERIFY(!title->isVisible());
    QVERIFY(main->isVisible());
    QCOMPARE(main->windowTitle(), QStringLiteral("Tormell"));
    QCOMPARE(main->StatusBar1->text(), QStringLiteral("READY"));
    QCOMPARE(main->Text1->text(), QStringLiteral("0.75"));
    QCOMPARE(main->Combo1->currentIndex(), 0); // the item "1"
    QCOMPARE(main->CmbNline->currentText(), QStringLiteral("7"));
    QVERIFY(main->Label1->text().isEmpty());
    QCOMPARE(main->Timer1.interval(), 0);

    // Qt ends a program only from its event loop, so the close runs inside one.
    // The windows go on the loop's next pass and the end is queued then; a few
    // passes later without it, the program would be running on.
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QObject context;
    int passesLeft = kPassesToEnd;
    std::function<void()> giveUpLater = [&] {
        if (--passesLeft > 0)
            QMetaObject::invokeMethod(&context, giveUpLater, Qt::QueuedConnection);
        else
            QCoreApplication::exit(kStillRunning);
    };
    const auto close = [&] {
        if (byEndButton)
            QTest::mouseClick(main->Command3, Qt::LeftButton);
        else
            main->close();
        giveUpLater();
    };
    QMetaObject::invokeMethod(&context, close, Qt::QueuedConnection);
    QCOMPARE(QApplication::exec(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!main);
    QVERIFY(!title);
    QCOMPARE(lastClosed.count(), 1);
}

void TestLifeCycle::closingTheTitleDuringItsWaitEndsTheRun_data()
{
    QTest::addColumn<double>("closeAfter");
    QTest::addColumn<bool>("byWindowManager");
    QTest::newRow("at once, as the window manager asks") << 0.0 << true;
    QTest::newRow("at once, by the program") << 0.0 << false;
    QTest::newRow("just before the end, as the window manager asks") << kTitleSeconds - kStepPerReading << true;
}

// Guards against the title, deleted once closed, being used after its wait
// (to open the main window on it), against a main window coming up without
// it, and against the program waiting on in an event loop with no window.
void TestLifeCycle::closingTheTitleDuringItsWaitEndsTheRun()
{
    QFETCH(double, closeAfter);
    QFETCH(bool, byWindowManager);
    FakeClock clock;
    clock.setStepPerReading(kStepPerReading);
    const double start = clock.peek();
    const int errorsBefore = widgets::Application::instance()->errorCount();

    QVERIFY(!startWithTitleClosed(clock, closeAfter, byWindowManager));

    QVERIFY(clock.peek() - start < kTitleSeconds); // abandoned, not waited out
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
    QCOMPARE(widgets::Application::instance()->errorCount(), errorsBefore);
}

// Guards the menu item: choosing it leaves the texts, the figure and what
// is shown exactly as they were.
void TestLifeCycle::pointsMenuChangesNothing()
{
    Game game;
    ui::Frm001& w = game.w();
    const QStringList before = snapshot(w);
    const auto angles = w.figure().DTT_USR;
    const auto coords = w.figure().DXY_USR;

    w.MNU点数->trigger();

    QCOMPARE(snapshot(w), before);
    QVERIFY(w.figure().DTT_USR == angles && w.figure().DXY_USR == coords);
    QCOMPARE(w.resultDialog(), nullptr);
}

TORMELL_TEST_MAIN(TestLifeCycle)
#include "tst_life_cycle.moc"
