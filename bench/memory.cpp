// Memory over many rounds: resident size after 10 rounds against after
// 10,000 (START with no display time, CHEK, CLEAR), so that a leak per round
// shows as growth.

#include "measure.h"
#include "shown_game.h"
#include "widgets/error_boundary.h"

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
    tk::Application app(argc, argv);
    bench::ShownGame game;
    if (!game.ready())
        return EXIT_FAILURE;
    Frm001* window = game.window;

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

    delete window;
    return EXIT_SUCCESS;
}
