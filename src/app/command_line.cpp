#include "app/command_line.h"

#include "record/round_import.h"
#include "record/score_store.h"
#include "ui/problem_text.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <span>

namespace app {

namespace {

// Qt's own options for a window, which the game's application takes for
// itself: those followed by a value (or joined to it by "="), and those that
// stand alone. Qt reads them with one dash or two.
const QStringList kQtOptionsWithValue {QStringLiteral("platform"), QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"), QStringLiteral("plugin"), QStringLiteral("qwindowgeometry"),
    QStringLiteral("qwindowicon"), QStringLiteral("qwindowtitle"), QStringLiteral("session"), QStringLiteral("display"),
    QStringLiteral("geometry"), QStringLiteral("style"), QStringLiteral("stylesheet"), QStringLiteral("qmljsdebugger"),
    QStringLiteral("dialogs"), QStringLiteral("fontengine")};
const QStringList kQtFlags {QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
    QStringLiteral("dograb"), QStringLiteral("sync")};

const QString kImport = QStringLiteral("import");
const QString kBackup = QStringLiteral("backup");

void print(std::FILE* stream, const QString& text)
{
    std::fputs(qUtf8Printable(text + QLatin1Char('\n')), stream);
}

/// `arguments` (the program's name first) without Qt's own window options.
QStringList withoutQtOptions(const QStringList& arguments)
{
    QStringList kept {arguments.value(0)};
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--")) { // what follows is files, whatever it looks like
            kept << arguments.mid(i);
            break;
        }
        QString name = argument;
        if (name.startsWith(QStringLiteral("--")))
            name.remove(0, 2);
        else if (name.startsWith(QLatin1Char('-')))
            name.remove(0, 1);
        else {
            kept << argument;
            continue;
        }
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        if (kQtFlags.contains(name))
            continue;
        if (kQtOptionsWithValue.contains(name.left(equals))) {
            if (equals < 0)
                ++i; // its value
            continue;
        }
        kept << argument;
    }
    return kept;
}

/// "--import=FILE" read as "--import FILE", as "--backup=FILE" is by the parser.
QStringList importValuesApart(const QStringList& arguments)
{
    const QString joined = QStringLiteral("--%1=").arg(kImport);
    QStringList apart;
    for (const QString& argument : arguments)
        if (argument.startsWith(joined))
            apart << QStringLiteral("--%1").arg(kImport) << argument.mid(joined.size());
        else
            apart << argument;
    return apart;
}

QString helpText()
{
    return QStringLiteral(
        "使い方: tormell [--import ファイル…] [--backup ファイル]\n"
        "体の姿勢を覚えるゲーム Tormell。オプションなしで起動すると、ゲームが始まります。\n"
        "\n"
        "  --import ファイル…  Tormellの記録（*.sqlite）かCSV書き出し（*.csv）から、記録にない回を取り込みます。\n"
        "                      --import=ファイル とも書けます。\n"
        "  --backup ファイル   記録をそのままファイルに保存します（ほかのTormellが保存中でも、一貫した写し）。\n"
        "                      --backup=ファイル とも書けます。\n"
        "  -h, --help          この説明を表示します。\n"
        "  -v, --version       版を表示します。\n"
        "\n"
        "終了コード:\n"
        "  %1  すべてうまくいきました（取り込む回は、加えたか、すでに記録にありました）。\n"
        "  %2  ファイルを取り込めないか、記録に加えられないか、保存できませんでした。\n"
        "  %3  コマンドラインが正しくありません。何もしていません。\n"
        "  %4  取り込みましたが、読めずに取り込まなかった回があります。")
        .arg(kExitSuccess)
        .arg(kExitFailed)
        .arg(kExitUsage)
        .arg(kExitLeftOut);
}

int usage(const QString& why)
{
    print(stderr, QStringLiteral("tormell: %1\n使い方は tormell --help で表示します。").arg(why));
    return kExitUsage;
}

} // namespace

bool commandLineAsked(int argc, char** argv)
{
    QStringList arguments;
    for (const char* argument : std::span(argv, argv + argc))
        arguments << QString::fromLocal8Bit(argument);
    return withoutQtOptions(arguments).size() > 1;
}

int runCommandLine()
{
    QCommandLineParser parser;
    // "-help" and the like as one name, not as "-h" with more letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList {QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList {QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption import(kImport);
    const QCommandLineOption backup(kBackup, QString(), QStringLiteral("FILE"));
    parser.addOptions({help, version, import, backup});
    const QStringList arguments = importValuesApart(withoutQtOptions(QCoreApplication::arguments()));
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            // Named as typed: "-frob" or "--frob", with any "=value".
            const QRegularExpression typed(
                QStringLiteral("^--?%1(=.*)?$").arg(QRegularExpression::escape(unknown.first())));
            const auto written = std::find_if(arguments.begin() + 1, arguments.end(),
                [&](const QString& argument) { return typed.match(argument).hasMatch(); });
            return usage(QStringLiteral("「%1」というオプションはありません。")
                             .arg(written != arguments.end() ? *written : unknown.first()));
        }
        // Otherwise a value where none belongs (--help=x), or none after --backup.
        const auto given = std::find_if(arguments.begin() + 1, arguments.end(), [](const QString& argument) {
            return argument.startsWith(QLatin1Char('-')) && argument.contains(QLatin1Char('='))
                && !argument.startsWith(QStringLiteral("--%1=").arg(kBackup));
        });
        if (given != arguments.end())
            return usage(QStringLiteral("「%1」の書き方が正しくありません。").arg(*given));
        return usage(QStringLiteral("--backup には、保存先のファイルを指定してください。"));
    }
    if (parser.isSet(help)) {
        print(stdout, helpText());
        return kExitSuccess;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("tormell %1").arg(QCoreApplication::applicationVersion()));
        return kExitSuccess;
    }
    if (parser.values(backup).size() > 1)
        return usage(QStringLiteral("--backup は一度だけ指定してください。"));
    if (parser.isSet(backup) && (parser.value(backup).isEmpty() || parser.value(backup).startsWith(QLatin1Char('-'))))
        return usage(QStringLiteral("--backup には、保存先のファイルを指定してください。"));
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(import) && files.isEmpty())
        return usage(QStringLiteral("--import には、取り込むファイルを指定してください。"));
    if (!parser.isSet(import) && !files.isEmpty())
        return usage(QStringLiteral("ファイルは --import とともに指定してください（「%1」）。").arg(files.first()));

    // What went wrong is said once, below; the record's own warnings would say it again.
    QLoggingCategory::setFilterRules(QStringLiteral("tormell.*.warning=false"));
    record::ScoreStore store(record::ScoreStore::defaultPath());
    int exitCode = kExitSuccess;
    if (parser.isSet(import)) {
        const record::ImportReport report = record::importFiles(store, files);
        print(stdout, ui::importCountsText(report));
        if (report.failed()) {
            print(stderr, ui::importFailureText(report));
            exitCode = kExitFailed;
        } else if (!report.leftOut.isEmpty()) {
            exitCode = kExitLeftOut;
        }
    }
    if (parser.isSet(backup)) {
        if (const auto problem = store.backup(parser.value(backup))) {
            print(stderr, ui::problemText(*problem));
            exitCode = kExitFailed;
        } else {
            print(stdout, QStringLiteral("記録を「%1」に保存しました。").arg(parser.value(backup)));
        }
    }
    return exitCode;
}

} // namespace app
