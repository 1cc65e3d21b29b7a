#include "record/round_import.h"

#include "record/csv_import.h"
#include "record/failure.h"
#include "record/job.h"
#include "record/log.h"
#include "record/record_source.h"
#include "record/score_store.h"
#include "record/staged_rounds.h"

#include <QFile>
#include <cerrno>
#include <numeric>
#include <sys/stat.h>

namespace record {

namespace {

// How every SQLite database begins.
const QByteArray kSqliteHeader = QByteArrayLiteral("SQLite format 3\0");

/// Why the thing at `path` is not a file to read, or nothing when it is one.
/// Asked before it is opened: opening a FIFO with no writer waits for ever,
/// and a device may never end.
QString notARegularFile(const QString& path)
{
    struct stat status { };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ELOOP ? QStringLiteral("リンクがたどりきれません（リンクが輪になっています）。")
            : errno == EACCES ? QStringLiteral("ファイルを読めません（読む許可がありません）。")
                              : QStringLiteral("ファイルが見つかりません。");
    if (S_ISDIR(status.st_mode))
        return QStringLiteral("ファイルではなくフォルダーです。");
    if (S_ISFIFO(status.st_mode))
        return QStringLiteral("ファイルではなく名前付きパイプ（FIFO）です。");
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return QStringLiteral("ファイルではなくデバイスです。");
    if (!S_ISREG(status.st_mode))
        return QStringLiteral("ふつうのファイルではありません。");
    return {};
}

SourceRounds roundsFrom(const QString& path, const RoundSink& sink)
{
    SourceRounds source;
    source.refused = notARegularFile(path);
    if (!source.refused.isEmpty())
        return source;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        source.refused = QStringLiteral("ファイルを読めません（読む許可がないか、ディスクの読み込みに失敗しました）。");
    else if (file.peek(1).isEmpty()) // not its size: a file of /proc says 0 and holds more
        source.refused = QStringLiteral("ファイルが空です。");
    if (!source.refused.isEmpty())
        return source;
    if (file.peek(kSqliteHeader.size()) == kSqliteHeader)
        return roundsFromRecord(path, sink);
    return roundsFromCsv(file, sink);
}

} // namespace

ImportReport importFiles(ScoreStore& store, const QStringList& paths, JobProgress* progress)
{
    // The bar's steps: each file counts as many as it has bytes, so that it
    // moves as the reading does; its end waits for the rounds to be added.
    constexpr qint64 kStepsAFile = 1000;
    ImportReport report;
    try {
        StagedRounds staged;
        qint64 read = 0;
        const qint64 total = kStepsAFile * (paths.size() + 1);
        for (qsizetype file = 0; file < paths.size(); ++file) {
            const QString& path = paths[file];
            if (progress) {
                progress->throwIfCancelled();
                progress->set(kStepsAFile * file, total);
            }
            const RoundSink sink {[&](const RoundRecord& round) { staged.stage(round); },
                [&](double share) {
                    if (!progress)
                        return;
                    progress->throwIfCancelled();
                    progress->set(kStepsAFile * file + static_cast<qint64>(share * kStepsAFile), total);
                }};
            staged.beginFile();
            const SourceRounds source = roundsFrom(path, sink);
            if (!source.refused.isEmpty() || source.problem) {
                staged.dropFile();
                qCWarning(lcRecord).noquote() << "not imported:" << path << source.refused;
                report.refused.append({path, source.refused, source.problem});
                continue;
            }
            for (auto it = source.leftOut.cbegin(); it != source.leftOut.cend(); ++it)
                report.leftOut[it.key()] += it.value();
            read += source.read;
        }
        if (progress)
            progress->set(kStepsAFile * paths.size(), total);
        const ScoreStore::Added added = store.add(staged, progress);
        report.problem = added.problem;
        if (!added.problem) {
            report.added = added.count;
            report.alreadyKept = static_cast<int>(read) - added.count;
        }
    } catch (const Failure& failure) { // a stop, or no place to gather the rounds: none was added
        report.problem = problem(
            Action::Import, failure.reason, failure.path.isEmpty() ? store.path() : failure.path, failure.detail);
    }
    return report;
}

QString failureText(const ImportReport& report, ProblemText problemText)
{
    QStringList lines;
    if (report.problem)
        lines << problemText(*report.problem) << QStringLiteral("記録は取り込む前のままです。");
    for (const ImportReport::Refusal& refusal : report.refused)
        lines << QStringLiteral("「%1」は取り込めませんでした。%2")
                     .arg(refusal.path, refusal.problem ? problemText(*refusal.problem) : refusal.reason);
    return lines.join(QLatin1Char('\n'));
}

QString countsText(const ImportReport& report)
{
    QStringList lines;
    const int leftOut = std::accumulate(report.leftOut.cbegin(), report.leftOut.cend(), 0);
    lines << QStringLiteral("新しく加えた回：%1　すでに記録にあった回：%2　取り込まなかった回：%3")
                 .arg(report.added)
                 .arg(report.alreadyKept)
                 .arg(leftOut);
    for (auto it = report.leftOut.cbegin(); it != report.leftOut.cend(); ++it)
        lines << QStringLiteral("・%1：%2").arg(it.key()).arg(it.value());
    return lines.join(QLatin1Char('\n'));
}

QString reportText(const ImportReport& report, ProblemText problemText)
{
    return report.failed() ? failureText(report, problemText) + QLatin1Char('\n') + countsText(report)
                           : countsText(report);
}

} // namespace record
