// The whole 点数保存 click: the result dialog's handler stores the checked
// round in the record, on disk when it returns, and closes the dialog. Beside
// it, one synced 4 KiB write on the same disk.

#include "filled_record.h"
#include "measure.h"
#include "probe_game.h"
#include "ui/result_dialog.h"

#include <QFileInfo>
#include <QPointer>
#include <cstdlib>
#include <vector>

namespace {

// The first saves create the file and warm caches; they are not counted.
constexpr int kWarmUpSaves = 5;
constexpr int kSaves = 200;

} // namespace

int main(int argc, char** argv)
{
    bench::ProbeGame game(argc, argv);
    const std::unique_ptr<ui::Frm001> window = game.showMainWindow(bench::kNoDisplayTime);

    std::vector<double> saves;
    // What one save adds to the write-ahead log, which grows with each until SQLite first uses it again.
    const QString wal = game.scores.path() + QStringLiteral("-wal");
    qint64 walBytesASave = 0;
    for (int save = 0; save < kWarmUpSaves + kSaves; ++save) {
        window->Command1_Click();
        window->Command2_Click();
        QCoreApplication::processEvents(); // the dialog on screen, as the player clicks it
        const QPointer<ui::FrmMSG> dialog = window->resultDialog();
        if (dialog == nullptr || !dialog->isVisible())
            bench::fail("CHEK did not show the result dialog");
        // The handler a click on 点数保存 runs, and the pass of the event loop after it.
        qint64 stored = 0;
        const qint64 walBefore = QFileInfo(wal).size();
        const double micros = bench::microsecondsFor([&dialog, &stored] {
            dialog->Command1_Click();
            stored = dialog->round() ? dialog->round()->id : 0;
            QCoreApplication::processEvents();
        });
        if (stored == 0 || (dialog != nullptr && !dialog->isHidden()))
            bench::fail("点数保存 did not store the round and close the dialog");
        if (save >= kWarmUpSaves)
            saves.push_back(micros);
        if (save == kWarmUpSaves)
            walBytesASave = QFileInfo(wal).size() - walBefore;
    }
    if (game.scores.rounds().value.size() != kWarmUpSaves + kSaves)
        bench::fail("the record does not hold every round saved");
    bench::report("save_click_us", bench::summarise(saves));
    const std::vector<double> syncs = bench::syncedPageWrites(QFileInfo(game.scores.path()).path(), kSaves);
    if (syncs.empty())
        bench::fail("cannot write beside the record");
    bench::report("fsync_us", bench::summarise(syncs));
    const std::vector<double> appends
        = bench::syncedAppends(QFileInfo(game.scores.path()).path(), kSaves, walBytesASave);
    if (appends.empty())
        bench::fail("cannot tell what a save adds to the record's log, or append as much beside it");
    bench::report("append_us", bench::summarise(appends));
    bench::reportInteger("append_bytes", walBytesASave);
    return EXIT_SUCCESS;
}
