#include "record/round_columns.h"

#include "record/time_text.h"

#include <QStringList>

namespace record {

const QString& roundColumns()
{
    static const QString kColumns
        = QStringLiteral("played_at, played_ms, difficulty, display_seconds,"
                         " elapsed_seconds, score, verdict, grid_lines, coached, near_rest, uid");
    return kColumns;
}

QVariantList roundValues(const RoundRecord& round)
{
    // An empty verdict is a verdict: not bound as NULL, which the column refuses.
    const QString verdict = round.verdict.isNull() ? QStringLiteral("") : round.verdict;
    return {isoText(round.playedAt), round.playedAt.toMSecsSinceEpoch(), round.difficulty, round.displaySeconds,
        round.elapsedSeconds, round.score, verdict, round.gridLines, round.coached, round.nearRest, round.uid};
}

QString placeholders(const QString& columns)
{
    return QStringList(columns.count(QLatin1Char(',')) + 1, QStringLiteral("?")).join(QStringLiteral(", "));
}

} // namespace record
