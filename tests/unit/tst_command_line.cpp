// The program's command line as a player runs it, with no display: imports
// into the record the game keeps, again, and from a hostile file; a backup;
// its answers to --version, --help and a command line it cannot follow.

#include "record/round_import.h"
#include "support/hostile_records.h"
#include "support/round_sets.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out, err;
};

// What the player's record is: the record is wherever the game keeps it under this data folder.
QString recordUnder(const QString& dataHome)
{
    return dataHome + QStringLiteral("/Tormell/scores.sqlite");
}

Run tormell(const QStringList& arguments, const QString& dataHome)
{
    constexpr int kTimeoutMs = 30000;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(display));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TORMELL_PROGRAM), arguments);
    if (!program.waitForFinished(kTimeoutMs) || program.exitStatus() != QProcess::NormalExit)
        return {};
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
        QString::fromUtf8(program.readAllStandardError())};
}

// Adds sampleRound(from) onwards to the record at `path`, each with an id of its own.
void addRounds(const QString& path, int count, int from)
{
    QList<record::RoundRecord> rounds;
    for (int n = from; n < from + count; ++n) {
        rounds.append(sampleRound(n));
        rounds.back().uid = record::randomRoundId();
    }
    if (record::ScoreStore(path).add(rounds).problem)
        qFatal("cannot add rounds to %s", qPrintable(path));
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_record = recordUnder(m_dir.path());

private slots:
    // Guards against an import into some other file than the game's record,
    // one that needs a display, a second import that adds again, and a
    // hostile file that changes the record or passes for success.
    void importsIntoTheGamesRecordTwiceAndRefusesAHostileFile()
    {
        const QString other = m_dir.filePath(QStringLiteral("other.sqlite"));
        addRounds(m_record, 2, 0);
        QVERIFY(QFile::copy(m_record, other)); // two rounds the computers share
        addRounds(other, 3, 10);
        addRounds(m_record, 1, 20);

        const Run first = tormell({QStringLiteral("--import"), other}, m_dir.path());
        QCOMPARE(first.exitCode, 0);
        QVERIFY2(
            first.out.contains(QStringLiteral("新しく加えた回：3　すでに記録にあった回：2")), qPrintable(first.out));
        const QList<record::RoundRecord> merged = roundsAt(m_record);
        QCOMPARE(merged.size(), 6);

        const Run second = tormell({QStringLiteral("--import"), other}, m_dir.path());
        QCOMPARE(second.exitCode, 0);
        QVERIFY2(
            second.out.contains(QStringLiteral("新しく加えた回：0　すでに記録にあった回：5")), qPrintable(second.out));
        QCOMPARE(roundsDifference(roundsAt(m_record), merged), QString());

        const QString hostile = m_dir.filePath(QStringLiteral("hostile/scores.sqlite"));
        const QByteArray hostileBytes = writeHostileRecord(QStringLiteral("trigger"), hostile).bytes;
        const QByteArray before = bytesOf(m_record);
        const Run refused = tormell({QStringLiteral("--import"), hostile}, m_dir.path());
        QVERIFY(refused.exitCode > 0);
        QVERIFY2(refused.err.contains(QStringLiteral("Tormellの記録ではないか")), qPrintable(refused.err));
        QCOMPARE(bytesOf(m_record), before);
        QCOMPARE(bytesOf(hostile), hostileBytes);
    }

    // Guards against a backup that is not a record the game takes back
    // whole, and a failed one reported as written.
    void aBackupImportsBackWhole()
    {
        addRounds(m_record, 3, 0);
        const QString backup = m_dir.filePath(QStringLiteral("backup.sqlite"));
        QCOMPARE(tormell({QStringLiteral("--backup"), backup}, m_dir.path()).exitCode, 0);
        const QString fresh = m_dir.filePath(QStringLiteral("fresh.sqlite"));
        record::ScoreStore store(fresh);
        QVERIFY(!record::importFiles(store, {backup}).failed());
        QCOMPARE(roundsDifference(roundsAt(fresh), roundsAt(m_record)), QString());

        const Run nowhere = tormell(
            {QStringLiteral("--backup"), m_dir.filePath(QStringLiteral("no/such/folder/b.sqlite"))}, m_dir.path());
        QVERIFY(nowhere.exitCode > 0);
        QVERIFY2(nowhere.err.contains(QStringLiteral("記録を保存できませんでした")), qPrintable(nowhere.err));
    }

    void answersWithoutAWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("version") << QStringList {QStringLiteral("--version")} << 0 << "Tormell 1.";
        QTest::newRow("help") << QStringList {QStringLiteral("--help")} << 0 << "--import";
        QTest::newRow("an import of nothing") << QStringList {QStringLiteral("--import")} << 2 << "ファイルを指定";
        QTest::newRow("an option it does not know")
            << QStringList {QStringLiteral("--import"), QStringLiteral("--bogus")} << 1 << "bogus";
        QTest::newRow("a file not there")
            << QStringList {QStringLiteral("--import"), QStringLiteral("/no/such.csv")} << 1 << "見つかりません";
    }
    // Guards against a command line that needs a display, or fails silently.
    void answersWithoutAWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        const QTemporaryDir dataHome;
        const Run run = tormell(arguments, dataHome.path());
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((run.out + run.err).contains(says), qPrintable(run.out + run.err));
        QVERIFY(!QFileInfo::exists(recordUnder(dataHome.path()))); // nothing kept, so no record begun
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
