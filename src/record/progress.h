#pragma once
// How a player's rounds of one setting add up: the figures the record window shows.

#include "record/round_record.h"
#include "tormell_export.h"

#include <QList>

namespace record {

/// Rounds the running average looks back over.
inline constexpr int kAverageWindow = 10;

struct Progress {
    int rounds = 0;
    int best = 0;             // 0 when there are no rounds
    double lastTenAverage = 0; // of the last kAverageWindow rounds, or of all when fewer
};

/// The figures of `rounds`, oldest first.
TORMELL_EXPORT Progress progressOf(const QList<RoundSummary>& rounds);

/// For each round, oldest first, the average score of it and the rounds
/// before it, kAverageWindow at most: the line drawn beside the scores.
TORMELL_EXPORT QList<double> runningAverages(const QList<RoundSummary>& rounds);

} // namespace record
