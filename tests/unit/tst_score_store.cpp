// The score record on disk: what a save keeps, a kill right after a save,
// damaged, foreign and unwritable files, a damaged round, read-only folders
// and files, two writers at once, older and newer files.

#include "record/file_identity.h"
#include "record/joint_blob.h"
#include "record/move_aside.h"
#include "record/round_import.h"
#include "record/schema.h"
#include "record/score_store.h"
#include "record/time_text.h"
#include "support/problem_said.h"
#include "support/record_files.h"
#include "support/round_sets.h"
#include "support/sample_round.h"
#include "support/small_disk.h"
#include "support/unprivileged.h"
#include "toolkit/utc_offset.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QSqlError>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <bit>
#include <csignal>
#include <cstring>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <unistd.h>

using record::RoundRecord;
using record::ScoreStore;

Q_DECLARE_METATYPE(record::RoundRecord)
Q_DECLARE_METATYPE(std::optional<int>)

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// The test binary run again with this argument saves rounds: path, count, verdict
// prefix, then "kill" to be killed right after the last save.
const QString kWriterMode = QStringLiteral("--write-rounds");
constexpr int kChildTimeoutMs = 30000;
const QString kSaveFailed = QStringLiteral("点数を保存できませんでした。");
const QString kRemoveFailed = QStringLiteral("記録を削除できませんでした。");
const QString kNewer = QStringLiteral("新しい版");

bool sameBits(double a, double b)
{
    return std::bit_cast<quint64>(a) == std::bit_cast<quint64>(b);
}

