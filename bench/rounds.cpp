// The cost of one START with no display time and of one CHEK, each timed as
// the handler call a click runs plus one pass of the event loop, which paints
// what the handler left queued.

#include "exposure.h"
#include "measure.h"
#include "probe_game.h"
#include "widgets/canvas.h"

#include <QEvent>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The first rounds create the result dialog and warm caches; they are not counted.
constexpr int kWarmUpRounds = 5;
constexpr int kRounds = 200;

} // namespace

int main(int argc, char** argv)
{
    bench::ProbeGame game(argc, argv);
    const std::unique_ptr<ui::Frm001> window = game.showMainWindow(bench::kNoDisplayTime);

    // Each timed span must include a paint of the canvas, or it would time less
    // than a click costs.
    const bench::PaintCounter canvasPaints(*window->Picture1);
    const auto timedWithPaint = [&canvasPaints](auto handler) {
        const int before = canvasPaints.count();
        const double micros = bench::microsecondsFor([&handler] {
            handler();
            QCoreApplication::processEvents();
        });
        if (canvasPaints.count() == before) {
            std::fputs("a timed click did not paint the canvas\n", stderr);
            std::exit(EXIT_FAILURE);
        }
        return micros;
    };

    std::vector<double> starts;
    std::vector<double> checks;
    for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
        const double start = timedWithPaint([&window] { window->Command1_Click(); });
        const double check = timedWithPaint([&window] { window->Command2_Click(); });
        if (round >= kWarmUpRounds) {
            starts.push_back(start);
            checks.push_back(check);
        }
    }
    bench::report("start_us", bench::summarise(starts));
    bench::report("check_us", bench::summarise(checks));
    return EXIT_SUCCESS;
}
