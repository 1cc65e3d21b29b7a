#include "record/record_source.h"

#include "record/failure.h"
#include "record/log.h"
#include "record/private_copy.h"
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
        source.refused = QStringLiteral("ファイルを読めません。");
        return source;
    }
    // The copy is this program's own: brought up to date, the rounds of an
    // older file get their ids as the player's own would, and one found
    // damaged is moved aside within it.
    ScoreStore store(copy->path());
    const Read<qint64> count = store.count();
    const std::optional<Problem> notice = store.takeNotice();
    if (store.readOnly())
        source.refused = QStringLiteral("新しい版のTormellで書かれた記録のため、この版では取り込めません。");
    else if (notice)
        source.refused = QStringLiteral("Tormellの記録ではないか、記録ファイルが壊れています。");
    else if (count.problem)
        source.problem = count.problem;
    else if (store.foundVersion() == 0)
        source.refused = QStringLiteral("Tormellの記録ではありません（記録の入っていないデータベースです）。");
    if (!source.refused.isEmpty() || source.problem) {
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
                ++source.leftOut[QStringLiteral("姿勢の記録が壊れている回")];
            } else if (round.uid.size() != kRoundIdBytes) {
                ++source.leftOut[QStringLiteral("IDが読めない回")];
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
        source.problem = read.problem;
    return source;
}

} // namespace record
