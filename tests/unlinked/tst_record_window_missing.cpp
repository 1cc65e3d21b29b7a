// The game without its record window linked in, as when the window's module is
// missing: this test is built where no module is beside it.

#include "support/game.h"
#include "support/test_main.h"

#include <QMessageBox>
#include <QPushButton>

class RecordWindowMissingTest : public QObject {
    Q_OBJECT

private slots:
    // Guards against a crash, or a silent menu, when the module will not load.
    void theMenuTellsWhyAndTheGameGoesOn()
    {
        Game game;
        ui::Frm001& w = game.w();
        w.MNU点数->trigger();
        QCOMPARE(w.scoreRecord(), nullptr);
        auto* notice = w.findChild<QMessageBox*>();
        QVERIFY(notice && notice->isVisible());
        QVERIFY2(notice->text().startsWith(QStringLiteral("点数の記録の画面を開けません。")), qPrintable(notice->text()));
        QVERIFY2(notice->text().contains(QStringLiteral("tormell_record_window.so")), qPrintable(notice->text()));

        QTest::mouseClick(w.Command2, Qt::LeftButton); // CHEK
        QVERIFY(w.resultDialog() != nullptr);
    }
};

TORMELL_TEST_MAIN(RecordWindowMissingTest)
#include "tst_record_window_missing.moc"
