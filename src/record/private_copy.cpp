#include "record/private_copy.h"

#include "record/failure.h"
#include "record/log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace record {

namespace {

const QString kWal = QStringLiteral("-wal");

// Whether the copies' folder is there and the player's alone: made if
// missing, and not taken if another user made it first in the shared
// temporary folder (or a link stands in its place).
bool ownFolder()
{
    const QByteArray path = QFile::encodeName(copiesFolder());
    constexpr mode_t kOwnerOnly = 0700;
    ::mkdir(path.constData(), kOwnerOnly);
    struct stat status { };
    return ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::getuid()
        && (status.st_mode & 0077) == 0;
}

bool running(qint64 pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

// The copies may be written, whatever the originals allow: SQLite writes the
// WAL's index beside them, and moves the WAL into the file as it closes.
void copy(const QString& from, const QString& to)
{
    if (!QFile::copy(from, to) || !QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner))
        throw Failure(Reason::NotAccessible, {}, QStringLiteral("cannot copy %1 to %2 to read it").arg(from, to));
}

} // namespace

QString copiesFolder()
{
    return QDir::temp().filePath(QStringLiteral("tormell-%1").arg(::getuid()));
}

// Named for the process that made it, "<pid>-XXXXXX"; in the temporary
// folder itself, as any temporary file, when the copies' folder cannot be had.
QString privateFolderTemplate()
{
    const QString name = QStringLiteral("%1-XXXXXX").arg(QCoreApplication::applicationPid());
    return ownFolder() ? QDir(copiesFolder()).filePath(name) : QDir::temp().filePath(QStringLiteral("tormell-") + name);
}

void clearLeftoverCopies()
{
    if (!ownFolder())
        return;
    const QDir folder(copiesFolder());
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.fileName().section(QLatin1Char('-'), 0, 0).toLongLong(&isPid);
        if (!isPid || pid <= 0 || running(pid))
            continue;
        qCInfo(lcRecord).noquote() << "clearing a copy a run that ended left:" << entry.filePath();
        QDir(entry.filePath()).removeRecursively();
    }
}

PrivateCopy::PrivateCopy(const QString& original)
    : m_original(original)
    , m_folder(privateFolderTemplate())
    , m_path(m_folder.filePath(QFileInfo(original).fileName()))
    , m_copied(stampOf(original))
{
    if (!m_folder.isValid())
        throw Failure(Reason::NotAccessible, {}, QStringLiteral("no temporary folder to read a copy of the record in"));
    copy(original, m_path);
    if (QFileInfo::exists(original + kWal))
        copy(original + kWal, m_path + kWal);
}

bool PrivateCopy::stale() const
{
    return stampOf(m_original) != m_copied;
}

PrivateCopy::Stamp PrivateCopy::stampOf(const QString& original)
{
    const QFileInfo file(original), wal(original + kWal);
    return {file.exists() ? file.size() : -1, file.lastModified(), wal.exists() ? wal.size() : -1, wal.lastModified()};
}

} // namespace record
