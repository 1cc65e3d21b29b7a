#include "record/record_source.h"

#include "record/failure.h"
#include "record/log.h"
#include "record/private_copy.h"
#include "record/round_id.h"
#include "record/score_store.h"

namespace record {

SourceRounds roundsFromRecord(const QString& path)
{
    SourceRounds source;
    try {
        // The copy is this program's own: brought up to date, the rounds of an
        // older file get their ids as the player's own would, and one found
        // damaged is moved aside within it.
        const PrivateCopy copy(path);
        ScoreStore store(copy.path());
        Read<QList<RoundRecord>> read = store.completeRounds();
        const std::optional<Problem> notice = store.takeNotice();
        if (store.readOnly())
            source.refused = QStringLiteral("新しい版のTormellで書かれた記録のため、この版では取り込めません。");
        else if (notice)
            source.refused = QStringLiteral("Tormellの記録ではないか、記録ファイルが壊れています。");
        else if (read.problem)
            source.refused = read.problem->message;
        else if (store.foundVersion() == 0)
            source.refused = QStringLiteral("Tormellの記録ではありません（記録の入っていないデータベースです）。");
        if (!source.refused.isEmpty()) {
            qCWarning(lcRecord).noquote() << "import of" << path << "refused:" << (notice ? notice->detail : QString());
            return source;
        }
        for (RoundRecord& round : read.value) {
            if (round.damaged)
                ++source.leftOut[QStringLiteral("姿勢の記録が壊れている回")];
            else if (round.uid.size() != kRoundIdBytes)
                ++source.leftOut[QStringLiteral("IDが読めない回")];
            else
                source.rounds.append(std::move(round));
        }
    } catch (const Failure& failure) {
        qCWarning(lcRecord).noquote() << "import of" << path << "cannot be copied:" << failure.detail;
        source.refused = QStringLiteral("ファイルを読めません。");
    }
    return source;
}

} // namespace record
