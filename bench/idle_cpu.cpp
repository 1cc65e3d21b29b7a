// CPU used while the game waits with its windows responsive: the title's
// three seconds and a 1.5 s display of the target, against a loop that keeps
// processing events without sleeping.

#include "app/title_window.h"
#include "exposure.h"
#include "measure.h"
#include "probe_game.h"
#include "toolkit/responsive_wait.h"

#include <cstdlib>
#include <memory>

namespace {

constexpr double kTitleSeconds = 3.0;
constexpr double kBusySeconds = 0.5;
// The longest display the slider offers.
const QString kDisplaySeconds = QStringLiteral("1.5");

} // namespace

int main(int argc, char** argv)
{
    bench::ProbeGame game(argc, argv);
    const std::unique_ptr<app::Form1> title = std::make_unique<app::Form1>(game.clock, game.random, game.scores);
    title->show();
    if (!bench::waitUntilExposed(*title))
        return EXIT_FAILURE;
    const bench::CpuShare titleWait
        = bench::cpuShareOf([&game] { toolkit::waitResponsively(game.clock, kTitleSeconds); });
    bench::report("title_wait_cpu_percent", titleWait.percentOfCore());
    bench::report("title_wait_wall_s", titleWait.wallSeconds);

    const bench::CpuShare busy = bench::cpuShareOf([] {
        const auto end = bench::monotonicNs() + static_cast<std::int64_t>(kBusySeconds * bench::kNanosecondsPerSecond);
        while (bench::monotonicNs() < end)
            QCoreApplication::processEvents();
    });
    bench::report("busy_loop_cpu_percent", busy.percentOfCore());
    bench::report("busy_loop_wall_s", busy.wallSeconds);

    const std::unique_ptr<ui::Frm001> window = game.showMainWindow(kDisplaySeconds, title.get());
    const bench::CpuShare display = bench::cpuShareOf([&window] { window->Command1_Click(); });
    bench::report("display_wait_cpu_percent", display.percentOfCore());
    bench::report("display_wait_wall_s", display.wallSeconds);
    return EXIT_SUCCESS;
}
