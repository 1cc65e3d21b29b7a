// The record window over 10,000 saved rounds of one setting: the time from
// the 点数 menu's handler to the window's first paint, against reading those
// rounds from the store alone, and the memory the open window adds to the
// shown game. With --coached, the rounds are coached practice's, half of them
// at the setting shown and the rest at other display times of the same
// difficulty, all of which the memory speed is fitted to. With --year, over
// a year of coached practice at 30 rounds a day: the memory speed tab, from
// its choice to its chart painted, and the window's update after one more
// round. With --fill <path> [--coached | --year], lays down the record and exits.
//
// Linked as the game is: the first open loads the window's module, as the
// game's first open does, and the memory it adds counts the libraries the
// module brings. The window is seen through its widgets' names alone.

#include "exposure.h"
#include "filled_record.h"
#include "measure.h"
#include "probe_game.h"
#include "core/memory_speed_history.h"
#include "ui/coach.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTabWidget>
#include <QTableView>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kRounds = 10'000;
// Each run opens a fresh window; the first also gives the memory figures.
constexpr int kRuns = 5;
constexpr int kMostMsForAPaint = 10'000;
constexpr int kFillTimeoutMs = 120'000;
const QString kFillMode = QStringLiteral("--fill");
const QString kCoached = QStringLiteral("--coached");
const QString kYear = QStringLiteral("--year");
constexpr int kSpeedTab = 1;

// In a process of its own, so that nothing the fill allocated lingers in the
// heap the memory figures are read from.
void fill(const QString& path, const QString& mode)
{
    QProcess filler;
    filler.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments {kFillMode, path};
    if (!mode.isEmpty())
        arguments << mode;
    filler.start(QCoreApplication::applicationFilePath(), arguments);
    if (!filler.waitForFinished(kFillTimeoutMs) || filler.exitStatus() != QProcess::NormalExit
        || filler.exitCode() != 0)
        bench::fail("cannot lay down the record");
}

// Opens the record window from the menu and processes events until its chart
// and its table have been painted. Microseconds taken.
double openUntilPainted(ui::Frm001& window, bench::PaintLog& paints, int rows)
{
    paints.clear();
    QWidget* record = nullptr;
    QAbstractScrollArea* chart = nullptr;
    QTableView* table = nullptr;
    const auto shown = [&] {
        return paints.painted(record) && paints.painted(chart->viewport()) && paints.painted(table->viewport());
    };
    QElapsedTimer waited;
    const double micros = bench::microsecondsFor([&] {
        window.MNU点数->trigger(); // as the player opens it
        record = window.scoreRecord();
        if (!record)
            bench::fail("the record window did not open");
        chart = record->findChild<QAbstractScrollArea*>(QStringLiteral("ChtSCORE"));
        table = record->findChild<QTableView*>(QStringLiteral("GrdROUND"));
        if (!chart || !table)
            bench::fail("the record window lacks its chart or its table");
        waited.start();
        while (!shown() && waited.elapsed() < kMostMsForAPaint)
            QCoreApplication::processEvents();
    });
    if (!shown())
        bench::fail("the record window was never painted");
    if (table->model()->rowCount() != rows)
        bench::fail("the record window does not show the rounds");
    return micros;
}

/// Processes events until `chart` has been painted. Microseconds taken by
/// `action` and that.
template <class Action> double untilPainted(bench::PaintLog& paints, const QAbstractScrollArea& chart, Action&& action)
{
    paints.clear();
    QElapsedTimer waited;
    const double micros = bench::microsecondsFor([&] {
        action();
        waited.start();
        while (!paints.painted(chart.viewport()) && waited.elapsed() < kMostMsForAPaint)
            QCoreApplication::processEvents();
    });
    if (!paints.painted(chart.viewport()))
        bench::fail("the memory speed chart was never painted");
    return micros;
}

/// The floors of the memory speed tab, from the same rounds as the window
/// reads: every day's level at first sight (a history of its own each run),
/// and again after one more round (the history that has seen the rest).
void levelsAlone(bench::ProbeGame& game)
{
    const QDateTime now = QDateTime::currentDateTime();
    const auto rounds = game.scores.roundsAtDifficulty(bench::aRound(0).difficulty);
    if (rounds.problem)
        bench::fail("cannot read the year's rounds");
    std::vector<core::DatedTrial> trials = ui::coach::coachedRounds(rounds.value, now).rounds;
    std::vector<double> firstSight, oneMore;
    for (int run = 0; run < kRuns; ++run) {
        core::MemorySpeedHistory history;
        firstSight.push_back(bench::microsecondsFor([&] {
            history.setTrials(trials, now);
            history.days();
        }));
        trials.push_back({now, {trials.back().trial.displaySeconds, true}});
        oneMore.push_back(bench::microsecondsFor([&] {
            history.setTrials(trials, now);
            history.days();
        }));
    }
    bench::report("year_days_us", bench::summarise(firstSight));
    bench::report("year_one_more_us", bench::summarise(oneMore));
}

