#include "record/move_aside.h"

#include "record/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <array>

namespace record {

namespace {

// SQLite's companions of a file, named by these endings: the rollback journal,
// or the WAL (saves committed but not yet copied into the file) and its index.
const std::array<QString, 3> kCompanions = {QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};

QString asideName(const QFileInfo& file, const QDateTime& when, int attempt)
{
    QString name
        = file.completeBaseName() + QStringLiteral(".corrupt-") + when.toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
    if (attempt > 1)
        name += QLatin1Char('-') + QString::number(attempt);
    if (!file.suffix().isEmpty())
        name += QLatin1Char('.') + file.suffix();
    return file.dir().filePath(name);
}

bool taken(const QString& target)
{
    return QFileInfo::exists(target)
        || std::any_of(kCompanions.begin(), kCompanions.end(),
            [&target](const QString& ending) { return QFileInfo::exists(target + ending); });
}

// Puts back the companions already moved, when the file itself could not follow.
void moveBack(const QString& path, const QString& target, const QStringList& moved)
{
    for (const QString& ending : moved)
        QFile::rename(target + ending, path + ending);
}

} // namespace

QString moveAside(const QString& path, const FileIdentity& expected, const QDateTime& when)
{
    const QFileInfo file(path);
    for (int attempt = 1;; ++attempt) {
        if (identityOf(path) != expected)
            return {};
        QString target = asideName(file, when, attempt);
        if (taken(target))
            continue;
        // The companions go first. A file without its journal cannot be rolled
        // back, and without its WAL it lacks the last saves; either left beside
        // a fresh record would be deleted by SQLite.
        QStringList moved;
        for (const QString& ending : kCompanions) {
            if (!QFileInfo::exists(path + ending))
                continue;
            if (!QFile::rename(path + ending, target + ending)) {
                moveBack(path, target, moved);
                throw Failure(Reason::Damaged, path, QStringLiteral("cannot rename %1 aside").arg(path + ending));
            }
            moved << ending;
        }
        QFile damaged(path);
        if (damaged.rename(target))
            return target;
        moveBack(path, target, moved);
        if (QFileInfo::exists(target))
            continue; // taken a moment ago by another copy of the game
        throw Failure(
            Reason::Damaged, path, QStringLiteral("cannot rename to %1: %2").arg(target, damaged.errorString()));
    }
}

} // namespace record
