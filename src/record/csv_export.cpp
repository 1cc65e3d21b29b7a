#include "record/csv_export.h"

#include "record/csv_format.h"
#include "record/job.h"
#include "record/round_id.h"
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

QString line(const QStringList& fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& text : fields)
        quoted.append(field(text));
    return quoted.join(QLatin1Char(',')) + kLineEnd;
}

// Writes each kind of field in its cells.
struct CellWriter {
    const RoundRecord& round;
    QStringList& cells;

    void operator()(const QByteArray& id) { cells << roundIdText(id); }
    void operator()(const QDateTime& when) { cells << isoText(when); }
    void operator()(double number) { cells << csv::numberText(number); }
    void operator()(int number) { cells << QString::number(number); }
    void operator()(bool flag) { cells << QString::number(flag ? 1 : 0); }
    void operator()(const QString& text) { cells << csv::textCell(text); }
    void operator()(const core::Joints& pose)
    {
        if (round.damaged) {
            cells.resize(cells.size() + csv::kPoseCells); // nothing to write: empty, not zeros that look measured
            return;
        }
        for (const QPointF& joint : pose)
            cells << csv::numberText(joint.x()) << csv::numberText(joint.y());
    }
};

QStringList fieldsOf(const RoundRecord& round)
{
    QStringList cells;
    cells.reserve(csv::ColumnCount);
    CellWriter write {round, cells};
    for (const RoundColumn& column : kRoundColumns)
        std::visit([&](auto field) { write(round.*field); }, column.field);
    return cells;
}

} // namespace

QByteArray roundsCsv(const QList<RoundRecord>& rounds)
{
    QString text = line(csv::headings());
    for (const RoundRecord& round : rounds)
        text += line(fieldsOf(round));
    return kByteOrderMark + text.toUtf8();
}

std::optional<Problem> exportCsv(ScoreStore& store, const QString& path, JobProgress* progress)
{
    // Progress is told, and a stop looked for, once in this many rounds.
    constexpr qint64 kRoundsAStep = 256;
    const Read<qint64> count = store.count();
    if (count.problem)
        return count.problem;
    QSaveFile file(path); // the file is replaced only by a whole export
    if (!file.open(QIODevice::WriteOnly))
        return problem(Action::Export, Reason::NotAccessible, path, file.errorString());
    bool written = file.write(kByteOrderMark + line(csv::headings()).toUtf8()) >= 0;
    qint64 done = 0;
    // Written as they are read: an export of any size holds one round at a time.
    const Read<qint64> read = store.eachCompleteRound([&](const RoundRecord& round) {
        if (progress && done++ % kRoundsAStep == 0) {
            progress->throwIfCancelled();
            progress->set(done, count.value);
        }
        written = written && file.write(line(fieldsOf(round)).toUtf8()) >= 0;
    });
    if (read.problem) {
        file.cancelWriting();
        return read.problem->reason == Reason::Cancelled
            ? problem(Action::Export, Reason::Cancelled, path, read.problem->detail)
            : read.problem;
    }
    if (!written || !file.commit())
        return problem(Action::Export, Reason::IoError, path, file.errorString());
    return std::nullopt;
}

} // namespace record
