#include "record/progress.h"

#include <algorithm>

namespace record {

Progress progressOf(const QList<RoundSummary>& rounds)
{
    Progress progress;
    progress.rounds = static_cast<int>(rounds.size());
    for (const RoundSummary& round : rounds)
        progress.best = std::max(progress.best, round.score);
    if (!rounds.isEmpty())
        progress.lastTenAverage = runningAverages(rounds).last();
    return progress;
}

QList<double> runningAverages(const QList<RoundSummary>& rounds)
{
    QList<double> averages;
    averages.reserve(rounds.size());
    qint64 sum = 0;
    for (qsizetype i = 0; i < rounds.size(); ++i) {
        sum += rounds[i].score;
        if (i >= kAverageWindow)
            sum -= rounds[i - kAverageWindow].score;
        const auto counted = std::min<qsizetype>(i + 1, kAverageWindow);
        averages.append(static_cast<double>(sum) / static_cast<double>(counted));
    }
    return averages;
}

} // namespace record
