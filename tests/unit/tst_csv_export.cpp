// The record as CSV: the headings, quoting of awkward verdicts, numbers that
// read back exactly, and the file written from a store.

#include "record/csv_export.h"
#include "record/score_store.h"
#include "support/problem_said.h"
#include "support/record_files.h"
#include "support/sample_round.h"

#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <limits>

namespace {

// sampleRound(0)'s joints, each number the shortest text that reads back to
// it: x and y of each target joint, then of each player joint.
const QString kSampleJointCells = QStringLiteral(
    "345.678901234567,691.357802469134,691.357802469134,1382.715604938268,1037.0367037037008,2074.0734074074016,"
    "1382.715604938268,2765.431209876536,1728.394506172835,3456.78901234567,2074.0734074074016,4148.146814814803,"
    "2419.7523086419687,4839.5046172839375,2765.431209876536,5530.862419753072,3111.110111111103,6222.220222222206,"
    "349.0122345679003,688.0244691358006,694.6911358024673,1379.3822716049347,1040.370037037034,2070.740074074068,"
    "1386.0489382716012,2762.0978765432023,1731.7278395061683,3453.4556790123365,2077.406740740735,4144.81348148147,"
    "2423.085641975302,4836.171283950604,2768.7645432098693,5527.529086419739,3114.4434444444364,6218.886888888873");
// The 36 joint cells of a round whose joints could not be read, each after its comma.
const QString kNoJointCells(36, QLatin1Char(','));

QString header()
{
    QString names = QStringLiteral("ID,日時,難易度,表示時間（秒）,経過時間（秒）,点数,判定,格子線の数");
    for (const char* pose : {"見本", "解答"})
        for (std::size_t joint = 1; joint <= core::kJointCount; ++joint)
            names += QStringLiteral(",%1 関節%2 X,%1 関節%2 Y").arg(QString::fromUtf8(pose)).arg(joint);
    return names + QStringLiteral(",おまかせ練習,姿勢の記録なし,見本がほぼ静止");
}

// The id cell of a round whose uid is `text` in ASCII.
QString idCell(const QByteArray& text)
{
    return QString::fromLatin1(text.toHex());
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
        // The apostrophe in front is always the escape, so that an import takes off exactly one.
        QTest::newRow("an apostrophe") << "'x"
                                       << "''x";
    }
    // Guards against a verdict that splits a row or a field, or that a
    // spreadsheet runs as a formula, a missing byte order mark (Excel then
    // misreads the Japanese), bare LF line ends, joints left out, and numbers
    // or times that would not read back exactly (a negative one made text).
    void awkwardVerdictsAreQuotedUnderTheHeader()
    {
        QFETCH(QString, verdict);
        QFETCH(QString, field);
        record::RoundRecord round = sampleRound();
        round.uid = QByteArrayLiteral("0123456789abcdef");
        round.displaySeconds = std::numeric_limits<double>::infinity();
        round.verdict = verdict;
        round.coached = true;
        round.nearRest = true;
        round.target[0] = {-0.0, 1e-300}; // a zero keeps its sign, a tiny number every digit
        QCOMPARE(record::roundsCsv({round}),
            csvOf({idCell(round.uid) + QStringLiteral(",2026-12-07T16:05:03.120+09:00,1,inf,12.5,0,") + field
                + QStringLiteral(",0,-0,1e-300,") + kSampleJointCells.section(QLatin1Char(','), 2)
                + QStringLiteral(",1,0,1")}));
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
        raw.run(QStringLiteral("UPDATE rounds SET uid = CAST(printf('%016d', id) AS BLOB)"));

        const QString path = dir.filePath(QStringLiteral("scores.csv"));
        QVERIFY(!record::exportCsv(store, path));
        QCOMPARE(bytesOf(path),
            csvOf({idCell("0000000000000001") + QStringLiteral(",2026-12-07T16:05:03.120+09:00,1,0.75,12.5,0,")
                    + verdict::kVeryGood + QStringLiteral(",0,") + kSampleJointCells + QStringLiteral(",0,0,0"),
                idCell("0000000000000002") + QStringLiteral(",2026-12-07T16:05:04.120+09:00,2,0.75,13.5,1,")
                    + verdict::kVeryGood + QStringLiteral(",1") + kNoJointCells + QStringLiteral(",0,1,0"),
                idCell("0000000000000003") + QStringLiteral(",2026-12-07T16:05:05.120+09:00,3,0.75,14.5,2,")
                    + verdict::kVeryGood + QStringLiteral(",2") + kNoJointCells + QStringLiteral(",0,1,0")}));
        const auto failed = record::exportCsv(store, dir.path()); // a folder, not a file
        QVERIFY(failed && !said(failed).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csv_export.moc"
