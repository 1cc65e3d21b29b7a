// Bringing rounds from other files into the record, on real files: records
// and CSV exports merged without duplicates in either order, round trips
// through a CSV export and a backup, bad files and rows refused with their
// reason and nothing changed, a kill or a full disk in the middle.

#include "record/csv_export.h"
#include "record/csv_format.h"
#include "record/round_import.h"
#include "record/schema.h"
#include "support/hostile_records.h"
#include "support/old_records.h"
#include "support/round_sets.h"
#include "support/small_disk.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

using record::RoundRecord;
using record::ScoreStore;

namespace {

// The test binary run again with this argument imports: record path, then the files.
const QString kImporterMode = QStringLiteral("--import-into");
constexpr int kLeftToFinish = -1; // an importer not killed

// Rounds with every field awkward: no difficulty, an infinite display
// time, a verdict a spreadsheet would run, coached and near rest.
QList<RoundRecord> awkwardRounds()
{
    RoundRecord plain = sampleRound(1), odd = sampleRound(2);
    odd.difficulty = std::numeric_limits<double>::quiet_NaN();
    odd.displaySeconds = std::numeric_limits<double>::infinity();
    odd.verdict = QStringLiteral("=1+\"だめ\",\r\n'");
    odd.coached = odd.nearRest = true;
    odd.playedAt = odd.playedAt.toOffsetFromUtc(-(3 * 3600 + 1800));
    odd.target[0] = {-0.0, 1e-300};
    return {plain, odd};
}

// Saves `rounds` in a record at `path`; their ids, given at the save, are set.
void save(const QString& path, QList<RoundRecord>& rounds)
{
    ScoreStore store(path);
    for (RoundRecord& round : rounds)
        if (store.append(round))
            qFatal("cannot save a round in %s", qPrintable(path));
}

// Adds sampleRound(from) onwards to the record at `path` in one go, each with an id of its own.
void addRounds(const QString& path, int count, int from)
{
    QList<RoundRecord> rounds;
    for (int n = from; n < from + count; ++n) {
        rounds.append(sampleRound(n));
        rounds.back().uid = record::randomRoundId();
    }
    if (ScoreStore(path).add(rounds).problem)
        qFatal("cannot add rounds to %s", qPrintable(path));
}

record::ImportReport import(const QString& recordPath, const QStringList& files)
{
    ScoreStore store(recordPath);
    return record::importFiles(store, files);
}

int roundCount(const QString& path)
{
    return static_cast<int>(roundsAt(path).size());
}

} // namespace

class TestRoundImport : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QTemporaryDir m_shared; // a large source, made once
    static constexpr int kLargeSourceRounds = 20'000;

    QString file(const QString& name) const { return m_dir->filePath(name); }
    QString largeSource() const { return m_shared.filePath(QStringLiteral("large.sqlite")); }

