#include "record/score_store.h"

#include "record/failure.h"
#include "record/file_identity.h"
#include "record/job.h"
#include "record/joint_blob.h"
#include "record/round_columns.h"
#include "record/round_id.h"
#include "record/sql.h"
#include "record/staged_rounds.h"
#include "record/time_text.h"
#include "toolkit/utc_offset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <algorithm>
#include <vector>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace record {

namespace {

// The row id, then the columns of eachStored(); a complete round's joints follow.
const QString kSelectSummary = QStringLiteral("SELECT id, %1 FROM rounds").arg(summaryColumns());
const QString kSelectComplete = QStringLiteral("SELECT id, %1, target, player FROM rounds"
                                               " LEFT JOIN round_joints ON round_joints.round_id = rounds.id")
                                    .arg(roundColumns());
const QString kInTimeOrder = QStringLiteral(" ORDER BY played_ms, id");

// SQLite keeps a NaN as NULL.
double realAt(const QSqlQuery& row, int column)
{
    const QVariant value = row.value(column);
    return value.isNull() ? std::numeric_limits<double>::quiet_NaN() : value.toDouble();
}

// A setting and whether coached practice alone played it, as the first three columns.
PlayedSetting playedSettingAt(const QSqlQuery& row)
{
    enum { Difficulty, DisplaySeconds, Coached };
    return {{realAt(row, Difficulty), realAt(row, DisplaySeconds)}, row.value(Coached).toInt() == 0};
}

// A round's fields from a row, each from the columns it is kept in, from the one at `at` on.
struct StoredReader {
    const QSqlQuery& row;
    int at;

