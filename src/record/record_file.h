#pragma once
// The store's connection to its file: opened on first use and checked then;
// brought up to the current layout and kept in WAL mode; opened read-only
// when a newer Tormell wrote it, and then left byte for byte as it is,
// without a WAL or an index made beside it where it had none; moved
// aside with its WAL when damaged or not a Tormell record; opened anew when
// the file at the path was removed or replaced by someone else; opened for
// reading alone when this user may not write it or its folder, or the disk
// is full; read from a private copy where SQLite cannot read it in place.

#include "record/file_identity.h"
#include "record/private_copy.h"
#include "record/problem.h"
#include "record/sql.h"
#include "tormell_export.h"

#include <QSqlDatabase>
#include <QString>
#include <memory>
#include <optional>
#include <utility>

namespace record {

/// SQLite's own cache of the file's pages, in KiB. The system caches the file
/// already; SQLite's default (2 MiB) would keep a second copy of every page a
/// long list has read. This holds what a save or a query works on at once.
inline constexpr int kPageCacheKiB = 256;

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

    /// The file the open connection reads, by its identity when it was opened;
    /// none while closed. What the store read comes from it.
    FileIdentity openedFile() const { return m_open ? m_open->file : FileIdentity {}; }

    /// The same with the id the file carries; none while closed.
    RecordIdentity openedRecord() const
    {
        return m_open ? RecordIdentity {m_open->file, m_open->id} : RecordIdentity {};
    }

    /// How many connections have been opened so far: a new one, to the same
    /// file or another, cannot tell what the last one saw.
    quint64 connectionsMade() const { return m_connectionsMade; }

    /// SQLite's count of commits by other connections, as this connection
    /// sees it: comparable only within one connection.
    qint64 dataVersion() const;

    /// Whether the open file came from a newer Tormell (foundVersion()) and is only read.
    TORMELL_EXPORT bool newer() const;

    /// The layout version the file had when last opened, before it was
    /// brought up to date: 0 for one that held no record yet.
    int foundVersion() const { return m_foundVersion; }

    /// Whether this user may not write the file, its companions or its
    /// folder, as the last use found; the file is then only read.
    bool refused() const { return m_refusal.has_value(); }

    /// A message for the player about what happened to the file, given once.
    std::optional<Problem> takeNotice() { return std::exchange(m_notice, std::nullopt); }

    /// Closes the connection, so that the next use opens and checks the file
    /// again. A file a newer Tormell wrote is left exactly as it is.
    void close();

    /// The same for a file found damaged, which is left exactly as it is, to be moved aside.
    void closeDamaged();

    /// `statement` prepared on the open connection, kept until it closes.
    QSqlQuery& prepared(const QString& statement) { return m_statements(database(), statement); }
    /// What keeps them, for a transaction's own.
    sql::Statements& statements() { return m_statements; }

    const QString& path() const { return m_path; }
    const QString& connectionName() const { return m_connectionName; }

    /// How the open connection reaches the file.
    enum class Access {
        Write,
        Read, // read-only; SQLite still reads the WAL, through its index
        Immutable, // read-only, without locks or WAL: only while no writer can be (writerPossible())
        Copy, // a PrivateCopy of the file and its WAL, read until the original changes
    };

private:
    struct Connection {
        FileIdentity file; // as it was when opened
        QByteArray id; // the file's own (schema::fileId()), once checked
        Access access;
        std::unique_ptr<PrivateCopy> copy; // what an Access::Copy connection reads
    };
    /// Why the record may be read but not written: this user may not write
    /// `part` (empty: the record file), or the disk is full.
    struct Refusal {
        Reason why;
        QString part;
        bool told = false; // the player hears of it once, until it may be written again
    };

    QSqlDatabase database() const;
    bool mustReopen(Use use);
    void openForWriting();
    void openForReading();
    /// Whether the WAL and its index are both beside the file: opening it
    /// then makes no file of its own.
    bool companionsThere() const;
    void refuse(Reason why, const QString& part);
    /// Removes what a first save that failed (on a full disk) left: an empty
    /// file, and any empty companion, that would look like a record.
    void removeEmptyFile() const;
    void connect(Access access);
    void checkAndMigrate();
    static void useWriteAheadLog(const QSqlDatabase& db);
    bool writtenByNewer() const;
    void disconnect(bool leaveAsItIs);
    void makeFolder() const;

    QString m_path;
    QString m_connectionName;
    quint64 m_connectionsMade = 0;
    std::optional<Connection> m_open; // none while closed
    mutable sql::Statements m_statements; // on the open connection
    int m_foundVersion = 0; // above schema::kVersion: a newer Tormell's file
    std::optional<Refusal> m_refusal; // as the last opening found; kept while closed
    FileIdentity m_newerTold; // the newer file the player has been told of, once a run
    std::optional<Problem> m_notice; // not yet taken
};

} // namespace record
