// The record window over 10,000 saved rounds of one setting: the time from
// the 点数 menu's handler to the window's first paint, against reading those
// rounds from the store alone, and the memory the open window adds to the
// shown game. With --coached, the rounds are coached practice's, half of them
// at the setting shown and the rest at other display times of the same
// difficulty, all of which the memory speed is fitted to. With
// --fill <path> [--coached], lays down the record and exits.
//
// Linked as the game is: the first open loads the window's module, as the
// game's first open does, and the memory it adds counts the libraries the
// module brings. The window is seen through its widgets' names alone.

#include "exposure.h"
#include "filled_record.h"
#include "measure.h"
#include "probe_game.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QProcess>
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

// In a process of its own, so that nothing the fill allocated lingers in the
// heap the memory figures are read from.
void fill(const QString& path, bool coached)
{
    QProcess filler;
    filler.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments {kFillMode, path};
    if (coached)
        arguments << kCoached;
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
        window.MNU点数_Click();
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

} // namespace

int main(int argc, char** argv)
{
    const bool coached = QString::fromLocal8Bit(argv[argc - 1]) == kCoached;
    if (argc >= 3 && QString::fromLocal8Bit(argv[1]) == kFillMode) {
        QCoreApplication app(argc, argv);
        return bench::writeFilledRecord(QString::fromLocal8Bit(argv[2]), kRounds, coached) ? EXIT_SUCCESS
                                                                                           : EXIT_FAILURE;
    }
    bench::ProbeGame game(argc, argv);
    fill(game.scores.path(), coached);
    const auto latest = game.scores.latestSetting().value;
    if (!latest)
        bench::fail("the record laid down holds no rounds");
    const auto shownRounds = game.scores.rounds(*latest).value.size();
    const std::unique_ptr<ui::Frm001> window = game.showMainWindow(bench::kNoDisplayTime);
    QCoreApplication::processEvents();
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
        reads.push_back(bench::microsecondsFor([&] { game.scores.rounds(*latest); }));
    bench::report("open_us", bench::summarise(opens));
    bench::report("read_us", bench::summarise(reads));
    bench::reportInteger("rounds", kRounds);
    bench::reportInteger("shown_rounds", static_cast<std::int64_t>(shownRounds));
    return EXIT_SUCCESS;
}
