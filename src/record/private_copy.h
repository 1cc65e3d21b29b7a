#pragma once
// A copy of the record file and its WAL in a temporary folder of this
// process's own, to read where the original cannot be: SQLite reads a WAL
// only through its index beside it, which it cannot make in a read-only
// folder or on a full disk, and a WAL may hold the last rounds saved. An
// import reads its sources, and gathers their rounds, in such folders too. They all lie in one
// folder of the game's own, where what a killed run left is found and cleared.

#include "tormell_export.h"

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

namespace record {

/// The folder the copies are made in: the game's own in the temporary
/// folder, one for each user ("tormell-<uid>").
QString copiesFolder();

/// The template of a QTemporaryDir for a folder of this run's own among
/// them, which the next start clears should this run be killed.
QString privateFolderTemplate();

/// Removes the copies of runs that no longer run (killed, or ended by a
/// crash); those of runs still going are theirs. Call at the start.
TORMELL_EXPORT void clearLeftoverCopies();

class PrivateCopy {
public:
    /// Copies the file at `original` and its WAL, if any. Throws a Failure
    /// when they cannot be copied.
    explicit PrivateCopy(const QString& original);

    /// The copy, to open in place of the original: it may be written.
    const QString& path() const { return m_path; }

    /// Whether the original or its WAL changed since they were copied.
    bool stale() const;

private:
    struct Stamp {
        qint64 size = -1;
        QDateTime modified;
        qint64 walSize = -1;
        QDateTime walModified;

        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    static Stamp stampOf(const QString& original);

    QString m_original;
    QTemporaryDir m_folder; // named for this process, so that a run after it knows whether it still runs
    QString m_path;
    Stamp m_copied;
};

} // namespace record
