// What the player is told when the record cannot do what was asked: why, before where.
// A path can be long enough to fill the box the message is shown in.

#include "ui/problem_text.h"

#include <QTest>

namespace {

const QString kPath = QStringLiteral("/home/player/") + QString(300, u'x') + QStringLiteral("/scores.sqlite");

} // namespace

class TestProblemMessages : public QObject {
    Q_OBJECT

private slots:
    void theReasonComesBeforeThePathOnALineOfItsOwn_data()
    {
        using record::Action;
        using record::Reason;
        const auto saving
            = [](Reason reason) { return ui::problemText(record::problem(Action::Save, reason, kPath, {})); };
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder unavailable") << saving(Reason::FolderUnavailable) << "フォルダーを作れません";
        QTest::newRow("not accessible") << saving(Reason::NotAccessible) << "書き込みが許されていません";
        QTest::newRow("newer version") << saving(Reason::NewerVersion) << "新しい版のTormellで書かれた";
        QTest::newRow("damaged") << saving(Reason::Damaged) << "壊れています";
        QTest::newRow("disk failure") << saving(Reason::IoError) << "読み書きに失敗しました";
        QTest::newRow("unexpected") << saving(Reason::Unexpected) << "予期しない障害";
        QTest::newRow("export not accessible")
            << ui::problemText(record::problem(Action::Export, Reason::NotAccessible, kPath, {}))
            << "書き込みが許されていません";
        QTest::newRow("newer version notice")
            << ui::problemText(record::newerVersionNotice(kPath, 99)) << "この版では点数を保存しません";
        QTest::newRow("read-only notice")
            << ui::problemText(record::readOnlyNotice(kPath, Reason::NotAccessible)) << "書き込めないため";
        QTest::newRow("full-disk notice")
            << ui::problemText(record::readOnlyNotice(kPath, Reason::DiskFull)) << "空き容量が足りないため";
    }

    // Guards against a message that names the path before the reason, which a
    // box of a few lines then cuts off.
    void theReasonComesBeforeThePathOnALineOfItsOwn()
    {
        QFETCH(QString, message);
        QFETCH(QString, reason);
        const qsizetype path = message.indexOf(kPath);
        QVERIFY2(path >= 0, qPrintable(message));
        const qsizetype why = message.indexOf(reason);
        QVERIFY2(why >= 0 && why < path, qPrintable(message));
        const qsizetype lastLine = message.lastIndexOf(u'\n') + 1;
        QVERIFY2(lastLine > why && lastLine <= path, qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(TestProblemMessages)
#include "tst_problem_messages.moc"
