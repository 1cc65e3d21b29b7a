// The platform layer: checked arrays, item geometry, the timer, chance, the
// responsive wait and the error boundary.

#include "support/fake_clock.h"
#include "support/test_main.h"
#include "widgets/canvas.h"
#include "toolkit/checked_array.h"
#include "toolkit/copy_slot.h"
#include "widgets/error_boundary.h"
#include "toolkit/errors.h"
#include "toolkit/line_thinning.h"
#include "toolkit/random_source.h"
#include "toolkit/responsive_wait.h"
#include "toolkit/timer.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

class TestToolkit : public QObject {
    Q_OBJECT

private slots:
    void checkedArraysRaiseOutsideTheirRange();
    void eachRunningCopyHoldsItsOwnSlotUntilItEnds();
    void itemGeometryKeepsTheNearestFloat();
    void timerIntervalZeroStopsAndPositiveRestarts();
    void randomDrawsAreInRangeAndNeverReplayAfterAReseed();
    void waitRunsQueuedEventsUntilItsTimeHasPassed();
    void abandonedWaitReturnsFalse();
    void waitOfNothingReturnsAtOnce_data();
    void waitOfNothingReturnsAtOnce();
    void errorInAConnectedHandlerIsReportedAndTheProgramGoesOn_data();
    void errorInAConnectedHandlerIsReportedAndTheProgramGoesOn();
    void aContainedErrorIsAWarningOfTheWidgetsLog();
    void aContainedErrorIsShownOnlyOnceTheEventLoopRuns();
    void errorsWhileTheReportIsOpenAreCountedOnIt();
    void aThinnedLineKeepsEveryRunsEndsAndExtremes_data();
    void aThinnedLineKeepsEveryRunsEndsAndExtremes();
};

// Guards against wrap-around or unchecked access past either end of an array,
// in both dimensions of the pose arrays (the window's item arrays are checked
// with the window).
void TestToolkit::checkedArraysRaiseOutsideTheirRange()
{
    toolkit::CheckedArray<int, 1, 9> one;
    one(9) = 9;
    QVERIFY_THROWS_EXCEPTION(toolkit::IndexError, one(0));
    QVERIFY_THROWS_EXCEPTION(toolkit::IndexError, one(10));

    toolkit::CheckedArray2<double, 0, 4, 0, 9> two;
    two(4, 9) = 2.5;
    QCOMPARE(two(0, 9), 0.0); // k and i do not alias
    QCOMPARE(two(4, 9), 2.5);
    QVERIFY_THROWS_EXCEPTION(toolkit::IndexError, two(-1, 0));
    QVERIFY_THROWS_EXCEPTION(toolkit::IndexError, two(5, 0));
    QVERIFY_THROWS_EXCEPTION(toolkit::IndexError, two(0, -1));
    QVERIFY_THROWS_EXCEPTION(toolkit::IndexError, two(0, 10));
}

// Guards the item model: geometry is a float, rounded to nearest (not
// truncated), on every kind of item, and a value no float holds is an error
// that leaves the property as it was.
void TestToolkit::itemGeometryKeepsTheNearestFloat()
{
    // Three quarters of an ulp above 1000: truncation would keep 1000.
    constexpr double value = 1000.0 + 0.75 / 16384;
    constexpr float nearest = 1000.0f + 1.0f / 16384;
    widgets::Canvas canvas;
    auto& line = canvas.scene().add<toolkit::Line>();
    auto& shape = canvas.scene().add<toolkit::Shape>(toolkit::Shape::Kind::Circle);
    auto& label = canvas.scene().add<toolkit::Label>();

    line.setX1(value);
    line.setY2(value);
    shape.setLeft(value);
    shape.setHeight(value);
    label.setTop(value);
    label.setWidth(value);
    for (const float stored : {line.x1(), line.y2(), shape.left(), shape.height(), label.top(), label.width()})
        QCOMPARE(stored, nearest);

    constexpr double beyondFloat = 1e39;
    QVERIFY_THROWS_EXCEPTION(toolkit::OverflowError, shape.setLeft(beyondFloat));
    QCOMPARE(shape.left(), nearest);
}

