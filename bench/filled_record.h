#pragma once
// Score records for the probes: rounds to save, a record laid down with many
// of them, and the cost of one synced write on the disk a record lives on.

#include "measure.h"
#include "record/score_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace bench {

/// The nth round of a player who keeps to one setting and plays once a
/// minute: a record window showing that setting holds every round.
inline record::RoundRecord aRound(int n)
{
    constexpr double kTwipsApart = 300;
    constexpr qint64 kSecondsApart = 60;
    constexpr int kScores = 101; // 0..100
    // A week ago: 10,000 rounds a minute apart end about now, none still to
    // come, all within the coach's four weeks.
    constexpr qint64 kDaysBack = 7;
    static const QDateTime firstPlay = QDateTime::currentDateTime().addDays(-kDaysBack);
    record::RoundRecord round;
    round.playedAt = firstPlay.addSecs(kSecondsApart * n);
    round.difficulty = 2;
    round.displaySeconds = 0.75;
    round.elapsedSeconds = n;
    round.score = n % kScores;
    round.verdict = QStringLiteral("\u25B3\u25B3\u3000ふつう\u3000\u25B3\u25B3");
    for (std::size_t i = 0; i < core::kJointCount; ++i)
        round.target[i] = round.player[i] = {kTwipsApart * static_cast<double>(i), kTwipsApart + n};
    return round;
}

/// The nth round of a player in coached practice at the same difficulty:
/// every other round at the setting the record window shows, the others at
/// the times a staircase would choose around it.
inline record::RoundRecord aCoachedRound(int n)
{
    static constexpr std::array kOtherTimes = {0.4, 0.5, 0.63, 1.0, 1.26};
    record::RoundRecord round = aRound(n);
    round.coached = true;
    if (n % 2 != 0)
        round.displaySeconds = kOtherTimes[static_cast<std::size_t>(n / 2) % kOtherTimes.size()];
    return round;
}

/// Saves `count` rounds into the record at `path`, one save each as the
/// game saves them: coached ones if `coached`. Only quick where a sync costs
/// nothing (tmpfs). False, with the store's reason on standard error, if a
/// save fails.
inline bool saveRounds(const QString& path, int count, bool coached = false)
{
    record::ScoreStore store(path);
    for (int n = 0; n < count; ++n) {
        record::RoundRecord round = coached ? aCoachedRound(n) : aRound(n);
        if (const auto problem = store.append(round)) {
            std::fprintf(stderr, "%s\n", qPrintable(problem->detail));
            return false;
        }
    }
    return true;
}

/// A folder on tmpfs if there is one, where a sync costs nothing: thousands
/// of rounds are laid down there in seconds rather than minutes.
inline QString memoryFolderTemplate()
{
    const QString shm = QStringLiteral("/dev/shm");
    return (QDir(shm).exists() ? shm : QDir::tempPath()) + QStringLiteral("/tormell-XXXXXX");
}

/// Writes a record of `count` rounds (coached ones if `coached`) to `path`, wherever it lies: saved on
/// tmpfs, then copied once the store has closed it (and so has nothing left
/// in a companion file).
inline bool writeFilledRecord(const QString& path, int count, bool coached)
{
    const QTemporaryDir memory(memoryFolderTemplate());
    const QString laid = memory.filePath(QStringLiteral("scores.sqlite"));
    if (!memory.isValid() || !saveRounds(laid, count, coached))
        return false;
    if (!QFile::copy(laid, path)) {
        std::fprintf(stderr, "cannot copy the record to %s\n", qPrintable(path));
        return false;
    }
    return true;
}

/// Wall time of `count` 4 KiB writes, each followed by fsync, on a file in
/// `folder`: the cost of a single synced write on that disk, in microseconds.
inline std::vector<double> syncedPageWrites(const QString& folder, int count)
{
    constexpr qint64 kPageBytes = 4096; // SQLite's page
    QFile file(folder + QStringLiteral("/page"));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    const QByteArray page(kPageBytes, 'x');
    std::vector<double> syncs;
    for (int i = 0; i < count; ++i)
        syncs.push_back(microsecondsFor([&] {
            file.seek(0);
            file.write(page);
            file.flush();
            ::fsync(file.handle());
        }));
    return syncs;
}

} // namespace bench
