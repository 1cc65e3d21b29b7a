#pragma once
// Records of rounds for import tests: filled in one go, and their rounds as
// one text that holds every field exactly, their CSV export (whose numbers
// read back bit for bit), to compare records by.

#include "record/csv_export.h"
#include "record/round_id.h"
#include "record/score_store.h"
#include "support/sample_round.h"

/// Adds sampleRound(from) onwards, or `rounds`, to the record at `path`, each with an id of its own.
inline void addRounds(const QString& path, int count, int from, QList<record::RoundRecord> rounds = {})
{
    for (int n = from; n < from + count; ++n)
        rounds.append(sampleRound(n));
    for (record::RoundRecord& round : rounds)
        round.uid = record::randomRoundId();
    if (record::ScoreStore(path).add(rounds).problem)
        qFatal("cannot add rounds to %s", qPrintable(path));
}

inline QByteArray roundsAt(const QString& path)
{
    return record::roundsCsv(record::ScoreStore(path).completeRounds().value);
}

/// How many rounds that text holds (their verdicts on one line each).
inline qsizetype countOf(const QByteArray& rounds)
{
    return rounds.count("\r\n") - 1; // less the headings
}
