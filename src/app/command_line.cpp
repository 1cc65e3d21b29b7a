#include "app/command_line.h"

#include "record/round_import.h"
#include "record/score_store.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

namespace app {

namespace {

// Exit codes: a failure of what was asked, and a command line that asks nothing sound.
constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr std::string_view kOwnOptions[] = {"--import", "--backup", "--help", "-h", "--help-all", "--version", "-v"};

void print(std::FILE* stream, const QString& text)
{
    std::fputs(qUtf8Printable(text + QLatin1Char('\n')), stream);
}

} // namespace

bool commandLineAsked(int argc, char** argv)
{
    const std::string_view backupWithFile = "--backup=";
    for (const std::string_view argument : std::span(argv + 1, argv + argc))
        if (argument.starts_with(backupWithFile) || std::ranges::find(kOwnOptions, argument) != std::end(kOwnOptions))
            return true;
    return false;
}

int runCommandLine()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tormell: 体の姿勢を覚えるゲーム。オプションなしで起動するとゲームが始まります。"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption import(QStringLiteral("import"),
        QStringLiteral("FILE… (Tormellの記録 *.sqlite か CSV書き出し *.csv) の回のうち、記録にない回を取り込みます。"));
    const QCommandLineOption backup(QStringLiteral("backup"),
        QStringLiteral("記録をそのまま FILE に保存します(ほかのTormellが保存中でも一貫した写し)。"),
        QStringLiteral("FILE"));
    parser.addOption(import);
    parser.addOption(backup);
    parser.addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("--import で取り込むファイル"), QStringLiteral("[FILE…]"));
    parser.process(*QCoreApplication::instance()); // --help, --version and unknown options end here

    const QStringList files = parser.positionalArguments();
    if (parser.isSet(import) ? files.isEmpty() : !files.isEmpty()) {
        print(stderr,
            parser.isSet(import) ? QStringLiteral("tormell: --import には取り込むファイルを指定してください。")
                                 : QStringLiteral("tormell: ファイルは --import とともに指定してください。"));
        return kUsage;
    }
    record::ScoreStore store(record::ScoreStore::defaultPath());
    int exitCode = EXIT_SUCCESS;
    if (parser.isSet(import)) {
        const record::ImportReport report = record::importFiles(store, files);
        print(stdout, record::reportText(report));
        if (report.failed()) {
            print(stderr, record::failureText(report));
            exitCode = kFailed;
        }
    }
    if (parser.isSet(backup)) {
        if (const auto problem = store.backup(parser.value(backup))) {
            print(stderr, problem->message);
            exitCode = kFailed;
        } else {
            print(stdout, QStringLiteral("記録を「%1」に保存しました。").arg(parser.value(backup)));
        }
    }
    return exitCode;
}

} // namespace app