    // The moment from played_ms and the offset it was played at from the end of
    // played_at: parsing the whole text would cost more than the rest of the row.
    void operator()(const RoundColumn&, QDateTime& playedAt)
    {
        const QString text = row.value(at++).toString();
        const qint64 ms = row.value(at++).toLongLong();
        // An offset beyond the zones Qt holds (a text written by hand) is read with the text.
        const std::optional<int> offset = utcOffsetOf(text);
        const QTimeZone zone = offset ? toolkit::zoneAheadOfUtc(*offset) : QTimeZone();
        playedAt = zone.isValid() ? QDateTime::fromMSecsSinceEpoch(ms, zone)
                                  : QDateTime::fromString(text, Qt::ISODateWithMs);
    }
    void operator()(const RoundColumn&, double& number) { number = realAt(row, at++); }
    void operator()(const RoundColumn&, int& number) { number = row.value(at++).toInt(); }
    void operator()(const RoundColumn&, bool& flag) { flag = row.value(at++).toBool(); }
    void operator()(const RoundColumn&, QString& text) { text = row.value(at++).toString(); }
    void operator()(const RoundColumn&, QByteArray& bytes) { bytes = row.value(at++).toByteArray(); }
};

// The row id and the round's fields; gives the place of the column after them.
template <class Round> int readStored(const QSqlQuery& row, Round& round)
{
    round.id = row.value(0).toLongLong();
    StoredReader reader {row, 1};
    eachStored(round, reader);
    return reader.at;
}

QList<RoundSummary> summaries(QSqlQuery& rows)
{
    QList<RoundSummary> found;
    // A record holds a handful of verdicts, each many times over: the rounds
    // share one copy of each rather than holding thousands.
    QSet<QString> verdicts;
    while (rows.next()) {
        RoundSummary& round = found.emplace_back();
        readStored(rows, round);
        round.verdict = *verdicts.insert(round.verdict);
    }
    found.squeeze(); // a list of thousands is kept while the window shows it
    return found;
}

// Sorts `rounds` by time, then id, each moment worked out once rather than at every comparison.
void putInTimeOrder(QList<RoundSummary>& rounds)
{
    struct Key {
        qint64 ms, id;
        qsizetype at;
        auto operator<=>(const Key&) const = default;
    };
    std::vector<Key> keys;
    keys.reserve(static_cast<std::size_t>(rounds.size()));
    for (qsizetype i = 0; i < rounds.size(); ++i)
        keys.push_back({rounds[i].playedAt.toMSecsSinceEpoch(), rounds[i].id, i});
    if (std::is_sorted(keys.cbegin(), keys.cend()))
        return;
    std::sort(keys.begin(), keys.end());
    QList<RoundSummary> sorted;
    sorted.reserve(rounds.size());
    for (const Key& key : keys)
        sorted.append(std::move(rounds[key.at]));
    rounds = std::move(sorted);
}

QList<RoundSummary> summaries(QSqlQuery&& rows)
{
    return summaries(rows);
}

void eachComplete(QSqlQuery rows, const std::function<void(RoundRecord&)>& take)
{
    while (rows.next()) {
        RoundRecord round;
        const int joints = readStored(rows, round);
        // A round whose joints are missing (NULL from the join) or the wrong
        // size is a fault of that round alone: the file passes SQLite's checks,
        // and the other rounds, its summary and the export go on without them.
        const std::optional<core::Joints> target = jointsOf(rows.value(joints).toByteArray());
        const std::optional<core::Joints> player = jointsOf(rows.value(joints + 1).toByteArray());
        if (target && player) {
            round.target = *target;
            round.player = *player;
        } else {
            round.damaged = true;
        }
        take(round);
    }
}

QList<RoundRecord> completes(QSqlQuery rows)
{
    QList<RoundRecord> found;
    eachComplete(std::move(rows), [&](RoundRecord& round) { found.append(std::move(round)); });
    return found;
}

// Inserts a round with its joints, unless a round with its uid is there
// already, inside the caller's transaction.
qint64 insertRound(RecordFile& file, const RoundRecord& round)
{
    static const QString kInsertRound = QStringLiteral("INSERT INTO rounds (%1) VALUES (%2) ON CONFLICT (uid) DO NOTHING")
                                            .arg(roundColumns(), placeholders(roundColumns()));
    static const QString kInsertJoints
        = QStringLiteral("INSERT INTO round_joints (round_id, target, player) VALUES (?, ?, ?)");
    QSqlQuery& insert = file.prepared(kInsertRound);
    sql::exec(insert, roundValues(round));
    const bool added = insert.numRowsAffected() != 0;
    const qint64 id = added ? insert.lastInsertId().toLongLong() : 0;
    insert.finish();
    if (!added)
        return 0;
    QSqlQuery& joints = file.prepared(kInsertJoints);
    sql::exec(joints, {id, jointBlob(round.target), jointBlob(round.player)});
    joints.finish();
    return id;
}

// Whether a round of the record (`rounds`, its joints `round_joints`) holds
// other content than the staged one with its id: its moment, by the instant
// (the text's offset is how it is shown), its numbers, texts and flags, its joints.
QString differingContent()
{
    QStringList differs;
    for (const QString& column : roundColumns().split(QStringLiteral(", ")))
        if (column != QStringLiteral("uid") && column != QStringLiteral("played_at"))
            differs << QStringLiteral("rounds.%1 IS NOT staged.%1").arg(column);
    for (const char* pose : {"target", "player"})
        differs << QStringLiteral("round_joints.%1 IS NOT staged.%1").arg(QLatin1String(pose));
    return differs.join(QStringLiteral(" OR "));
}

// A database attached to the connection under a name for as long as this lives.
class Attached {
public:
    Attached(const QSqlDatabase& db, const QString& path, const QString& schema)
        : m_db(db)
        , m_schema(schema)
    {
        sql::run(m_db, QStringLiteral("ATTACH DATABASE ? AS %1").arg(m_schema), {path});
    }
    ~Attached()
    {
        if (!m_db.isOpen()) // closed by the failure that ended the work, and the attachment with it
            return;
        try {
            sql::run(m_db, QStringLiteral("DETACH DATABASE %1").arg(m_schema));
        } catch (const Failure&) {
            // The failure that ended the work is the one told.
        }
    }
    Attached(const Attached&) = delete;
    Attached& operator=(const Attached&) = delete;

private:
    QSqlDatabase m_db;
    QString m_schema;
};

// SQLite's page cache while many rounds are added at once, in KiB: the index
// of ids is written all over, and with the usual cache SQLite would spill its
// pages to the WAL mid-transaction and read them back. An import of 100,000
// rounds takes a few MiB of them.
constexpr int kImportCacheKiB = 16 * 1024;

// The larger cache for as long as it lives, then the usual one again.
class LargerCache {
public:
    explicit LargerCache(const QSqlDatabase& db)
        : m_db(db)
    {
        setCacheKiB(kImportCacheKiB);
    }
    ~LargerCache()
    {
        // A connection the failure closed is opened anew, with the usual cache, by the next use.
        if (!m_db.isOpen())
            return;
        try {
            setCacheKiB(kPageCacheKiB);
        } catch (const Failure&) {
            // The connection failed meanwhile: the failure that ended the import is the one told.
        }
    }
    LargerCache(const LargerCache&) = delete;
    LargerCache& operator=(const LargerCache&) = delete;

private:
    void setCacheKiB(int kib) const { sql::run(m_db, QStringLiteral("PRAGMA cache_size = -%1").arg(kib)); }

