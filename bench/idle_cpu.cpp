// CPU used while the game waits with its windows responsive: the title's
// three seconds and a 1.5 s display of the target, against a loop that keeps
// processing events without sleeping.

#include "app/title_window.h"
#include "exposure.h"
#include "measure.h"
#include "record/score_store.h"
#include "toolkit/clock.h"
#include "widgets/error_boundary.h"
#include "toolkit/random_source.h"
#include "toolkit/responsive_wait.h"
#include "ui/main_window.h"

#include <QLineEdit>
#include <cstdlib>

namespace {

constexpr double kTitleSeconds = 3.0;
constexpr double kBusySeconds = 0.5;

} // namespace

int main(int argc, char** argv)
{
    tk::Application app(argc, argv);
    tk::SteadyClock clock;
    tk::ClockSeededRandom random;

    record::ScoreStore scores(record::ScoreStore::defaultPath()); // only read, as at start-up
    auto* title = new Form1(clock, random, scores);
    title->show();
    if (!bench::waitUntilExposed(*title))
        return EXIT_FAILURE;
    const bench::CpuShare titleWait = bench::cpuShareOf([&clock] { tk::waitResponsively(clock, kTitleSeconds); });
    bench::report("title_wait_cpu_percent", titleWait.percentOfCore());
    bench::report("title_wait_wall_s", titleWait.wallSeconds);

    const bench::CpuShare busy = bench::cpuShareOf([] {
        const auto end = bench::monotonicNs() + static_cast<std::int64_t>(kBusySeconds * bench::kNanosecondsPerSecond);
        while (bench::monotonicNs() < end)
            QCoreApplication::processEvents();
    });
    bench::report("busy_loop_cpu_percent", busy.percentOfCore());
    bench::report("busy_loop_wall_s", busy.wallSeconds);

    Frm001* window = Frm001::load({clock, random, scores, title});
    if (!bench::waitUntilExposed(*window))
        return EXIT_FAILURE;
    window->Text1->setText(QStringLiteral("1.5"));
    const bench::CpuShare display = bench::cpuShareOf([window] { window->Command1_Click(); });
    bench::report("display_wait_cpu_percent", display.percentOfCore());
    bench::report("display_wait_wall_s", display.wallSeconds);

    delete window;
    delete title;
    return EXIT_SUCCESS;
}
