#include "record/private_copy.h"

#include "record/failure.h"

#include <QFile>
#include <QFileInfo>

namespace record {

namespace {

const QString kWal = QStringLiteral("-wal");

// The copies may be written, whatever the originals allow: SQLite writes the
// WAL's index beside them, and moves the WAL into the file as it closes.
void copy(const QString& from, const QString& to)
{
    if (!QFile::copy(from, to) || !QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner))
        throw Failure(Reason::NotAccessible, {}, QStringLiteral("cannot copy %1 to %2 to read it").arg(from, to));
}

} // namespace

PrivateCopy::PrivateCopy(const QString& original)
    : m_original(original)
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