    QSqlDatabase m_db;
};

const QString kWal = QStringLiteral("-wal");
const QString kShm = QStringLiteral("-shm");

// A new, empty file beside `path`, named for it with a random part and
// hidden, that no file of the player's has: VACUUM INTO fills it.
QString uniqueFileBeside(const QString& path)
{
    const QFileInfo target(path);
    QTemporaryFile file(target.dir().filePath(QStringLiteral(".%1.XXXXXX.part").arg(target.fileName())));
    file.setAutoRemove(false);
    if (!file.open())
        throw Failure(Reason::NotAccessible, path, QStringLiteral("cannot make a file beside ") + path);
    return file.fileName();
}

// Syncs the folder holding `path`, so that a rename into it survives a power cut.
void syncFolderOf(const QString& path)
{
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    const bool synced = folder >= 0 && ::fsync(folder) == 0;
    if (folder >= 0)
        ::close(folder);
    if (!synced)
        throw Failure(Reason::IoError, path, QStringLiteral("cannot sync the folder of ") + path);
}

} // namespace

ScoreStore::ScoreStore(const QString& path, QObject* parent)
    : QObject(parent)
    , m_file(path)
{
}

ScoreStore::~ScoreStore() = default;

QString ScoreStore::defaultPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/scores.sqlite");
}

std::optional<Problem> ScoreStore::append(RoundRecord& round)
{
    if (round.uid.isEmpty())
        round.uid = randomRoundId();
    std::optional<Problem> failed = attempt(Action::Save, [&] {
        if (!round.playedAt.isValid())
            throw Failure(Reason::Unexpected, {}, QStringLiteral("the round has no valid time"));
        const QSqlDatabase db = *m_file.open(RecordFile::Use::Create);
        sql::Transaction transaction(db, m_file.statements());
        const qint64 id = insertRound(m_file, round);
        transaction.commit();
        round.id = id;
    });
    if (!failed) {
        m_watch.lookAgain();
        emit changed();
    }
    return failed;
}

ScoreStore::Added ScoreStore::add(const QList<RoundRecord>& rounds)
{
    Added added;
    if (rounds.isEmpty())
        return added;
    std::optional<StagedRounds> staged;
    added.problem = attempt(Action::Import, [&] {
        staged.emplace();
        for (const RoundRecord& round : rounds)
            staged->stage(round);
    });
    return added.problem ? added : add(*staged);
}

ScoreStore::Added ScoreStore::add(StagedRounds& staged, JobProgress* progress)
{
    static const QString kStaged = QStringLiteral("staged");
    Added added;
    added.problem = attempt(Action::Import, [&] {
        const QString stagedPath = staged.finish();
        if (staged.count() == 0)
            return;
        const QSqlDatabase db = *m_file.open(RecordFile::Use::Create);
        const LargerCache cache(db);
        const Attached attached(db, stagedPath, kStaged);
        // Counted before the lock is taken: a round a save adds meanwhile has an id of its own.
        added.conflicts = sql::single(db,
            QStringLiteral("SELECT count(*) FROM %1 AS staged JOIN rounds ON rounds.uid = staged.uid"
                           " LEFT JOIN round_joints ON round_joints.round_id = rounds.id WHERE %2")
                .arg(StagedRounds::table(kStaged), differingContent()))
                              .toInt();
        // The only step that holds the write lock: SQLite copies the rounds
        // from table to table, without a round passing through here.
        sql::Transaction transaction(db);
        const qint64 lastBefore
            = sql::single(db, QStringLiteral("SELECT coalesce(max(id), 0) FROM rounds")).toLongLong();
        const QSqlQuery rounds = sql::run(db,
            QStringLiteral(
                "INSERT INTO rounds (%1) SELECT %1 FROM %2 WHERE true ORDER BY rowid ON CONFLICT (uid) DO NOTHING")
                .arg(roundColumns(), StagedRounds::table(kStaged)));
        const int count = rounds.numRowsAffected();
        // AUTOINCREMENT: the rounds just added are those after the last one before.
        sql::run(db,
            QStringLiteral(
                "INSERT INTO round_joints (round_id, target, player) SELECT rounds.id, staged.target,"
                " staged.player FROM rounds JOIN %1 AS staged ON staged.uid = rounds.uid WHERE rounds.id > ?")
                .arg(StagedRounds::table(kStaged)),
            {lastBefore});
        if (progress)
            progress->throwIfCancelled(); // the transaction rolls back: nothing added
        transaction.commit();
        added.count = count;
    });
    if (added.count > 0) {
        m_watch.lookAgain();
        emit changed();
    }
    return added;
}

