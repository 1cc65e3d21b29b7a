// Importing into the record, on real files: merges in either order, round
// trips, old rounds' ids, bad files and rows, a kill or a full disk midway;
// and the program's command line as a player runs it, with no display.
// (Hostile records as a source: tst_score_store, beside the files themselves.)

#include "record/csv_format.h"
#include "record/csv_rows.h"
#include "record/job.h"
#include "record/round_import.h"
#include "record/schema.h"
#include "support/record_files.h"
#include "support/round_sets.h"
#include "support/small_disk.h"
#include "toolkit/utc_offset.h"
#include "ui/problem_text.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The test binary run again with this argument imports: record path, then the files.
const QString kImporterMode = QStringLiteral("--import-into");
constexpr int kFullDisk = -1; // no kill: the import meets a full disk

record::ImportReport import(const QString& recordPath, const QStringList& files)
{
    record::ScoreStore store(recordPath);
    return record::importFiles(store, files);
}

struct Run {
    int exitCode = -1;
    QString out, err;
};

// The program with its record wherever the game keeps it under `dataHome`.
Run tormell(const QStringList& arguments, const QString& dataHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(display));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    environment.insert(QStringLiteral("TMPDIR"), dataHome); // where its private copies go
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TORMELL_PROGRAM), arguments);
    if (!program.waitForFinished() || program.exitStatus() != QProcess::NormalExit)
        return {};
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
        QString::fromUtf8(program.readAllStandardError())};
}

} // namespace

class TestRoundImport : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QTemporaryDir m_shared; // a large source, made once
    static constexpr int kLargeSourceRounds = 20'000;

    QString file(const char* name) const { return m_dir->filePath(QString::fromUtf8(name)); }
    QString largeSource() const { return m_shared.filePath(QStringLiteral("large.sqlite")); }

