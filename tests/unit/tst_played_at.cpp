// When a round was played, as the record reads it back: the moment from
// played_ms and the offset from the end of played_at, for every offset a
// record may hold, including ones beyond the time zones Qt knows.

#include "record/score_store.h"
#include "support/record_files.h"
#include "support/sample_round.h"
#include "support/temporary_record.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimeZone>

namespace {

constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;

/// `moment` as the record writes it at `offsetSeconds`, made without Qt's
/// time zones, which may not hold that offset.
QString textAtOffset(const QDateTime& moment, int offsetSeconds)
{
    const QDateTime wall = moment.toUTC().addSecs(offsetSeconds);
    const int minutes = std::abs(offsetSeconds) / kSecondsPerMinute;
    return wall.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz"))
        + QString::asprintf("%c%02d:%02d", offsetSeconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

} // namespace

class TestPlayedAt : public QObject {
    Q_OBJECT

private slots:
    void theMomentAndItsOffsetReadBack_data()
    {
        QTest::addColumn<int>("offsetSeconds");
        QTest::newRow("UTC written out") << 0;
        QTest::newRow("east") << 9 * kSecondsPerHour;
        QTest::newRow("west, half an hour") << -(3 * kSecondsPerHour + 30 * kSecondsPerMinute);
        QTest::newRow("farthest east of today's zones") << 14 * kSecondsPerHour;
        QTest::newRow("farthest west of today's zones") << -12 * kSecondsPerHour;
        QTest::newRow("beyond Qt 6.4's zones, east") << 15 * kSecondsPerHour;
        QTest::newRow("beyond Qt 6.4's zones, west") << -(15 * kSecondsPerHour + 30 * kSecondsPerMinute);
    }
    // Guards against a round read back at another moment or hour than it was
    // played, or as no moment at all where Qt holds no zone for its offset.
    void theMomentAndItsOffsetReadBack()
    {
        QFETCH(int, offsetSeconds);
        TemporaryRecord record;
        record::RoundRecord round = sampleRound();
        QVERIFY(!record.store.append(round));
        const QString text = textAtOffset(round.playedAt, offsetSeconds);
        {
            RawFile file(record.folder.filePath(TemporaryRecord::kFileName));
            file.run(QStringLiteral("UPDATE rounds SET played_at = ? WHERE id = ?"), {text, round.id});
        }

        record::ScoreStore reader(record.folder.filePath(TemporaryRecord::kFileName));
        const record::Read<record::RoundRecord> back = reader.round(round.id);
        QVERIFY(!back.problem);
        const QDateTime& at = back.value.playedAt;
        QVERIFY2(at.isValid(), qPrintable(text));
        QCOMPARE(at.toMSecsSinceEpoch(), round.playedAt.toMSecsSinceEpoch());
        QCOMPARE(at.offsetFromUtc(), offsetSeconds);
        QCOMPARE(at.toString(Qt::ISODateWithMs).left(23), text.left(23)); // the wall time it was played at
        const record::Read<QList<record::RoundSummary>> listed = reader.rounds();
        QVERIFY(!listed.problem);
        QCOMPARE(listed.value.size(), 1);
        QCOMPARE(listed.value[0].playedAt.offsetFromUtc(), offsetSeconds);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TestPlayedAt test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_played_at.moc"