std::optional<Problem> ScoreStore::backup(const QString& path)
{
    // Written beside its place under a name no file of the player's has,
    // then renamed over it: a backup is never half there, nor the one before
    // lost to a failed one.
    std::optional<QString> partial;
    std::optional<Problem> failed = attempt(Action::Backup, [&] {
        const std::optional<QSqlDatabase> db = m_file.open(RecordFile::Use::Read);
        if (!db)
            throw Failure(Reason::NoRecord, {}, QStringLiteral("no record to back up"));
        // Over the record, or any record in use, the copy would be paired
        // with a WAL that is not its own: SQLite would take it for damaged.
        const FileIdentity target = identityOf(path);
        for (const QString& part : {m_file.path(), m_file.path() + kWal, m_file.path() + kShm})
            if (target.exists && identityOf(part) == target)
                throw Failure(Reason::TheRecordItself, path, QStringLiteral("backup onto ") + part);
        if (QFileInfo(path + kWal).size() > 0)
            throw Failure(Reason::TheRecordItself, path, QStringLiteral("backup onto a record whose WAL holds pages"));
        partial = uniqueFileBeside(path);
        // One read transaction: a snapshot, whatever other copies save meanwhile.
        sql::run(*db, QStringLiteral("VACUUM INTO ?"), {*partial});
        QFile written(*partial);
        if (!written.open(QIODevice::ReadWrite) || ::fsync(written.handle()) != 0)
            throw Failure(Reason::IoError, path, QStringLiteral("cannot sync ") + *partial);
        if (std::rename(QFile::encodeName(*partial).constData(), QFile::encodeName(path).constData()) != 0)
            throw Failure(Reason::NotAccessible, path, QStringLiteral("cannot rename %1 to %2").arg(*partial, path));
        partial.reset();
        syncFolderOf(path); // the rename, on disk
    });
    if (partial)
        QFile::remove(*partial);
    return failed;
}

void ScoreStore::requireListedFrom(const RecordIdentity& listedFrom) const
{
    const RecordIdentity opened = m_file.openedRecord();
    if (opened != listedFrom)
        throw Failure(Reason::Replaced, {},
            QStringLiteral("the file listed from (inode %1, id %2) has been replaced (inode %3, id %4)")
                .arg(listedFrom.file.inode)
                .arg(QString::fromLatin1(listedFrom.id.toHex()))
                .arg(opened.file.inode)
                .arg(QString::fromLatin1(opened.id.toHex())));
}

std::optional<Problem> ScoreStore::remove(const QList<qint64>& ids, const RecordIdentity& listedFrom)
{
    int removed = 0;
    std::optional<Problem> failed = attempt(Action::Remove, [&] {
        const std::optional<QSqlDatabase> db = m_file.open(RecordFile::Use::Change);
        if (!db || ids.isEmpty())
            return;
        requireListedFrom(listedFrom);
        // A round and its joints go in one transaction. No foreign key says so
        // in the layout: the store is the file's only writer (a file holding
        // anything more is not taken for a record), and adding one would mean
        // rebuilding every player's joints table for what this already gives.
        sql::Transaction transaction(*db);
        QSqlQuery rounds = sql::prepare(*db, QStringLiteral("DELETE FROM rounds WHERE id = ?"));
        QSqlQuery joints = sql::prepare(*db, QStringLiteral("DELETE FROM round_joints WHERE round_id = ?"));
        int count = 0;
        for (const qint64 id : ids) {
            sql::exec(rounds, {id});
            count += rounds.numRowsAffected();
            sql::exec(joints, {id});
        }
        transaction.commit();
        removed = count;
    });
    if (removed > 0) {
        m_watch.lookAgain();
        emit changed();
    }
    return failed;
}

