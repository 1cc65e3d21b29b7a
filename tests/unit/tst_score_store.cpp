// The score record on disk: what a save keeps, a kill right after a save,
// damaged and unwritable files, two writers at once, older and newer files.

#include "record/joint_blob.h"
#include "record/move_aside.h"
#include "record/schema.h"
#include "record/score_store.h"
#include "record/time_text.h"
#include "support/sample_round.h"
#include "support/verdicts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <bit>
#include <csignal>
#include <iostream>
#include <limits>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using record::RoundRecord;
using record::ScoreStore;

Q_DECLARE_METATYPE(record::RoundRecord)

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// The test binary run again with this argument saves rounds: path, count, verdict prefix, "kill" or "exit".
const QString kWriterMode = QStringLiteral("--write-rounds");
constexpr int kChildTimeoutMs = 30000;
const QString kSaveFailed = QStringLiteral("点数を保存できませんでした。");

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

bool sameBits(double a, double b)
{
    return std::bit_cast<quint64>(a) == std::bit_cast<quint64>(b);
}

bool sameJoints(const record::Joints& a, const record::Joints& b)
{
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!sameBits(a[i].x(), b[i].x()) || !sameBits(a[i].y(), b[i].y()))
            return false;
    return true;
}

// The test's own connection beside the store's, to look into a file or lay one out by hand.
class RawFile {
public:
    explicit RawFile(const QString& path)
        : name_(QStringLiteral("raw-") + path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
    }
    ~RawFile()
    {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    /// The first value the statement gives, if any.
    QVariant run(const QString& statement, const QVariantList& values = {})
    {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        query.prepare(statement);
        for (qsizetype i = 0; i < values.size(); ++i)
            query.bindValue(static_cast<int>(i), values[i]);
        if (!query.exec())
            qFatal("%s failed", qPrintable(statement));
        return query.next() ? query.value(0) : QVariant();
    }

private:
    QString name_;
};

std::unique_ptr<QProcess> startWriter(const QString& path, int count, const QString& prefix, const QString& ending)
{
    auto writer = std::make_unique<QProcess>();
    writer->start(QCoreApplication::applicationFilePath(), {kWriterMode, path, QString::number(count), prefix, ending});
    return writer;
}

int writeRounds(const QStringList& args)
{
    ScoreStore store(args.value(2));
    const int count = args.value(3).toInt();
    std::string go; // wait for the parent, so that writers start together
    std::getline(std::cin, go);
    for (int i = 0; i < count; ++i) {
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

} // namespace

class TestScoreStore : public QObject {
    Q_OBJECT

private slots:
    void init();

    void aSaveReadsBackFieldForField_data();
    void aSaveReadsBackFieldForField();
    void readingARecordThatDoesNotExistCreatesNothing();
    void aKillRightAfterASaveLosesNothing();
    void twoWritersAtOnceBothLand();
    void aDamagedFileIsKeptAsideAndAFreshRecordBegins_data();
    void aDamagedFileIsKeptAsideAndAFreshRecordBegins();
    void aTakenAsideNameGetsACounter();
    void anUnwritablePlaceFailsTheSaveWithAMessage_data();
    void anUnwritablePlaceFailsTheSaveWithAMessage();
    void anOlderFileIsUpgradedKeepingEveryRow();
    void aNewerFileIsOnlyReadAndNeverRewritten();
    void listsFollowTimeAndSettingAndRemovalIsExact();
    void anotherStoresSaveIsNoticed();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString folder_; // not created: the store makes it on the first save
    QString path_;
};

void TestScoreStore::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    folder_ = dir_->filePath(QStringLiteral("Tormell"));
    path_ = folder_ + QStringLiteral("/scores.sqlite");
}

// Guards against a field lost or rounded on the way: a time without its
// offset or milliseconds, an infinity or a verdict character mangled, joints
// kept as floats or as REAL columns that drop the sign of zero.
void TestScoreStore::aSaveReadsBackFieldForField_data()
{
    QTest::addColumn<RoundRecord>("round");
    RoundRecord awkward = sampleRound(1);
    awkward.displaySeconds = kInf;
    awkward.verdict = verdict::kGood + verdict::kBad;
    awkward.target[0] = {-0.0, std::numeric_limits<double>::denorm_min()};
    awkward.player[8] = {1e300, -0.1};
    RoundRecord abroad = sampleRound(2);
    constexpr int kNineHours = 9 * 3600;
    abroad.playedAt = QDateTime(QDate(2027, 3, 28), QTime(1, 30, 0, 5), Qt::OffsetFromUTC, kNineHours);

    QTest::newRow("ordinary round") << sampleRound();
    QTest::newRow("infinite display time, two verdicts, extreme joints") << awkward;
    QTest::newRow("played in another time zone") << abroad;
}

void TestScoreStore::aSaveReadsBackFieldForField()
{
    QFETCH(RoundRecord, round);
    QVERIFY(!ScoreStore(path_).append(round));
    QVERIFY(round.id > 0);

    ScoreStore reader(path_);
    const record::Read<RoundRecord> back = reader.round(round.id);
    QVERIFY(!back.problem);
    const RoundRecord& r = back.value;
    QCOMPARE(r.id, round.id);
    QCOMPARE(r.playedAt.toMSecsSinceEpoch(), round.playedAt.toMSecsSinceEpoch());
    QVERIFY(sameBits(r.difficulty, round.difficulty));
    QVERIFY(sameBits(r.displaySeconds, round.displaySeconds));
    QVERIFY(sameBits(r.elapsedSeconds, round.elapsedSeconds));
    QCOMPARE(r.score, round.score);
    QCOMPARE(r.verdict, round.verdict);
    QCOMPARE(r.gridLines, round.gridLines);
    QVERIFY(sameJoints(r.target, round.target));
    QVERIFY(sameJoints(r.player, round.player));
    QCOMPARE(reader.rounds().value.value(0).verdict, round.verdict);

    const QString stored = RawFile(path_).run(QStringLiteral("SELECT played_at FROM rounds")).toString();
    static const QRegularExpression isoWithOffset(
        QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d$)"));
    QVERIFY2(isoWithOffset.match(stored).hasMatch(), qPrintable(stored));
    QCOMPARE(
        QDateTime::fromString(stored, Qt::ISODateWithMs).offsetFromUtc(), round.playedAt.toLocalTime().offsetFromUtc());
}

// Guards against a folder or an empty file made by merely looking.
void TestScoreStore::readingARecordThatDoesNotExistCreatesNothing()
{
    ScoreStore store(path_);
    QVERIFY(store.rounds().value.isEmpty());
    QVERIFY(store.settings().value.isEmpty());
    QVERIFY(store.completeRounds().value.isEmpty());
    QVERIFY(!store.remove({1}));
    store.pollForChanges();
    const record::Read<RoundRecord> missing = store.round(1);
    QVERIFY(missing.problem && !missing.problem->message.isEmpty());
    QVERIFY(!QFileInfo::exists(folder_));
}

// Guards against a save that returns before its commit: a transaction kept
// open for batching, a write left to a destructor or a timer.
void TestScoreStore::aKillRightAfterASaveLosesNothing()
{
    const auto writer = startWriter(path_, 1, QStringLiteral("killed "), QStringLiteral("kill"));
    writer->write("go\n");
    QVERIFY(writer->waitForFinished(kChildTimeoutMs));
    QCOMPARE(writer->exitStatus(), QProcess::CrashExit);

    const auto rounds = ScoreStore(path_).completeRounds();
    QVERIFY(!rounds.problem);
    QCOMPARE(rounds.value.size(), 1);
    QCOMPARE(rounds.value[0].verdict, QStringLiteral("killed 0"));
    QVERIFY(sameJoints(rounds.value[0].player, sampleRound(0).player));
}

// Guards against "database is locked" reaching the player when two copies of
// the game save at the same moment, and against one overwriting the other.
void TestScoreStore::twoWritersAtOnceBothLand()
{
    constexpr int kEach = 50;
    const QStringList prefixes {QStringLiteral("a"), QStringLiteral("b")};
    std::vector<std::unique_ptr<QProcess>> writers;
    for (const QString& prefix : prefixes)
        writers.push_back(startWriter(path_, kEach, prefix, QStringLiteral("exit")));
    for (const auto& writer : writers)
        QVERIFY(writer->waitForStarted());
    QElapsedTimer clock;
    clock.start();
    for (const auto& writer : writers) {
        writer->write("go\n");
        QVERIFY(writer->waitForBytesWritten());
    }
    for (const auto& writer : writers) {
        QVERIFY(writer->waitForFinished(kChildTimeoutMs));
        QVERIFY2(writer->exitCode() == 0, writer->readAllStandardError().constData());
    }
    qInfo("%d saves from two processes at once in %lld ms", 2 * kEach, clock.elapsed());

    QSet<QString> verdicts;
    for (const record::RoundSummary& round : ScoreStore(path_).rounds().value)
        verdicts.insert(round.verdict);
    QCOMPARE(verdicts.size(), 2 * kEach);
    for (const QString& prefix : prefixes)
        QVERIFY(verdicts.contains(prefix + QString::number(kEach - 1)));
}

void TestScoreStore::aDamagedFileIsKeptAsideAndAFreshRecordBegins_data()
{
    QTest::addColumn<bool>("realDatabase");
    QTest::newRow("random bytes") << false;
    QTest::newRow("a database with a damaged page") << true;
}

// Guards against a damaged record deleted, overwritten or left in the way of
// every later save, and against the player never hearing where it went.
void TestScoreStore::aDamagedFileIsKeptAsideAndAFreshRecordBegins()
{
    QFETCH(bool, realDatabase);
    constexpr qsizetype kPageSize = 4096; // SQLite's default
    constexpr int kRandomPages = 3;
    constexpr int kRoundsForManyPages = 20;
    QByteArray damaged;
    if (realDatabase) {
        ScoreStore writer(path_);
        for (int i = 0; i < kRoundsForManyPages; ++i) {
            RoundRecord round = sampleRound(i);
            QVERIFY(!writer.append(round));
        }
        damaged = bytesOf(path_);
        QVERIFY(damaged.size() > 2 * kPageSize);
        damaged.replace(damaged.size() - kPageSize, kPageSize, QByteArray(kPageSize, '\x55'));
    } else {
        QDir().mkpath(folder_);
        damaged.resize(kRandomPages * kPageSize);
        QRandomGenerator(1).fillRange(reinterpret_cast<quint32*>(damaged.data()), damaged.size() / 4);
    }
    writeBytes(path_, damaged);

    ScoreStore store(path_);
    const auto listed = store.rounds();
    QVERIFY2(!listed.problem, listed.problem ? qPrintable(listed.problem->detail) : "");
    QVERIFY(listed.value.isEmpty());
    const QStringList aside = QDir(folder_).entryList({QStringLiteral("scores.corrupt-*")});
    QCOMPARE(aside.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral(R"(^scores\.corrupt-\d{8}T\d{6}\.sqlite$)")).match(aside[0]).hasMatch(),
        qPrintable(aside[0]));
    const QString asidePath = QDir(folder_).filePath(aside[0]);
    QCOMPARE(bytesOf(asidePath), damaged);
    const auto notice = store.takeNotice();
    QVERIFY(notice && notice->message.contains(asidePath));
    QVERIFY(!store.takeNotice());

