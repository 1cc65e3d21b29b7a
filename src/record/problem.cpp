#include "record/problem.h"

#include "record/log.h"

#include <QSqlError>

namespace record {

namespace {

// SQLite's primary result codes; the driver reports extended codes, whose low byte is the primary one.
constexpr int kPrimaryCodeMask = 0xff;
constexpr int kSqlitePerm = 3;
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteIoErr = 10;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteAuth = 23;
constexpr int kSqliteNotADb = 26;
// An extended code is a primary code with a subcode in the bits above it.
constexpr int kExtendedCodeShift = 8;
// SQLITE_IOERR_SHMSIZE: the WAL index could not grow, which a full disk (or a
// full quota) causes; opening the record meets it before any save could.
constexpr int kShmSizeSubcode = 19;
constexpr int kSqliteIoErrShmSize = kSqliteIoErr | (kShmSizeSubcode << kExtendedCodeShift);
static_assert(kSqliteIoErrShmSize == 4874);

// For the log, in its own language.
const char* actionName(Action action)
{
    switch (action) {
    case Action::Save:
        return "save";
    case Action::Read:
        return "read";
    case Action::Remove:
        return "removal";
    case Action::Export:
        return "export";
    case Action::Import:
        return "import";
    case Action::Backup:
        return "backup";
    }
    return "use";
}

} // namespace

Problem problem(Action action, Reason reason, const QString& path, const QString& detail)
{
    qCWarning(lcRecord).noquote().nospace() << actionName(action) << " failed (" << path << "): " << detail;
    return {.kind = Problem::Kind::Failure, .action = action, .reason = reason, .path = path, .detail = detail};
}

Reason reasonOf(const QSqlError& error)
{
    const int code = error.nativeErrorCode().toInt();
    if (code == kSqliteIoErrShmSize)
        return Reason::DiskFull;
    switch (code & kPrimaryCodeMask) {
    case kSqliteBusy:
    case kSqliteLocked:
        return Reason::Busy;
    case kSqlitePerm:
    case kSqliteReadOnly:
    case kSqliteCantOpen:
    case kSqliteAuth:
        return Reason::NotAccessible;
    case kSqliteFull:
        return Reason::DiskFull;
    case kSqliteCorrupt:
    case kSqliteNotADb:
        return Reason::Damaged;
    case kSqliteIoErr:
        return Reason::IoError;
    default:
        return Reason::Unexpected;
    }
}

QString describe(const QSqlError& error)
{
    return QStringLiteral("%1 [SQLite %2]").arg(error.text(), error.nativeErrorCode());
}

Problem movedAsideNotice(const QString& movedTo, const QString& detail)
{
    qCWarning(lcRecord).noquote().nospace() << "damaged record moved aside to " << movedTo << ": " << detail;
    return {.kind = Problem::Kind::MovedAside, .reason = Reason::Damaged, .path = movedTo, .detail = detail};
}

Problem newerVersionNotice(const QString& path, int version)
{
    const QString detail = QStringLiteral("schema version %1 in %2").arg(version).arg(path);
    qCWarning(lcRecord).noquote() << "newer record, only read:" << detail;
    return {.kind = Problem::Kind::NewerVersion,
        .reason = Reason::NewerVersion,
        .path = path,
        .version = version,
        .detail = detail};
}

Problem readOnlyNotice(const QString& part, Reason why)
{
    const QString detail = why == Reason::DiskFull ? QStringLiteral("the disk holding %1 is full").arg(part)
                                                   : QStringLiteral("no write access to %1").arg(part);
    qCWarning(lcRecord).noquote() << "record only read:" << detail;
    return {.kind = Problem::Kind::ReadOnly, .reason = why, .path = part, .detail = detail};
}

} // namespace record
