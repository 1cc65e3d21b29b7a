// Memory over many rounds: resident size after 10 rounds against after
// 10,000 (START with no display time, CHEK, CLEAR), so that a leak per round
// shows as growth.

#include "measure.h"
#include "probe_game.h"

#include <cstdlib>

namespace {

constexpr int kBaselineRounds = 10;
constexpr int kRounds = 10'000;
// Events (repaints, deferred deletions) are processed every so many rounds, as
// the event loop would between clicks.
constexpr int kRoundsPerEventPass = 10;

} // namespace

int main(int argc, char** argv)
{
    bench::ProbeGame game(argc, argv);
    const std::unique_ptr<ui::Frm001> window = game.showMainWindow(bench::kNoDisplayTime);

    for (int round = 1; round <= kRounds; ++round) {
        window->Command1_Click();
        window->Command2_Click();
        window->Command4_Click();
        if (round % kRoundsPerEventPass == 0)
            QCoreApplication::processEvents();
        if (round == kBaselineRounds)
            bench::reportInteger("rss_baseline_kib", bench::statusKiB("VmRSS"));
    }
    QCoreApplication::processEvents();
    bench::reportInteger("rss_final_kib", bench::statusKiB("VmRSS"));
    bench::reportInteger("baseline_rounds", kBaselineRounds);
    bench::reportInteger("rounds", kRounds);
    return EXIT_SUCCESS;
}