    RoundRecord round = sampleRound();
    QVERIFY(!store.append(round));
    QCOMPARE(store.rounds().value.size(), 1);
}

// Guards against a record moved onto an older one, or moved without its journal.
void TestScoreStore::aTakenAsideNameGetsACounter()
{
    const QString path = dir_->filePath(QStringLiteral("scores.sqlite"));
    const QString taken = dir_->filePath(QStringLiteral("scores.corrupt-20261207T150653.sqlite"));
    writeBytes(path, "damaged");
    writeBytes(path + QStringLiteral("-journal"), "journal");
    writeBytes(taken, "older");
    const QDateTime when(QDate(2026, 12, 7), QTime(15, 6, 53));

    QCOMPARE(record::moveAside(path, {}, when), QString()); // not the file expected: left alone
    const QString moved = record::moveAside(path, record::identityOf(path), when);
    QCOMPARE(moved, dir_->filePath(QStringLiteral("scores.corrupt-20261207T150653-2.sqlite")));
    QCOMPARE(bytesOf(moved), QByteArray("damaged"));
    QCOMPARE(bytesOf(moved + QStringLiteral("-journal")), QByteArray("journal"));
    QCOMPARE(bytesOf(taken), QByteArray("older"));
    QVERIFY(!QFileInfo::exists(path));
}