Read<QList<RoundSummary>> ScoreStore::rounds()
{
    return attemptRead<QList<RoundSummary>>(
        [](const QSqlDatabase& db) { return summaries(sql::run(db, kSelectSummary + kInTimeOrder)); });
}

Read<QList<RoundSummary>> ScoreStore::rounds(const Setting& setting)
{
    // IS rather than = so that a NULL (a NaN when saved) matches itself.
    return attemptRead<QList<RoundSummary>>([&](const QSqlDatabase& db) {
        return summaries(sql::run(db,
            kSelectSummary + QStringLiteral(" WHERE difficulty IS ? AND display_seconds IS ?") + kInTimeOrder,
            {setting.difficulty, setting.displaySeconds}));
    });
}

Read<QList<RoundSummary>> ScoreStore::roundsAtDifficulty(double difficulty, QList<RoundSummary> known)
{
    qint64 lastId = 0, knownMs = 0;
    for (const RoundSummary& round : known) {
        lastId = std::max(lastId, round.id);
        knownMs += round.playedAt.toMSecsSinceEpoch();
    }
    const auto inTimeOrder = [](const RoundSummary& a, const RoundSummary& b) {
        const qint64 aMs = a.playedAt.toMSecsSinceEpoch(), bMs = b.playedAt.toMSecsSinceEpoch();
        return aMs < bMs || (aMs == bMs && a.id < b.id);
    };
    return attemptRead<QList<RoundSummary>>([&](const QSqlDatabase& db) {
        // The rounds known are still there, none gone, when as many rounds up
        // to the last one known remain and their times add up the same: ids
        // only grow, so a round removed cannot be made up for by one added.
        // A file put in the record's place fails the test by their times.
        // Both come off the index of settings, without reading the rows.
        // Both statements are kept prepared: the coach reads on at every coached check.
        static const QString kKept = QStringLiteral(
            "SELECT count(*), coalesce(sum(played_ms), 0) FROM rounds WHERE difficulty IS ? AND id <= ?");
        // By id alone, the few rows after the last known; the index of
        // settings would have every row of the difficulty looked up.
        static const QString kAdded
            = kSelectSummary + QStringLiteral(" WHERE id > ? AND +difficulty IS ?") + kInTimeOrder;
        const auto stands = [&] {
            QSqlQuery& kept = m_file.prepared(kKept);
            sql::exec(kept, {difficulty, lastId});
            const bool same
                = kept.next() && kept.value(0).toLongLong() == known.size() && kept.value(1).toLongLong() == knownMs;
            kept.finish();
            return same;
        };
        if (known.isEmpty() || !stands()) {
            // Off the index of settings, whose order is by display time first:
            // put in time order here, which costs less than SQLite sorting whole rows.
            QList<RoundSummary> all = summaries(
                sql::run(db, kSelectSummary + QStringLiteral(" WHERE difficulty IS ?"), {difficulty}));
            putInTimeOrder(all);
            return all;
        }
        QSqlQuery& reading = m_file.prepared(kAdded);
        sql::exec(reading, {lastId, difficulty});
        const QList<RoundSummary> added = summaries(reading);
        // Another copy's clock may put a round saved since before ones known.
        const bool after = added.isEmpty() || !inTimeOrder(added.front(), known.back());
        const qsizetype before = known.size();
        known.append(added);
        if (!after)
            std::inplace_merge(known.begin(), known.begin() + before, known.end(), inTimeOrder);
        return known;
    });
}

Read<QList<PlayedSetting>> ScoreStore::settings()
{
    return attemptRead<QList<PlayedSetting>>([](const QSqlDatabase& db) {
        // The settings off one index, and for each whether any round of it
        // was kept by hand off another: neither reads the rounds themselves.
        QSqlQuery rows = sql::run(db,
            QStringLiteral("SELECT difficulty, display_seconds, NOT EXISTS (SELECT 1 FROM rounds AS by_hand"
                           "  WHERE by_hand.coached = 0 AND by_hand.difficulty IS played.difficulty"
                           "  AND by_hand.display_seconds IS played.display_seconds)"
                           " FROM rounds AS played"
                           " GROUP BY difficulty, display_seconds ORDER BY difficulty, display_seconds"));
        QList<PlayedSetting> found;
        while (rows.next())
            found.append(playedSettingAt(rows));
        return found;
    });
}

