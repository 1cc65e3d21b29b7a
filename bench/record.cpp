// The score record: a durable save against one synced 4 KiB write on the
// same disk; listing 10,000 rounds without their joints against with them;
// one look for changes when there are none.

#include "measure.h"
#include "record/score_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSyncedSaves = 50;
constexpr qint64 kPageBytes = 4096; // SQLite's page
constexpr int kListedRounds = 10'000;
constexpr int kListings = 5;
constexpr int kPolls = 1000;
// tmpfs, where a sync costs nothing, so the 10,000 rounds are laid down in seconds.
const QString kMemoryFolder = QStringLiteral("/dev/shm");

record::RoundRecord aRound(int n)
{
    constexpr double kTwipsApart = 300;
    record::RoundRecord round;
    round.playedAt = QDateTime::currentDateTime();
    round.difficulty = 1 + n % 3;
    round.displaySeconds = 0.75;
    round.elapsedSeconds = n;
    round.score = n % 101;
    round.verdict = QStringLiteral("\u25B3\u25B3\u3000ふつう\u3000\u25B3\u25B3");
    for (std::size_t i = 0; i < record::kJointCount; ++i)
        round.target[i] = round.player[i] = {kTwipsApart * static_cast<double>(i), kTwipsApart + n};
    return round;
}

bool fail(const record::Problem& problem)
{
    std::fprintf(stderr, "%s\n", qPrintable(problem.detail));
    return false;
}

bool syncedSaves(const QString& folder)
{
    record::ScoreStore store(folder + QStringLiteral("/scores.sqlite"));
    std::vector<double> saves;
    for (int i = 0; i < kSyncedSaves; ++i) {
        record::RoundRecord round = aRound(i);
        std::optional<record::Problem> problem;
        saves.push_back(bench::microsecondsFor([&] { problem = store.append(round); }));
        if (problem)
            return fail(*problem);
    }
    bench::report("save_us", bench::summarise(saves));

    QFile file(folder + QStringLiteral("/page"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray page(kPageBytes, 'x');
    std::vector<double> syncs;
    for (int i = 0; i < kSyncedSaves; ++i)
        syncs.push_back(bench::microsecondsFor([&] {
            file.seek(0);
            file.write(page);
            file.flush();
            ::fsync(file.handle());
        }));
    bench::report("fsync_us", bench::summarise(syncs));
    return true;
}

bool listings(const QString& folder)
{
    record::ScoreStore store(folder + QStringLiteral("/scores.sqlite"));
    for (int i = 0; i < kListedRounds; ++i) {
        record::RoundRecord round = aRound(i);
        if (const auto problem = store.append(round))
            return fail(*problem);
    }
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
    QTemporaryDir memory(QDir(kMemoryFolder).exists() ? kMemoryFolder + QStringLiteral("/tormell-XXXXXX")
                                                      : QDir::tempPath() + QStringLiteral("/tormell-XXXXXX"));
    if (!disk.isValid() || !memory.isValid() || !syncedSaves(disk.path()) || !listings(memory.path()))
        return EXIT_FAILURE;
    return EXIT_SUCCESS;
}
