// The record window from its module, loaded from the build as the game loads
// it from its installation, rather than linked in as the other tests have it.

#include "support/checked_round.h"
#include "support/game.h"
#include "support/test_main.h"

#include <QLabel>
#include <QPluginLoader>
#include <QPushButton>

class RecordWindowModuleTest : public QObject {
    Q_OBJECT

private slots:
    // Guards against a module that does not load beside its library (an
    // undefined symbol, an interface id of another build), or that loads
    // but does not work on the program's own record and types.
    void theRecordWindowOpensFromItsModule()
    {
        QVERIFY(QPluginLoader::staticInstances().isEmpty()); // nothing linked in
        Game game;
        QTest::mouseClick(checkARound(game).Command1, Qt::LeftButton);
        game.w().MNU点数->trigger();
        QWidget* record = game.w().scoreRecord();
        QVERIFY(record && record->isVisible());
        const auto* summary = record->findChild<QLabel*>(QStringLiteral("LblSUMMARY"));
        QVERIFY(summary);
        QVERIFY2(summary->text().startsWith(QStringLiteral("回数：1")), qPrintable(summary->text()));
        const auto* loader = qApp->findChild<QPluginLoader*>(QStringLiteral("recordWindowLoader"));
        QVERIFY(loader && loader->isLoaded());
        QVERIFY2(loader->fileName().endsWith(QStringLiteral("/tormell/tormell_record_window.so")),
            qPrintable(loader->fileName()));
    }
};

TORMELL_TEST_MAIN(RecordWindowModuleTest)
#include "tst_record_window_module.moc"
