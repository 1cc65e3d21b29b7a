#pragma once
// Score records for the probes: rounds to save, a record laid down with many
// of them, and the cost of one synced write on the disk a record lives on.

#include "core/staircase.h"
#include "measure.h"
#include "record/score_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <cstdio>
#include <random>
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
    constexpr int kHeights = 5000; // twips: each round's figure a little apart, all on the 6,000-twip canvas
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
        round.target[i] = round.player[i] = {kTwipsApart * static_cast<double>(i), kTwipsApart + n % kHeights};
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

/// What a record is laid down with.
enum class Filling {
    Rounds, ///< aRound()
    CoachedRounds, ///< aCoachedRound()
    YearOfPractice, ///< yearOfPractice()
};

/// A year of coached practice at difficulty 2 ending today: kRoundsADay
/// rounds a day, a minute apart from 9 o'clock, by a simulated player whose
/// 75 % point falls from 1 s to 0.35 s over the year (slope 4, 2 % lapses),
/// each display time chosen by the coach's staircase.
inline constexpr int kDaysOfPractice = 365;
inline constexpr int kRoundsADay = 30;
inline QList<record::RoundRecord> yearOfPractice()
{
    constexpr double kFirstT75 = 1.0, kLastT75 = 0.35, kSlope = 4, kLapse = 0.02, kFirstSeconds = 0.75;
    constexpr int kFirstHour = 9;
    constexpr qint64 kSecondsApart = 60;
    const QDate today = QDate::currentDate();
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<core::Trial> trials;
    QList<record::RoundRecord> rounds;
    for (int day = 0; day < kDaysOfPractice; ++day) {
        const double t75 = kFirstT75 * std::pow(kLastT75 / kFirstT75, double(day) / (kDaysOfPractice - 1));
        const double offset = std::log(0.75 / (1 - kLapse - 0.75)) / kSlope;
        for (int n = 0; n < kRoundsADay; ++n) {
            const double t = core::nextDisplaySeconds(trials, kFirstSeconds);
            const double chance = (1 - kLapse) / (1 + std::exp(-kSlope * (std::log(t / t75) + offset)));
            trials.push_back({t, unit(random) < chance});
            record::RoundRecord round = aRound(static_cast<int>(rounds.size()));
            round.playedAt
                = QDateTime(today.addDays(day - kDaysOfPractice + 1), QTime(kFirstHour, 0)).addSecs(kSecondsApart * n);
            round.displaySeconds = t;
            round.score = trials.back().remembered ? 80 : 20;
            round.coached = true;
            rounds.append(round);
        }
    }
    return rounds;
}

/// Saves `count` rounds (or a year's) into the record at `path`, one save each
/// as the game saves them. Only quick where a sync costs nothing (tmpfs).
/// False, with the store's reason on standard error, if a save fails.
inline bool saveRounds(const QString& path, int count, Filling filling = Filling::Rounds)
{
    record::ScoreStore store(path);
    QList<record::RoundRecord> rounds;
    if (filling == Filling::YearOfPractice)
        rounds = yearOfPractice();
    else
        for (int n = 0; n < count; ++n)
            rounds.append(filling == Filling::CoachedRounds ? aCoachedRound(n) : aRound(n));
    for (record::RoundRecord& round : rounds) {
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

/// Writes a record of `count` rounds (or a year's) to `path`, wherever it
/// lies: saved on tmpfs, then copied once the store has closed it (and so has
/// nothing left in a companion file).
inline bool writeFilledRecord(const QString& path, int count, Filling filling)
{
    const QTemporaryDir memory(memoryFolderTemplate());
    const QString laid = memory.filePath(QStringLiteral("scores.sqlite"));
    if (!memory.isValid() || !saveRounds(laid, count, filling))
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

/// Wall time of `count` appends of `bytes` each to a file in `folder`, each
/// followed by fdatasync: a synced write that lengthens its file, which must
/// then also write where the file's new blocks lie, as a save does to the
/// record's write-ahead log until the log is first used again.
inline std::vector<double> syncedAppends(const QString& folder, int count, qint64 bytes)
{
    QFile file(folder + QStringLiteral("/appended"));
    if (bytes <= 0 || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    const QByteArray frames(bytes, 'x');
    std::vector<double> syncs;
    for (int i = 0; i < count; ++i)
        syncs.push_back(microsecondsFor([&] {
            file.write(frames);
            file.flush();
            ::fdatasync(file.handle());
        }));
    file.remove();
    return syncs;
}

} // namespace bench