/// The memory speed tab of fresh windows over a year of practice, then the
/// open tab's update after each of kRuns more rounds: saved by a store of
/// their own (the save is not timed), then told to the window as its store
/// tells it of a save.
void memorySpeedTab(bench::ProbeGame& game, ui::Frm001& window, int rows)
{
    bench::PaintLog paints;
    std::vector<double> opens, updates;
    for (int run = 0; run < kRuns; ++run) {
        openUntilPainted(window, paints, rows);
        QWidget& record = *window.scoreRecord();
        auto* tabs = record.findChild<QTabWidget*>(QStringLiteral("TabCHART"));
        auto* chart = record.findChild<QAbstractScrollArea*>(QStringLiteral("ChtSPEED"));
        auto* summary = record.findChild<QLabel*>(QStringLiteral("LblSUMMARY"));
        if (!tabs || !chart || !summary)
            bench::fail("the record window lacks its memory speed chart or its summary");
        if (!summary->text().contains(QStringLiteral("68%区間")))
            bench::fail("the record window shows no memory speed");
        opens.push_back(untilPainted(paints, *chart, [&] { tabs->setCurrentIndex(kSpeedTab); }));
        if (run + 1 < kRuns) {
            record.close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            continue;
        }
        record::ScoreStore other(game.scores.path());
        for (int more = 0; more < kRuns; ++more) {
            record::RoundRecord round = bench::aRound(more);
            round.playedAt = QDateTime::currentDateTime();
            round.coached = true;
            if (other.append(round))
                bench::fail("cannot save one more round");
            updates.push_back(untilPainted(paints, *chart, [&] { emit game.scores.changed(); }));
        }
    }
    bench::report("speed_tab_us", bench::summarise(opens));
    bench::report("speed_update_us", bench::summarise(updates));
    levelsAlone(game);
    bench::reportInteger("rounds", bench::kDaysOfPractice * bench::kRoundsADay);
    bench::reportInteger("days", bench::kDaysOfPractice);
}

} // namespace

int main(int argc, char** argv)
{
    const QString last = QString::fromLocal8Bit(argv[argc - 1]);
    const QString mode = last == kCoached || last == kYear ? last : QString();
    const bench::Filling filling = mode == kCoached ? bench::Filling::CoachedRounds
        : mode == kYear                             ? bench::Filling::YearOfPractice
                                                    : bench::Filling::Rounds;
    if (argc >= 3 && QString::fromLocal8Bit(argv[1]) == kFillMode) {
        QCoreApplication app(argc, argv);
        return bench::writeFilledRecord(QString::fromLocal8Bit(argv[2]), kRounds, filling) ? EXIT_SUCCESS
                                                                                           : EXIT_FAILURE;
    }
    bench::ProbeGame game(argc, argv);
    fill(game.scores.path(), mode);
    const auto latest = game.scores.latestSetting().value;
    if (!latest)
        bench::fail("the record laid down holds no rounds");
    // What the window opens on: the setting played last, or after coached
    // play the whole of its difficulty.
    const auto readShown = [&game, &latest] {
        return latest->byHand ? game.scores.rounds(latest->setting)
                              : game.scores.roundsAtDifficulty(latest->setting.difficulty);
    };
    const auto shownRounds = readShown().value.size();
    const std::unique_ptr<ui::Frm001> window = game.showMainWindow(bench::kNoDisplayTime);
    QCoreApplication::processEvents();
    if (filling == bench::Filling::YearOfPractice) {
        memorySpeedTab(game, *window, static_cast<int>(shownRounds));
        return EXIT_SUCCESS;
    }
    bench::reportInteger("game_rss_kib", bench::statusKiB("VmRSS"));
    bench::reportInteger("game_hwm_kib", bench::statusKiB("VmHWM"));

    bench::PaintLog paints;
    std::vector<double> opens;
    for (int run = 0; run < kRuns; ++run) {
        opens.push_back(openUntilPainted(*window, paints, static_cast<int>(shownRounds)));
        if (run == 0) {
            bench::reportInteger("open_rss_kib", bench::statusKiB("VmRSS"));
            bench::reportInteger("open_hwm_kib", bench::statusKiB("VmHWM"));
        }
        window->scoreRecord()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (window->scoreRecord() != nullptr)
            bench::fail("the closed record window lingers");
    }

    std::vector<double> reads;
    for (int run = 0; run < kRuns; ++run)
        reads.push_back(bench::microsecondsFor([&] { readShown(); }));
    bench::report("open_us", bench::summarise(opens));
    bench::report("read_us", bench::summarise(reads));
    bench::reportInteger("rounds", kRounds);
    bench::reportInteger("shown_rounds", static_cast<std::int64_t>(shownRounds));
    return EXIT_SUCCESS;
}
