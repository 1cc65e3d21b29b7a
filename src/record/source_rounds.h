#pragma once
// Rounds read from a file to import, handed on one at a time as they are
// read: how many were, those left out and why, or why the file was refused.
// Reasons are values; the windows and the command line say them.

#include "record/problem.h"
#include "record/round_record.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace record {

/// Why a round of a file was left out while the others were read.
enum class LeftOut {
    UnreadableRow, // a CSV row with a quote left open or out of place, or longer than any round's
    CellCount, // a CSV row with more or fewer fields than headings
    BadId, // a CSV row whose id is not 32 hex digits
    BadTime, // a CSV row whose moment is not ISO 8601 with its UTC offset
    BadNumber, // a CSV row with a number that does not read, or out of its range
    MissingJoints, // a CSV row without its joints
    InvalidText, // a CSV row with bytes that are not text in the file's encoding
    DamagedJoints, // a record's round whose joints are missing or not nine points
    RoundWithoutId, // a record's round whose id is not one
    RoundOutOfRange, // a record's round with a moment or a number outside what the game gives it
    ConflictingId, // a round whose id the record keeps with other content: the kept one stays
};

/// Why a whole file was refused: nothing of it was imported.
enum class Refusal {
    NotFound,
    LinkLoop,
    NoPermission,
    Folder,
    Fifo,
    Device,
    NotRegular, // a socket, or anything else that is not a file
    CannotOpen,
    Empty,
    ReadFailed, // the disk failed a read partway through
    NothingWritten, // a text of blank lines
    OlderExport, // a CSV an older Tormell wrote, whose rounds cannot be told apart
    NeitherKind, // neither a Tormell record nor its CSV export
    MissingColumns, // a CSV export without some of its columns
    NewerRecord, // a record a newer Tormell wrote
    DamagedRecord, // not a Tormell record, or a damaged one
    EmptyDatabase, // a database holding no record
    CannotCopy, // no private copy of the record could be made to read it through
    RecordUnreadable, // the record could not be read: the problem says why
    TheRecordItself, // the record imported into, whose rounds it holds already
};

struct FileRefusal {
    FileRefusal(Refusal reason, QString column = {}, std::optional<Problem> readProblem = {})
        : why(reason)
        , missingColumn(std::move(column))
        , problem(std::move(readProblem))
    {
    }
    Refusal why;
    QString missingColumn; // the first heading missing, for MissingColumns
    std::optional<Problem> problem; // for RecordUnreadable
    bool unknownEncoding = false; // the text is neither UTF-8 nor CP932: what it says could not be read
};

/// Of the first rows of a CSV left out, at most this many are told by their lines.
inline constexpr qsizetype kLeftOutLinesTold = 5;

/// Where a file's rounds go as they are read, and how far through it the reading is.
struct RoundSink {
    std::function<void(const RoundRecord&)> take; // may throw the Failure that ends the import
    std::function<void(double share)> progressed; // of the file gone through, 0 to 1
};

struct SourceRounds {
    qint64 read = 0; // rounds handed on
    QMap<LeftOut, int> leftOut; // how many rounds were left out, by reason
    QList<qint64> leftOutLines; // of a CSV, the lines (from 1) the first rows left out begin on
    std::optional<FileRefusal> refused; // why the whole file was refused; none when it was read
};

/// What is read of a file refused as a whole.
inline SourceRounds refusedSource(FileRefusal refusal)
{
    SourceRounds source;
    source.refused = std::move(refusal);
    return source;
}

} // namespace record
