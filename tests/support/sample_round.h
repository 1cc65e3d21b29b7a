#pragma once
// A round to save: every field set, each joint its own value, told apart by `n`.

#include "record/round_record.h"
#include "record/score_store.h"
#include "support/verdicts.h"

#include <QDateTime>
#include <QList>

inline record::RoundRecord sampleRound(int n = 0)
{
    // Joints spread across the canvas, in twips, with fractions a float could not hold.
    constexpr double kJointStep = 345.678901234567;
    constexpr double kPlayerShift = 10.0 / 3.0;
    const QDateTime firstPlay(QDate(2026, 12, 7), QTime(16, 5, 3, 120));

    record::RoundRecord round;
    round.playedAt = firstPlay.addSecs(n);
    round.difficulty = 1 + n % 3;
    round.displaySeconds = 0.75;
    round.elapsedSeconds = 12.5 + n;
    round.score = n % 101;
    round.verdict = verdict::kVeryGood;
    round.gridLines = n % 12;
    for (std::size_t i = 0; i < core::kJointCount; ++i) {
        const double at = kJointStep * static_cast<double>(i + 1) + n;
        round.target[i] = {at, 2 * at};
        round.player[i] = {at + kPlayerShift, 2 * at - kPlayerShift};
    }
    return round;
}

/// Saves `count` rounds of one setting (difficulty 1), sampleRound(3 * from)
/// onwards, three seconds apart; their ids, or none if a save failed.
inline QList<qint64> saveRounds(record::ScoreStore& store, int count, int from = 0)
{
    constexpr int kSameDifficulty = 3; // sampleRound()'s difficulty comes round every three
    QList<qint64> ids;
    for (int n = from; n < from + count; ++n) {
        record::RoundRecord round = sampleRound(kSameDifficulty * n);
        if (store.append(round))
            return {};
        ids.append(round.id);
    }
    return ids;
}
