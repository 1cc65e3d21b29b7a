#include "record/write_access.h"

#include <QFile>
#include <QFileInfo>
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
    const QByteArray file = QFile::encodeName(path);
    if (!mayWrite(file))
        return false;
    for (const QString& ending : kCompanions)
        if (QFileInfo::exists(path + ending) && !mayWrite(QFile::encodeName(path + ending)))
            return false;
    return true;
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

} // namespace record
