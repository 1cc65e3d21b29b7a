#include "record/csv_export.h"

#include "record/score_store.h"
#include "record/time_text.h"

#include <QSaveFile>
#include <QStringList>

namespace record {

namespace {

const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");
const QString kLineEnd = QStringLiteral("\r\n");

// RFC 4180: a field holding a comma, a quote, CR or LF is quoted, its quotes doubled.
QString field(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\r'))
        && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A text a spreadsheet would take for a formula (or for one after a tab or a
// line break) is written after an apostrophe, which makes it show as text.
// Only texts: a negative number must stay a number.
QString asText(const QString& text)
{
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && kFormulaStarts.contains(text.front()) ? QLatin1Char('\'') + text : text;
}

QString line(const QStringList& fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& text : fields)
        quoted.append(field(text));
    return quoted.join(QLatin1Char(',')) + kLineEnd;
}

QStringList header()
{
    QStringList names {QStringLiteral("id"), QStringLiteral("played_at"), QStringLiteral("difficulty"),
        QStringLiteral("display_seconds"), QStringLiteral("elapsed_seconds"), QStringLiteral("score"),
        QStringLiteral("verdict"), QStringLiteral("grid_lines")};
    for (const QString& pose : {QStringLiteral("target"), QStringLiteral("player")})
        for (std::size_t joint = 1; joint <= core::kJointCount; ++joint)
            names << QStringLiteral("%1_x%2").arg(pose).arg(joint) << QStringLiteral("%1_y%2").arg(pose).arg(joint);
    // Added after the joints so that the columns before keep their places.
    names << QStringLiteral("coached") << QStringLiteral("damaged") << QStringLiteral("near_rest");
    return names;
}

QStringList fieldsOf(const RoundRecord& round, NumberText numberText)
{
    QStringList fields {QString::number(round.id), isoText(round.playedAt), numberText(round.difficulty),
        numberText(round.displaySeconds), numberText(round.elapsedSeconds), QString::number(round.score),
        asText(round.verdict), QString::number(round.gridLines)};
    constexpr qsizetype kJointCells = 2 * 2 * static_cast<qsizetype>(core::kJointCount); // two poses, x and y
    if (round.damaged) {
        fields.resize(fields.size() + kJointCells); // nothing to write: empty, not zeros that look measured
    } else {
        for (const core::Joints* pose : {&round.target, &round.player})
            for (const QPointF& joint : *pose)
                fields << numberText(joint.x()) << numberText(joint.y());
    }
    fields << QString::number(round.coached ? 1 : 0) << QString::number(round.damaged ? 1 : 0)
           << QString::number(round.nearRest ? 1 : 0);
    return fields;
}

} // namespace

QByteArray roundsCsv(const QList<RoundRecord>& rounds, NumberText numberText)
{
    QString text = line(header());
    for (const RoundRecord& round : rounds)
        text += line(fieldsOf(round, numberText));
    return kByteOrderMark + text.toUtf8();
}

std::optional<Problem> exportCsv(ScoreStore& store, const QString& path, NumberText numberText)
{
    const Read<QList<RoundRecord>> rounds = store.completeRounds();
    if (rounds.problem)
        return rounds.problem;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return problem(Action::Export, Reason::NotAccessible, path, file.errorString());
    if (file.write(roundsCsv(rounds.value, numberText)) < 0 || !file.commit())
        return problem(Action::Export, Reason::IoError, path, file.errorString());
    return std::nullopt;
}

} // namespace record