bool sameBits(const core::Joints& a, const core::Joints& b)
{
    return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

// Writers started together, each saving `count` rounds, then ending as `ending` says; all finished.
std::vector<std::unique_ptr<QProcess>> runWriters(
    const QString& path, int count, const QStringList& prefixes, const QString& ending)
{
    std::vector<std::unique_ptr<QProcess>> writers;
    for (const QString& prefix : prefixes) {
        writers.push_back(std::make_unique<QProcess>());
        writers.back()->start(
            QCoreApplication::applicationFilePath(), {kWriterMode, path, QString::number(count), prefix, ending});
        writers.back()->waitForStarted();
    }
    for (const auto& writer : writers) {
        writer->write("go\n");
        writer->waitForBytesWritten();
    }
    for (const auto& writer : writers)
        writer->waitForFinished(kChildTimeoutMs);
    return writers;
}

int writeRounds(const QStringList& args)
{
    ScoreStore store(args.value(2));
    std::string go; // wait for the parent, so that writers start together
    std::getline(std::cin, go);
    for (int i = 0; i < args.value(3).toInt(); ++i) {
        RoundRecord round = sampleRound(i);
        round.verdict = args.value(4) + QString::number(i);
        if (const auto problem = store.append(round)) {
            std::cerr << qPrintable(problem->detail) << '\n';
            return 1;
        }
    }
    if (args.value(5) == QStringLiteral("kill"))
        ::raise(SIGKILL); // no destructor, no exit handler: only what append left on disk
    return 0;
}

// Every message logged while it lives, as "category: text".
class LogCapture {
public:
    LogCapture()
        : m_previous(qInstallMessageHandler(&LogCapture::keep))
    {
        s_lines.clear();
    }
    ~LogCapture() { qInstallMessageHandler(m_previous); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    bool logged(const QString& category, const QString& text) const
    {
        return std::any_of(s_lines.begin(), s_lines.end(), [&](const QString& line) {
            return line.startsWith(category + QStringLiteral(": ")) && line.contains(text);
        });
    }

private:
    static void keep(QtMsgType, const QMessageLogContext& context, const QString& message)
    {
        s_lines.append(QString::fromLatin1(context.category) + QStringLiteral(": ") + message);
    }

    static inline QStringList s_lines;
    QtMessageHandler m_previous;
};

// A setting of the store's own connection, as SQLite reports it.
QVariant pragmaOf(const ScoreStore& store, const QString& name)
{
    QSqlQuery query(QSqlDatabase::database(store.connectionName(), false));
    return query.exec(QStringLiteral("PRAGMA ") + name) && query.next() ? query.value(0) : QVariant();
}

QList<qint64> idsOf(const QList<record::RoundSummary>& rounds)
{
    QList<qint64> ids;
    for (const auto& round : rounds)
        ids.append(round.id);
    return ids;
}


/// `moment` as the record writes it at `offsetSeconds`, made without Qt's
/// time zones, which may not hold that offset.
QString textAtOffset(const QDateTime& moment, int offsetSeconds)
{
    constexpr int kSecondsPerMinute = 60;
    const QDateTime wall = moment.toUTC().addSecs(offsetSeconds);
    const int minutes = std::abs(offsetSeconds) / kSecondsPerMinute;
    return wall.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz"))
        + QString::asprintf("%c%02d:%02d", offsetSeconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

} // namespace

class TestScoreStore : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder; // not created: the store makes it on the first save
    QString m_path;

    // A record in the layout of `version` (before the file's own id), laid
    // out by hand as that version's Tormell did, with `rounds` rounds;
    // Tormell's mark in its header only if `marked`.
    void layOutOlderRecord(int version, int rounds, bool marked)
    {
        QDir().mkpath(m_folder);
        RawFile old(m_path);
        old.run(QStringLiteral("CREATE TABLE rounds (id INTEGER PRIMARY KEY AUTOINCREMENT, played_at TEXT NOT NULL,"
                               " played_ms INTEGER NOT NULL, difficulty REAL, display_seconds REAL,"
                               " elapsed_seconds REAL, score INTEGER NOT NULL, verdict TEXT NOT NULL,"
                               " grid_lines INTEGER NOT NULL)"));
        old.run(QStringLiteral("CREATE TABLE round_joints (round_id INTEGER PRIMARY KEY, target BLOB NOT NULL,"
                               " player BLOB NOT NULL)"));
        for (int i = 0; i < rounds; ++i) {
            const RoundRecord r = sampleRound(i);
            old.run(QStringLiteral("INSERT INTO rounds VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {i + 1, record::isoText(r.playedAt), r.playedAt.toMSecsSinceEpoch(), r.difficulty, r.displaySeconds,
                    r.elapsedSeconds, r.score, r.verdict, r.gridLines});
            old.run(QStringLiteral("INSERT INTO round_joints VALUES (?, ?, ?)"),
                {i + 1, record::jointBlob(r.target), record::jointBlob(r.player)});
        }
        if (version >= 2)
            old.run(
                QStringLiteral("CREATE INDEX rounds_by_setting ON rounds (difficulty, display_seconds, played_ms)"));
        if (version >= 3)
            old.run(QStringLiteral("ALTER TABLE rounds ADD COLUMN coached INTEGER NOT NULL DEFAULT 0"));
        if (version >= 4)
            old.run(QStringLiteral("ALTER TABLE rounds ADD COLUMN near_rest INTEGER NOT NULL DEFAULT 0"));
        if (version >= 6) {
            old.run(QStringLiteral("ALTER TABLE rounds ADD COLUMN uid BLOB"));
            old.run(QStringLiteral("CREATE UNIQUE INDEX rounds_by_uid ON rounds (uid)"));
            old.run(QStringLiteral("UPDATE rounds SET uid = randomblob(16)"));
        }
        if (version >= 7) {
            old.run(QStringLiteral("CREATE TABLE record_file (one INTEGER PRIMARY KEY CHECK (one = 1), id BLOB NOT NULL)"));
            old.run(QStringLiteral("INSERT INTO record_file (one, id) VALUES (1, randomblob(16))"));
        }
        if (marked)
            old.run(QStringLiteral("PRAGMA application_id = %1").arg(record::schema::kApplicationId));
        old.run(QStringLiteral("PRAGMA user_version = %1").arg(version));
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_folder = m_dir->filePath(QStringLiteral("Tormell"));
        m_path = m_folder + QStringLiteral("/scores.sqlite");
    }

    void cleanup()
    {
        // A test that failed with its folder locked leaves it removable.
        if (QFileInfo::exists(m_folder))
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void theMomentAndItsOffsetReadBack_data()
    {
        constexpr int kHour = 3600, kHalfHour = 1800;
        QTest::addColumn<int>("offsetSeconds");
        QTest::newRow("UTC written out") << 0;
        QTest::newRow("east") << 9 * kHour;
        QTest::newRow("west, half an hour") << -(3 * kHour + kHalfHour);
        QTest::newRow("farthest east of today's zones") << 14 * kHour;
        QTest::newRow("farthest west of today's zones") << -12 * kHour;
        QTest::newRow("beyond Qt 6.4's zones, east") << 15 * kHour;
        QTest::newRow("beyond Qt 6.4's zones, west") << -(15 * kHour + kHalfHour);
    }
    // Guards against a round read back at another moment or hour than it was
    // played (played_ms, and the offset at the end of played_at), or as no
    // moment at all where Qt holds no zone for its offset.
    void theMomentAndItsOffsetReadBack()
    {
        QFETCH(int, offsetSeconds);
        RoundRecord round = sampleRound();
        QVERIFY(!ScoreStore(m_path).append(round));
        const QString text = textAtOffset(round.playedAt, offsetSeconds);
        RawFile(m_path).run(QStringLiteral("UPDATE rounds SET played_at = ? WHERE id = ?"), {text, round.id});

        ScoreStore reader(m_path);
        const auto back = reader.round(round.id);
        QVERIFY(!back.problem);
        const QDateTime& at = back.value.playedAt;
        QVERIFY2(at.isValid(), qPrintable(text));
        QCOMPARE(at.toMSecsSinceEpoch(), round.playedAt.toMSecsSinceEpoch());
        QCOMPARE(at.offsetFromUtc(), offsetSeconds);
        QCOMPARE(at.toString(Qt::ISODateWithMs).left(23), text.left(23)); // the wall time it was played at
        const auto listed = reader.rounds();
        QVERIFY(!listed.problem && listed.value.size() == 1);
        QCOMPARE(listed.value[0].playedAt.offsetFromUtc(), offsetSeconds);
    }

    // Guards against a field lost or rounded on the way: a time without its
    // offset or milliseconds, an infinity or a verdict character mangled,
    // joints kept as floats or in REAL columns, which drop the sign of zero;
    // and against a save that a power cut could undo (the WAL synced less
    // than FULL) or a connection that trusts what a file from elsewhere holds.
    void aSaveReadsBackFieldForField_data()
    {
        QTest::addColumn<RoundRecord>("round");
        RoundRecord awkward = sampleRound(1);
        awkward.displaySeconds = kInf;
        awkward.verdict = verdict::kGood + verdict::kBad;
        awkward.target[0] = {-0.0, std::numeric_limits<double>::denorm_min()};
        awkward.player[8] = {59999.999999999993, -0.1}; // as far as a joint is kept, in digits a float would round
        RoundRecord abroad = sampleRound(2);
        constexpr int kNineHours = 9 * 3600;
        abroad.playedAt = QDateTime(QDate(2027, 3, 28), QTime(1, 30, 0, 5), toolkit::zoneAheadOfUtc(kNineHours));
        abroad.coached = true;
        abroad.nearRest = true;
        QTest::newRow("ordinary round") << sampleRound();
        QTest::newRow("infinite display time, two verdicts, joints at their extremes") << awkward;
        QTest::newRow("played in another time zone, kept by the coach, its target near rest") << abroad;
    }
    void aSaveReadsBackFieldForField()
    {
        QFETCH(RoundRecord, round);
        {
            ScoreStore saver(m_path);
            QVERIFY(!saver.append(round));
            constexpr int kSynchronousFull = 2; // PRAGMA synchronous reads 0 OFF, 1 NORMAL, 2 FULL, 3 EXTRA
            QCOMPARE(pragmaOf(saver, QStringLiteral("synchronous")), QVariant(kSynchronousFull));
            QCOMPARE(pragmaOf(saver, QStringLiteral("trusted_schema")), QVariant(0));
            QCOMPARE(pragmaOf(saver, QStringLiteral("cell_size_check")), QVariant(1));
        }
        QVERIFY(round.id > 0);

        ScoreStore reader(m_path); // a store of its own: read from the file, not from memory
        const record::Read<RoundRecord> back = reader.round(round.id);
        QVERIFY(!back.problem);
        const RoundRecord& r = back.value;
        QCOMPARE(r.id, round.id);
        QCOMPARE(r.playedAt.toMSecsSinceEpoch(), round.playedAt.toMSecsSinceEpoch());
        QVERIFY(sameBits(r.difficulty, round.difficulty) && sameBits(r.displaySeconds, round.displaySeconds)
            && sameBits(r.elapsedSeconds, round.elapsedSeconds));
        QVERIFY(r.score == round.score && r.gridLines == round.gridLines && r.coached == round.coached
            && r.nearRest == round.nearRest);
        QCOMPARE(r.verdict, round.verdict);
        QVERIFY(sameBits(r.target, round.target) && sameBits(r.player, round.player));
        QCOMPARE(reader.rounds().value.value(0).verdict, round.verdict);

        const QString stored = RawFile(m_path).run(QStringLiteral("SELECT played_at FROM rounds")).toString();
        static const QRegularExpression iso(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d$)"));
        QVERIFY2(iso.match(stored).hasMatch(), qPrintable(stored));
        // The offset it was played at, whatever this computer's zone.
        QCOMPARE(QDateTime::fromString(stored, Qt::ISODateWithMs).offsetFromUtc(), round.playedAt.offsetFromUtc());
        QCOMPARE(r.playedAt.offsetFromUtc(), round.playedAt.offsetFromUtc());
    }

    void theOffsetOfATimeTextIsReadFromItsEnd_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<int>>("seconds");
        QTest::newRow("east") << "2026-12-07T16:05:03.120+09:00" << std::optional(9 * 3600);
        QTest::newRow("west, half an hour") << "2026-12-07T16:05:03.120-03:30" << std::optional(-(3 * 3600 + 1800));
        QTest::newRow("UTC written out") << "2026-12-07T16:05:03.120+00:00" << std::optional(0);
        QTest::newRow("Z") << "2026-12-07T16:05:03.120Z" << std::optional<int>();
        QTest::newRow("no colon") << "2026-12-07T16:05:03.120+0900" << std::optional<int>();
        QTest::newRow("too short") << "+9:00" << std::optional<int>();
    }
    // Guards against a round shown at another hour than it was played, or a
    // time written otherwise (by hand) taken for one with an offset.
    void theOffsetOfATimeTextIsReadFromItsEnd()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<int>, seconds);
        QCOMPARE(record::utcOffsetOf(text), seconds);
    }

    // Guards against a folder or an empty file made by merely looking.
    void readingARecordThatDoesNotExistCreatesNothing()
    {
        ScoreStore store(m_path);
        QVERIFY(store.rounds().value.isEmpty() && store.settings().value.isEmpty());
        QVERIFY(!store.latestSetting().problem && !store.latestSetting().value);
        QVERIFY(store.completeRounds().value.isEmpty());
        QVERIFY(!store.remove({1}, store.rounds().from));
        store.pollForChanges();
        QVERIFY(store.round(1).problem);
        QVERIFY(!QFileInfo::exists(m_folder));
    }

    // Guards against a save that returns before its commit: a transaction
    // kept open for batching, a write left to a destructor or a timer.
    void aKillRightAfterASaveLosesNothing()
    {
        const auto writers = runWriters(m_path, 1, {QStringLiteral("killed ")}, QStringLiteral("kill"));
        QCOMPARE(writers[0]->exitStatus(), QProcess::CrashExit);
        const auto rounds = ScoreStore(m_path).completeRounds();
        QCOMPARE(rounds.value.size(), 1);
        QCOMPARE(rounds.value[0].verdict, QStringLiteral("killed 0"));
        QVERIFY(sameBits(rounds.value[0].player, sampleRound(0).player));
    }

    // Guards against "database is locked" reaching the player when two copies
    // of the game save at the same moment, and against one overwriting the other.
    void twoWritersAtOnceBothLand()
    {
        constexpr int kEach = 50;
        for (const auto& writer : runWriters(m_path, kEach, {QStringLiteral("a"), QStringLiteral("b")}, {}))
            QVERIFY2(writer->exitStatus() == QProcess::NormalExit && writer->exitCode() == 0,
                writer->readAllStandardError().constData());
        QSet<QString> verdicts;
        for (const record::RoundSummary& round : ScoreStore(m_path).rounds().value)
            verdicts.insert(round.verdict);
        QCOMPARE(verdicts.size(), 2 * kEach); // a0..a49 and b0..b49
    }

    void aDamagedFileIsKeptAsideAndAFreshRecordBegins_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("random bytes") << "random";
        QTest::newRow("a database with a damaged page") << "page";
        QTest::newRow("a damaged page, the last commit still in the WAL") << "wal";
        QTest::newRow("another program's database: version 0, a rounds table of its own") << "foreign";
        QTest::newRow("another program's database: a later version, a notes table") << "later";
        QTest::newRow("a record with a trigger its version never creates") << "trigger";
        QTest::newRow("an older record with a view and a table of another program") << "view";
        QTest::newRow("a record with a trigger named as SQLite's own, written into its schema") << "sqlite trigger";
        QTest::newRow("a record whose index of the same name is unique") << "unique";
        QTest::newRow("a record marked by another application") << "application id";
        QTest::newRow("a record whose own id may be more than one") << "file id";
        QTest::newRow("a fifth layout without Tormell's mark") << "unmarked";
    }
    // Guards against a damaged record deleted, overwritten or left in the way
    // of every later save, its last commits lost by leaving its WAL behind,
    // and against the player never hearing where it went; and against a file
    // Tormell did not write taken for a record: saves failing on it forever,
    // or its triggers run by them, or its rounds imported.
    void aDamagedFileIsKeptAsideAndAFreshRecordBegins()
    {
        QFETCH(QString, damage);
        constexpr qsizetype kPageSize = 4096; // SQLite's default
        constexpr int kRoundsForSomePages = 20;
        const QString wal = QStringLiteral("-wal");
        QByteArray damaged(3 * kPageSize, Qt::Uninitialized);
        QByteArray lastCommit; // the WAL beside it, if any
        if (damage == QStringLiteral("random")) {
            QDir().mkpath(m_folder);
            QRandomGenerator(1).fillRange(reinterpret_cast<quint32*>(damaged.data()), damaged.size() / 4);
        } else if (damage == QStringLiteral("unmarked")) {
            layOutOlderRecord(record::schema::kApplicationIdSince, 1, false);
            damaged = bytesOf(m_path);
        } else if (damage == QStringLiteral("foreign") || damage == QStringLiteral("later")) {
            QDir().mkpath(m_folder);
            {
                RawFile other(m_path);
                if (damage == QStringLiteral("foreign")) {
                    other.run(QStringLiteral("CREATE TABLE rounds (player TEXT, points INTEGER)"));
                    other.run(QStringLiteral("INSERT INTO rounds VALUES ('someone', 42)"));
                } else {
                    other.run(QStringLiteral("CREATE TABLE notes (text TEXT)"));
                    other.run(QStringLiteral("PRAGMA user_version = 12"));
                }
            }
            damaged = bytesOf(m_path);
        } else if (QStringList {QStringLiteral("trigger"), QStringLiteral("view"), QStringLiteral("sqlite trigger"),
                       QStringLiteral("unique"), QStringLiteral("application id"), QStringLiteral("file id")}
                       .contains(damage)) {
            {
                ScoreStore writer(m_path);
                RoundRecord round = sampleRound();
                QVERIFY(!writer.append(round));
            }
            {
                RawFile edited(m_path);
                if (damage == QStringLiteral("trigger")) {
                    edited.run(
                        QStringLiteral("CREATE TRIGGER wipe AFTER INSERT ON rounds BEGIN DELETE FROM rounds; END"));
                } else if (damage == QStringLiteral("view")) {
                    edited.run(QStringLiteral("CREATE VIEW best AS SELECT max(score) FROM rounds"));
                    edited.run(QStringLiteral("CREATE TABLE notes (text TEXT)"));
                    edited.run(QStringLiteral("PRAGMA user_version = 2"));
                } else if (damage == QStringLiteral("sqlite trigger")) {
                    // SQLite loads and runs it, though no CREATE may give a trigger such a name.
                    edited.run(QStringLiteral("PRAGMA writable_schema = ON"));
                    edited.run(QStringLiteral(
                        "INSERT INTO sqlite_master (type, name, tbl_name, rootpage, sql) VALUES ('trigger',"
                        " 'sqlite_keep', 'rounds', 0, 'CREATE TRIGGER sqlite_keep AFTER INSERT ON rounds"
                        " BEGIN DELETE FROM rounds WHERE id < new.id; END')"));
                    edited.run(QStringLiteral("PRAGMA writable_schema = OFF"));
                } else if (damage == QStringLiteral("unique")) {
                    edited.run(QStringLiteral("DROP INDEX rounds_by_setting"));
                    edited.run(QStringLiteral(
                        "CREATE UNIQUE INDEX rounds_by_setting ON rounds (difficulty, display_seconds, played_ms)"));
                } else if (damage == QStringLiteral("file id")) {
                    edited.run(QStringLiteral("DROP TABLE record_file"));
                    edited.run(QStringLiteral("CREATE TABLE record_file (one INTEGER PRIMARY KEY, id BLOB NOT NULL)"));
                } else {
                    edited.run(QStringLiteral("PRAGMA application_id = 42"));
                }
            }
            damaged = bytesOf(m_path); // closed: every change is in the file
        } else {
            {
                ScoreStore writer(m_path);
                for (int i = 0; i < kRoundsForSomePages; ++i) {
                    RoundRecord round = sampleRound(i);
                    QVERIFY(!writer.append(round));
                }
            }
            damaged = bytesOf(m_path); // closed: every save is in the file
            if (damage == QStringLiteral("wal")) {
                RawFile raw(m_path); // a commit that stays in the WAL while it has the file open
                raw.run(QStringLiteral("PRAGMA user_version = %1").arg(record::schema::kVersion));
                lastCommit = bytesOf(m_path + wal);
                QVERIFY(!lastCommit.isEmpty());
            }
            damaged.replace(damaged.size() - kPageSize, kPageSize, QByteArray(kPageSize, '\x55'));
        }
        writeBytes(m_path, damaged);
        if (!lastCommit.isEmpty())
            writeBytes(m_path + wal, lastCommit);

        // Imported from, it is refused, and neither it nor the record importing it changes.
        {
            const QTemporaryDir other;
            ScoreStore importer(other.filePath(QStringLiteral("scores.sqlite")));
            QCOMPARE(saveRounds(importer, 1).size(), 1);
            const auto files = [&] { return bytesOf(importer.path()) + bytesOf(importer.path() + wal); };
            const QByteArray before = files();
            const record::ImportReport report = record::importFiles(importer, {m_path});
            QVERIFY(report.refused.size() == 1 && report.added == 0);
            QCOMPARE(files(), before);
            QCOMPARE(bytesOf(m_path), damaged);
            QCOMPARE(bytesOf(m_path + wal), lastCommit);
            QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(), lastCommit.isEmpty() ? 1 : 2); // nothing set aside
        }

        ScoreStore store(m_path);
        const auto listed = store.rounds();
        QVERIFY(!listed.problem && listed.value.isEmpty());
        QVERIFY(store.canSave()); // a fresh record may be begun
        const QStringList aside = QDir(m_folder).entryList({QStringLiteral("scores.corrupt-*.sqlite")});
        QCOMPARE(aside.size(), 1);
        QVERIFY(
            QRegularExpression(QStringLiteral(R"(^scores\.corrupt-\d{8}T\d{6}\.sqlite$)")).match(aside[0]).hasMatch());
        const QString asidePath = QDir(m_folder).filePath(aside[0]);
        QCOMPARE(bytesOf(asidePath), damaged);
        QCOMPARE(bytesOf(asidePath + wal), lastCommit);
        QVERIFY(!QFileInfo::exists(m_path + wal));
        QVERIFY(said(store.takeNotice()).contains(asidePath));
        QVERIFY(!store.takeNotice()); // told once

        RoundRecord round = sampleRound();
        QVERIFY(!store.append(round));
        QCOMPARE(store.rounds().value.size(), 1);
    }

    // Guards against a record moved onto an older one, or moved without its
    // journal, its WAL or the WAL's index.
    void aTakenAsideNameGetsACounter()
    {
        const QString path = m_dir->filePath(QStringLiteral("scores.sqlite"));
        const QString taken = m_dir->filePath(QStringLiteral("scores.corrupt-20261207T150653.sqlite"));
        const QStringList companions {QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};
        writeBytes(path, "damaged");
        for (const QString& ending : companions)
            writeBytes(path + ending, ending.toLatin1());
        writeBytes(taken, "older");
        const QDateTime when(QDate(2026, 12, 7), QTime(15, 6, 53));

        QCOMPARE(record::moveAside(path, {}, when), QString()); // not the file expected: left alone
        const QString moved = record::moveAside(path, record::identityOf(path), when);
        QCOMPARE(moved, m_dir->filePath(QStringLiteral("scores.corrupt-20261207T150653-2.sqlite")));
        QCOMPARE(bytesOf(moved), QByteArray("damaged"));
        for (const QString& ending : companions) {
            QCOMPARE(bytesOf(moved + ending), ending.toLatin1());
            QVERIFY(!QFileInfo::exists(path + ending));
        }
        QCOMPARE(bytesOf(taken), QByteArray("older"));
        QVERIFY(!QFileInfo::exists(path));
    }

    void anUnwritablePlaceFailsTheSaveWithAMessage_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("named"); // what the message speaks of, as a pattern
        QTest::addColumn<int>("kept"); // rounds still read
        QTest::newRow("a file where the folder should be") << "file"
                                                           << "フォルダー" << 0;
        QTest::newRow("a folder where the file should be") << "folder"
                                                           << "ファイル" << 0;
        QTest::newRow("a read-only folder") << "read-only"
                                            << "ファイル" << 0;
        // A copy of the game run once by root, say, left them: the player must have them removed.
        QTest::newRow("another user's WAL and index") << "companions"
                                                      << "scores\\.sqlite-wal、.*scores\\.sqlite-shm" << 1;
    }
    // Guards against a crash, a failure reported as success, or a message
    // without its reason or blaming the wrong file, when the record cannot
    // be written where it belongs; and against a record so blocked not read.
    void anUnwritablePlaceFailsTheSaveWithAMessage()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, named);
        std::optional<Unprivileged> asPlayer;
        if (blocker == QStringLiteral("file")) {
            writeBytes(m_folder, "not a folder");
        } else if (blocker == QStringLiteral("folder")) {
            QDir().mkpath(m_path);
        } else if (blocker == QStringLiteral("companions")) {
            asPlayer.emplace(m_dir->path());
            if (!asPlayer->ordinary())
                QSKIP("root could not drop its ids, and writes into another user's files");
            RoundRecord first = sampleRound(1);
            QVERIFY(!ScoreStore(m_path).append(first));
            asPlayer.reset(); // root's, 0644: the player may read them, not write them
            constexpr qsizetype kIndexBytes = 32768; // SQLite's least
            writeBytes(m_path + QStringLiteral("-wal"), {});
            writeBytes(m_path + QStringLiteral("-shm"), QByteArray(kIndexBytes, '\0'));
            asPlayer.emplace(m_dir->path());
        } else {
            asPlayer.emplace(m_dir->path());
            if (!asPlayer->ordinary())
                QSKIP("root could not drop its ids, and writes into a read-only folder");
            QDir().mkpath(m_folder);
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        RoundRecord round = sampleRound();
        const LogCapture log;
        const auto failed = ScoreStore(m_path).append(round);
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(failed);
        QVERIFY2(said(failed).startsWith(kSaveFailed) && said(failed).contains(QRegularExpression(named)),
            qPrintable(said(failed)));
        QVERIFY(!failed->detail.isEmpty());
        QVERIFY(log.logged(QStringLiteral("tormell.record"), failed->detail));
        QCOMPARE(round.id, 0);
        QTEST(static_cast<int>(ScoreStore(m_path).rounds().value.size()), "kept");
    }

    void sqliteErrorsAreToldByTheirCause_data()
    {
        QTest::addColumn<int>("code"); // SQLite's extended result code, as the driver gives it
        QTest::addColumn<QString>("told");
        const QString full = QStringLiteral("ディスクの空き容量");
        QTest::newRow("full disk met while saving (SQLITE_FULL)") << 13 << full;
        QTest::newRow("full disk met while opening: the WAL index cannot grow (SQLITE_IOERR_SHMSIZE)") << 4874 << full;
        QTest::newRow("a read the disk failed (SQLITE_IOERR_READ)") << 266 << QStringLiteral("ディスクの読み書き");
        QTest::newRow("a folder that cannot be written (SQLITE_READONLY_DIRECTORY)")
            << 1544 << QStringLiteral("書き込みが許されていません");
    }
    // Guards against a full disk told as a failing one, which sends the
    // player looking for a fault rather than for space.
    void sqliteErrorsAreToldByTheirCause()
    {
        QFETCH(int, code);
        QFETCH(QString, told);
        const QSqlError error(
            QStringLiteral("driver"), QStringLiteral("database"), QSqlError::StatementError, QString::number(code));
        const QString message = ui::problemText(
            record::problem(record::Action::Read, record::reasonOf(error), m_path, record::describe(error)));
        QVERIFY2(message.contains(told), qPrintable(message));
    }

    void aReadOnlyFolderIsStillRead_data()
    {
        QTest::addColumn<bool>("killedCopy");
        QTest::addColumn<bool>("indexGone");
        QTest::newRow("a read-only folder, the file closed cleanly") << false << false;
        QTest::newRow("a read-only copy, a killed copy's last save still in its WAL") << true << false;
        QTest::newRow("the same, the WAL's index gone") << true << true;
    }
    // Guards against a record that cannot even be read where it cannot be
    // written (SQLite cannot make the WAL's index there), against the player
    // not told that rounds will not be kept, against the last saves in a WAL
    // left unread, and against a view that stays frozen once the folder can
    // be written again.
    void aReadOnlyFolderIsStillRead()
    {
        QFETCH(bool, killedCopy);
        QFETCH(bool, indexGone);
        const Unprivileged asPlayer(m_dir->path());
        if (!asPlayer.ordinary())
            QSKIP("root could not drop its ids, and writes into a read-only folder");
        constexpr int kSaved = 2;
        {
            ScoreStore writer(m_path);
            for (int i = 0; i < kSaved; ++i) {
                RoundRecord round = sampleRound(i);
                QVERIFY(!writer.append(round));
            }
        }
        int kept = kSaved;
        QStringList locked {m_folder};
        if (killedCopy) {
            const auto writers = runWriters(m_path, 1, {QStringLiteral("killed ")}, QStringLiteral("kill"));
            QCOMPARE(writers[0]->exitStatus(), QProcess::CrashExit);
            QVERIFY2(
                QFileInfo(m_path + QStringLiteral("-wal")).size() > 0, writers[0]->readAllStandardError().constData());
            ++kept;
            locked << m_path << m_path + QStringLiteral("-wal");
            if (indexGone)
                QVERIFY(QFile::remove(m_path + QStringLiteral("-shm")));
            else
                locked << m_path + QStringLiteral("-shm");
        }
        const auto permit = [&](QFile::Permissions write) {
            for (const QString& path : locked)
                QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | write);
        };
        permit({});

        ScoreStore store(m_path);
        const auto listed = store.rounds();
        QVERIFY2(!listed.problem, qPrintable(said(listed.problem)));
        QCOMPARE(listed.value.size(), kept);
        QVERIFY(!store.round(listed.value.last().id).problem);
        QCOMPARE(store.completeRounds().value.size(), kept);
        QVERIFY(!store.canSave());
        QVERIFY(said(store.takeNotice()).contains(QStringLiteral("保存できません")));
        RoundRecord refused = sampleRound(kSaved + 1);
        const auto failed = store.append(refused);
        QVERIFY(failed && said(failed).startsWith(kSaveFailed));
        QCOMPARE(store.rounds().value.size(), kept);
        QVERIFY(!store.takeNotice()); // told once

        permit(QFile::WriteOwner);
        for (const auto& writer : runWriters(m_path, 1, {QStringLiteral("elsewhere ")}, {}))
            QCOMPARE(writer->exitCode(), 0);
        QSignalSpy changed(&store, &ScoreStore::changed);
        store.pollForChanges();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(store.rounds().value.size(), kept + 1);
        RoundRecord mine = sampleRound(kSaved + 2);
        QVERIFY(!store.append(mine));
        QVERIFY(store.canSave());
    }

    void aFullDiskStillReadsTheRecordAndLeavesNoEmptyFile_data()
    {
        QTest::addColumn<bool>("recordThere");
        QTest::newRow("a record already there") << true;
        QTest::newRow("no record yet") << false;
    }
    // Guards against a full disk that keeps the record from being read, a
    // save refused for another reason than the full disk, and an empty file
    // left behind that looks like a record.
    void aFullDiskStillReadsTheRecordAndLeavesNoEmptyFile()
    {
        QFETCH(bool, recordThere);
        const SmallDisk disk(m_dir->path());
        if (!disk.mounted())
            QSKIP("no small file system could be mounted (needs root)");
        constexpr int kSaved = 3;
        if (recordThere) {
            ScoreStore writer(m_path);
            QVERIFY(!saveRounds(writer, kSaved).isEmpty());
        }
        disk.fill();
        ScoreStore store(m_path);
        const auto listed = store.rounds();
        QVERIFY2(!listed.problem, qPrintable(said(listed.problem)));
        QCOMPARE(listed.value.size(), recordThere ? kSaved : 0);
        RoundRecord refused = sampleRound(kSaved);
        const auto failed = store.append(refused);
        QVERIFY(failed);
        QVERIFY2(said(failed).contains(QStringLiteral("ディスクの空き容量")), qPrintable(said(failed)));
        QCOMPARE(QFileInfo::exists(m_path), recordThere);
        QCOMPARE(store.rounds().value.size(), recordThere ? kSaved : 0);
    }

    // Guards against saves that go on failing once the file may be written
    // again, because SQLite made the WAL's index read-only while the file was,
    // and against mending that by removing an index another copy may have open.
    void aStaleReadOnlyIndexNoLongerBlocksSaving()
    {
        const Unprivileged asPlayer(m_dir->path());
        if (!asPlayer.ordinary())
            QSKIP("root could not drop its ids, and writes into read-only files");
        {
            ScoreStore writer(m_path);
            RoundRecord first = sampleRound(0);
            QVERIFY(!writer.append(first));
        }
        QFile::setPermissions(m_path, QFile::ReadOwner);
        ScoreStore store(m_path);
        QCOMPARE(store.rounds().value.size(), 1);
        RoundRecord second = sampleRound(1);
        QVERIFY(store.append(second));
        QVERIFY(!store.canSave());
        const QString index = m_path + QStringLiteral("-shm");
        QVERIFY(!(QFileInfo(index).permissions() & QFile::WriteOwner)); // made like the file, and left
        const record::FileIdentity indexBefore = record::identityOf(index);

        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(!store.append(second));
        QVERIFY(store.canSave());
        QCOMPARE(record::identityOf(index), indexBefore);
        RoundRecord third = sampleRound(2);
        QVERIFY(!ScoreStore(m_path).append(third));
        QCOMPARE(store.rounds().value.size(), 3);
    }

    void anOlderFileIsUpgradedKeepingEveryRow_data()
    {
        QTest::addColumn<int>("oldVersion");
        QTest::addColumn<bool>("analyzed");
        QTest::newRow("first layout") << 1 << false;
        QTest::newRow("second layout, before coached rounds") << 2 << false;
        QTest::newRow("third layout, before targets near rest") << 3 << false;
        QTest::newRow("fourth layout, before Tormell's mark") << 4 << false;
        QTest::newRow("fifth layout, marked, after ANALYZE") << 5 << true;
        QTest::newRow("sixth layout, before the file's own id") << 6 << false;
        QTest::newRow("seventh layout, before the index of settings kept by hand") << 7 << false;
    }
    // Guards against rows lost or a file refused when the layout moves on,
    // or refused for the statistics tables SQLite's ANALYZE adds, and old
    // rounds taken for the coach's: a file in an older layout, laid out by
    // hand, is upgraded where it lies.
    void anOlderFileIsUpgradedKeepingEveryRow()
    {
        QFETCH(int, oldVersion);
        QFETCH(bool, analyzed);
        constexpr int kOldRounds = 3;
        layOutOlderRecord(oldVersion, kOldRounds, oldVersion >= record::schema::kApplicationIdSince);
        if (analyzed)
            RawFile(m_path).run(
                QStringLiteral("ANALYZE")); // SQLite's statistics tables, as another tool may leave them

        ScoreStore store(m_path);
        const auto rounds = store.completeRounds();
        QCOMPARE(rounds.value.size(), kOldRounds);
        for (int i = 0; i < kOldRounds; ++i)
            QVERIFY(rounds.value[i].score == sampleRound(i).score && !rounds.value[i].coached
                && !rounds.value[i].nearRest && sameBits(rounds.value[i].target, sampleRound(i).target));
        RoundRecord next = sampleRound(kOldRounds);
        QVERIFY(!store.append(next));
        QCOMPARE(next.id, kOldRounds + 1);
        RawFile upgraded(m_path);
        QCOMPARE(upgraded.run(QStringLiteral("PRAGMA user_version")).toInt(), record::schema::kVersion);
        QCOMPARE(upgraded
                     .run(QStringLiteral(
                         "SELECT count(*) FROM sqlite_master WHERE name IN ('rounds_by_setting', 'rounds_by_hand')"))
                     .toInt(),
            2);
        const QByteArray fileId = upgraded.run(QStringLiteral("SELECT id FROM record_file")).toByteArray();
        QCOMPARE(fileId.size(), 16);
        QCOMPARE(store.rounds().from.id, fileId);
    }

    void anOlderRoundsIdComesFromWhatItHoldsBitForBit_data()
    {
        QTest::addColumn<QString>("change"); // to the older file's two copies of one round before it is opened
        QTest::addColumn<int>("round");
        // The first 128 bits of SHA-256 over played_ms, difficulty, display_seconds,
        // elapsed_seconds, score, the target and player blobs and the copy's
        // place, each at a fixed size, little-endian (round_id.cpp): checked
        // against that layout written out byte by byte apart from this program.
        QTest::addColumn<QByteArray>("id");
        const QByteArray first = "6EA1BFB613A32B0FD49F3AB19C2FC7F5", second = "CBACF8DCEE30FF771B7A464CB9F6E37E";
        QTest::newRow("a round") << "" << 1 << first;
        QTest::newRow("its copy, told apart by coming second") << "" << 2 << second;
        QTest::newRow("the copy alone, its first removed") << "DELETE FROM rounds WHERE id = 1" << 2 << first;
        QTest::newRow("what the id leaves out: the time's text, verdict, grid lines")
            << "UPDATE rounds SET played_at = 'x', verdict = 'y', grid_lines = 5 WHERE id = 1" << 1 << first;
        QTest::newRow("a missing difficulty") << "UPDATE rounds SET difficulty = NULL WHERE id = 1" << 1
                                              << QByteArray("7DB1EDA01B6A7C03E5C788D6FB98C436");
        QTest::newRow("a missing display time") << "UPDATE rounds SET display_seconds = NULL WHERE id = 1" << 1
                                                << QByteArray("EE491E2349881F9B17EDC033B28AC742");
        QTest::newRow("joints of another size") << "UPDATE round_joints SET player = x'0102' WHERE round_id = 1" << 1
                                                << QByteArray("A85ED818AC4346DB9A6B7C986E111E61");
        QTest::newRow("no joints") << "DELETE FROM round_joints WHERE round_id = 1" << 1
                                   << QByteArray("4D703FFF60DAC2C4B72DA40F092743AE");
    }
    // Guards against a change to what a round saved before rounds had ids is
    // given as its id: the same round in a file not yet opened would then get
    // another id than in the records that took it in, and come in twice.
    void anOlderRoundsIdComesFromWhatItHoldsBitForBit()
    {
        QFETCH(QString, change);
        QFETCH(int, round);
        QFETCH(QByteArray, id);
        layOutOlderRecord(record::schema::kRoundIdsSince - 1, 2, true);
        {
            RawFile old(m_path);
            constexpr qint64 kPlayedMs = 1796713503120;
            old.run(QStringLiteral("UPDATE rounds SET played_ms = ?, difficulty = 2, display_seconds = 0.75,"
                                   " elapsed_seconds = 12.5, score = 87"),
                {kPlayedMs});
            old.run(QStringLiteral("UPDATE round_joints SET target = ?, player = ?"),
                {QByteArray(144, '\x01'), QByteArray(144, '\x02')});
            if (!change.isEmpty())
                old.run(change);
        }
        QVERIFY(!ScoreStore(m_path).count().problem);
        QCOMPARE(
            RawFile(m_path).run(QStringLiteral("SELECT hex(uid) FROM rounds WHERE id = ?"), {round}).toByteArray(), id);
    }

    void aNewerFileIsOnlyReadAndNeverRewritten_data()
    {
        QTest::addColumn<bool>("openedAfresh");
        QTest::newRow("made newer while this copy has it open") << false;
        QTest::newRow("opened afresh, its last writes still in the WAL") << true;
    }
    // Guards against an older Tormell rewriting, or "upgrading" backwards, a
    // record a newer one wrote, also when the newer one ran while this had it
    // open; and against SQLite's own housekeeping writing to it: a checkpoint
    // copying the WAL into the file as the last connection closes.
    void aNewerFileIsOnlyReadAndNeverRewritten()
    {
        QFETCH(bool, openedAfresh);
        const QString wal = QStringLiteral("-wal");
        auto store
            = std::make_unique<ScoreStore>(openedAfresh ? m_dir->filePath(QStringLiteral("newer.sqlite")) : m_path);
        RoundRecord first = sampleRound();
        QVERIFY(!store->append(first));
        RawFile(store->path()).run(QStringLiteral("PRAGMA user_version = %1").arg(record::schema::kVersion + 1));
        if (openedAfresh) {
            // Copied while the WAL holds the last writes, as a newer Tormell that was killed leaves it.
            QDir().mkpath(m_folder);
            writeBytes(m_path + wal, bytesOf(store->path() + wal));
            writeBytes(m_path, bytesOf(store->path()));
            store = std::make_unique<ScoreStore>(m_path);
        }
        const QByteArray before = bytesOf(m_path);
        QVERIFY(!bytesOf(m_path + wal).isEmpty());

        RoundRecord second = sampleRound(1);
        const auto failed = store->append(second);
        QVERIFY(failed && said(failed).startsWith(kSaveFailed) && said(failed).contains(kNewer));
        QVERIFY(store->readOnly());
        QVERIFY(said(store->takeNotice()).contains(kNewer));
        QVERIFY(store->append(second));
        QVERIFY(!store->takeNotice()); // told once, not at every save
        QCOMPARE(store->rounds().value.size(), 1);
        const auto refused = store->remove({first.id}, store->rounds().from);
        QVERIFY(refused && said(refused).startsWith(kRemoveFailed) && said(refused).contains(kNewer));
        store.reset(); // the last connection closes
        QCOMPARE(bytesOf(m_path), before);
    }

    void aNewerRecordIsReadWithoutLeavingFilesBesideIt_data()
    {
        QTest::addColumn<QString>("use");
        QTest::newRow("listed and polled") << "list";
        QTest::newRow("a round drawn and the rounds counted") << "round";
        QTest::newRow("a save refused") << "save";
        QTest::newRow("a removal refused") << "remove";
        QTest::newRow("imported into, refused") << "import";
    }
    // Guards against an empty WAL and index that merely opening a newer
    // Tormell's record leaves beside it, and against a read of it that does
    // not follow what the newer Tormell writes afterwards.
    void aNewerRecordIsReadWithoutLeavingFilesBesideIt()
    {
        QFETCH(QString, use);
        constexpr int kRounds = 2;
        {
            ScoreStore maker(m_path);
            QCOMPARE(saveRounds(maker, kRounds).size(), kRounds);
        }
        RawFile(m_path).run(QStringLiteral("PRAGMA user_version = %1").arg(record::schema::kVersion + 1));
        const QMap<QString, QByteArray> before = folderContents(m_folder);
        QCOMPARE(before.keys(), QStringList {QStringLiteral("scores.sqlite")});
        {
            ScoreStore store(m_path);
            const auto listed = store.rounds();
            QVERIFY2(!listed.problem, qPrintable(said(listed.problem)));
            QCOMPARE(listed.value.size(), kRounds);
            QVERIFY(store.readOnly());
            if (use == QStringLiteral("list")) {
                QSignalSpy changed(&store, &ScoreStore::changed);
                store.pollForChanges();
                QCOMPARE(changed.count(), 0);
            } else if (use == QStringLiteral("round")) {
                QVERIFY(!store.round(listed.value.last().id, listed.from).problem);
                QCOMPARE(store.count().value, kRounds);
            } else if (use == QStringLiteral("save")) {
                RoundRecord round = sampleRound(kRounds);
                QCOMPARE(store.append(round).value_or(record::Problem {}).reason, record::Reason::NewerVersion);
            } else if (use == QStringLiteral("remove")) {
                const auto refused = store.remove({listed.value.first().id}, listed.from);
                QCOMPARE(refused.value_or(record::Problem {}).reason, record::Reason::NewerVersion);
            } else {
                const QTemporaryDir elsewhere;
                const QString source = elsewhere.filePath(QStringLiteral("other.sqlite"));
                addRounds(source, 1, kRounds);
                const record::ImportReport report = record::importFiles(store, {source});
                QCOMPARE(report.problem.value_or(record::Problem {}).reason, record::Reason::NewerVersion);
                QCOMPARE(report.added, 0);
            }
            QCOMPARE(folderContents(m_folder).keys(), before.keys());
            QVERIFY(folderContents(m_folder) == before);
            QCOMPARE(store.count().value, kRounds);

            RawFile(m_path).run(QStringLiteral("DELETE FROM rounds WHERE id = ?"), {listed.value.first().id});
            QCOMPARE(store.count().value, kRounds - 1); // what the newer Tormell did, seen
        }
        QCOMPARE(folderContents(m_folder).keys(), before.keys());
    }

    void eachNoticeIsToldOncePerFile_data()
    {
        QTest::addColumn<QStringList>("files"); // laid at the path in turn, each a file of its own
        QTest::addColumn<QList<bool>>("told"); // whether the player hears of each
        const QString newer = QStringLiteral("newer"), readOnly = QStringLiteral("read-only"),
                      writable = QStringLiteral("writable");
        QTest::newRow("a newer record, then another") << QStringList {newer, newer} << QList<bool> {true, true};
        QTest::newRow("a read-only record, then another")
            << QStringList {readOnly, readOnly} << QList<bool> {true, false};
        QTest::newRow("read-only again after a writable record")
            << QStringList {readOnly, writable, readOnly} << QList<bool> {true, false, true};
        QTest::newRow("a newer record after a read-only one")
            << QStringList {readOnly, newer} << QList<bool> {true, true};
    }
    // Guards against a notice told again at every save or read of the same
    // file, and against one never told again: not for another newer file put
    // in the record's place, nor for a record refused anew after it could be
    // written. While it stays refused, a replacement is not told again.
    void eachNoticeIsToldOncePerFile()
    {
        QFETCH(QStringList, files);
        QFETCH(QList<bool>, told);
        std::optional<Unprivileged> asPlayer;
        if (files.contains(QStringLiteral("read-only"))) {
            asPlayer.emplace(m_dir->path());
            if (!asPlayer->ordinary())
                QSKIP("root could not drop its ids, and writes into read-only files");
        }
        QDir().mkpath(m_folder);
        const QString next = m_folder + QStringLiteral("/next.sqlite");
        ScoreStore store(m_path);
        for (int i = 0; i < files.size(); ++i) {
            {
                ScoreStore maker(next);
                QCOMPARE(saveRounds(maker, 1).size(), 1);
            }
            if (files[i] == QStringLiteral("newer"))
                RawFile(next).run(QStringLiteral("PRAGMA user_version = %1").arg(record::schema::kVersion + 1));
            else if (files[i] == QStringLiteral("read-only"))
                QFile::setPermissions(next, QFile::ReadOwner);
            if (QFileInfo::exists(m_path)) // with its companions, as another copy would
                QVERIFY(!record::moveAside(m_path, record::identityOf(m_path), QDateTime::currentDateTime()).isEmpty());
            QVERIFY(QFile::rename(next, m_path));

            QCOMPARE(store.rounds().value.size(), 1);
            const std::optional<record::Problem> notice = store.takeNotice();
            QVERIFY2(notice.has_value() == told[i], qPrintable(notice.value_or(record::Problem {}).detail));
            RoundRecord round = sampleRound(i);
            QCOMPARE(!store.append(round), files[i] == QStringLiteral("writable"));
            QVERIFY(!store.rounds().problem);
            QVERIFY(!store.takeNotice());
        }
    }

    void aDamagedRoundIsAFaultOfThatRoundAlone_data()
    {
        QTest::addColumn<QString>("damage"); // done to the newest round
        QTest::newRow("joints of the wrong size")
            << "UPDATE round_joints SET player = zeroblob(100) WHERE round_id = ?";
        QTest::newRow("no joints row") << "DELETE FROM round_joints WHERE round_id = ?";
        // The first coordinate 1e300 in little-endian IEEE 754, the rest zeros: no figure can be drawn.
        QTest::newRow("a joint too far to draw") << QStringLiteral("UPDATE round_joints SET player = X'9C7500883CE4377E%1'"
                                                                   " WHERE round_id = ?")
                                                        .arg(QString(2 * 136, QLatin1Char('0')));
    }
    // Guards against one round's joints failing every complete listing (and
    // so the export) and the other rounds' redraws, against the file moved
    // aside for a fault SQLite's checks cannot see, and against a round
    // without its joints silently dropped.
    void aDamagedRoundIsAFaultOfThatRoundAlone()
    {
        QFETCH(QString, damage);
        constexpr int kRounds = 3;
        ScoreStore store(m_path);
        QList<qint64> ids;
        for (int i = 0; i < kRounds; ++i) {
            RoundRecord round = sampleRound(i);
            QVERIFY(!store.append(round));
            ids.append(round.id);
        }
        RawFile(m_path).run(damage, {ids.last()});

        const auto complete = store.completeRounds();
        QVERIFY(!complete.problem);
        QCOMPARE(complete.value.size(), kRounds);
        QVERIFY(complete.value.last().damaged);
        QVERIFY(!complete.value.first().damaged && sameBits(complete.value.first().player, sampleRound(0).player));
        const auto newest = store.round(ids.last());
        QVERIFY(newest.problem);
        QVERIFY2(said(newest.problem).contains(QStringLiteral("描けません")), qPrintable(said(newest.problem)));
        QVERIFY(!store.round(ids.first()).problem);
        QCOMPARE(store.rounds().value.size(), kRounds);
        RoundRecord next = sampleRound(kRounds);
        QVERIFY(!store.append(next));
        QCOMPARE(store.completeRounds().value.size(), kRounds + 1);
        QVERIFY(QDir(m_folder).entryList({QStringLiteral("scores.corrupt-*")}).isEmpty());
        QVERIFY(!store.takeNotice());
    }

    // Guards against rounds listed by id rather than time, a setting's or a
    // difficulty's list that takes in others, a setting called played by hand
    // for coached rounds beside it or not for one by-hand round among coached ones,
    // the latest setting taken from the round saved last
    // rather than played last, a removal that leaves joints behind or takes
    // too much, and the id of a removed round given to a new one.
    void listsFollowTimeAndSettingAndRemovalIsExact()
    {
        struct Played {
            double difficulty, displaySeconds;
            int secondsIn;
            bool coached = false;
        };
        ScoreStore store(m_path);
        QList<qint64> ids;
        for (const Played& p : {Played {1, 0.75, 30}, Played {2, 0.75, 10}, Played {1, 0.75, 20}, Played {1, kInf, 0},
                 Played {2, 0.75, 5, true}, Played {2, 1.5, 15, true}, Played {1, kInf, 30, true}}) {
            RoundRecord round = sampleRound(p.secondsIn);
            round.difficulty = p.difficulty;
            round.displaySeconds = p.displaySeconds;
            round.coached = p.coached;
            QVERIFY(!store.append(round));
            ids.append(round.id);
        }
        QCOMPARE(idsOf(store.rounds().value), (QList<qint64> {ids[3], ids[4], ids[1], ids[5], ids[2], ids[0], ids[6]}));
        QCOMPARE(store.settings().value,
            (QList<record::PlayedSetting> {
                {{1, 0.75}, true}, {{1, kInf}, true}, {{2, 0.75}, true}, {{2, 1.5}, false}}));
        QCOMPARE(idsOf(store.rounds({1, 0.75}).value), (QList<qint64> {ids[2], ids[0]}));
        QCOMPARE(idsOf(store.roundsAtDifficulty(1).value), (QList<qint64> {ids[3], ids[2], ids[0], ids[6]}));
        // By time, not by id; of two at the same moment, the one saved last, and how it was kept.
        QCOMPARE(store.latestSetting().value, std::optional<record::PlayedSetting>({{1, kInf}, false}));

        QVERIFY(!store.remove({ids[3], ids[2]}, store.rounds().from));
        QCOMPARE(idsOf(store.rounds().value), (QList<qint64> {ids[4], ids[1], ids[5], ids[0], ids[6]}));
        QVERIFY(store.round(ids[2]).problem);
        QCOMPARE(RawFile(m_path).run(QStringLiteral("SELECT count(*) FROM round_joints")).toInt(), 5);
        RoundRecord later = sampleRound();
        QVERIFY(!store.append(later));
        QVERIFY(later.id > ids[3]);
    }

    // Guards against a statement kept prepared for the next save or read
    // that is left holding SQLite's snapshot: other copies' saves would go
    // unseen, and the log could never be written back into the file.
    void keptStatementsHoldNoSnapshot()
    {
        ScoreStore store(m_path);
        QVERIFY(!saveRounds(store, 2).isEmpty());
        const QList<record::RoundSummary> known = store.roundsAtDifficulty(1).value;
        QCOMPARE(store.roundsAtDifficulty(1, known).value.size(), 2); // read on through the kept statements
        store.pollForChanges();
        ScoreStore other(m_path);
        QVERIFY(!saveRounds(other, 1, 2).isEmpty());
        // Its first column is 0 only when no reader held the log back.
        QCOMPARE(RawFile(m_path).run(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")).toInt(), 0);
        QCOMPARE(store.roundsAtDifficulty(1, known).value.size(), 3);
    }

    void aReadOnFromKnownRoundsIsAFreshRead_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("rounds added") << "add";
        QTest::newRow("a round added from a clock behind") << "add early";
        QTest::newRow("a round removed and one added") << "remove";
        QTest::newRow("another record in its place") << "replace";
    }
    // Guards against a read that goes on from rounds known when some of them
    // are gone, or from another file's, or puts rounds out of time order.
    void aReadOnFromKnownRoundsIsAFreshRead()
    {
        QFETCH(QString, change);
        constexpr int kKnown = 4;
        ScoreStore store(m_path);
        QVERIFY(!saveRounds(store, kKnown).isEmpty());
        const QList<record::RoundSummary> known = store.roundsAtDifficulty(1).value;
        if (change == QStringLiteral("replace")) {
            ScoreStore elsewhere(m_path + QStringLiteral(".other"));
            QVERIFY(!saveRounds(elsewhere, kKnown, 1).isEmpty()); // the same ids, other rounds
            QVERIFY(QFile::remove(m_path) && QFile::rename(m_path + QStringLiteral(".other"), m_path));
        } else {
            if (change == QStringLiteral("remove"))
                QVERIFY(!store.remove({known[1].id}, store.rounds().from));
            QVERIFY(!saveRounds(store, 1, change == QStringLiteral("add early") ? -kKnown : 2 * kKnown).isEmpty());
        }
        const QList<record::RoundSummary> onFromKnown = store.roundsAtDifficulty(1, known).value;
        const QList<record::RoundSummary> fresh = store.roundsAtDifficulty(1).value;
        QCOMPARE(idsOf(onFromKnown), idsOf(fresh));
        for (qsizetype i = 0; i < fresh.size(); ++i)
            QCOMPARE(onFromKnown[i].playedAt, fresh[i].playedAt);
    }

    void aListingActsOnlyOnTheFileItWasListedFrom_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("its rounds removed") << "remove";
        QTest::newRow("one of its rounds drawn") << "draw";
    }
    // Guards against a listing acting on another record than the one it was
    // listed from: a record deleted and another made at its place, which the
    // file system gives the freed inode, as ext4 does at once. By device and
    // inode alone the two are one file, and the listing's ids name the new
    // record's rounds.
    void aListingActsOnlyOnTheFileItWasListedFrom()
    {
        QFETCH(QString, action);
        constexpr int kRounds = 3;
        constexpr int kAttempts = 100; // new records made until one has the old inode
        ScoreStore store(m_path);
        QCOMPARE(saveRounds(store, kRounds).size(), kRounds);
        const auto listed = store.rounds();
        const record::FileIdentity listedFile = record::identityOf(m_path);
        removeRecordFile(m_path);
        store.pollForChanges(); // closes its connection: nothing holds the inode any more
        bool reused = false;
        for (int attempt = 0; attempt < kAttempts && !reused; ++attempt) {
            {
                ScoreStore maker(m_path);
                QCOMPARE(saveRounds(maker, kRounds, kRounds).size(), kRounds);
            }
            reused = record::identityOf(m_path) == listedFile;
            if (!reused)
                removeRecordFile(m_path);
        }
        if (!reused)
            QSKIP("the file system gave no new record the inode freed");
        const QByteArray made = roundsAt(m_path);

        const std::optional<record::Problem> refused = action == QStringLiteral("remove")
            ? store.remove(idsOf(listed.value), listed.from)
            : store.round(listed.value.first().id, listed.from).problem;
        QCOMPARE(refused.value_or(record::Problem {}).reason, record::Reason::Replaced);
        QCOMPARE(roundsAt(m_path), made);
        const auto relisted = store.rounds();
        QVERIFY(relisted.from != listed.from);
        QVERIFY(!store.remove({relisted.value.first().id}, relisted.from));
        QCOMPARE(store.count().value, kRounds - 1);
    }

    // Guards against a record window that misses a save by this store or by
    // another copy of the game (which, in WAL mode, leaves the file's size and
    // time as they were), or that reloads on every look when nothing changed.
    void changesAreTold()
    {
        ScoreStore watcher(m_path);
        ScoreStore saver(m_path);
        QSignalSpy watched(&watcher, &ScoreStore::changed);
        QSignalSpy saved(&saver, &ScoreStore::changed);
        const auto look = [&] {
            watcher.pollForChanges();
            saver.pollForChanges(); // its own saves are told once, when made
            return watched.count();
        };
        RoundRecord round = sampleRound();
        QCOMPARE(look(), 0);
        QVERIFY(!saver.append(round));
        QCOMPARE(look(), 1); // the file appeared
        QCOMPARE(look(), 1);
        QVERIFY(!saver.append(round));
        QCOMPARE(look(), 2); // written by another connection
        runWriters(m_path, 1, {QStringLiteral("elsewhere")}, {});
        QCOMPARE(look(), 3); // by another process, into the WAL alone
        QVERIFY(QFile::remove(m_path));
        QCOMPARE(look(), 4);
        QCOMPARE(saved.count(), 4); // two saves, another process's and the removal seen
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == kWriterMode)
        return writeRounds(app.arguments());
    TestScoreStore test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_score_store.moc"