private slots:
    void initTestCase() { addRounds(largeSource(), kLargeSourceRounds, 10); }
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void recordsMergeWithoutDuplicatesInEitherOrder_data()
    {
        QTest::addColumn<QString>("ids");
        QTest::newRow("rounds with their ids") << "kept";
        QTest::newRow("rounds from before rounds had ids") << "older layout";
        QTest::newRow("rounds another program added without ids") << "none";
    }
    // Guards against duplicates (rounds told apart by their row ids, which
    // differ between computers, or old rounds given random ids as the layout
    // moves on), two copies of a round in one file made one, a second import
    // that adds again, and merges whose result depends on which record took the other in.
    void recordsMergeWithoutDuplicatesInEitherOrder()
    {
        QFETCH(QString, ids);
        const QString a = file("a.sqlite"), b = file("b.sqlite");
        const QString aIntoB = file("a-into-b.sqlite"), bIntoA = file("b-into-a.sqlite");
        addRounds(a, 0, 0, {sampleRound(0), sampleRound(1), sampleRound(1)});
        QVERIFY(QFile::copy(a, b)); // both copies of round 1 on both computers
        RawFile(b).run(QStringLiteral("DELETE FROM rounds WHERE id = 1"));
        addRounds(b, 1, 2);
        for (const QString& path : {a, b}) {
            RawFile raw(path);
            if (ids == QStringLiteral("none")) {
                raw.run(QStringLiteral("UPDATE rounds SET uid = NULL"));
            } else if (ids == QStringLiteral("older layout")) {
                raw.run(QStringLiteral("DROP INDEX rounds_by_hand"));
                raw.run(QStringLiteral("DROP TABLE record_file"));
                raw.run(QStringLiteral("DROP INDEX rounds_by_uid"));
                raw.run(QStringLiteral("ALTER TABLE rounds DROP COLUMN uid"));
                raw.run(QStringLiteral("PRAGMA user_version = %1").arg(record::schema::kRoundIdsSince - 1));
            }
        }
        QVERIFY(QFile::copy(b, aIntoB) && QFile::copy(a, bIntoA));

        const record::ImportReport first = import(aIntoB, {a});
        QVERIFY2(!first.failed() && first.added == 1 && first.alreadyKept == 2,
            qPrintable(ui::importReportText(first)));
        const record::ImportReport again = import(aIntoB, {a});
        QVERIFY2(!again.failed() && again.added == 0 && again.alreadyKept == 3,
            qPrintable(ui::importReportText(again)));
        QCOMPARE(import(bIntoA, {b}).added, 1);
        QCOMPARE(countOf(roundsAt(aIntoB)), 4);
        QCOMPARE(roundsAt(aIntoB), roundsAt(bIntoA));
    }

    void roundTripsGiveBackTheSameRounds_data()
    {
        QTest::addColumn<QString>("through");
        QTest::newRow("the CSV export") << "csv";
        QTest::newRow("a backup, over an older one") << "backup";
        QTest::newRow("the record file itself") << "record";
    }
    // Guards against a field lost on the way out and back in (the CSV's
    // digits are pinned by tst_csv_export): the id, a time's offset, a
    // verdict unescaped or escaped twice, a missing number made 0, an empty
    // verdict refused, the most grid lines taken for too many, a moment
    // moved to the importing computer's zone.
    void roundTripsGiveBackTheSameRounds()
    {
        QFETCH(QString, through);
        const QString original = file("scores.sqlite");
        record::RoundRecord odd = sampleRound(2);
        odd.difficulty = std::numeric_limits<double>::quiet_NaN();
        odd.displaySeconds = std::numeric_limits<double>::infinity();
        odd.verdict = QStringLiteral("=1+\"だめ\",\r\n'");
        odd.coached = true; // and not near rest: each flag read from its own column
        odd.target[0] = {-0.0, 1e-300};
        record::RoundRecord bare = sampleRound(3);
        bare.verdict.clear();
        bare.gridLines = 11;
        // Played in three zones, none this test's: each keeps its own offset.
        odd.playedAt = QDateTime(QDate(2026, 12, 7), QTime(23, 1), toolkit::zoneAheadOfUtc(-5 * 3600));
        bare.playedAt
            = QDateTime(QDate(2026, 12, 8), QTime(0, 15, 30, 250), toolkit::zoneAheadOfUtc(5 * 3600 + 45 * 60));
        addRounds(original, 1, 1, {odd, bare});
        QString carrier = original;
        record::ScoreStore store(original);
        if (through == QStringLiteral("csv")) {
            carrier = file("export.csv");
            QVERIFY(!record::exportCsv(store, carrier));
        } else if (through == QStringLiteral("backup")) {
            carrier = file("backup.sqlite");
            writeBytes(carrier, "an older backup, replaced whole");
            QVERIFY(!store.backup(carrier));
        }
        const record::ImportReport report = import(file("empty.sqlite"), {carrier});
        QVERIFY2(!report.failed() && report.leftOut.isEmpty() && report.added == 3,
            qPrintable(ui::importReportText(report)));
        QCOMPARE(roundsAt(file("empty.sqlite")), roundsAt(original));
        QVERIFY(roundsAt(file("empty.sqlite")).contains("2026-12-07T23:01:00.000-05:00"));
    }

    void csvRowsAreReadWhereverTheBytesFall_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("rows"); // cells joined by |, rows by /; !n: the row from line n unreadable
        QTest::newRow("LF and CRLF, blank lines passed over") << QByteArray("a,b\r\n\r\nc\n\n,\n") << "a|b/c/|";
        QTest::newRow("a byte order mark") << QByteArray("\xEF\xBB\xBF" "a") << "a";
        QTest::newRow("quoted: a doubled quote, a comma, a line end")
            << QByteArray("\"x\"\"y\",\"1,\r\n2\"\nz") << "x\"y|1,\r\n2/z";
        QTest::newRow("a quote inside a field is itself") << QByteArray("5\" tall,b") << "5\" tall|b";
        QTest::newRow("a quote left open: that line lost, the next read")
            << QByteArray("a\n\"b,c\nd\n") << "a/!2/d";
        QTest::newRow("text after a closing quote") << QByteArray("\"a\"b,c\nd") << "!1/d";
        QTest::newRow("a row longer than any round's") << QByteArray(200'000, ',') + "\nd" << "!1/d";
        // A doubled quote or a CRLF split where one read of the file ends
        // and the next begins; reads are tens of KiB.
        for (int offset = -2; offset <= 1; ++offset) {
            const QByteArray padding = QByteArray(64 * 1024 - 2 + offset, 'p') + '\n';
            QTest::addRow("a doubled quote at %d", offset) << padding + "\"q\"\"r\"" << "P/q\"r";
            QTest::addRow("a CRLF at %d", offset) << padding + "s\r\nt" << "P/s/t";
        }
    }

    // Guards against a reader that loses or splits rows where a read of the
    // file ends, lets one stray quote swallow the rest of the file, or holds
    // a row of any length in memory.
    void csvRowsAreReadWhereverTheBytesFall()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, rows);
        QBuffer buffer(&text);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        record::CsvRows reader(buffer, {});
        QStringList read;
        for (record::CsvRows::Next next; (next = reader.next()) != record::CsvRows::Next::End;) {
            const QString row = reader.cells().join(QLatin1Char('|'));
            read << (next == record::CsvRows::Next::Unreadable ? QStringLiteral("!%1").arg(reader.line())
                     : row.startsWith(u'p')                  ? QStringLiteral("P")
                                                             : row);
        }
        QCOMPARE(read.join(QLatin1Char('/')), rows);
    }

    void badInputChangesNothingAndSaysWhy_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("column"); // of a CSV row to spoil, for a kind "row"
        QTest::addColumn<QString>("reason");
        const int none = -1, joint = record::csv::FirstJoint, score = record::csv::Score, time = record::csv::PlayedAt;
        QTest::newRow("an empty file") << "" << none << "空です";
        QTest::newRow("no file at the path") << "missing" << none << "見つかりません";
        QTest::newRow("a FIFO with no writer") << "fifo" << none << "FIFO";
        QTest::newRow("a device that never ends") << "device" << none << "デバイス";
        QTest::newRow("links in a loop") << "loop" << none << "輪";
        QTest::newRow("a text that is neither") << "name,points\r\nsomeone,42" << none << "Tormellの記録でも";
        QTest::newRow("an export of an older Tormell") << "id,played_at,score\r\n1,x,3" << none << "以前の版";
        QTest::newRow("a CSV export without its score column") << "no score" << none << "「点数」の列がありません";
        QTest::newRow("a database that holds nothing") << "blank" << none << "Tormellの記録ではありません";
        QTest::newRow("a newer Tormell's record") << "newer" << none << "新しい版";
        QTest::newRow("a score out of range") << "101" << score << "数値が読めない";
        QTest::newRow("a joint that is not a number") << "x" << joint << "数値が読めない";
        QTest::newRow("a joint too far to draw") << "1e300" << joint << "数値が読めない";
        QTest::newRow("a joint that is infinite") << "-inf" << joint << "数値が読めない";
        QTest::newRow("a number with a group separator")
            << "\"1,500\"" << int(record::csv::ElapsedSeconds) << "数値が読めない";
        QTest::newRow("a quote left open") << "\"open" << int(record::csv::Verdict) << "読めない行";
        QTest::newRow("a joint set with a cell too many") << "1,5" << joint << "項目の数";
        QTest::newRow("a joint set missing a point") << "" << joint << "姿勢の記録が欠けている";
        QTest::newRow("a date that does not parse") << "2026-13-40T25:00:00.000+09:00" << time << "日時が読めない";
        QTest::newRow("a date without its offset") << "2026-12-07T16:05:03.120" << time << "日時が読めない";
        QTest::newRow("a date past 9999 in UTC") << "9999-12-31T23:00:00.000-14:00" << time << "日時が読めない";
        QTest::newRow("an id that is not one") << "1" << int(record::csv::Id) << "IDが読めない";
        QTest::newRow("an id of 33 hex digits")
            << QStringLiteral("0").repeated(33) << int(record::csv::Id) << "IDが読めない";
    }
    // Guards against a bad file taken for an empty source (a silent "0
    // added"), half read, changed, or failing the other files of the import;
    // a FIFO or a device opened (and waited on for ever), or a loop of links
    // called missing; and against one bad CSV row failing its file, read as
    // zeros or as local time, or left out without a word.
    void badInputChangesNothingAndSaysWhy()
    {
        QFETCH(QString, kind);
        QFETCH(int, column);
        QFETCH(QString, reason);
        const QString bad = file("bad"), good = file("good.sqlite");
        addRounds(good, 3, 0);
        QByteArray csv = roundsAt(good); // the same rounds: which file adds them matters not
        if (column >= 0) {
            QStringList lines = QString::fromUtf8(csv).split(QStringLiteral("\r\n"));
            QStringList cells = lines[2].split(QLatin1Char(','));
            cells[column] = kind;
            lines[2] = cells.join(QLatin1Char(','));
            writeBytes(bad, lines.join(QStringLiteral("\r\n")).toUtf8());
        } else if (kind == QStringLiteral("no score")) {
            writeBytes(bad, csv.replace("点数,", "得点,"));
        } else if (kind == QStringLiteral("blank")) {
            RawFile(bad).run(QStringLiteral("CREATE TABLE t (x)")), RawFile(bad).run(QStringLiteral("DROP TABLE t"));
        } else if (kind == QStringLiteral("newer")) {
            addRounds(bad, 1, 7);
            RawFile(bad).run(QStringLiteral("PRAGMA user_version = %1").arg(record::schema::kVersion + 1));
        } else if (kind == QStringLiteral("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(bad).constData(), 0600), 0);
        } else if (kind == QStringLiteral("loop")) {
            QVERIFY(QFile::link(bad + u'2', bad) && QFile::link(bad, bad + u'2'));
        } else if (kind != QStringLiteral("missing") && kind != QStringLiteral("device")) {
            writeBytes(bad, kind.toUtf8());
        }
        const bool regular = QFileInfo(bad).isFile() && !QFileInfo(bad).isSymLink();
        const QByteArray source = regular ? bytesOf(bad) : QByteArray();

        const QString from = kind == QStringLiteral("device") ? QStringLiteral("/dev/zero") : bad;
        // Given twice: what is left out or refused is counted over every file.
        const record::ImportReport report = import(file("scores.sqlite"), {from, good, from});
        QVERIFY2(ui::importReportText(report).contains(reason) && report.added == 3,
            qPrintable(ui::importReportText(report)));
        QCOMPARE(report.refused.size(), column >= 0 ? 0 : 2);
        QCOMPARE(report.leftOut.values(), column >= 0 ? QList<int> {2} : QList<int> {});
        if (regular)
        QCOMPARE(bytesOf(bad), source);
    }

    void spreadsheetSavedExportsAreRead_data()
    {
        QTest::addColumn<QString>("saved"); // how the export was saved again
        QTest::addColumn<int>("added");
        QTest::addColumn<QString>("said");
        QTest::newRow("in CP932") << "cp932" << 3 << "";
        QTest::newRow("in UTF-8 without a byte order mark, LF") << "lf" << 3 << "";
        QTest::newRow("dates as yyyy/MM/dd HH:mm:ss") << "seconds" << 3 << "";
        QTest::newRow("dates as yyyy/M/d H:mm") << "minutes" << 3 << "";
        QTest::newRow("comma decimals in quotes") << "commas" << 3 << "";
        QTest::newRow("its columns reversed") << "reverse" << 3 << "";
        QTest::newRow("the score moved last") << "score last" << 3 << "";
        QTest::newRow("a column of a spreadsheet's own in front") << "own" << 3 << "";
        QTest::newRow("a byte not UTF-8 in one row") << "byte" << 2 << "文字として読めないバイトのある行：1";
        QTest::newRow("a quote left open in one row, told by its line") << "quote" << 2 << "bad.csv の3行目";
        QTest::newRow("in UTF-16") << "utf16" << 0 << "UTF-8でもShift_JIS（CP932）でもない";
        QTest::newRow("a kept round's score changed") << "changed" << 0 << "中身の違う回（記録にある方を残しました）：1";
    }
    // Guards against a spreadsheet's save of an export refused or emptied
    // without a word: its encoding, its dates, its decimal commas, its columns
    // moved (a cell taken for a field by its place, not its heading); against a
    // row of bad bytes read as U+FFFD, a row left out that cannot be found,
    // and a kept round's changed copy counted as kept while its change is lost.
    void spreadsheetSavedExportsAreRead()
    {
        QFETCH(QString, saved);
        QFETCH(int, added);
        QFETCH(QString, said);
        const QString good = file("good.sqlite");
        addRounds(good, 3, 0);
        QStringList lines = QString::fromUtf8(roundsAt(good).mid(3)).split(QStringLiteral("\r\n")); // less the BOM
        for (qsizetype row = 0; row < lines.size() && !lines[row].isEmpty(); ++row) {
            QStringList cells = lines[row].split(u',');
            if (saved == QStringLiteral("reverse"))
                std::reverse(cells.begin(), cells.end());
            else if (saved == QStringLiteral("score last"))
                cells.append(cells.takeAt(record::csv::Score));
            else if (saved == QStringLiteral("own"))
                cells.prepend(row == 0 ? QStringLiteral("メモ") : QStringLiteral("x"));
            if (row == 0 || saved == QStringLiteral("reverse") || saved == QStringLiteral("score last")
                || saved == QStringLiteral("own")) {
                lines[row] = cells.join(u',');
                continue; // the headings, or a row whose columns were moved and nothing else
            }
            QString& when = cells[record::csv::PlayedAt];
            const QDateTime local = QDateTime::fromString(when, Qt::ISODateWithMs).toLocalTime();
            if (saved == QStringLiteral("seconds"))
                when = local.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
            else if (saved == QStringLiteral("minutes"))
                when = local.toString(QStringLiteral("yyyy/M/d H:mm"));
            for (QString& cell : cells)
                if (saved == QStringLiteral("commas") && cell.contains(u'.') && cell.front().isDigit())
                    cell = QLatin1Char('"') + QString(cell).replace(u'.', u',') + QLatin1Char('"');
            if (row == 2 && saved == QStringLiteral("quote"))
                cells[record::csv::Verdict] = QStringLiteral("\"open");
            if (row == 2 && saved == QStringLiteral("changed"))
                cells[record::csv::Score] = QStringLiteral("99");
            lines[row] = cells.join(u',');
        }
        const QString text = lines.join(saved == QStringLiteral("lf") ? QStringLiteral("\n") : QStringLiteral("\r\n"));
        QByteArray bytes = saved == QStringLiteral("cp932") ? QStringEncoder("CP932").encode(text)
            : saved == QStringLiteral("utf16")              ? QStringEncoder(QStringEncoder::Utf16LE).encode(text)
                                                            : text.toUtf8();
        if (saved == QStringLiteral("byte"))
            bytes.replace(lines[2].toUtf8(), lines[2].toUtf8() + "\xFF");
        const QString path = file("bad.csv");
        writeBytes(path, bytes);
        if (saved == QStringLiteral("changed"))
            QCOMPARE(import(file("scores.sqlite"), {good}).added, 3);
        const record::ImportReport report = import(file("scores.sqlite"), {path});
        const QString told = ui::importReportText(report);
        QVERIFY2(report.added == added && told.contains(said), qPrintable(told));
        // Read as written: every field of every round, or the time to the second a date format keeps.
        if (QStringList {QStringLiteral("seconds"), QStringLiteral("minutes")}.contains(saved)) {
            if (saved == QStringLiteral("seconds"))
                QCOMPARE(record::ScoreStore(file("scores.sqlite")).completeRounds().value.first().playedAt.toSecsSinceEpoch(),
                    record::ScoreStore(good).completeRounds().value.first().playedAt.toSecsSinceEpoch());
        } else if (added == 3) {
            QCOMPARE(roundsAt(file("scores.sqlite")), roundsAt(good));
        }
    }

    void noBackupOrImportDropsTheRecord_data()
    {
        QTest::addColumn<QString>("onto"); // what the backup is written over, or "import" of the record into itself
        QTest::addColumn<bool>("refused");
        QTest::newRow("the record") << "scores.sqlite" << true;
        QTest::newRow("a link to the record") << "link" << true;
        QTest::newRow("the record's WAL") << "scores.sqlite-wal" << true;
        QTest::newRow("another record in use") << "other.sqlite" << true;
        QTest::newRow("a file beside the player's own .part") << "copy.sqlite" << false;
        QTest::newRow("an import of the record into itself") << "import" << true;
    }
    // Guards against a backup renamed over the record (or a record in use)
    // while another connection holds rounds in its WAL: the copy is paired
    // with a log not its own, and the next save moves the record aside.
    // Also a backup that deletes the player's FILE.part, and the record
    // imported into itself said to add nothing without a word why.
    void noBackupOrImportDropsTheRecord()
    {
        QFETCH(QString, onto);
        QFETCH(bool, refused);
        const QString path = file("scores.sqlite");
        addRounds(path, 3, 0);
        record::ScoreStore other(path), elsewhere(file("other.sqlite"));
        record::RoundRecord inLog = sampleRound(3), elsewhereInLog = sampleRound(4);
        QVERIFY(!other.append(inLog) && !elsewhere.append(elsewhereInLog)); // both still in their WALs
        QVERIFY(QFile::link(path, file("link")));
        writeBytes(file("copy.sqlite.part"), "the player's own");

        record::ScoreStore store(path);
        QString said;
        if (onto == QStringLiteral("import")) {
            const record::ImportReport report = record::importFiles(store, {path});
            said = ui::importReportText(report);
            QVERIFY2(report.refused.size() == 1 && report.added == 0 && said.contains(QStringLiteral("この記録そのもの")),
                qPrintable(said));
        } else {
            const std::optional<record::Problem> problem = store.backup(m_dir->filePath(onto));
            QCOMPARE(problem.has_value(), refused);
            if (problem)
                QCOMPARE(problem->reason, record::Reason::TheRecordItself);
            QCOMPARE(bytesOf(file("copy.sqlite.part")), QByteArray("the player's own"));
            QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral(".*.part")}, QDir::Hidden | QDir::Files), {});
        }
        record::RoundRecord next = sampleRound(5);
        QVERIFY(!other.append(next) && !other.takeNotice()); // not taken for damaged
        QCOMPARE(record::ScoreStore(path).completeRounds().value.size(), 5);
        if (!refused)
            QCOMPARE(record::ScoreStore(file("copy.sqlite")).completeRounds().value.size(), 4);
    }

    void anImportCutShortLeavesTheRecordAsItWasOrComplete_data()
    {
        QTest::addColumn<int>("afterMs");
        // The import takes about half a second here: kills spread over it.
        for (const int ms : {0, 150, 300, 400, 450, 500, 600})
            QTest::addRow("killed after %d ms", ms) << ms;
        QTest::newRow("a full disk") << kFullDisk;
    }
    // Guards against rounds added one by one, a transaction left open, or a
    // failure reported as success: a kill or a full disk must never leave
    // part of an import in the record.
    void anImportCutShortLeavesTheRecordAsItWasOrComplete()
    {
        QFETCH(int, afterMs);
        std::optional<SmallDisk> disk; // where the record is
        if (afterMs == kFullDisk && !disk.emplace(m_dir->path()).mounted())
            QSKIP("mounting a small disk needs root");
        const QString player = file("Tormell/scores.sqlite");
        addRounds(player, 2, 0);
        if (afterMs == kFullDisk) {
            const record::ImportReport report = import(player, {largeSource()}); // many times the small disk
            QVERIFY2(report.problem && ui::importReportText(report).contains(QStringLiteral("取り込む前のまま")),
                qPrintable(ui::importReportText(report)));
            QCOMPARE(countOf(roundsAt(player)), 2);
            return;
        }
        QProcess importer;
        importer.start(QCoreApplication::applicationFilePath(), {kImporterMode, player, largeSource()});
        QVERIFY(importer.waitForStarted());
        QTest::qWait(afterMs);
        importer.kill();
        importer.waitForFinished();
        const qsizetype count = countOf(roundsAt(player));
        QVERIFY2(count == 2 || count == 2 + kLargeSourceRounds, qPrintable(QString::number(count)));
        QCOMPARE(import(player, {largeSource()}).added + count, 2 + kLargeSourceRounds); // and it still takes them
    }

    // Guards against a stop that leaves part of an import in the record, or
    // changes the record file at all, or is reported as anything but a stop.
    void aCancelledImportLeavesTheRecordByteForByte()
    {
        const QString player = file("Tormell/scores.sqlite");
        addRounds(player, 2, 0);
        const QByteArray before = bytesOf(player);
        const auto progress = std::make_shared<record::JobProgress>();
        std::optional<record::ImportReport> report;
        QObject receiver;
        const QPointer<QThread> worker = record::startJob<record::ImportReport>(
            player, &receiver,
            [progress, source = largeSource()](
                record::ScoreStore& store) { return record::importFiles(store, {source}, progress.get()); },
            [&](const record::ImportReport& done) { report = done; });
        QVERIFY(QTest::qWaitFor([&] { return progress->done > 0 || report; }));
        progress->cancelRequested = true;
        QVERIFY(QTest::qWaitFor([&] { return report.has_value(); }));
        QVERIFY(QTest::qWaitFor([&] { return worker.isNull(); })); // gone once done
        QVERIFY2(report->problem && report->problem->reason == record::Reason::Cancelled,
            qPrintable(ui::importReportText(*report)));
        QCOMPARE(report->added, 0);
        QCOMPARE(bytesOf(player), before);
        QCOMPARE(countOf(roundsAt(player)), 2);
    }

    // Guards against an import into another file than the game's record, one
    // that needs a display, a second import that adds again, and a hostile
    // file that changes the record or passes for success.
    void theCommandLineImportsIntoTheGamesRecord()
    {
        const QString home = m_dir->path();
        const QString record = file("Tormell/scores.sqlite");
        const QString other = file("other.sqlite"), hostile = file("hostile.sqlite");
        addRounds(record, 2, 0);
        QVERIFY(QFile::copy(record, other) && QFile::copy(record, hostile)); // two rounds the computers share
        addRounds(other, 3, 10);
        addRounds(record, 1, 20);
        RawFile(hostile).run(
            QStringLiteral("CREATE TRIGGER wipe AFTER INSERT ON rounds BEGIN DELETE FROM rounds; END"));

        const Run first = tormell({QStringLiteral("--import"), other}, home);
        QVERIFY2(
            first.exitCode == 0 && first.out.contains(QStringLiteral("新しく加えた回：3　すでに記録にあった回：2")),
            qPrintable(first.out));
        const QByteArray merged = roundsAt(record);
        QCOMPARE(countOf(merged), 6);
        const Run second = tormell({QStringLiteral("--import"), other}, home);
        QVERIFY2(
            second.exitCode == 0 && second.out.contains(QStringLiteral("新しく加えた回：0　すでに記録にあった回：5")),
            qPrintable(second.out));
        QCOMPARE(roundsAt(record), merged);

        const QByteArray before = bytesOf(record), hostileBefore = bytesOf(hostile);
        const Run refused = tormell({QStringLiteral("--import"), hostile}, home);
        QVERIFY2(refused.exitCode == 1 && refused.err.count(QStringLiteral("Tormellの記録ではないか")) == 1,
            qPrintable(refused.err));
        QCOMPARE(bytesOf(record), before);
        QCOMPARE(bytesOf(hostile), hostileBefore);
    }

    void theCommandLineAnswersEverySlip_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "CSV" stands for a CSV export with one row that cannot be read
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said"); // once, on standard output (a success) or on standard error
        const QString csv = QStringLiteral("CSV");
        QTest::newRow("a misspelt option") << QStringList {QStringLiteral("--inport"), csv} << 2
                                           << QStringLiteral("「--inport」というオプションはありません");
        QTest::newRow("a file without --import") << QStringList {csv} << 2 << QStringLiteral("--import とともに");
        QTest::newRow("an unknown option")
            << QStringList {QStringLiteral("-frobnicate")} << 2 << QStringLiteral("「-frobnicate」");
        QTest::newRow("--import without a file")
            << QStringList {QStringLiteral("--import")} << 2 << QStringLiteral("取り込むファイルを指定");
        QTest::newRow("--backup without a file") << QStringList {QStringLiteral("--backup"), QStringLiteral("--import"),
            csv} << 2 << QStringLiteral("保存先のファイルを指定");
        QTest::newRow("a value for --help")
            << QStringList {QStringLiteral("--help=1")} << 2 << QStringLiteral("「--help=1」の書き方");
        QTest::newRow("--import=FILE, a row left out")
            << QStringList {QStringLiteral("--import=") + csv} << 3 << QStringLiteral("新しく加えた回：2");
        QTest::newRow("a missing file") << QStringList {QStringLiteral("--import"), QStringLiteral("missing.csv")} << 1
                                        << QStringLiteral("見つかりません");
        QTest::newRow("--help, in Japanese with the exit codes")
            << QStringList {QStringLiteral("--help")} << 0 << QStringLiteral("使い方: tormell [--import");
        QTest::newRow("a Qt window option: the game, which finds no display")
            << QStringList {QStringLiteral("-style"), QStringLiteral("fusion")} << 1 << QStringLiteral("no display");
    }
    // Guards against a slip that starts the game or passes in silence, a
    // report said more than once, exit codes that do not tell a left-out row
    // from success or failure, help in English or naming the build's path,
    // and private copies a killed run left kept for ever.
    void theCommandLineAnswersEverySlip()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        const QString record = file("Tormell/scores.sqlite"), source = file("source.sqlite"), csv = file("rows.csv");
        addRounds(source, 3, 0);
        QStringList lines = QString::fromUtf8(roundsAt(source)).split(QStringLiteral("\r\n"));
        QStringList cells = lines[2].split(QLatin1Char(','));
        cells[record::csv::Score] = QStringLiteral("x");
        lines[2] = cells.join(QLatin1Char(','));
        writeBytes(csv, lines.join(QStringLiteral("\r\n")).toUtf8());
        for (QString& argument : arguments)
            argument.replace(QStringLiteral("CSV"), csv);

        // What a killed run left among the private copies: cleared at the next start.
        QProcess ended;
        ended.start(QStringLiteral("true"));
        QVERIFY(ended.waitForStarted());
        const qint64 endedPid = ended.processId();
        QVERIFY(ended.waitForFinished());
        const QString copies = file("tormell-%1").arg(::getuid()),
                      leftover = copies + QStringLiteral("/%1-AbCdEf").arg(endedPid);
        QVERIFY(QDir().mkpath(leftover));
        QVERIFY(QFile::setPermissions(
            copies, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)); // the player's alone
        writeBytes(leftover + QStringLiteral("/scores.sqlite"), "a private copy");

        const Run run = tormell(arguments, m_dir->path());
        QTEST(run.exitCode, "exitCode");
        QVERIFY(!QFileInfo::exists(leftover));
        const QString& stream = run.exitCode == 0 || run.exitCode == 3 ? run.out : run.err;
        QVERIFY2(stream.count(said) == 1, qPrintable(run.out + run.err));
        QVERIFY(!(run.out + run.err).contains(QStringLiteral(TORMELL_PROGRAM)) || said == QStringLiteral("no display"));
        if (run.exitCode == 2)
            QVERIFY(!QFile::exists(record)); // nothing done
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == kImporterMode) { // the import as the record window runs it: on a thread of its own
        QObject receiver;
        record::startJob<record::ImportReport>(
            args.value(2), &receiver,
            [files = args.mid(3)](record::ScoreStore& store) { return record::importFiles(store, files); },
            [](const record::ImportReport& report) { QCoreApplication::exit(report.failed() ? 1 : 0); });
        return QCoreApplication::exec();
    }
    TestRoundImport test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_round_import.moc"