void TestScoreStore::anUnwritablePlaceFailsTheSaveWithAMessage_data()
{
    QTest::addColumn<QString>("blocker"); // "file", "folder" or "read-only"
    QTest::addColumn<QString>("named"); // what the message speaks of
    QTest::newRow("a file where the folder should be") << "file"
                                                       << "フォルダー";
    QTest::newRow("a folder where the file should be") << "folder"
                                                       << "ファイル";
    QTest::newRow("a read-only folder") << "read-only"
                                        << "ファイル";
}

// Guards against a crash, a failure reported as success, or a message
// without the reason, when the record cannot be written where it belongs.
void TestScoreStore::anUnwritablePlaceFailsTheSaveWithAMessage()
{
    QFETCH(QString, blocker);
    QFETCH(QString, named);
    if (blocker == QStringLiteral("file")) {
        writeBytes(folder_, "not a folder");
    } else if (blocker == QStringLiteral("folder")) {
        QDir().mkpath(path_);
    } else {
        if (::geteuid() == 0)
            QSKIP("root writes into a read-only folder");
        QDir().mkpath(folder_);
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::ExeOwner);
    }

    RoundRecord round = sampleRound();
    const auto failed = ScoreStore(path_).append(round);
    QVERIFY(failed);
    QVERIFY2(failed->message.startsWith(kSaveFailed) && failed->message.contains(named), qPrintable(failed->message));
    QVERIFY(!failed->detail.isEmpty());
    QCOMPARE(round.id, 0);
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Guards against rows lost or a file refused when the layout moves on: a
// file in the first layout, laid out by hand, is upgraded where it lies.
void TestScoreStore::anOlderFileIsUpgradedKeepingEveryRow()
{
    constexpr int kOldRounds = 3;
    QDir().mkpath(folder_);
    {
        RawFile old(path_);
        old.run(QStringLiteral("CREATE TABLE rounds (id INTEGER PRIMARY KEY AUTOINCREMENT, played_at TEXT NOT NULL,"
                               " played_ms INTEGER NOT NULL, difficulty REAL, display_seconds REAL,"
                               " elapsed_seconds REAL, score INTEGER NOT NULL, verdict TEXT NOT NULL,"
                               " grid_lines INTEGER NOT NULL)"));
        old.run(QStringLiteral("CREATE TABLE round_joints (round_id INTEGER PRIMARY KEY, target BLOB NOT NULL,"
                               " player BLOB NOT NULL)"));
        for (int i = 0; i < kOldRounds; ++i) {
            const RoundRecord r = sampleRound(i);
            old.run(QStringLiteral("INSERT INTO rounds VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {i + 1, record::isoText(r.playedAt), r.playedAt.toMSecsSinceEpoch(), r.difficulty, r.displaySeconds,
                    r.elapsedSeconds, r.score, r.verdict, r.gridLines});
            old.run(QStringLiteral("INSERT INTO round_joints VALUES (?, ?, ?)"),
                {i + 1, record::jointBlob(r.target), record::jointBlob(r.player)});
        }
        old.run(QStringLiteral("PRAGMA user_version = 1"));
    }

    ScoreStore store(path_);
    const auto rounds = store.completeRounds();
    QVERIFY(!rounds.problem);
    QCOMPARE(rounds.value.size(), kOldRounds);
    for (int i = 0; i < kOldRounds; ++i) {
        QCOMPARE(rounds.value[i].score, sampleRound(i).score);
        QVERIFY(sameJoints(rounds.value[i].target, sampleRound(i).target));
    }
    RoundRecord next = sampleRound(kOldRounds);
    QVERIFY(!store.append(next));
    QCOMPARE(next.id, kOldRounds + 1);
    RawFile upgraded(path_);
    QCOMPARE(upgraded.run(QStringLiteral("PRAGMA user_version")).toInt(), record::schema::kVersion);
    QCOMPARE(
        upgraded.run(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'rounds_by_setting'")).toInt(), 1);
}

// Guards against an older Tormell rewriting, or "upgrading" backwards, a
// record a newer one wrote, also when the newer one ran while this had it open.
void TestScoreStore::aNewerFileIsOnlyReadAndNeverRewritten()
{
    ScoreStore store(path_);
    RoundRecord first = sampleRound();
    QVERIFY(!store.append(first));
    RawFile(path_).run(QStringLiteral("PRAGMA user_version = %1").arg(record::schema::kVersion + 1));
    const QByteArray before = bytesOf(path_);

    RoundRecord second = sampleRound(1);
    const auto failed = store.append(second);
    QVERIFY(failed && failed->message.startsWith(kSaveFailed) && failed->message.contains(QStringLiteral("新しい版")));
    QVERIFY(store.readOnly());
    const auto notice = store.takeNotice();
    QVERIFY(notice && notice->message.contains(QStringLiteral("新しい版")));
    QCOMPARE(store.rounds().value.size(), 1);
    QVERIFY(store.remove({first.id}));
    QCOMPARE(bytesOf(path_), before);
}

// Guards against rounds listed by id rather than time, a setting's list
// that takes in others, a removal that leaves joints behind or takes too
// much, and the id of a removed round given to a new one.
void TestScoreStore::listsFollowTimeAndSettingAndRemovalIsExact()
{
    struct Played {
        double difficulty, displaySeconds;
        int secondsIn;
    };
    const std::array<Played, 4> played {{{1, 0.75, 30}, {2, 0.75, 10}, {1, 0.75, 20}, {1, kInf, 0}}};
    ScoreStore store(path_);
    std::vector<qint64> ids;
    for (const Played& p : played) {
        RoundRecord round = sampleRound(p.secondsIn);
        round.difficulty = p.difficulty;
        round.displaySeconds = p.displaySeconds;
        QVERIFY(!store.append(round));
        ids.push_back(round.id);
    }
    const auto idsOf = [](const QList<record::RoundSummary>& rounds) {
        std::vector<qint64> found;
        for (const auto& round : rounds)
            found.push_back(round.id);
        return found;
    };
    QCOMPARE(idsOf(store.rounds().value), (std::vector<qint64> {ids[3], ids[1], ids[2], ids[0]}));
    QCOMPARE(store.settings().value, (QList<record::Setting> {{1, 0.75}, {1, kInf}, {2, 0.75}}));
    QCOMPARE(idsOf(store.rounds({1, 0.75}).value), (std::vector<qint64> {ids[2], ids[0]}));

    QVERIFY(!store.remove({ids[3], ids[2]}));
    QCOMPARE(idsOf(store.rounds().value), (std::vector<qint64> {ids[1], ids[0]}));
    QVERIFY(store.round(ids[2]).problem);
    QCOMPARE(RawFile(path_).run(QStringLiteral("SELECT count(*) FROM round_joints")).toInt(), 2);
    RoundRecord later = sampleRound();
    QVERIFY(!store.append(later));
    QVERIFY(later.id > ids[3]);
}

// Guards against a record window that misses another copy's save, or that
// reloads on every look when nothing changed.
void TestScoreStore::anotherStoresSaveIsNoticed()
{
    ScoreStore watcher(path_);
    ScoreStore saver(path_);
    QSignalSpy watched(&watcher, &ScoreStore::changed);
    QSignalSpy saved(&saver, &ScoreStore::changed);
    RoundRecord round = sampleRound();

    watcher.pollForChanges();
    QCOMPARE(watched.count(), 0);
    QVERIFY(!saver.append(round));
    QCOMPARE(saved.count(), 1);
    watcher.pollForChanges(); // the file appeared
    QCOMPARE(watched.count(), 1);
    watcher.pollForChanges();
    QCOMPARE(watched.count(), 1);
    QVERIFY(!saver.append(round));
    watcher.pollForChanges(); // written by another connection
    QCOMPARE(watched.count(), 2);
    saver.pollForChanges(); // its own saves were said already
    QCOMPARE(saved.count(), 2);
    QVERIFY(QFile::remove(path_));
    watcher.pollForChanges();
    QCOMPARE(watched.count(), 3);
}

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
