#pragma once
// The store's connection to its file: opened on first use and checked then;
// brought up to the current layout and kept in WAL mode; opened read-only
// when a newer Tormell wrote it, and then left byte for byte as it is; moved
// aside with its WAL when damaged or not a Tormell record; opened anew when
// the file at the path was removed or replaced by someone else; opened for
// reading alone when this user may not write it or its folder.

#include "record/file_identity.h"
#include "record/problem.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace record {

class RecordFile {
public:
    explicit RecordFile(QString path);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    enum class Use {
        Read, // nothing is created; a newer file is fine; one this user may not write is opened to read alone
        Change, // nothing is created; a newer file, or one this user may not write, is refused
        Create, // the folder and the file are created if missing; a newer file is refused
    };

    /// The open connection, or nothing when there is no file and `use` creates none.
    /// Throws a Failure.
    std::optional<QSqlDatabase> open(Use use);

    /// Whether the file was written by another connection, created, removed or
    /// replaced since the last call (or since it was opened).
    bool changedElsewhere();

    /// Whether the file came from a newer Tormell and is only read.
    bool newer() const { return m_newer; }

    /// Whether this user may not write the file, its companions or its
    /// folder, as the last use found; the file is then only read.
    bool refused() const { return m_refused; }

    /// A message for the player about what happened to the file, given once.
    std::optional<Problem> takeNotice();

    /// Closes the connection, so that the next use opens and checks the file
    /// again. A file a newer Tormell wrote is left exactly as it is.
    void close();

    /// The same for a file found damaged, which is left exactly as it is, to be moved aside.
    void closeDamaged();

    const QString& path() const { return m_path; }
    const QString& connectionName() const { return m_connectionName; }

    /// How the open connection reaches the file.
    enum class Access {
        Write,
        Read, // read-only; SQLite still reads the WAL, through its index
        Immutable, // read-only, without locks or WAL: only while no writer can be (writerPossible())
    };

private:
    bool mustReopen(Use use);
    void openForWriting();
    void openForReading();
    void connect(Access access);
    void checkAndMigrate();
    static void useWriteAheadLog(const QSqlDatabase& db);
    bool writtenByNewer() const;
    void disconnect(bool leaveAsItIs);
    void makeFolder() const;
    qint64 dataVersion() const;

    QString m_path;
    QString m_connectionName;
    FileIdentity m_opened; // the file the connection has open
    FileIdentity m_seen; // the file at the path when last asked for changes
    qint64 m_seenDataVersion = 0;
    bool m_changeUnseen = false; // reopened where an immutable connection could not see writes
    Access m_access = Access::Write;
    bool m_newer = false;
    bool m_refused = false;
    bool m_refusalTold = false;
    std::optional<Problem> m_notice;
};

} // namespace record
