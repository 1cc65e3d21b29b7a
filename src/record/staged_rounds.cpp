#include "record/staged_rounds.h"

#include "record/failure.h"
#include "record/joint_blob.h"
#include "record/private_copy.h"
#include "record/round_columns.h"

namespace record {

namespace {

const QString kTable = QStringLiteral("staged_rounds");
const QString kColumns = roundColumns() + QStringLiteral(", target, player");

// SQLite's cache for the gathering, in KiB: the index of ids is written all
// over, and 100,000 rounds' ids take a few MiB of it.
constexpr int kCacheKiB = 16 * 1024;

} // namespace

StagedRounds::StagedRounds()
    : m_folder(privateFolderTemplate())
    , m_path(m_folder.filePath(QStringLiteral("staged.sqlite")))
{
    if (!m_folder.isValid())
        throw Failure(Reason::NotAccessible, {}, QStringLiteral("no temporary folder to gather the rounds in"));
    QSqlDatabase db = m_connection.db();
    db.setDatabaseName(m_path);
    if (!db.open())
        throw Failure(Reason::NotAccessible, {}, QStringLiteral("cannot make ") + m_path);
    // A file thrown away after use: no journal, no sync.
    sql::run(db, QStringLiteral("PRAGMA journal_mode = OFF"));
    sql::run(db, QStringLiteral("PRAGMA synchronous = OFF"));
    sql::run(db, QStringLiteral("PRAGMA cache_size = -%1").arg(kCacheKiB));
    // No index while the rounds come: one is made once, in finish().
    sql::run(db,
        QStringLiteral("CREATE TABLE %1 (%2, target BLOB NOT NULL, player BLOB NOT NULL)").arg(kTable, roundColumns()));
    m_insert = sql::prepare(
        db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(kTable, kColumns, placeholders(kColumns)));
    beginFile();
}

StagedRounds::~StagedRounds()
{
    m_insert = QSqlQuery(); // no statement may outlive the connection
}

void StagedRounds::beginFile()
{
    if (!m_open) {
        sql::run(m_connection.db(), QStringLiteral("BEGIN"));
        m_open = true;
    }
    sql::run(m_connection.db(), QStringLiteral("SAVEPOINT file"));
    m_countBeforeFile = m_count;
}

void StagedRounds::dropFile()
{
    sql::run(m_connection.db(), QStringLiteral("ROLLBACK TO file"));
    m_count = m_countBeforeFile;
}

void StagedRounds::stage(const RoundRecord& round)
{
    sql::exec(m_insert, roundValues(round) << jointBlob(round.target) << jointBlob(round.player));
    ++m_count;
}

const QString& StagedRounds::finish()
{
    if (m_open) {
        const QSqlDatabase db = m_connection.db();
        // A round twice among the files is added as it came first; its id
        // is then what the rounds are matched with their joints by.
        sql::run(db,
            QStringLiteral("DELETE FROM %1 WHERE rowid NOT IN (SELECT min(rowid) FROM %1 GROUP BY uid)").arg(kTable));
        sql::run(db, QStringLiteral("CREATE UNIQUE INDEX staged_by_uid ON %1 (uid)").arg(kTable));
        sql::run(db, QStringLiteral("COMMIT"));
        m_open = false;
    }
    return m_path;
}

QString StagedRounds::table(const QString& schema)
{
    return schema + QLatin1Char('.') + kTable;
}

} // namespace record
