#include "record/record_file.h"

#include "record/failure.h"
#include "record/move_aside.h"
#include "record/schema.h"
#include "record/sql.h"
#include "record/write_access.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <array>
#include <optional>
#include <utility>

namespace record {

namespace {

// How long a save or a read waits for another copy of the game to finish with the file.
constexpr int kBusyTimeoutMs = 5000;
// Between tries of what SQLite will not wait for itself.
constexpr unsigned long kBusyRetryMs = 10;

// A record may come from another computer, so every connection opens it as
// SQLite advises for files of unknown origin: no function that a view or a
// trigger in the file names runs unless SQLite knows it to be harmless, and
// every cell's size is checked as it is read, so that a crafted page is found
// damaged rather than misread.
const std::array kUntrustedFilePragmas
    = {QStringLiteral("PRAGMA trusted_schema = OFF"), QStringLiteral("PRAGMA cell_size_check = ON")};

QString connectOptions(RecordFile::Access access)
{
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    // A private copy is written by SQLite alone, for the WAL's index.
    if (access != RecordFile::Access::Write && access != RecordFile::Access::Copy)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    if (access == RecordFile::Access::Immutable)
        options += QStringLiteral(";QSQLITE_OPEN_URI");
    return options;
}

// SQLite reads an immutable file without locks and without its WAL, and may
// misread one that changes after all; the caller makes sure none can.
QString immutableUri(const QString& path)
{
    QUrl uri = QUrl::fromLocalFile(path);
    uri.setQuery(QStringLiteral("immutable=1"));
    return uri.toString(QUrl::FullyEncoded);
}

// A read-only connection to the file for as long as it lives. One read takes
// SQLite's shared lock, which it then keeps: while it is held, no other
// connection of this process is the last to close the file, the one that
// copies the WAL into the main file, and being read-only it copies nothing
// itself. Best effort: a file it cannot read is not held.
class ReadOnlyHold {
public:
    explicit ReadOnlyHold(const QString& path)
    {
        QSqlDatabase db = m_connection.db();
        db.setDatabaseName(path);
        db.setConnectOptions(connectOptions(RecordFile::Access::Read));
        if (!db.open())
            return;
        for (const QString& pragma : kUntrustedFilePragmas)
            QSqlQuery(db).exec(pragma);
        QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version"));
    }

private:
    sql::Connection m_connection;
};

} // namespace

RecordFile::RecordFile(QString path)
    : m_path(std::move(path))
    , m_connectionName(sql::uniqueConnectionName())
{
}

RecordFile::~RecordFile()
{
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::optional<QSqlDatabase> RecordFile::open(Use use)
{
    // An empty name would make SQLite keep the record in a temporary file, lost at exit.
    if (m_path.isEmpty())
        throw Failure(Reason::NoLocation, {}, QStringLiteral("the record has no file name"));
    if (m_open && mustReopen(use))
        close();
    // A damaged file found here is moved aside; the loop then goes on with a fresh one.
    while (!m_open) {
        const bool existed = identityOf(m_path).exists;
        if (!existed) {
            if (use != Use::Create)
                return std::nullopt;
            makeFolder();
        }
        try {
            openForWriting();
        } catch (const Failure& failure) {
            if (!existed)
                removeEmptyFile();
            if (failure.reason != Reason::NotAccessible && failure.reason != Reason::DiskFull)
                throw;
            refuse(failure.reason, failure.path.isEmpty() ? unwritablePart(m_path) : failure.path);
            if (use != Use::Read || !existed)
                throw;
            openForReading();
        }
    }
    if (newer() && use != Use::Read)
        throw Failure(Reason::NewerVersion, {}, QStringLiteral("schema version newer than %1").arg(schema::kVersion));
    if (m_refusal && use != Use::Read)
        throw Failure(m_refusal->why, m_refusal->part, QStringLiteral("the record is only read"));
    // Told where the record is read; a refused save says so itself. A newer
    // file's notice says why already; one not yet taken is told first, this
    // one at a later read.
    if (m_refusal && !m_refusal->told && !newer() && !m_notice) {
        m_notice = readOnlyNotice(m_refusal->part.isEmpty() ? m_path : m_refusal->part, m_refusal->why);
        m_refusal->told = true;
    }
    return database();
}

bool RecordFile::newer() const
{
    return m_open && m_foundVersion > schema::kVersion;
}

void RecordFile::close()
{
    disconnect(writtenByNewer());
}

void RecordFile::closeDamaged()
{
    disconnect(true);
}

QSqlDatabase RecordFile::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool RecordFile::mustReopen(Use use)
{
    // Since it was opened, the file may have been removed or replaced, or
    // upgraded by a newer Tormell: checked again, so that what the player may
    // do with it (save, remove) is known before it is tried.
    if (identityOf(m_path) != m_open->file || (!newer() && schema::version(database(), m_statements) != schema::kVersion))
        return true;
    // An immutable one only while no other copy can write, which it would not
    // see; a private copy until the original changes.
    if (use == Use::Read)
        return (m_open->access == Access::Immutable && writerPossible(m_path))
            || (m_open->copy && m_open->copy->stale());
    // A write needs a connection that may write: not one opened to read
    // alone, nor one SQLite opened read-only because the file or a companion
    // could not be written then.
    return m_open->access != Access::Write || m_refusal;
}

void RecordFile::openForWriting()
{
    restoreCompanionAccess(m_path);
    try {
        // A newer Tormell's file is only read. SQLite would make its WAL and
        // index beside it to do even that, and leave them there: it is read
        // without them, from a private copy or as a file that cannot change.
        if (!companionsThere() && schema::newerByHeader(m_path))
            connect(writerPossible(m_path) ? Access::Copy : Access::Immutable);
        else
            connect(Access::Write);
        checkAndMigrate();
    } catch (const Failure&) {
        close(); // unchecked or not brought up to date: never used as it is
        throw;
    }
    // SQLite opens a file this user may not write for reading alone, without
    // a word. A file moved aside leaves nothing open, and the fresh one is yet to be made.
    const QString unwritable = unwritablePart(m_path);
    if (m_open && !unwritable.isEmpty())
        refuse(Reason::NotAccessible, unwritable);
    else
        m_refusal.reset();
}

void RecordFile::openForReading()
{
    try {
        // SQLite cannot so much as read a WAL file without writing its index
        // beside it, unless told that the file cannot change.
        connect(writerPossible(m_path) ? Access::Read : Access::Immutable);
        checkAndMigrate();
    } catch (const Failure& failure) {
        close();
        if (failure.reason != Reason::NotAccessible && failure.reason != Reason::DiskFull)
            throw;
        // Nor where that index cannot be made (a read-only folder, a full
        // disk), though the WAL may hold the last rounds saved: the two are
        // read from a copy.
        try {
            connect(Access::Copy);
            checkAndMigrate();
        } catch (const Failure&) {
            close();
            throw;
        }
    }
}

bool RecordFile::companionsThere() const
{
    return QFileInfo::exists(m_path + QStringLiteral("-wal")) && QFileInfo::exists(m_path + QStringLiteral("-shm"));
}

void RecordFile::refuse(Reason why, const QString& part)
{
    // Refused still: what the player was told stands.
    m_refusal = Refusal {why, part, m_refusal && m_refusal->told};
}

void RecordFile::removeEmptyFile() const
{
    if (QFileInfo(m_path).size() != 0)
        return;
    for (const QString& ending :
        {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")})
        if (const QFileInfo file(m_path + ending); file.exists() && file.size() == 0)
            QFile::remove(file.filePath());
}

bool RecordFile::writtenByNewer() const
{
    if (!m_open || m_open->access != Access::Write)
        return false; // nothing open, or open only to read: nothing to keep from it
    try {
        return schema::version(database()) > schema::kVersion;
    } catch (const Failure&) {
        return true; // unreadable: no telling who wrote it, so it is kept as it is
    }
}

void RecordFile::disconnect(bool leaveAsItIs)
{
    m_statements.clear();
    if (QSqlDatabase::contains(m_connectionName)) {
        // The last connection to close a file in WAL mode copies the WAL into
        // the main file, which must not happen to a file this Tormell may not
        // write. (Nor does SQLite do it to a file moved or removed meanwhile,
        // and a connection open only to read copies nothing.)
        std::optional<ReadOnlyHold> hold;
        if (leaveAsItIs && m_open && m_open->access == Access::Write)
            hold.emplace(m_path);
        database().close();
    }
    m_open.reset();
}

void RecordFile::connect(Access access)
{
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
        ? database()
        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    if (!db.isValid())
        throw Failure(Reason::NoDriver, {}, QStringLiteral("Qt SQL driver QSQLITE is not available"));
    auto copy = access == Access::Copy ? std::make_unique<PrivateCopy>(m_path) : nullptr;
    db.setDatabaseName(copy ? copy->path() : access == Access::Immutable ? immutableUri(m_path) : m_path);
    db.setConnectOptions(connectOptions(access));
    if (!db.open())
        throw Failure(reasonOf(db.lastError()), {}, describe(db.lastError()));
    m_open = Connection {identityOf(m_path), {}, access, std::move(copy)};
    ++m_connectionsMade;
    for (const QString& pragma : kUntrustedFilePragmas)
        sql::run(db, pragma);
}

void RecordFile::checkAndMigrate()
{
    const QSqlDatabase db = database();
    const bool writable = m_open->access == Access::Write;
    int found = 0;
    try {
        found = m_foundVersion = schema::checkedVersion(db);
        const QString check = sql::single(db, QStringLiteral("PRAGMA quick_check")).toString();
        if (check != QStringLiteral("ok"))
            throw Failure(Reason::Damaged, {}, QStringLiteral("quick_check: ") + check);
    } catch (const Failure& failure) {
        // A file this user may not write stays where it is, told as damaged.
        if (failure.reason != Reason::Damaged || !writable)
            throw;
        const FileIdentity damaged = m_open->file;
        closeDamaged();
        const QString movedTo = moveAside(m_path, damaged, QDateTime::currentDateTime());
        if (!movedTo.isEmpty())
            m_notice = movedAsideNotice(movedTo, failure.detail);
        return;
    }
    if (found < schema::kVersion && !writable)
        throw Failure(Reason::NotAccessible, {},
            QStringLiteral("layout %1 cannot be brought up to date without writing").arg(found));
    if (found <= schema::kVersion && writable) {
        useWriteAheadLog(db);
        if (found < schema::kVersion)
            found = schema::migrate(db);
        else if (found == schema::kVersion)
            schema::giveRoundsIds(db);
    }
    if (found > schema::kVersion) {
        // Reopened read-only, so that not even SQLite's own housekeeping writes to it.
        if (writable) {
            close();
            connect(Access::Read);
        }
        if (m_newerTold != m_open->file) // each save reopens it, read-only: told once
            m_notice = newerVersionNotice(m_path, found);
        m_newerTold = m_open->file;
    }
    sql::run(database(), QStringLiteral("PRAGMA cache_size = -%1").arg(kPageCacheKiB)); // negative: in KiB
    // Not a private copy's own, given as the copy was brought up to date: the file has none.
    if (writable || m_foundVersion >= schema::kFileIdSince)
        m_open->id = schema::fileId(database());
}

void RecordFile::useWriteAheadLog(const QSqlDatabase& db)
{
    // With the WAL a save is one append to the -wal file and one sync of it
    // (FULL), durable across a power cut, where the rollback journal syncs the
    // journal, the file and the folder. The mode stays with the file, for every
    // copy of the game. Until the switch, and where the file system cannot
    // share memory between processes so that SQLite keeps the journal, EXTRA
    // also syncs the folder once the journal is deleted, the moment of commit.
    sql::run(db, QStringLiteral("PRAGMA synchronous = EXTRA"));
    const QString wal = QStringLiteral("wal");
    QString mode = sql::single(db, QStringLiteral("PRAGMA journal_mode")).toString();
    // The switch writes the file's header from inside a read, where SQLite
    // gives up at once rather than wait for another copy of the game doing
    // the same: it is tried again until the busy timeout has passed.
    QElapsedTimer waited;
    waited.start();
    while (mode != wal) {
        try {
            mode = sql::single(db, QStringLiteral("PRAGMA journal_mode = WAL")).toString();
            break;
        } catch (const Failure& failure) {
            if (failure.reason != Reason::Busy || waited.elapsed() > kBusyTimeoutMs)
                throw;
            QThread::msleep(kBusyRetryMs);
        }
    }
    if (mode == wal)
        sql::run(db, QStringLiteral("PRAGMA synchronous = FULL"));
}

void RecordFile::makeFolder() const
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        throw Failure(Reason::FolderUnavailable, folder, QStringLiteral("cannot create the folder ") + folder);
}

qint64 RecordFile::dataVersion() const
{
    static const QString kDataVersion = QStringLiteral("PRAGMA data_version");
    return sql::single(m_statements(database(), kDataVersion)).toLongLong();
}

} // namespace record
