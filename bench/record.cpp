// The score record: a durable save against one synced 4 KiB write on the
// same disk; listing 10,000 rounds without their joints against with them;
// one look for changes when there are none. Imports have a probe of their own.

#include "filled_record.h"
#include "measure.h"
#include "record/score_store.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kSyncedSaves = 50;
constexpr int kListedRounds = 10'000;
constexpr int kListings = 5;
constexpr int kPolls = 1000;

bool syncedSaves(const QString& folder)
{
    record::ScoreStore store(folder + QStringLiteral("/scores.sqlite"));
    std::vector<double> saves;
    for (int i = 0; i < kSyncedSaves; ++i) {
        record::RoundRecord round = bench::aRound(i);
        std::optional<record::Problem> problem;
        saves.push_back(bench::microsecondsFor([&] { problem = store.append(round); }));
        if (problem) {
            std::fprintf(stderr, "%s\n", qPrintable(problem->detail));
            return false;
        }
    }
    bench::report("save_us", bench::summarise(saves));
    const std::vector<double> syncs = bench::syncedPageWrites(folder, kSyncedSaves);
    bench::report("fsync_us", bench::summarise(syncs));
    return !syncs.empty();
}

bool listings(const QString& folder)
{
    const QString path = folder + QStringLiteral("/scores.sqlite");
    if (!bench::saveRounds(path, kListedRounds))
        return false;
    record::ScoreStore store(path);
    std::vector<double> light, complete, polls;
    for (int i = 0; i < kListings; ++i) {
        qsizetype count = 0;
        light.push_back(bench::microsecondsFor([&] { count = store.rounds().value.size(); }));
        complete.push_back(bench::microsecondsFor([&] { count += store.completeRounds().value.size(); }));
        if (count != 2 * kListedRounds)
            return false;
    }
    for (int i = 0; i < kPolls; ++i)
        polls.push_back(bench::microsecondsFor([&] { store.pollForChanges(); }));
    bench::report("list_us", bench::summarise(light));
    bench::report("list_complete_us", bench::summarise(complete));
    bench::report("poll_us", bench::summarise(polls));
    bench::reportInteger("listed_rounds", kListedRounds);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir disk;
    QTemporaryDir memory(bench::memoryFolderTemplate());
    if (!disk.isValid() || !memory.isValid() || !syncedSaves(disk.path()) || !listings(memory.path()))
        return EXIT_FAILURE;
    return EXIT_SUCCESS;
}
