#pragma once
// What the score record reports when it cannot do what was asked, or has
// something to say once about its file: as values, put into words for the
// player by the windows (ui/problem_text.h); the technical reason behind it
// is logged.

#include <QString>

class QSqlError;

namespace record {

/// What the player asked for.
enum class Action { Save, Read, Remove, Export, Import, Backup };

/// Why it could not be done, in the player's terms.
enum class Reason {
    NoDriver, // Qt's SQLite driver is not installed
    NoLocation, // the system names no data folder to keep the record in
    FolderUnavailable, // the record's folder cannot be created
    NotAccessible, // the file cannot be opened or written
    DiskFull,
    Busy, // another copy of the game held the file past the busy timeout
    NewerVersion, // written by a newer Tormell, which this one must not rewrite
    Damaged,
    IoError, // the disk failed a read or a write
    NoSuchRound,
    RoundDamaged, // one round's joints are missing or unreadable; the rest of the record is whole
    Replaced, // another file took the place of the one the rounds were listed from
    NoRecord, // nothing has been saved yet
    Cancelled, // the player stopped it; nothing was changed
    TheRecordItself, // the file chosen is the record, one of its companions, or a record in use
    Unexpected,
};

struct Problem {
    enum class Kind {
        Failure, // `action` could not be done, for `reason`
        MovedAside, // the damaged record, or a file that was none, is kept at `path`; a fresh one was begun
        NewerVersion, // the record at `path` was written by a newer Tormell (`version`) and is only read
        ReadOnly, // the record is only read: `path` may not be written, or its disk is full (`reason`)
    };
    Kind kind = Kind::Failure;
    Action action = Action::Read; // what the player asked for, for a failure
    Reason reason = Reason::Unexpected; // why, for the caller to act on
    QString path; // the file or folder the player is told of
    int version = 0; // the schema version of a newer record
    QString detail; // technical: the SQLite or file-system error; logged (tormell.record) when made
};

/// `action` failed for `reason` at `path`; `detail` is logged.
Problem problem(Action action, Reason reason, const QString& path, const QString& detail);

/// The player's reason behind an error of the SQLite driver.
Reason reasonOf(const QSqlError& error);

/// The error as one line for the log: driver and database texts with SQLite's result code.
QString describe(const QSqlError& error);

/// Said once after a damaged record, or a file that is not a Tormell record,
/// was moved aside and a fresh one begun.
Problem movedAsideNotice(const QString& movedTo, const QString& detail);

/// Said once when the record was written by a newer Tormell and is only read.
Problem newerVersionNotice(const QString& path, int version);

/// Said once when the record is only read: this user may not write `part`
/// (the file, a companion of it, or its folder), or the disk is full.
Problem readOnlyNotice(const QString& part, Reason why);

} // namespace record
