// The record as CSV: the header, quoting of awkward verdicts, numbers by the
// program's rule, and the file written from a store.

#include "record/csv_export.h"
#include "record/score_store.h"
#include "record/time_text.h"
#include "support/sample_round.h"
#include "toolkit/numeric_text.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

namespace {

const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");
constexpr qsizetype kSummaryColumns = 8;
constexpr qsizetype kColumns = kSummaryColumns + 2 * 2 * static_cast<qsizetype>(record::kJointCount);

// The lines of a CSV text, split at CRLF only, so that a line break inside a quoted field stays whole.
QStringList linesOf(const QByteArray& csv)
{
    QStringList lines = QString::fromUtf8(csv.mid(kByteOrderMark.size())).split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the last line end
    return lines;
}

} // namespace

class TestCsvExport : public QObject {
    Q_OBJECT

private slots:
    void headerNamesEveryColumn();
    void awkwardVerdictsAreQuoted_data();
    void awkwardVerdictsAreQuoted();
    void exportWritesEveryRoundOfTheStore();
};

// Guards against a missing byte order mark (Excel then misreads the
// Japanese), bare LF line ends, and joints left out of the export.
void TestCsvExport::headerNamesEveryColumn()
{
    const QByteArray csv = record::roundsCsv({sampleRound()}, tk::numberText);
    QVERIFY(csv.startsWith(kByteOrderMark));
    QVERIFY(!csv.mid(kByteOrderMark.size()).replace("\r\n", "").contains('\n'));
    const QStringList lines = linesOf(csv);
    QCOMPARE(lines.size(), 2);
    const QStringList header = lines[0].split(QLatin1Char(','));
    QCOMPARE(header.size(), kColumns);
    QCOMPARE(header.mid(0, kSummaryColumns).join(QLatin1Char(',')),
        QStringLiteral("id,played_at,difficulty,display_seconds,elapsed_seconds,score,verdict,grid_lines"));
    QCOMPARE(header[kSummaryColumns], QStringLiteral("target_x1"));
    QCOMPARE(header.last(), QStringLiteral("player_y9"));
    QCOMPARE(lines[1].split(QLatin1Char(',')).size(), kColumns);
}

void TestCsvExport::awkwardVerdictsAreQuoted_data()
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
}

// Guards against a verdict that splits a row or a field, and numbers not
// written by the program's rule (an infinite display time is "inf").
void TestCsvExport::awkwardVerdictsAreQuoted()
{
    QFETCH(QString, verdict);
    QFETCH(QString, field);
    record::RoundRecord round = sampleRound();
    round.id = 7;
    round.displaySeconds = std::numeric_limits<double>::infinity();
    round.verdict = verdict;
    const QString expectedStart = QStringLiteral("7,%1,%2,inf,%3,%4,%5,%6,%7,")
                                      .arg(record::isoText(round.playedAt), tk::numberText(round.difficulty),
                                          tk::numberText(round.elapsedSeconds), QString::number(round.score), field,
                                          QString::number(round.gridLines), tk::numberText(round.target[0].x()));
    const QString text = QString::fromUtf8(record::roundsCsv({round}, tk::numberText));
    const QString row = text.mid(text.indexOf(QStringLiteral("\r\n")) + 2);
    QVERIFY2(row.startsWith(expectedStart), qPrintable(row));
    QVERIFY(row.endsWith(tk::numberText(round.player[8].y()) + QStringLiteral("\r\n")));
}

// Guards against an export that misses rounds or their joints, or that
// reports success when the file could not be written.
void TestCsvExport::exportWritesEveryRoundOfTheStore()
{
    QTemporaryDir dir;
    record::ScoreStore store(dir.filePath(QStringLiteral("scores.sqlite")));
    QList<record::RoundRecord> saved;
    for (int i = 0; i < 3; ++i) {
        saved.append(sampleRound(i));
        QVERIFY(!store.append(saved.last()));
    }
    const QString path = dir.filePath(QStringLiteral("scores.csv"));
    QVERIFY(!record::exportCsv(store, path, tk::numberText));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), record::roundsCsv(saved, tk::numberText));

    const auto failed = record::exportCsv(store, dir.path(), tk::numberText); // a folder, not a file
    QVERIFY(failed && !failed->message.isEmpty());
}

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csv_export.moc"
