#include "record/schema.h"

#include "record/failure.h"
#include "record/round_id.h"
#include "record/sql.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QStringList>
#include <QtEndian>
#include <array>
#include <fcntl.h>
#include <span>
#include <unistd.h>

namespace record::schema {

namespace {

// Each step takes a file from the version of its index to the next one. A
// released step is never edited: a change of layout is a new step at the end.

// 1: the rounds, and their joints apart so that listing many rounds stays light.
// AUTOINCREMENT keeps the id of a removed round from being given to a new one.
// played_ms holds the same instant as played_at, in milliseconds since 1970
// UTC, so that rounds sort by time whatever offset each was played at.
// Each joints blob is nine points, x then y, as little-endian IEEE-754 doubles.
constexpr std::array kCreateTables = {
    "CREATE TABLE rounds ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " played_at TEXT NOT NULL,"
    " played_ms INTEGER NOT NULL,"
    " difficulty REAL,"
    " display_seconds REAL,"
    " elapsed_seconds REAL,"
    " score INTEGER NOT NULL,"
    " verdict TEXT NOT NULL,"
    " grid_lines INTEGER NOT NULL)",
    "CREATE TABLE round_joints ("
    " round_id INTEGER PRIMARY KEY,"
    " target BLOB NOT NULL,"
    " player BLOB NOT NULL)",
};

// 2: the rounds of one setting in time order, and the distinct settings, read off an index.
constexpr std::array kIndexSettings = {
    "CREATE INDEX rounds_by_setting ON rounds (difficulty, display_seconds, played_ms)",
};

// 3: whether coached practice kept the round; every round before it was the player's choice.
constexpr std::array kMarkCoached = {
    "ALTER TABLE rounds ADD COLUMN coached INTEGER NOT NULL DEFAULT 0",
};

// 4: whether the target lay so near the rest pose that nothing showed it had
// moved; the coach learns nothing from such a round. Rounds before it are not known to be.
constexpr std::array kMarkNearRest = {
    "ALTER TABLE rounds ADD COLUMN near_rest INTEGER NOT NULL DEFAULT 0",
};

// 5: Tormell's mark in the file's header, as SQLite intends for files of an
// application's own: a file with a later version than this program's is a
// newer Tormell record only if it carries it.
constexpr std::array kMarkApplication = {
    "PRAGMA application_id = 1414484557", // kApplicationId
};

// 6: each round's id on every computer, so that records merge without
// duplicates, and found by it on import. Rounds before it get theirs from
// their content as the step runs (giveRoundsIds()); a save sets a random one.
constexpr std::array kIdentifyRounds = {
    "ALTER TABLE rounds ADD COLUMN uid BLOB",
    "CREATE UNIQUE INDEX rounds_by_uid ON rounds (uid)",
};

// 7: the file's own id, one row of 16 random bytes: what is listed from the
// file is bound to it, so that another record made later, which the file
// system may give the same inode, is not taken for it.
constexpr std::array kIdentifyFile = {
    "CREATE TABLE record_file (one INTEGER PRIMARY KEY CHECK (one = 1), id BLOB NOT NULL)",
    "INSERT INTO record_file (one, id) VALUES (1, randomblob(16))",
};

// 8: the settings played by hand, read off an index of their own: which
// settings the player chose is asked at every change of the record, and over
// a long coached record it would otherwise read every round.
constexpr std::array kIndexSettingsByHand = {
    "CREATE INDEX rounds_by_hand ON rounds (difficulty, display_seconds) WHERE coached = 0",
};

constexpr std::array<std::span<const char* const>, kVersion> kSteps = {kCreateTables, kIndexSettings, kMarkCoached,
    kMarkNearRest, kMarkApplication, kIdentifyRounds, kIdentifyFile, kIndexSettingsByHand};
static_assert(kRoundIdsSince == 6 && kFileIdSince == 7);
static_assert(kApplicationIdSince == 5 && kApplicationId == 1414484557);

void runSteps(const QSqlDatabase& db, int from, int to)
{
    for (int step = from; step < to; ++step)
        for (const char* statement : kSteps[static_cast<std::size_t>(step)])
            sql::run(db, QString::fromLatin1(statement));
}

// Rounds of the same content (copies of a round) are told apart by their
// order among themselves, so that each still has an id of its own, the same
// in every file holding them all.
void giveIdsInTransaction(const QSqlDatabase& db)
{
    enum { Id, PlayedMs, Difficulty, DisplaySeconds, ElapsedSeconds, Score, Target, Player };
    QSqlQuery rows = sql::run(db,
        QStringLiteral("SELECT id, played_ms, difficulty, display_seconds, elapsed_seconds, score, target, player"
                       " FROM rounds LEFT JOIN round_joints ON round_joints.round_id = rounds.id"
                       " WHERE uid IS NULL ORDER BY id"));
    QSqlQuery taken = sql::prepare(db, QStringLiteral("SELECT 1 FROM rounds WHERE uid = ?"));
    QSqlQuery identify = sql::prepare(db, QStringLiteral("UPDATE rounds SET uid = ? WHERE id = ?"));
    while (rows.next()) {
        RoundContent content {rows.value(PlayedMs).toLongLong(), rows.value(Difficulty), rows.value(DisplaySeconds),
            rows.value(ElapsedSeconds), rows.value(Score).toInt(), rows.value(Target).toByteArray(),
            rows.value(Player).toByteArray()};
        QByteArray id = contentRoundId(content);
        for (sql::exec(taken, {id}); taken.next(); sql::exec(taken, {id})) {
            ++content.occurrence;
            id = contentRoundId(content);
        }
        sql::exec(identify, {id, rows.value(Id)});
    }
}

const QString kReadVersion = QStringLiteral("PRAGMA user_version");

int versionOf(const QVariant& value)
{
    const int found = value.toInt();
    // No version of Tormell writes a negative one: the file belongs to something else.
    if (found < 0)
        throw Failure(Reason::Damaged, {}, QStringLiteral("negative schema version %1").arg(found));
    return found;
}

struct Layout {
    int version = 0;
    qint64 applicationId = 0;
    QSet<QString> objects; // every row of sqlite_master, as objectText() writes it
};

// A definition as the check compares it: white space made one space, and
// none beside brackets and commas, so that the same layout written out
// otherwise is still the same.
QString normalised(const QString& definition)
{
    static const QRegularExpression kAroundPunctuation(QStringLiteral(R"(\s*([(),])\s*)"));
    return definition.simplified().replace(kAroundPunctuation, QStringLiteral("\\1"));
}

// An object as the check compares it: its type, name, table and normalised definition.
QString objectText(const QSqlQuery& row, int first)
{
    const QString definition
        = row.value(first + 3).isNull() ? QStringLiteral("(none)") : normalised(row.value(first + 3).toString());
    return QStringList {
        row.value(first).toString(), row.value(first + 1).toString(), row.value(first + 2).toString(), definition}
        .join(QLatin1Char('|'));
}

// Version, mark and objects in one statement, so that all come from one
// snapshot: another copy of the game may be laying out a new file at this moment.
Layout layoutOf(const QSqlDatabase& db)
{
    enum { Version, Application, FirstObjectColumn };
    QSqlQuery rows = sql::run(db,
        QStringLiteral("SELECT v.user_version, a.application_id, m.type, m.name, m.tbl_name, m.sql"
                       " FROM pragma_user_version AS v, pragma_application_id AS a"
                       " LEFT JOIN sqlite_master AS m"));
    Layout layout;
    while (rows.next()) {
        layout.version = versionOf(rows.value(Version));
        layout.applicationId = rows.value(Application).toLongLong();
        if (!rows.value(FirstObjectColumn).isNull())
            layout.objects.insert(objectText(rows, FirstObjectColumn));
    }
    return layout;
}

// What SQLite makes of its own in a file of ours: the statistics tables of
// ANALYZE, in the forms it gives them, which another tool may have run. (Its
// sequence table comes with the layout, and no table of ours has a
// constraint that makes it an automatic index.)
bool sqlitesOwn(const QString& object)
{
    static const QSet<QString> kStatistics {
        QStringLiteral("table|sqlite_stat1|sqlite_stat1|CREATE TABLE sqlite_stat1(tbl,idx,stat)"),
        QStringLiteral("table|sqlite_stat2|sqlite_stat2|CREATE TABLE sqlite_stat2(tbl,idx,sampleno,sample)"),
        QStringLiteral("table|sqlite_stat3|sqlite_stat3|CREATE TABLE sqlite_stat3(tbl,idx,neq,nlt,ndlt,sample)"),
        QStringLiteral("table|sqlite_stat4|sqlite_stat4|CREATE TABLE sqlite_stat4(tbl,idx,neq,nlt,ndlt,sample)"),
    };
    return kStatistics.contains(object);
}

// What Tormell lays out up to `version`, found by taking an empty database
// in memory through the same steps: it cannot drift from them.
QSet<QString> objectsUpTo(int version)
{
    const sql::Connection scratch;
    QSqlDatabase db = scratch.db();
    db.setDatabaseName(QStringLiteral(":memory:"));
    if (!db.open())
        throw Failure(Reason::Unexpected, {}, QStringLiteral("cannot open a database in memory"));
    runSteps(db, 0, version);
    return layoutOf(db).objects;
}

} // namespace

bool newerByHeader(const QString& path)
{
    // SQLite's header: its magic text, then at 60 user_version and at 68
    // application_id, each four bytes big-endian.
    static const QByteArray kMagic = QByteArrayLiteral("SQLite format 3\0");
    constexpr qsizetype kVersionAt = 60, kApplicationIdAt = 68, kHeaderBytes = 72;
    // Not blocking: a FIFO put in the record's place must not hang the game.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    QByteArray header(kHeaderBytes, '\0');
    const bool whole = ::pread(fd, header.data(), kHeaderBytes, 0) == kHeaderBytes;
    ::close(fd);
    return whole && header.startsWith(kMagic) && qFromBigEndian<qint32>(header.constData() + kVersionAt) > kVersion
        && qFromBigEndian<qint32>(header.constData() + kApplicationIdAt) == kApplicationId;
}

int version(const QSqlDatabase& db)
{
    return versionOf(sql::single(db, kReadVersion));
}

int version(const QSqlDatabase& db, sql::Statements& statements)
{
    return versionOf(sql::single(statements(db, kReadVersion)));
}

int checkedVersion(const QSqlDatabase& db)
{
    const Layout found = layoutOf(db);
    const bool marked = found.applicationId == kApplicationId;
    // Another program's file may carry any version: only Tormell's mark makes a later one a newer Tormell's.
    if (found.version > kVersion) {
        if (!marked)
            throw Failure(Reason::Damaged, {},
                QStringLiteral("not a Tormell record: version %1 without Tormell's application id (it has %2)")
                    .arg(found.version)
                    .arg(found.applicationId));
        return found.version;
    }
    if (found.applicationId != 0 && !marked)
        throw Failure(
            Reason::Damaged, {}, QStringLiteral("not a Tormell record: application id %1").arg(found.applicationId));
    if (found.version >= kApplicationIdSince && !marked)
        throw Failure(Reason::Damaged, {},
            QStringLiteral("not a Tormell record: version %1 without Tormell's application id").arg(found.version));
    const QSet<QString> expected = objectsUpTo(found.version);
    QSet<QString> objects = found.objects;
    objects.removeIf(sqlitesOwn);
    if (objects != expected) {
        QStringList foreign = (objects - expected).values();
        QStringList missing = (expected - objects).values();
        foreign.sort();
        missing.sort();
        throw Failure(Reason::Damaged, {},
            QStringLiteral("not a Tormell record at version %1: holds [%2], lacks [%3]")
                .arg(found.version)
                .arg(foreign.join(QStringLiteral(", ")), missing.join(QStringLiteral(", "))));
    }
    return found.version;
}

int migrate(const QSqlDatabase& db)
{
    sql::Transaction transaction(db);
    // Read again under the write lock: another copy of the game may have just migrated.
    const int found = version(db);
    if (found >= kVersion)
        return found;
    runSteps(db, found, kVersion);
    if (found < kRoundIdsSince)
        giveIdsInTransaction(db);
    sql::run(db, QStringLiteral("PRAGMA user_version = %1").arg(kVersion));
    transaction.commit();
    return found;
}

QByteArray fileId(const QSqlDatabase& db)
{
    // Not a failure when missing: a listing is then bound to the file by device and inode alone.
    QSqlQuery row(db);
    return row.exec(QStringLiteral("SELECT id FROM record_file WHERE one = 1")) && row.next()
        ? row.value(0).toByteArray()
        : QByteArray();
}

void giveRoundsIds(const QSqlDatabase& db)
{
    // Off the index of ids: nothing more in the usual case.
    if (!sql::run(db, QStringLiteral("SELECT 1 FROM rounds WHERE uid IS NULL LIMIT 1")).next())
        return;
    sql::Transaction transaction(db);
    giveIdsInTransaction(db);
    transaction.commit();
}

} // namespace record::schema
