#include "record/record_source.h"

#include "record/failure.h"
#include "record/log.h"
#include "record/private_copy.h"
#include "record/round_checks.h"
#include "record/round_id.h"
#include "record/score_store.h"

namespace record {

SourceRounds roundsFromRecord(const QString& path, const RoundSink& sink)
{
    // Progress is told once in this many rounds.
    constexpr qint64 kRoundsAStep = 256;
    SourceRounds source;
    std::optional<PrivateCopy> copy;
    try {
        copy.emplace(path);
    } catch (const Failure& failure) {
        qCWarning(lcRecord).noquote() << "import of" << path << "cannot be copied:" << failure.detail;
        return refusedSource({Refusal::CannotCopy});
    }
    // The copy is this program's own: brought up to date, the rounds of an
    // older file get their ids as the player's own would, and one found
    // damaged is moved aside within it.
    ScoreStore store(copy->path());
    const Read<qint64> count = store.count();
    const std::optional<Problem> notice = store.takeNotice();
    if (store.readOnly())
        source.refused = FileRefusal(Refusal::NewerRecord);
    else if (notice)
        source.refused = FileRefusal(Refusal::DamagedRecord);
    else if (count.problem)
        source.refused = FileRefusal {Refusal::RecordUnreadable, {}, count.problem};
    else if (store.foundVersion() == 0)
        source.refused = FileRefusal(Refusal::EmptyDatabase);
    if (source.refused) {
        qCWarning(lcRecord).noquote() << "import of" << path << "refused:" << (notice ? notice->detail : QString());
        return source;
    }
    std::optional<Failure> sinkFailure; // the sink's, which ends the import: not the file's fault
    qint64 gone = 0;
    const Read<qint64> read = store.eachCompleteRound([&](const RoundRecord& round) {
        try {
            if (++gone % kRoundsAStep == 0 && count.value > 0)
                sink.progressed(static_cast<double>(gone) / static_cast<double>(count.value));
            if (round.damaged) {
                ++source.leftOut[LeftOut::DamagedJoints];
            } else if (round.uid.size() != kRoundIdBytes) {
                ++source.leftOut[LeftOut::RoundWithoutId];
            } else if (!withinRange(round) || !keepableMoment(round.playedAt)) {
                ++source.leftOut[LeftOut::RoundOutOfRange];
            } else {
                sink.take(round);
                ++source.read;
            }
        } catch (const Failure& failure) {
            sinkFailure = failure;
            throw;
        }
    });
    if (sinkFailure)
        throw *sinkFailure;
    if (read.problem)
        source.refused = FileRefusal {Refusal::RecordUnreadable, {}, read.problem};
    return source;
}

} // namespace record
