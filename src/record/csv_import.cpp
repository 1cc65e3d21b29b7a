#include "record/csv_import.h"

#include "record/csv_format.h"
#include "record/csv_rows.h"
#include "record/round_checks.h"
#include "record/round_id.h"
#include "record/time_text.h"

#include <QDateTime>
#include <QStringList>
#include <array>

namespace record {

namespace {

constexpr int kMaxScore = 100;
constexpr int kMaxGridLines = 11; // the grid list's choices, 0..11

// An integer from `low` to `high`.
std::optional<int> integerOf(const QString& cell, int low, int high)
{
    bool ok = false;
    const int value = cell.trimmed().toInt(&ok);
    return ok && value >= low && value <= high ? std::optional(value) : std::nullopt;
}

// A moment with its offset written out: a time without one would be read in
// whatever zone the importing computer is in.
QDateTime momentOf(const QString& cell)
{
    if (!utcOffsetOf(cell) && !cell.endsWith(u'Z'))
        return {};
    return QDateTime::fromString(cell, Qt::ISODateWithMs);
}

// The round of one row, or the reason it is left out. `at` gives each column's place in the row.
std::optional<LeftOut> readRow(const QStringList& cells, const std::array<qsizetype, csv::ColumnCount>& at,
    qsizetype headingCount, RoundRecord& round)
{
    if (cells.size() != headingCount)
        return LeftOut::CellCount;
    const auto cell = [&](int column) { return cells[at[static_cast<std::size_t>(column)]]; };
    round.uid = roundIdOf(cell(csv::Id).trimmed());
    if (round.uid.isEmpty())
        return LeftOut::BadId;
    round.playedAt = momentOf(cell(csv::PlayedAt).trimmed());
    if (!round.playedAt.isValid())
        return LeftOut::BadTime;
    round.verdict = csv::textOf(cell(csv::Verdict));
    const auto difficulty = csv::numberOf(cell(csv::Difficulty));
    const auto displaySeconds = csv::numberOf(cell(csv::DisplaySeconds));
    const auto elapsedSeconds = csv::numberOf(cell(csv::ElapsedSeconds));
    const auto score = integerOf(cell(csv::Score), 0, kMaxScore);
    const auto gridLines = integerOf(cell(csv::GridLines), 0, kMaxGridLines);
    const auto coached = integerOf(cell(csv::Coached), 0, 1);
    const auto damaged = integerOf(cell(csv::Damaged), 0, 1);
    const auto nearRest = integerOf(cell(csv::NearRest), 0, 1);
    if (!difficulty || !displaySeconds || !elapsedSeconds || !score || !gridLines || !coached || !damaged || !nearRest)
        return LeftOut::BadNumber;
    round.difficulty = *difficulty;
    round.displaySeconds = *displaySeconds;
    round.elapsedSeconds = *elapsedSeconds;
    round.score = *score;
    round.gridLines = *gridLines;
    round.coached = *coached == 1;
    round.nearRest = *nearRest == 1;
    if (*damaged == 1)
        return LeftOut::MissingJoints;
    int column = csv::FirstJoint;
    for (core::Joints* pose : {&round.target, &round.player}) {
        for (QPointF& joint : *pose) {
            const QString x = cell(column++), y = cell(column++);
            if (x.trimmed().isEmpty() || y.trimmed().isEmpty())
                return LeftOut::MissingJoints;
            const auto xValue = csv::numberOf(x), yValue = csv::numberOf(y);
            if (!xValue || !yValue)
                return LeftOut::BadNumber;
            joint = {*xValue, *yValue};
        }
    }
    return std::nullopt;
}

} // namespace

SourceRounds roundsFromCsv(QIODevice& file, const RoundSink& sink)
{
    // Progress is told once in this many rows.
    constexpr qint64 kRowsAStep = 256;
    SourceRounds source;
    CsvRows rows(file);
    const CsvRows::Next first = rows.next();
    if (first == CsvRows::Next::End)
        return refusedSource({Refusal::NothingWritten});
    const QStringList headings = first == CsvRows::Next::Row ? rows.cells() : QStringList();
    std::array<qsizetype, csv::ColumnCount> at {};
    QStringList missing;
    for (int column = 0; column < csv::ColumnCount; ++column) {
        const QString& heading = csv::headings()[column];
        at[static_cast<std::size_t>(column)] = headings.indexOf(heading);
        if (at[static_cast<std::size_t>(column)] < 0)
            missing << heading;
    }
    // Before rounds had ids, the export wrote English headings and numbers to
    // 15 digits: its rounds could not be told from the same rounds in a record.
    if (headings.contains(QStringLiteral("played_at")))
        return refusedSource({Refusal::OlderExport});
    if (missing.size() == csv::ColumnCount)
        return refusedSource({Refusal::NeitherKind});
    if (!missing.isEmpty())
        return refusedSource({Refusal::MissingColumns, missing});
    const qint64 size = file.size();
    for (qint64 row = 1;; ++row) {
        const CsvRows::Next next = rows.next();
        if (next == CsvRows::Next::End)
            break;
        RoundRecord round;
        if (next == CsvRows::Next::Unreadable) {
            ++source.leftOut[LeftOut::UnreadableRow];
        } else if (const std::optional<LeftOut> why = readRow(rows.cells(), at, headings.size(), round)) {
            ++source.leftOut[*why];
        } else if (!keepableMoment(round.playedAt)) {
            ++source.leftOut[LeftOut::BadTime];
        } else if (!withinRange(round) || !drawable(round.target) || !drawable(round.player)) {
            ++source.leftOut[LeftOut::BadNumber];
        } else {
            sink.take(round);
            ++source.read;
        }
        if (row % kRowsAStep == 0 && size > 0)
            sink.progressed(static_cast<double>(rows.bytesRead()) / static_cast<double>(size));
    }
    if (rows.readFailed())
        source.refused = FileRefusal(Refusal::ReadFailed);
    return source;
}

} // namespace record