// Guards the timer rules the display clock relies on: 0 stops, a positive
// interval runs, a negative one is refused and changes nothing.
void TestToolkit::timerIntervalZeroStopsAndPositiveRestarts()
{
    constexpr int kSecond = 1000;
    constexpr int kOtherPeriod = 250;
    toolkit::Timer timer;
    const auto* engine = timer.findChild<QTimer*>();
    QVERIFY(engine);
    QVERIFY(!engine->isActive());

    timer.setInterval(kSecond);
    QVERIFY(engine->isActive() && engine->interval() == kSecond);
    timer.setInterval(kOtherPeriod);
    QVERIFY(engine->isActive() && engine->interval() == kOtherPeriod);
    QVERIFY_THROWS_EXCEPTION(toolkit::RuntimeError, timer.setInterval(-1));
    QVERIFY(engine->isActive() && engine->interval() == kOtherPeriod);
    QCOMPARE(timer.interval(), kOtherPeriod);
    timer.setInterval(0);
    QVERIFY(!engine->isActive());
    QCOMPARE(timer.interval(), 0);

    // The tick reaches the outside: a one-millisecond period fires at once.
    QSignalSpy ticks(&timer, &toolkit::Timer::tick);
    timer.setInterval(1);
    QVERIFY(ticks.wait());
    timer.setInterval(0);
}

// Guards chance: a draw of 1 would pick one past the last segment, and re-seeds
// within one clock reading (the clock here never moves) must not replay draws.
void TestToolkit::randomDrawsAreInRangeAndNeverReplayAfterAReseed()
{
    constexpr int kReseeds = 1000;
    constexpr int kDrawsEach = 3;
    toolkit::ClockSeededRandom random([] { return std::uint64_t{1'000'000'000}; });
    std::set<std::array<float, kDrawsEach>> sequences;
    double sum = 0;
    for (int n = 0; n < kReseeds; ++n) {
        random.reseed();
        std::array<float, kDrawsEach> draws{};
        for (float& draw : draws) {
            draw = random.next();
            QVERIFY2(draw >= 0.0f && draw < 1.0f, qPrintable(QString::number(draw)));
            sum += draw;
        }
        sequences.insert(draws);
    }
    QCOMPARE(int(sequences.size()), kReseeds);
    // The mean of uniform draws; the tolerance is over ten standard errors.
    QVERIFY(std::fabs(sum / (kReseeds * kDrawsEach) - 0.5) < 0.06);
}

// Guards the title and display waits: they last their time on the given clock,
// not much more, and run what was queued before them (a click, a tick).
void TestToolkit::waitRunsQueuedEventsUntilItsTimeHasPassed()
{
    constexpr double kSeconds = 3;
    constexpr double kStep = 0.1;
    FakeClock clock;
    clock.setStepPerReading(kStep);
    const double start = clock.peek();
    QObject context;
    bool ran = false;
    QTimer::singleShot(0, &context, [&ran] { ran = true; });
    QVERIFY(toolkit::waitResponsively(clock, kSeconds));
    QVERIFY(ran);
    QVERIFY(clock.peek() >= start + kSeconds);
    QVERIFY(clock.peek() < start + kSeconds + 5 * kStep); // a pass past the deadline at most
}

// Guards closing a window during a wait: the waiter is let go at once, even
// from an endless wait on a clock that never moves.
void TestToolkit::abandonedWaitReturnsFalse()
{
    FakeClock clock;
    QObject context;
    bool closing = false;
    QTimer::singleShot(0, &context, [&closing] { closing = true; });
    QVERIFY(!toolkit::waitResponsively(clock, std::numeric_limits<double>::infinity(), [&closing] { return closing; }));
    QVERIFY(closing);
}

void TestToolkit::waitOfNothingReturnsAtOnce_data()
{
    QTest::addColumn<double>("seconds");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("negative") << -5.0;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
}

// Guards a display time of 0 (and nonsense times): no pass of the event loop,
// and no endless wait on NaN.
void TestToolkit::waitOfNothingReturnsAtOnce()
{
    QFETCH(double, seconds);
    FakeClock clock;
    QObject context;
    bool ran = false;
    QTimer::singleShot(0, &context, [&ran] { ran = true; });
    QVERIFY(toolkit::waitResponsively(clock, seconds));
    QVERIFY(!ran);
}

void TestToolkit::errorInAConnectedHandlerIsReportedAndTheProgramGoesOn_data()
{
    QTest::addColumn<bool>("runtimeError");
    QTest::addColumn<QString>("report");
    QTest::newRow("a run-time error") << true << "Subscript out of range: 10 is not in 1..9";
    QTest::newRow("anything else thrown") << false << "Unknown error";
}

// Guards the error boundary at the connection: an error escaping a connected
// handler is reported once, the handler ends at its failing step with the
// steps before it done, and the next click is handled again. The first click
// is delivered by no event, so only the connection can catch its error.
void TestToolkit::errorInAConnectedHandlerIsReportedAndTheProgramGoesOn()
{
    QFETCH(bool, runtimeError);
    QFETCH(QString, report);
    auto* app = widgets::Application::instance();
    QVERIFY(app);
    QPushButton button(QStringLiteral("go"));
    button.show();
    int stepsBefore = 0;
    int stepsAfter = 0;
    const std::function<void()> failingStep = [runtimeError] {
        if (runtimeError)
            throw toolkit::IndexError(10, 1, 9);
        throw QStringLiteral("not an exception class");
    };
    widgets::connectGuarded(&button, &QPushButton::clicked, &button, [&] {
        ++stepsBefore;
        failingStep();
        ++stepsAfter;
    });

    const int errorsBefore = app->errorCount();
    for (int n = 1; n <= 2; ++n) {
        QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("error boundary: ") + report));
        if (n == 1)
            button.click();
        else
            QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(stepsBefore, n);
        QCOMPARE(stepsAfter, 0);
        QCOMPARE(app->errorCount(), errorsBefore + n);
    }
}

namespace {

// The report boxes on screen.
QList<QMessageBox*> shownReports()
{
    QList<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            boxes.append(box);
    }
    return boxes;
}

// Errors shown to the player as the game shows them, where the other tests
// only log them; closed and back to the test log alone when it goes.
class PlayersReport {
public:
    PlayersReport() : m_testLog(widgets::Application::instance()->setReporter({})) {}
    ~PlayersReport()
    {
        for (QMessageBox* box : shownReports())
            box->close();
        widgets::Application::instance()->setReporter(m_testLog);
    }
    PlayersReport(const PlayersReport&) = delete;
    PlayersReport& operator=(const PlayersReport&) = delete;

private:
    widgets::Application::Reporter m_testLog;
};

// A handler failing with `what`, as the log will say it.
void containError(const char* what)
{
    QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("error boundary: ") + QLatin1String(what)));
    widgets::contain([what] { throw std::runtime_error(what); });
}

} // namespace

