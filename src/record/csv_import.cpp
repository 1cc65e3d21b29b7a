#include "record/csv_import.h"

#include "record/csv_format.h"
#include "record/csv_rows.h"
#include "record/round_checks.h"
#include "record/round_id.h"
#include "record/time_text.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <array>

namespace record {

namespace {

// An integer from `low` to `high`.
std::optional<int> integerOf(const QString& cell, int low, int high)
{
    bool ok = false;
    const int value = cell.trimmed().toInt(&ok);
    return ok && value >= low && value <= high ? std::optional(value) : std::nullopt;
}

// A moment with its offset written out, as the export writes it: a time
// without one would be read in whatever zone the importing computer is in.
// Or as a Japanese spreadsheet rewrites it (2026/12/08 13:33:13, 2026/1/8 3:05),
// in the local time of the computer that saved it, taken to be this one's.
QDateTime momentOf(const QString& cell)
{
    if (utcOffsetOf(cell) || cell.endsWith(u'Z'))
        return QDateTime::fromString(cell, Qt::ISODateWithMs);
    for (const QString& format : {QStringLiteral("yyyy/M/d H:mm:ss"), QStringLiteral("yyyy/M/d H:mm")})
        if (const QDateTime moment = QDateTime::fromString(cell, format); moment.isValid())
            return moment;
    return {};
}

// A spreadsheet set to write a comma for the decimal point saves "345,67",
// in quotes. A row whose numbers all have one is read with it; beside a
// point, "1,500" is no number.
bool hasDecimalComma(const QString& cell)
{
    static const QRegularExpression kNumber(QStringLiteral(R"(^\s*[-+]?\d+,\d+([eE][-+]?\d+)?\s*$)"));
    return cell.contains(u',') && kNumber.match(cell).hasMatch();
}

bool hasDecimalPoint(const QString& cell)
{
    static const QRegularExpression kNumber(QStringLiteral(R"(^\s*[-+]?\d*\.\d+([eE][-+]?\d+)?\s*$)"));
    return cell.contains(u'.') && kNumber.match(cell).hasMatch();
}

QStringList withDecimalPoints(QStringList cells)
{
    const bool commas = std::any_of(cells.cbegin(), cells.cend(), hasDecimalComma);
    if (!commas || std::any_of(cells.cbegin(), cells.cend(), hasDecimalPoint))
        return cells;
    for (QString& cell : cells)
        if (hasDecimalComma(cell))
            cell.replace(u',', u'.');
    return cells;
}

bool holdsInvalidText(const QStringList& cells)
{
    return std::any_of(
        cells.cbegin(), cells.cend(), [](const QString& cell) { return cell.contains(QChar::ReplacementCharacter); });
}

// A number read, into `field`; a number not read leaves the row out.
template <class Field, class Value> std::optional<LeftOut> put(const std::optional<Value>& value, Field& field)
{
    if (!value)
        return LeftOut::BadNumber;
    field = static_cast<Field>(*value);
    return std::nullopt;
}

// Each kind of field but a pose from its cell; `most` is an integer's largest value.
std::optional<LeftOut> take(const QString& cell, QByteArray& id, int)
{
    id = roundIdOf(cell.trimmed());
    return id.isEmpty() ? std::optional(LeftOut::BadId) : std::nullopt;
}

std::optional<LeftOut> take(const QString& cell, QDateTime& when, int)
{
    when = momentOf(cell.trimmed());
    return when.isValid() ? std::nullopt : std::optional(LeftOut::BadTime);
}

std::optional<LeftOut> take(const QString& cell, double& number, int)
{
    return put(csv::numberOf(cell), number);
}

std::optional<LeftOut> take(const QString& cell, int& number, int most)
{
    return put(integerOf(cell, 0, most), number);
}

std::optional<LeftOut> take(const QString& cell, bool& flag, int)
{
    return put(integerOf(cell, 0, 1), flag);
}

std::optional<LeftOut> take(const QString& cell, QString& text, int)
{
    text = csv::textOf(cell);
    return std::nullopt;
}

// The round of one row, or the reason it is left out. `at` gives each cell's place in the row.
std::optional<LeftOut> readRow(const QStringList& cells, const std::array<qsizetype, csv::ColumnCount>& at,
    qsizetype headingCount, RoundRecord& round)
{
    if (cells.size() != headingCount)
        return LeftOut::CellCount;
    const auto cell = [&](int place) { return cells[at[static_cast<std::size_t>(place)]]; };
    // The poses after the rest: a row is left out for the first fault of the fields in front.
    int place = 0;
    for (const RoundColumn& column : kRoundColumns) {
        const std::optional<LeftOut> why = std::visit(
            [&]<class T, class Owner>(T Owner::*field) {
                if constexpr (std::is_same_v<T, core::Joints>)
                    return std::optional<LeftOut>();
                else
                    return take(cell(place), round.*field, column.most);
            },
            column.field);
        if (why)
            return why;
        place += csv::cellCount(column);
    }
    if (round.damaged)
        return LeftOut::MissingJoints;
    place = 0;
    for (const RoundColumn& column : kRoundColumns) {
        int next = place;
        place += csv::cellCount(column);
        if (const PoseField* pose = std::get_if<PoseField>(&column.field)) {
            for (QPointF& joint : round.**pose) {
                const QString x = cell(next++), y = cell(next++);
                if (x.trimmed().isEmpty() || y.trimmed().isEmpty())
                    return LeftOut::MissingJoints;
                const auto xValue = csv::numberOf(x), yValue = csv::numberOf(y);
                if (!xValue || !yValue)
                    return LeftOut::BadNumber;
                joint = {*xValue, *yValue};
            }
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
    // The moment's heading, the first that is not ASCII, tells the encoding.
    CsvRows rows(file, csv::headings()[csv::PlayedAt]);
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
    if (!missing.isEmpty()) {
        FileRefusal refusal(
            missing.size() == csv::ColumnCount ? Refusal::NeitherKind : Refusal::MissingColumns, missing.front());
        refusal.unknownEncoding = rows.encoding() == CsvRows::Encoding::Unknown;
        return refusedSource(refusal);
    }
    const qint64 size = file.size();
    for (qint64 row = 1;; ++row) {
        const CsvRows::Next next = rows.next();
        if (next == CsvRows::Next::End)
            break;
        RoundRecord round;
        const auto leaveOut = [&]() -> std::optional<LeftOut> {
            if (next == CsvRows::Next::Unreadable)
                return LeftOut::UnreadableRow;
            if (rows.invalidText() && holdsInvalidText(rows.cells()))
                return LeftOut::InvalidText;
            if (const std::optional<LeftOut> why = readRow(withDecimalPoints(rows.cells()), at, headings.size(), round))
                return why;
            if (!keepableMoment(round.playedAt))
                return LeftOut::BadTime;
            if (!withinRange(round) || !drawable(round.target) || !drawable(round.player))
                return LeftOut::BadNumber;
            return std::nullopt;
        };
        if (const std::optional<LeftOut> why = leaveOut()) {
            ++source.leftOut[*why];
            if (source.leftOutLines.size() < kLeftOutLinesTold)
                source.leftOutLines.append(rows.line());
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