Read<std::optional<PlayedSetting>> ScoreStore::latestSetting()
{
    // The last round in the lists' time order: each setting's latest moment
    // off the index of settings, then the rounds at those moments, without
    // reading the others. No index leads with the moment alone: the file
    // would take another page at every save.
    return attemptRead<std::optional<PlayedSetting>>([](const QSqlDatabase& db) -> std::optional<PlayedSetting> {
        QSqlQuery row = sql::run(db,
            QStringLiteral("WITH latest AS (SELECT difficulty, display_seconds, MAX(played_ms) AS played_ms"
                           "  FROM rounds GROUP BY difficulty, display_seconds)"
                           " SELECT rounds.difficulty, rounds.display_seconds, rounds.coached FROM latest JOIN rounds"
                           "  ON rounds.difficulty IS latest.difficulty"
                           "  AND rounds.display_seconds IS latest.display_seconds"
                           "  AND rounds.played_ms = latest.played_ms"
                           " ORDER BY rounds.played_ms DESC, rounds.id DESC LIMIT 1"));
        if (!row.next())
            return std::nullopt;
        return playedSettingAt(row);
    });
}

Read<RoundRecord> ScoreStore::round(qint64 id, std::optional<RecordIdentity> listedFrom)
{
    Read<QList<RoundRecord>> found = attemptRead<QList<RoundRecord>>([&](const QSqlDatabase& db) {
        if (listedFrom)
            requireListedFrom(*listedFrom);
        return completes(sql::run(db, kSelectComplete + QStringLiteral(" WHERE rounds.id = ?"), {id}));
    });
    if (found.problem)
        return {{}, found.problem, found.from};
    if (found.value.isEmpty())
        return {
            {}, problem(Action::Read, Reason::NoSuchRound, path(), QStringLiteral("no round %1").arg(id)), found.from};
    if (found.value.front().damaged)
        return {{},
            problem(Action::Read, Reason::RoundDamaged, path(),
                QStringLiteral("the joints of round %1 are missing or not nine points").arg(id)),
            found.from};
    return {found.value.front(), std::nullopt, found.from};
}

Read<QList<RoundRecord>> ScoreStore::completeRounds()
{
    return attemptRead<QList<RoundRecord>>(
        [](const QSqlDatabase& db) { return completes(sql::run(db, kSelectComplete + kInTimeOrder)); });
}

Read<qint64> ScoreStore::eachCompleteRound(const std::function<void(RoundRecord&)>& take)
{
    return attemptRead<qint64>([&](const QSqlDatabase& db) {
        qint64 count = 0;
        eachComplete(sql::run(db, kSelectComplete + kInTimeOrder), [&](RoundRecord& round) {
            take(round);
            ++count;
        });
        return count;
    });
}

Read<qint64> ScoreStore::count()
{
    return attemptRead<qint64>([](const QSqlDatabase& db) {
        return sql::single(db, QStringLiteral("SELECT count(*) FROM rounds")).toLongLong();
    });
}

void ScoreStore::pollForChanges()
{
    bool changedElsewhere = false;
    try {
        changedElsewhere = m_watch.changed();
    } catch (const Failure&) {
        // Not said here: the window's next read meets the same failure and shows it.
    }
    if (changedElsewhere)
        emit changed();
}

template <class Body> std::optional<Problem> ScoreStore::attempt(Action action, Body&& body)
{
    try {
        std::forward<Body>(body)();
        return std::nullopt;
    } catch (const Failure& failure) {
        // Damage found while in use: the next use checks the file again and moves it aside.
        if (failure.reason == Reason::Damaged)
            m_file.closeDamaged();
        return problem(action, failure.reason, failure.path.isEmpty() ? path() : failure.path, failure.detail);
    }
}

template <class T, class Body> Read<T> ScoreStore::attemptRead(Body&& body)
{
    Read<T> read;
    read.problem = attempt(Action::Read, [&] {
        if (const std::optional<QSqlDatabase> db = m_file.open(RecordFile::Use::Read))
            read.value = body(*db);
        read.from = m_file.openedRecord();
    });
    if (!read.problem)
        m_watch.firstLook();
    return read;
}

} // namespace record
