// CHEK with coached practice on: the check, the round kept in the record (on
// disk when it returns), the coach reading the difficulty's coached rounds
// and typing the next display time, and the paint. Beside it, the same check
// with coached practice off, in the same process, and one synced 4 KiB write
// on the record's disk: the floor of any save.

#include "filled_record.h"
#include "measure.h"
#include "probe_game.h"
#include "ui/coach.h"
#include "ui/result_dialog.h"

#include <QFileInfo>
#include <QLineEdit>
#include <cstdlib>
#include <vector>

namespace {

// The first checks create the result dialog, the record file and warm caches; they are not counted.
constexpr int kWarmUpRounds = 5;
constexpr int kRounds = 200;
// Shown for a hundredth of a second: a round the coach reads (a time of 0
// would be left out) without waiting out the times it would choose.
const QString kShortDisplayTime = QStringLiteral("0.01");

// The CHEK handler after a START, and the pass of the event loop that paints it.
std::vector<double> checks(ui::Frm001& window)
{
    std::vector<double> timed;
    for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
        window.Text1->setText(kShortDisplayTime);
        window.Command1_Click();
        const double micros = bench::microsecondsFor([&window] {
            window.Command2_Click();
            QCoreApplication::processEvents();
        });
        if (round >= kWarmUpRounds)
            timed.push_back(micros);
    }
    return timed;
}

} // namespace

int main(int argc, char** argv)
{
    bench::ProbeGame game(argc, argv);
    const std::unique_ptr<ui::Frm001> window = game.showMainWindow(kShortDisplayTime);

    ui::coach::setPracticeOn(false);
    const std::vector<double> plain = checks(*window);
    ui::coach::setPracticeOn(true);
    const std::vector<double> coached = checks(*window);

    const auto kept = game.scores.rounds();
    if (kept.problem || kept.value.size() != kWarmUpRounds + kRounds || !kept.value.last().coached)
        bench::fail("coached practice did not keep every round it checked");
    if (window->resultDialog() == nullptr || !window->resultDialog()->kept())
        bench::fail("the result dialog does not show the round kept");
    bench::report("coached_check_us", bench::summarise(coached));
    bench::report("check_us", bench::summarise(plain));
    const std::vector<double> syncs = bench::syncedPageWrites(QFileInfo(game.scores.path()).path(), kRounds);
    if (syncs.empty())
        bench::fail("cannot write beside the record");
    bench::report("fsync_us", bench::summarise(syncs));
    return EXIT_SUCCESS;
}