// Guards against an error that QT_LOGGING_RULES cannot reach: it is written
// as a warning of the category tormell.widgets.
void TestToolkit::aContainedErrorIsAWarningOfTheWidgetsLog()
{
    struct Line {
        QtMsgType type;
        QByteArray category;
        QString text;
    };
    static QList<Line> lines;
    lines.clear();
    const QtMessageHandler testLog
        = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
              lines.append({type, context.category, text});
          });
    widgets::contain([] { throw toolkit::IndexError(10, 1, 9); });
    qInstallMessageHandler(testLog);

    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0].type, QtWarningMsg);
    QCOMPARE(lines[0].category, QByteArrayLiteral("tormell.widgets"));
    QCOMPARE(lines[0].text, QStringLiteral("error boundary: Subscript out of range: 10 is not in 1..9"));
}

// Guards against a report made inside the failing handler: in the middle of a
// drag or a display wait, and a modal box there runs an event loop of its own.
void TestToolkit::aContainedErrorIsShownOnlyOnceTheEventLoopRuns()
{
    PlayersReport report;
    bool eventsRan = false;
    // Whatever loop runs first runs this; a modal one it ends at once.
    QTimer::singleShot(0, [&eventsRan] {
        eventsRan = true;
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    containError("the handler failed");
    QVERIFY(!eventsRan);
    QVERIFY(shownReports().isEmpty());

    QTRY_COMPARE(shownReports().size(), 1);
    QVERIFY(eventsRan);
    const QMessageBox& box = *shownReports().first();
    QCOMPARE(box.text(), QStringLiteral("the handler failed"));
    QCOMPARE(box.windowModality(), Qt::NonModal);
    QVERIFY(!QApplication::activeModalWidget());
}

// Guards against a box for every error (a handler failing on every drag move
// would bury the game) and against a count that outlives its box.
void TestToolkit::errorsWhileTheReportIsOpenAreCountedOnIt()
{
    PlayersReport report;
    for (const char* what : {"first", "second", "third"})
        containError(what);
    QTRY_COMPARE(shownReports().size(), 1);
    QMessageBox* box = shownReports().first();
    QCOMPARE(box->text(), QStringLiteral("first\n（ほか 2 回）"));

    containError("fourth");
    QTRY_COMPARE(box->text(), QStringLiteral("first\n（ほか 3 回）"));
    QCOMPARE(shownReports(), QList<QMessageBox*> {box});

    box->close();
    containError("after closing");
    QTRY_COMPARE(shownReports().size(), 1);
    QCOMPARE(shownReports().first()->text(), QStringLiteral("after closing"));
}

namespace {

// Points at x = 0, 1, 2 ... with these heights.
QList<QPointF> lineOf(const QList<double>& heights)
{
    QList<QPointF> points;
    for (const double y : heights)
        points.append({static_cast<double>(points.size()), y});
    return points;
}

} // namespace

void TestToolkit::aThinnedLineKeepsEveryRunsEndsAndExtremes_data()
{
    QTest::addColumn<QList<QPointF>>("points");
    QTest::addColumn<qsizetype>("runs");
    QTest::addColumn<QList<QPointF>>("kept");
    const QList<QPointF> few = lineOf({3, 1, 4, 1, 5});
    const QList<QPointF> one = lineOf({5, 9, 7, 1, 3, 4, 8, 2, 6, 5}); // the highest before the lowest
    const QList<QPointF> spike = lineOf({50, 50, 50, 50, 50, 50, 50, 50, 100, 50, 50, 50});
    QTest::newRow("no more than four a run: all of them") << few << qsizetype {2} << few;
    QTest::newRow("one run: first, lowest, highest, last, in order")
        << one << qsizetype {1} << QList<QPointF> {one[0], one[1], one[3], one[9]};
    QTest::newRow("two runs: a lone spike kept, nothing repeated")
        << spike << qsizetype {2} << QList<QPointF> {spike[0], spike[5], spike[6], spike[8], spike[11]};
}

// Guards the chart of thousands of rounds: a thinned line that drops a high
// or a low score, loses the first or the last round, or goes back in time.
void TestToolkit::aThinnedLineKeepsEveryRunsEndsAndExtremes()
{
    QFETCH(QList<QPointF>, points);
    QFETCH(qsizetype, runs);
    QFETCH(QList<QPointF>, kept);
    QCOMPARE(toolkit::thinnedLine(points, runs), kept);
}

// Guards against two running copies taking one slot (and opening their
// windows over each other), or a slot kept after its copy ended, killed or not.
void TestToolkit::eachRunningCopyHoldsItsOwnSlotUntilItEnds()
{
    const QTemporaryDir folder;
    constexpr int kSlots = 4;
    {
        const toolkit::CopySlot first(folder.path(), kSlots);
        const toolkit::CopySlot second(folder.path(), kSlots);
        QCOMPARE(first.number(), 0);
        QCOMPARE(second.number(), 1);
    }
    // A copy killed while it holds slot 0: its process ends with no word.
    const pid_t killed = fork();
    if (killed == 0) {
        const toolkit::CopySlot held(folder.path(), kSlots);
        _exit(held.number());
    }
    int status = -1;
    QCOMPARE(waitpid(killed, &status, 0), killed);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("copy-0.lock"))));
    const toolkit::CopySlot next(folder.path(), kSlots);
    QCOMPARE(next.number(), 0);
}

TORMELL_TEST_MAIN(TestToolkit)
#include "tst_toolkit.moc"
