// The record as CSV: the header, quoting of awkward verdicts, numbers by the
// program's rule, and the file written from a store.

#include "record/csv_export.h"
#include "record/score_store.h"
#include "record/time_text.h"
#include "support/record_files.h"
#include "support/sample_round.h"
#include "toolkit/numeric_text.h"

#include <QTemporaryDir>
#include <QTest>
#include <limits>

class TestCsvExport : public QObject {
    Q_OBJECT

private slots:
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
    }
    // Guards against a verdict that splits a row or a field, a missing byte
    // order mark (Excel then misreads the Japanese), bare LF line ends,
    // joints left out, and numbers not written by the program's rule.
    void awkwardVerdictsAreQuotedUnderTheHeader()
    {
        QFETCH(QString, verdict);
        QFETCH(QString, field);
        record::RoundRecord round = sampleRound();
        round.id = 7;
        round.displaySeconds = std::numeric_limits<double>::infinity();
        round.verdict = verdict;
        round.coached = true;
        const QByteArray csv = record::roundsCsv({round}, tk::numberText);

        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        QString header
            = QStringLiteral("id,played_at,difficulty,display_seconds,elapsed_seconds,score,verdict,grid_lines");
        for (const char* pose : {"target", "player"})
            for (std::size_t joint = 1; joint <= record::kJointCount; ++joint)
                header += QStringLiteral(",%1_x%2,%1_y%2").arg(QLatin1String(pose)).arg(joint);
        QString row = QStringLiteral("7,%1,%2,inf,%3,%4,%5,%6")
                          .arg(record::isoText(round.playedAt), tk::numberText(round.difficulty),
                              tk::numberText(round.elapsedSeconds), QString::number(round.score), field,
                              QString::number(round.gridLines));
        for (const record::Joints* pose : {&round.target, &round.player})
            for (const QPointF& joint : *pose)
                row += QLatin1Char(',') + tk::numberText(joint.x()) + QLatin1Char(',') + tk::numberText(joint.y());
        header += QStringLiteral(",coached");
        row += QStringLiteral(",1");
        QCOMPARE(QString::fromUtf8(csv.mid(3)), header + QStringLiteral("\r\n") + row + QStringLiteral("\r\n"));
    }

    // Guards against an export that misses rounds or their joints, or that
    // reports success when the file could not be written.
    void exportWritesEveryRoundOfTheStore()
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
        QCOMPARE(bytesOf(path), record::roundsCsv(saved, tk::numberText));
        const auto failed = record::exportCsv(store, dir.path(), tk::numberText); // a folder, not a file
        QVERIFY(failed && !failed->message.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csv_export.moc"
