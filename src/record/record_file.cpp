#include "record/record_file.h"

#include "record/failure.h"
#include "record/move_aside.h"
#include "record/schema.h"
#include "record/sql.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <atomic>
#include <optional>
#include <utility>

namespace record {

namespace {

// How long a save or a read waits for another copy of the game to finish with the file.
constexpr int kBusyTimeoutMs = 5000;
// Between tries of what SQLite will not wait for itself.
constexpr unsigned long kBusyRetryMs = 10;
// SQLite's own cache of the file's pages, in KiB. The system caches the file
// already; SQLite's default (2 MiB) would keep a second copy of every page a
// long list has read. This holds what a save or a query works on at once.
constexpr int kPageCacheKiB = 256;

QString uniqueConnectionName()
{
    static std::atomic<quint64> made {0};
    return QStringLiteral("tormell-record-%1").arg(++made);
}

QString connectOptions(bool readOnly)
{
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    return options;
}

// A read-only connection to the file for as long as it lives. One read takes
// SQLite's shared lock, which it then keeps: while it is held, no other
// connection of this process is the last to close the file, the one that
// copies the WAL into the main file, and being read-only it copies nothing
// itself. Best effort: a file it cannot read is not held.
class ReadOnlyHold {
public:
    explicit ReadOnlyHold(const QString& path)
        : name_(uniqueConnectionName())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(connectOptions(true));
        if (db.open())
            QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version"));
    }
    ~ReadOnlyHold()
    {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    ReadOnlyHold(const ReadOnlyHold&) = delete;
    ReadOnlyHold& operator=(const ReadOnlyHold&) = delete;

private:
    QString name_;
};

} // namespace

RecordFile::RecordFile(QString path)
    : path_(std::move(path))
    , connectionName_(uniqueConnectionName())
    , seen_(identityOf(path_))
{
}

RecordFile::~RecordFile()
{
    close();
    QSqlDatabase::removeDatabase(connectionName_);
}

std::optional<QSqlDatabase> RecordFile::open(Use use)
{
    // An empty name would make SQLite keep the record in a temporary file, lost at exit.
    if (path_.isEmpty())
        throw Failure(Reason::NoLocation, {}, QStringLiteral("the record has no file name"));
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    // Since it was opened, the file may have been removed or replaced, or
    // upgraded by a newer Tormell that this one must not write into.
    if (db.isOpen()
        && (identityOf(path_) != opened_ || (use != Use::Read && !newer_ && schema::version(db) != schema::kVersion)))
        close();
    // A damaged file found here is moved aside; the loop then goes on with a fresh one.
    while (!db.isOpen()) {
        if (!identityOf(path_).exists) {
            if (use != Use::Create)
                return std::nullopt;
            makeFolder();
        }
        connect(false);
        try {
            checkAndMigrate();
        } catch (const Failure&) {
            close(); // unchecked or not brought up to date: never used as it is
            throw;
        }
        db = QSqlDatabase::database(connectionName_, false);
    }
    if (newer_ && use != Use::Read)
        throw Failure(Reason::NewerVersion, {}, QStringLiteral("schema version newer than %1").arg(schema::kVersion));
    return db;
}

bool RecordFile::changedElsewhere()
{
    const FileIdentity now = identityOf(path_);
    const bool replaced = now != seen_;
    seen_ = now;
    const std::optional<QSqlDatabase> db = open(Use::Read);
    if (!db) {
        close();
        return replaced;
    }
    const qint64 version = dataVersion();
    const bool written = version != seenDataVersion_;
    seenDataVersion_ = version;
    return replaced || written;
}

std::optional<Problem> RecordFile::takeNotice()
{
    return std::exchange(notice_, std::nullopt);
}

void RecordFile::close()
{
    disconnect(writtenByNewer());
}

void RecordFile::closeDamaged()
{
    disconnect(true);
}

bool RecordFile::writtenByNewer() const
{
    const QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (!db.isOpen() || newer_)
        return false; // nothing open, or open only to read: nothing to keep from it
    try {
        return schema::version(db) > schema::kVersion;
    } catch (const Failure&) {
        return true; // unreadable: no telling who wrote it, so it is kept as it is
    }
}

void RecordFile::disconnect(bool leaveAsItIs)
{
    if (QSqlDatabase::contains(connectionName_)) {
        // The last connection to close a file in WAL mode copies the WAL into
        // the main file, which must not happen to a file this Tormell may not
        // write. (Nor does SQLite do it to a file moved or removed meanwhile,
        // and a connection open only to read copies nothing.)
        std::optional<ReadOnlyHold> hold;
        if (leaveAsItIs && !newer_)
            hold.emplace(path_);
        QSqlDatabase::database(connectionName_, false).close();
    }
    opened_ = {};
    newer_ = false;
}

void RecordFile::connect(bool readOnly)
{
    QSqlDatabase db = QSqlDatabase::contains(connectionName_)
        ? QSqlDatabase::database(connectionName_, false)
        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    if (!db.isValid())
        throw Failure(Reason::NoDriver, {}, QStringLiteral("Qt SQL driver QSQLITE is not available"));
    db.setDatabaseName(path_);
    db.setConnectOptions(connectOptions(readOnly));
    if (!db.open())
        throw Failure(reasonOf(db.lastError()), {}, describe(db.lastError()));
    opened_ = identityOf(path_);
    seen_ = opened_;
}

void RecordFile::checkAndMigrate()
{
    const QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    int found = 0;
    try {
        found = schema::version(db);
        const QString check = sql::single(db, QStringLiteral("PRAGMA quick_check")).toString();
        if (check != QStringLiteral("ok"))
            throw Failure(Reason::Damaged, {}, QStringLiteral("quick_check: ") + check);
    } catch (const Failure& failure) {
        if (failure.reason != Reason::Damaged)
            throw;
        const FileIdentity damaged = opened_;
        closeDamaged();
        const QString movedTo = moveAside(path_, damaged, QDateTime::currentDateTime());
        if (!movedTo.isEmpty())
            notice_ = movedAsideNotice(movedTo, failure.detail);
        return;
    }
    if (found <= schema::kVersion) {
        useWriteAheadLog(db);
        if (found < schema::kVersion)
            found = schema::migrate(db);
    }
    if (found > schema::kVersion) {
        // Reopened read-only, so that not even SQLite's own housekeeping writes to it.
        close();
        connect(true);
        newer_ = true;
        notice_ = newerVersionNotice(path_, found);
    }
    sql::run(QSqlDatabase::database(connectionName_, false),
        QStringLiteral("PRAGMA cache_size = -%1").arg(kPageCacheKiB)); // negative: in KiB
    seenDataVersion_ = dataVersion();
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
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder))
        throw Failure(Reason::FolderUnavailable, folder, QStringLiteral("cannot create the folder ") + folder);
}

qint64 RecordFile::dataVersion() const
{
    return sql::single(QSqlDatabase::database(connectionName_, false), QStringLiteral("PRAGMA data_version"))
        .toLongLong();
}

} // namespace record
