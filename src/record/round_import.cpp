#include "record/round_import.h"

#include "record/csv_import.h"
#include "record/failure.h"
#include "record/file_identity.h"
#include "record/job.h"
#include "record/log.h"
#include "record/record_source.h"
#include "record/score_store.h"
#include "record/staged_rounds.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>

namespace record {

namespace {

// How every SQLite database begins.
const QByteArray kSqliteHeader = QByteArrayLiteral("SQLite format 3\0");

/// Why the thing at `path` is not a file to read, or nothing when it is one.
/// Asked before it is opened: opening a FIFO with no writer waits for ever,
/// and a device may never end.
std::optional<Refusal> notARegularFile(const QString& path)
{
    struct stat status { };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ELOOP ? Refusal::LinkLoop : errno == EACCES ? Refusal::NoPermission : Refusal::NotFound;
    if (S_ISDIR(status.st_mode))
        return Refusal::Folder;
    if (S_ISFIFO(status.st_mode))
        return Refusal::Fifo;
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return Refusal::Device;
    if (!S_ISREG(status.st_mode))
        return Refusal::NotRegular;
    return std::nullopt;
}

SourceRounds roundsFrom(const QString& path, const RoundSink& sink)
{
    if (const std::optional<Refusal> why = notARegularFile(path))
        return refusedSource({*why});
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refusedSource({Refusal::CannotOpen});
    if (file.peek(1).isEmpty()) // not its size: a file of /proc says 0 and holds more
        return refusedSource({Refusal::Empty});
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
            const FileIdentity identity = identityOf(path);
            const SourceRounds source = identity.exists && identity == identityOf(store.path())
                ? refusedSource({Refusal::TheRecordItself})
                : roundsFrom(path, sink);
            if (source.refused) {
                staged.dropFile();
                qCWarning(lcRecord).noquote()
                    << "not imported:" << path << "refusal" << static_cast<int>(source.refused->why);
                report.refused.append({*source.refused, path});
                continue;
            }
            for (auto it = source.leftOut.cbegin(); it != source.leftOut.cend(); ++it)
                report.leftOut[it.key()] += it.value();
            for (const qint64 line : source.leftOutLines)
                if (report.leftOutLines.size() < kLeftOutLinesTold)
                    report.leftOutLines.append({path, line});
            read += source.read;
        }
        if (progress)
            progress->set(kStepsAFile * paths.size(), total);
        const ScoreStore::Added added = store.add(staged, progress);
        report.problem = added.problem;
        if (!added.problem) {
            report.added = added.count;
            report.alreadyKept = static_cast<int>(read) - added.count - added.conflicts;
            if (added.conflicts > 0)
                report.leftOut[LeftOut::ConflictingId] = added.conflicts;
        }
    } catch (const Failure& failure) { // a stop, or no place to gather the rounds: none was added
        report.problem = problem(
            Action::Import, failure.reason, failure.path.isEmpty() ? store.path() : failure.path, failure.detail);
    }
    return report;
}

} // namespace record
