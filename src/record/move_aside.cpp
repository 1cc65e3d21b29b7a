#include "record/move_aside.h"

#include "record/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace record {

namespace {

// SQLite's rollback journal: the file's name with this ending.
const QString kJournalSuffix = QStringLiteral("-journal");

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

} // namespace

QString moveAside(const QString& path, const FileIdentity& expected, const QDateTime& when)
{
    const QFileInfo file(path);
    const QString journal = path + kJournalSuffix;
    for (int attempt = 1;; ++attempt) {
        if (identityOf(path) != expected)
            return {};
        QString target = asideName(file, when, attempt);
        if (QFileInfo::exists(target) || QFileInfo::exists(target + kJournalSuffix))
            continue;
        // The journal goes first: a file without its journal cannot be rolled
        // back, and a journal left beside a fresh record would be deleted by SQLite.
        const bool hasJournal = QFileInfo::exists(journal);
        if (hasJournal && !QFile::rename(journal, target + kJournalSuffix))
            throw Failure(Reason::Damaged, path, QStringLiteral("cannot rename %1 aside").arg(journal));
        QFile damaged(path);
        if (damaged.rename(target))
            return target;
        if (hasJournal)
            QFile::rename(target + kJournalSuffix, journal);
        if (QFileInfo::exists(target))
            continue; // taken a moment ago by another copy of the game
        throw Failure(
            Reason::Damaged, path, QStringLiteral("cannot rename to %1: %2").arg(target, damaged.errorString()));
    }
}

} // namespace record