private slots:
    void initTestCase() { addRounds(largeSource(), kLargeSourceRounds, 10); }
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // Guards against duplicates (rounds told apart by their row ids, which
    // differ between computers), a second import that adds again, and merges
    // whose result depends on which record took the other in.
    void recordsMergeWithoutDuplicatesInEitherOrder()
    {
        const QString a = file(QStringLiteral("a.sqlite")), b = file(QStringLiteral("b.sqlite"));
        addRounds(a, 2, 0);
        QVERIFY(QFile::copy(a, b)); // two rounds on both computers
        addRounds(a, 3, 10);
        addRounds(b, 2, 20);
        const QString aIntoB = file(QStringLiteral("a-into-b.sqlite")),
                      bIntoA = file(QStringLiteral("b-into-a.sqlite"));
        QVERIFY(QFile::copy(b, aIntoB) && QFile::copy(a, bIntoA));

        const record::ImportReport first = import(aIntoB, {a});
        QVERIFY2(!first.failed(), qPrintable(record::reportText(first)));
        QCOMPARE(first.added, 3);
        QCOMPARE(first.alreadyKept, 2);
        const record::ImportReport again = import(aIntoB, {a, a});
        QCOMPARE(again.added, 0);
        QCOMPARE(again.alreadyKept, 10);
        QCOMPARE(import(bIntoA, {b}).added, 2);
        QCOMPARE(roundCount(aIntoB), 7);
        QCOMPARE(roundsDifference(roundsAt(aIntoB), roundsAt(bIntoA)), QString());
    }

    void roundTripsGiveBackTheSameRounds_data()
    {
        QTest::addColumn<QString>("through");
        QTest::newRow("the CSV export") << "csv";
        QTest::newRow("a backup") << "backup";
        QTest::newRow("the record file itself") << "record";
    }
    // Guards against a field lost or rounded on the way out and back in:
    // numbers written to 15 digits, a time without its offset, a verdict
    // unescaped or escaped twice, a missing number made 0, the id changed.
    void roundTripsGiveBackTheSameRounds()
    {
        QFETCH(QString, through);
        const QString original = file(QStringLiteral("scores.sqlite")), empty = file(QStringLiteral("empty.sqlite"));
        QList<RoundRecord> rounds = awkwardRounds();
        save(original, rounds);
        QString carrier = original;
        if (through == QStringLiteral("csv")) {
            carrier = file(QStringLiteral("export.csv"));
            ScoreStore store(original);
            QVERIFY(!record::exportCsv(store, carrier));
        } else if (through == QStringLiteral("backup")) {
            carrier = file(QStringLiteral("backup.sqlite"));
            writeBytes(carrier, "an older backup, replaced whole");
            ScoreStore store(original);
            QVERIFY(!store.backup(carrier));
            QVERIFY(!QFileInfo::exists(carrier + QStringLiteral(".part")));
        }
        const record::ImportReport report = import(empty, {carrier});
        QVERIFY2(!report.failed() && report.leftOut.isEmpty(), qPrintable(record::reportText(report)));
        QCOMPARE(report.added, rounds.size());
        QCOMPARE(roundsDifference(roundsAt(empty), roundsAt(original)), QString());
    }

    void oldRoundsGetTheSameIdInEveryFile_data()
    {
        QTest::addColumn<int>("version");
        QTest::newRow("first layout") << 1;
        QTest::newRow("third layout") << 3;
        QTest::newRow("the current layout, rounds added by another program without an id")
            << record::schema::kRoundIdsSince;
    }
    // Guards against old rounds, which had no id, given a random one as the
    // layout moves on: the same round in two records would then be kept twice;
    // and two copies of one round in a file made one.
    void oldRoundsGetTheSameIdInEveryFile()
    {
        QFETCH(int, version);
        const QString a = file(QStringLiteral("a.sqlite")), b = file(QStringLiteral("b.sqlite"));
        writeOldRecord(a, {sampleRound(0), sampleRound(1), sampleRound(1)}, 1);
        writeOldRecord(b, {sampleRound(1), sampleRound(2), sampleRound(1)}, std::min(version, 3));
        if (version >= record::schema::kRoundIdsSince) {
            QCOMPARE(roundCount(b), 3); // brought up to date
            RawFile(b).run(QStringLiteral("UPDATE rounds SET uid = NULL"));
        }
        const record::ImportReport report = import(b, {a});
        QVERIFY2(!report.failed(), qPrintable(record::reportText(report)));
        QCOMPARE(report.added, 1);
        QCOMPARE(report.alreadyKept, 2);
        QList<QByteArray> ids;
        for (const RoundRecord& round : roundsAt(b))
            ids.append(round.uid);
        QCOMPARE(ids.size(), 4);
        QCOMPARE(QSet<QByteArray>(ids.begin(), ids.end()).size(), 4);
    }

    void aHostileRecordChangesNeitherRecordNorSource_data() { hostileRecordRows(); }
    // Guards against an import that trusts a file the record itself would
    // not: a trigger of another's run, a damaged file half read, and against
    // the source moved aside or its WAL taken in, as the record does to its own.
    void aHostileRecordChangesNeitherRecordNorSource()
    {
        QFETCH(QString, damage);
        const QString player = file(QStringLiteral("scores.sqlite")),
                      source = file(QStringLiteral("other/scores.sqlite"));
        addRounds(player, 2, 0);
        const QByteArray before = bytesOf(player);
        const HostileRecord hostile = writeHostileRecord(damage, source);

        const record::ImportReport report = import(player, {source});
        QVERIFY(report.failed());
        QCOMPARE(report.refused.size(), 1);
        QCOMPARE(report.added, 0);
        QCOMPARE(bytesOf(source), hostile.bytes);
        QCOMPARE(bytesOf(source + QStringLiteral("-wal")), hostile.wal);
        QCOMPARE(QDir(QFileInfo(source).absolutePath()).entryList(QDir::Files).size(), hostile.wal.isEmpty() ? 1 : 2);
        QCOMPARE(bytesOf(player), before);
    }

    void badFilesAreRefusedWithTheirReason_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("an empty file") << "empty"
                                       << "空です";
        QTest::newRow("no file at the path") << "missing"
                                             << "見つかりません";
        QTest::newRow("a folder") << "folder"
                                  << "フォルダー";
        QTest::newRow("a text that is neither") << "text"
                                                << "Tormellの記録でも";
        QTest::newRow("a CSV export without its score column") << "no score"
                                                               << "「点数」の列がありません";
        QTest::newRow("a database that holds nothing") << "blank database"
                                                       << "Tormellの記録ではありません";
        QTest::newRow("a newer Tormell's record") << "newer"
                                                  << "新しい版";
    }
    // Guards against a bad file taken for an empty source (a silent "0
    // added"), half read, or letting the other files of the import fail.
    void badFilesAreRefusedWithTheirReason()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString player = file(QStringLiteral("scores.sqlite")), good = file(QStringLiteral("good.sqlite"));
        addRounds(player, 2, 0);
        addRounds(good, 1, 5);
        QString bad = file(QStringLiteral("bad"));
        if (kind == QStringLiteral("empty")) {
            writeBytes(bad, {});
        } else if (kind == QStringLiteral("folder")) {
            QVERIFY(QDir().mkpath(bad));
        } else if (kind == QStringLiteral("text")) {
            writeBytes(bad, "name,points\r\nsomeone,42\r\n");
        } else if (kind == QStringLiteral("no score")) {
            ScoreStore store(player);
            QVERIFY(!record::exportCsv(store, bad));
            writeBytes(bad, bytesOf(bad).replace("点数,", "得点,"));
        } else if (kind == QStringLiteral("blank database")) {
            RawFile blank(bad);
            blank.run(QStringLiteral("CREATE TABLE t (x)"));
            blank.run(QStringLiteral("DROP TABLE t"));
        } else if (kind == QStringLiteral("newer")) {
            QVERIFY(QFile::copy(good, bad));
            RawFile(bad).run(QStringLiteral("PRAGMA user_version = %1").arg(record::schema::kVersion + 1));
        }
        const QByteArray source = bytesOf(bad);

        const record::ImportReport report = import(player, {bad, good});
        QCOMPARE(report.refused.size(), 1);
        QVERIFY2(record::failureText(report).contains(reason), qPrintable(record::failureText(report)));
        QCOMPARE(report.added, 1); // the good file's round
        QCOMPARE(bytesOf(bad), source);
    }

    void badCsvRowsAreLeftOutAndCounted_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("reason");
        const int joint = record::csv::FirstJoint;
        QTest::newRow("a score that is not a number") << int(record::csv::Score) << "たくさん"
                                                      << "数値が読めない";
        QTest::newRow("a score out of range") << int(record::csv::Score) << "101"
                                              << "数値が読めない";
        QTest::newRow("a joint that is not a number") << joint << "x"
                                                      << "数値が読めない";
        QTest::newRow("a cell too many") << joint << "1,5"
                                         << "項目の数";
        QTest::newRow("a date that does not parse") << int(record::csv::PlayedAt) << "2026-13-40T25:00:00.000+09:00"
                                                    << "日時が読めない";
        QTest::newRow("a date without its offset") << int(record::csv::PlayedAt) << "2026-12-07T16:05:03.120"
                                                   << "日時が読めない";
        QTest::newRow("a joint set one point short") << joint << ""
                                                     << "姿勢の記録が欠けている";
        QTest::newRow("an id that is not one") << int(record::csv::Id) << "1"
                                               << "IDが読めない";
    }
    // Guards against one bad row failing the whole file, a bad row read as
    // zeros or as local time, and a row left out without a word.
    void badCsvRowsAreLeftOutAndCounted()
    {
        QFETCH(int, column);
        QFETCH(QString, cell);
        QFETCH(QString, reason);
        const QString player = file(QStringLiteral("scores.sqlite")), csv = file(QStringLiteral("export.csv"));
        addRounds(player, 3, 0);
        {
            ScoreStore store(player);
            QVERIFY(!record::exportCsv(store, csv));
        }
        QStringList lines = QString::fromUtf8(bytesOf(csv)).split(QStringLiteral("\r\n"));
        QStringList cells = lines[2].split(QLatin1Char(','));
        cells[column] = cell;
        lines[2] = cells.join(QLatin1Char(','));
        writeBytes(csv, lines.join(QStringLiteral("\r\n")).toUtf8());

        const record::ImportReport report = import(file(QStringLiteral("empty.sqlite")), {csv});
        QVERIFY(!report.failed());
        QCOMPARE(report.added, 2);
        QCOMPARE(report.leftOut.size(), 1);
        QVERIFY2(report.leftOut.firstKey().contains(reason), qPrintable(report.leftOut.firstKey()));
        QCOMPARE(report.leftOut.first(), 1);
    }

    void aKillDuringAnImportLeavesTheRecordAsItWasOrComplete_data()
    {
        QTest::addColumn<int>("afterMs");
        QTest::newRow("as it starts") << 0;
        // The import takes about half a second here: kills spread over it.
        for (const int ms : {150, 300, 400, 450, 500, 600})
            QTest::addRow("after %d ms", ms) << ms;
        QTest::newRow("left to finish") << kLeftToFinish;
    }
    // Guards against rounds added one by one, or a transaction left open:
    // a kill must never leave part of an import in the record.
    void aKillDuringAnImportLeavesTheRecordAsItWasOrComplete()
    {
        QFETCH(int, afterMs);
        const QString player = file(QStringLiteral("scores.sqlite")), source = largeSource();
        addRounds(player, 2, 0);

        QProcess importer;
        importer.start(QCoreApplication::applicationFilePath(), {kImporterMode, player, source});
        QVERIFY(importer.waitForStarted());
        if (afterMs == kLeftToFinish) {
            QVERIFY(importer.waitForFinished());
        } else {
            QTest::qWait(afterMs);
            importer.kill();
            importer.waitForFinished();
        }
        const int count = roundCount(player);
        QVERIFY2(count == 2 || count == 2 + kLargeSourceRounds, qPrintable(QString::number(count)));
        QCOMPARE(import(player, {source}).added + count, 2 + kLargeSourceRounds); // and the record still takes them
    }

    // Guards against a full disk met halfway leaving the rounds before it in
    // the record, or the failure reported as success.
    void aFullDiskDuringAnImportAddsNothing()
    {
        SmallDisk disk(m_dir->path());
        if (!disk.mounted())
            QSKIP("mounting a small disk needs root");
        const QString player = m_dir->filePath(QStringLiteral("Tormell/scores.sqlite"));
        addRounds(player, 2, 0);

        const record::ImportReport report = import(player, {largeSource()}); // many times the small disk
        QVERIFY(report.problem);
        QVERIFY2(record::reportText(report).contains(QStringLiteral("取り込む前のまま")),
            qPrintable(record::reportText(report)));
        QCOMPARE(report.added, 0);
        QCOMPARE(roundCount(player), 2);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == kImporterMode)
        return import(args.value(2), args.mid(3)).failed() ? EXIT_FAILURE : EXIT_SUCCESS;
    TestRoundImport test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_round_import.moc"
