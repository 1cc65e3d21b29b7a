#include "record/schema.h"

#include "record/failure.h"
#include "record/sql.h"

#include <QSet>
#include <QSqlQuery>
#include <QStringList>
#include <array>
#include <span>

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

constexpr std::array<std::span<const char* const>, kVersion> kSteps
    = {kCreateTables, kIndexSettings, kMarkCoached, kMarkNearRest};

void runSteps(const QSqlDatabase& db, int from, int to)
{
    for (int step = from; step < to; ++step)
        for (const char* statement : kSteps[static_cast<std::size_t>(step)])
            sql::run(db, QString::fromLatin1(statement));
}

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
    QSet<QString> objects; // "type name", SQLite's own (named sqlite_...) aside
};

// Version and objects in one statement, so that both come from one snapshot:
// another copy of the game may be laying out a new file at this moment.
Layout layoutOf(const QSqlDatabase& db)
{
    QSqlQuery rows = sql::run(db,
        QStringLiteral("SELECT v.user_version, m.type, m.name FROM pragma_user_version AS v"
                       " LEFT JOIN sqlite_master AS m ON m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
    Layout layout;
    while (rows.next()) {
        layout.version = versionOf(rows.value(0));
        if (!rows.value(1).isNull())
            layout.objects.insert(rows.value(1).toString() + QLatin1Char(' ') + rows.value(2).toString());
    }
    return layout;
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

int version(const QSqlDatabase& db)
{
    return versionOf(sql::single(db, QStringLiteral("PRAGMA user_version")));
}

int checkedVersion(const QSqlDatabase& db)
{
    const Layout found = layoutOf(db);
    if (found.version > kVersion)
        return found.version;
    const QSet<QString> expected = objectsUpTo(found.version);
    if (found.objects != expected) {
        QStringList foreign = (found.objects - expected).values();
        QStringList missing = (expected - found.objects).values();
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
    sql::run(db, QStringLiteral("PRAGMA user_version = %1").arg(kVersion));
    transaction.commit();
    return found;
}

} // namespace record::schema
