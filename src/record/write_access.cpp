#include "record/write_access.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <array>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace record {

namespace {

// The WAL and its index; a record in WAL mode has no rollback journal.
const QString kWal = QStringLiteral("-wal");
const std::array<QString, 2> kCompanions = {kWal, QStringLiteral("-shm")};

constexpr mode_t kPermissionBits = S_IRWXU | S_IRWXG | S_IRWXO; // what SQLite copies from the file
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

// By the effective ids, which decide what this process may do; access() would
// ask about the real ones.
bool mayWrite(const QByteArray& path)
{
    return ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) == 0;
}

} // namespace

bool mayWriteRecord(const QString& path)
{
    return unwritablePart(path).isEmpty();
}

QString unwritablePart(const QString& path)
{
    if (!mayWrite(QFile::encodeName(path)))
        return path;
    QStringList companions;
    bool missing = false;
    for (const QString& ending : kCompanions) {
        if (!QFileInfo::exists(path + ending))
            missing = true;
        else if (!mayWrite(QFile::encodeName(path + ending)))
            companions << path + ending;
    }
    if (!companions.isEmpty())
        return companions.join(QStringLiteral("、"));
    const QString folder = QFileInfo(path).absolutePath();
    return missing && !mayWrite(QFile::encodeName(folder)) ? folder : QString();
}

bool writerPossible(const QString& path)
{
    if (QFileInfo::exists(path + kWal))
        return true;
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    struct statvfs system { };
    if (::statvfs(folder.constData(), &system) == 0 && (system.f_flag & ST_RDONLY) != 0)
        return false;
    struct stat status { };
    return ::stat(folder.constData(), &status) != 0 || (status.st_mode & kWriteBits) != 0;
}

void restoreCompanionAccess(const QString& path)
{
    // Never removed, which would need knowing that no other running copy of
    // the game has the file open: asking SQLite's locks from here would mean
    // opening and closing the file ourselves, and closing any descriptor of a
    // file drops every POSIX lock this process holds on it, SQLite's own
    // included; and a WAL may hold saved rounds. Widening the permissions
    // disturbs no one: open descriptors keep working, and a copy that has the
    // index open shares it with the next as before.
    const QByteArray file = QFile::encodeName(path);
    struct stat record { };
    if (::stat(file.constData(), &record) != 0 || !mayWrite(file))
        return;
    for (const QString& ending : kCompanions) {
        const QByteArray companion = QFile::encodeName(path + ending);
        if (QFileInfo::exists(path + ending) && !mayWrite(companion))
            ::chmod(companion.constData(), record.st_mode & kPermissionBits); // best effort: another user's is left
    }
}

} // namespace record
