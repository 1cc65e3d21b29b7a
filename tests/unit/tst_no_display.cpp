// With no display the program prints a command that starts it on Qt's VNC
// platform: the command must work as printed, wherever the program lies.

#include "app/no_display.h"
#include "support/test_main.h"

#include <QProcess>
#include <QTest>

class TestNoDisplay : public QObject {
    Q_OBJECT

private slots:
    // Guards against a path the shell splits, expands or ends early: the
    // command printed would start nothing, or something else.
    void theShellReadsThePrintedCommandAsThePlatformAndTheProgram()
    {
        const QString program = QStringLiteral("/home/me/player's games/$HOME `id` *?;|&/tormell");
        QProcess shell;
        shell.start(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral(R"(eval "set -- $1"; printf '%s\n' "$@")"), QStringLiteral("sh"),
                QString::fromStdString(app::vncCommand(program.toStdString()))});
        QVERIFY(shell.waitForFinished());
        QCOMPARE(
            QString::fromUtf8(shell.readAllStandardOutput()), "QT_QPA_PLATFORM=vnc:size=1280x800\n" + program + '\n');
    }
};

TORMELL_TEST_MAIN(TestNoDisplay)
#include "tst_no_display.moc"
