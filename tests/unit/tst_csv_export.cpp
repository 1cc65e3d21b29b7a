// The record as CSV: the header, quoting of awkward verdicts, numbers by the
// program's rule, and the file written from a store.

#include "record/csv_export.h"
#include "record/score_store.h"
#include "support/record_files.h"
#include "support/sample_round.h"
#include "toolkit/numeric_text.h"

#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <limits>

namespace {

// sampleRound(0)'s joints as the program writes numbers: x and y of each
// target joint, then of each player joint.
const QString kSampleJointCells = QStringLiteral(
    "345.678901234567,691.357802469134,691.357802469134,1382.71560493827,1037.0367037037,2074.0734074074,"
    "1382.71560493827,2765.43120987654,1728.39450617284,3456.78901234567,2074.0734074074,4148.1468148148,"
    "2419.75230864197,4839.50461728394,2765.43120987654,5530.86241975307,3111.1101111111,6222.22022222221,"
    "349.0122345679,688.024469135801,694.691135802467,1379.38227160493,1040.37003703703,2070.74007407407,"
    "1386.0489382716,2762.0978765432,1731.72783950617,3453.45567901234,2077.40674074074,4144.81348148147,"
    "2423.0856419753,4836.1712839506,2768.76454320987,5527.52908641974,3114.44344444444,6218.88688888887");
// The 36 joint cells of a round whose joints could not be read, each after its comma.
const QString kNoJointCells(36, QLatin1Char(','));

QString header()
{
    QString names = QStringLiteral("id,played_at,difficulty,display_seconds,elapsed_seconds,score,verdict,grid_lines");
    for (const char* pose : {"target", "player"})
        for (std::size_t joint = 1; joint <= core::kJointCount; ++joint)
            names += QStringLiteral(",%1_x%2,%1_y%2").arg(QLatin1String(pose)).arg(joint);
    return names + QStringLiteral(",coached,damaged,near_rest");
}

QByteArray csvOf(const QStringList& rows)
{
    return QByteArrayLiteral("\xEF\xBB\xBF")
        + (header() + QStringLiteral("\r\n") + rows.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

} // namespace

class TestCsvExport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The rows below are written in one time zone's local time (UTC+9, no
        // summer time), named the POSIX way so that no zone database is needed.
        qputenv("TZ", "JST-9");
        ::tzset();
    }

    void awkwardVerdictsAreQuotedUnderTheHeader_data()
    {
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain Japanese with ideographic spaces") << verdict::kFair << verdict::kFair;
        QTest::newRow("comma") << "a,b"
                               << "\"a,b\"";
        QTest::newRow("quote") << "say \"hi\""
                               << "\"say \"\"hi\"\"\"";
        QTest::newRow("carriage return") << "a\rb"
                                         << "\"a\rb\"";
        QTest::newRow("line feed") << "a\nb"
                                   << "\"a\nb\"";
        QTest::newRow("all at once, in Japanese") << "だめ,\"\r\n！"
                                                  << "\"だめ,\"\"\r\n！\"";
        // A spreadsheet would run these as formulas: kept as text.
        QTest::newRow("a formula") << "=HYPERLINK(\"x\")"
                                   << "\"'=HYPERLINK(\"\"x\"\")\"";
        QTest::newRow("a plus") << "+1"
                                << "'+1";
        QTest::newRow("a minus") << "-1"
                                 << "'-1";
        QTest::newRow("an at sign") << "@SUM(A1)"
                                    << "'@SUM(A1)";
        QTest::newRow("a tab") << "\tx"
                               << "'\tx";
        QTest::newRow("a carriage return first") << "\rx"
                                                 << "\"'\rx\"";
    }
    // Guards against a verdict that splits a row or a field, or that a
    // spreadsheet runs as a formula, a missing byte order mark (Excel then
    // misreads the Japanese), bare LF line ends, joints left out, and numbers
    // or times not written by the program's rule (a negative one made text).
    void awkwardVerdictsAreQuotedUnderTheHeader()
    {
        QFETCH(QString, verdict);
        QFETCH(QString, field);
        record::RoundRecord round = sampleRound();
        round.id = 7;
        round.displaySeconds = std::numeric_limits<double>::infinity();
        round.verdict = verdict;
        round.coached = true;
        round.nearRest = true;
        QCOMPARE(record::roundsCsv({round}, toolkit::numberText),
            csvOf({QStringLiteral("7,2026-12-07T16:05:03.120+09:00,1,inf,12.5,0,") + field + QStringLiteral(",0,")
                + kSampleJointCells + QStringLiteral(",1,0,1")}));
    }

    // Guards against an export that misses rounds or their joints, fails as a
    // whole for one round's damaged joints, drops a round whose joints row is
    // gone, writes zeros that look measured for joints it could not read, or
    // reports success when the file could not be written.
    void exportWritesEveryRoundOfTheStore()
    {
        QTemporaryDir dir;
        const QString recordPath = dir.filePath(QStringLiteral("scores.sqlite"));
        record::ScoreStore store(recordPath);
        for (int i = 0; i < 3; ++i) {
            record::RoundRecord round = sampleRound(i);
            QVERIFY(!store.append(round));
        }
        RawFile raw(recordPath);
        raw.run(QStringLiteral("UPDATE round_joints SET player = zeroblob(100) WHERE round_id = 2"));
        raw.run(QStringLiteral("DELETE FROM round_joints WHERE round_id = 3"));

        const QString path = dir.filePath(QStringLiteral("scores.csv"));
        QVERIFY(!record::exportCsv(store, path, toolkit::numberText));
        QCOMPARE(bytesOf(path),
            csvOf({QStringLiteral("1,2026-12-07T16:05:03.120+09:00,1,0.75,12.5,0,") + verdict::kVeryGood
                    + QStringLiteral(",0,") + kSampleJointCells + QStringLiteral(",0,0,0"),
                QStringLiteral("2,2026-12-07T16:05:04.120+09:00,2,0.75,13.5,1,") + verdict::kVeryGood
                    + QStringLiteral(",1") + kNoJointCells + QStringLiteral(",0,1,0"),
                QStringLiteral("3,2026-12-07T16:05:05.120+09:00,3,0.75,14.5,2,") + verdict::kVeryGood
                    + QStringLiteral(",2") + kNoJointCells + QStringLiteral(",0,1,0")}));
        const auto failed = record::exportCsv(store, dir.path(), toolkit::numberText); // a folder, not a file
        QVERIFY(failed && !failed->message.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csv_export.moc"
