#pragma once
// The rounds of a record file, and whether two sets of rounds are the same:
// every field a round holds, bit for bit, matched by their ids.

#include "record/round_id.h"
#include "record/score_store.h"
#include "record/time_text.h"

#include <QList>
#include <algorithm>
#include <bit>
#include <cstring>

/// Every round of the record at `path`, with its joints.
inline QList<record::RoundRecord> roundsAt(const QString& path)
{
    record::ScoreStore store(path);
    return store.completeRounds().value;
}

/// How `a` and `b` differ, in words; empty when they hold the same rounds.
inline QString roundsDifference(QList<record::RoundRecord> a, QList<record::RoundRecord> b)
{
    if (a.size() != b.size())
        return QStringLiteral("%1 rounds against %2").arg(a.size()).arg(b.size());
    const auto byId = [](const record::RoundRecord& x, const record::RoundRecord& y) { return x.uid < y.uid; };
    std::sort(a.begin(), a.end(), byId);
    std::sort(b.begin(), b.end(), byId);
    const auto sameBits = [](double x, double y) { return std::bit_cast<quint64>(x) == std::bit_cast<quint64>(y); };
    for (qsizetype i = 0; i < a.size(); ++i) {
        const record::RoundRecord &x = a[i], &y = b[i];
        const bool same = x.uid == y.uid && x.playedAt.toMSecsSinceEpoch() == y.playedAt.toMSecsSinceEpoch()
            && record::isoText(x.playedAt) == record::isoText(y.playedAt) && sameBits(x.difficulty, y.difficulty)
            && sameBits(x.displaySeconds, y.displaySeconds) && sameBits(x.elapsedSeconds, y.elapsedSeconds)
            && x.score == y.score && x.verdict == y.verdict && x.gridLines == y.gridLines && x.coached == y.coached
            && x.nearRest == y.nearRest && x.damaged == y.damaged
            && std::memcmp(x.target.data(), y.target.data(), sizeof x.target) == 0
            && std::memcmp(x.player.data(), y.player.data(), sizeof x.player) == 0;
        if (!same)
            return QStringLiteral("round %1 differs").arg(record::roundIdText(x.uid));
    }
    return {};
}
