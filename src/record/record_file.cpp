#include "record/record_file.h"

#include "record/failure.h"
#include "record/move_aside.h"
#include "record/schema.h"
#include "record/sql.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <atomic>
#include <utility>

namespace record {

namespace {

// How long a save or a read waits for another copy of the game to finish with the file.
constexpr int kBusyTimeoutMs = 5000;
// SQLite's own cache of the file's pages, in KiB. The system caches the file
// already; SQLite's default (2 MiB) would keep a second copy of every page a
// long list has read. This holds what a save or a query works on at once.
constexpr int kPageCacheKiB = 256;

QString uniqueConnectionName()
{
    static std::atomic<quint64> made {0};
    return QStringLiteral("tormell-record-%1").arg(++made);
}

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
    if (QSqlDatabase::contains(connectionName_))
        QSqlDatabase::database(connectionName_, false).close();
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
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
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
        close();
        const QString movedTo = moveAside(path_, damaged, QDateTime::currentDateTime());
        if (!movedTo.isEmpty())
            notice_ = movedAsideNotice(movedTo, failure.detail);
        return;
    }
    // The default rollback journal syncs each commit to disk; EXTRA also syncs
    // the folder once the journal is deleted, which is the moment of commit.
    sql::run(db, QStringLiteral("PRAGMA synchronous = EXTRA"));
    sql::run(db, QStringLiteral("PRAGMA cache_size = -%1").arg(kPageCacheKiB)); // negative: in KiB
    if (found < schema::kVersion)
        found = schema::migrate(db);
    if (found > schema::kVersion) {
        // Reopened read-only, so that not even SQLite's own housekeeping writes to it.
        close();
        connect(true);
        newer_ = true;
        notice_ = newerVersionNotice(path_, found);
    }
    seenDataVersion_ = dataVersion();
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
