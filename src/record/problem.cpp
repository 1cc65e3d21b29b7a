#include "record/problem.h"

#include "record/log.h"

#include <QFileInfo>
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

QString actionText(Action action)
{
    switch (action) {
    case Action::Save:
        return QStringLiteral("点数を保存できませんでした。");
    case Action::Read:
        return QStringLiteral("記録を読み込めませんでした。");
    case Action::Remove:
        return QStringLiteral("記録を削除できませんでした。");
    case Action::Export:
        return QStringLiteral("CSVファイルを書き出せませんでした。");
    case Action::Import:
        return QStringLiteral("記録を取り込めませんでした。");
    case Action::Backup:
        return QStringLiteral("記録を保存できませんでした。");
    }
    return {};
}

// The reason first, the path last on a line of its own: a path can be long
// enough to push the reason out of sight.
QString withPath(const QString& reason, const QString& whatIsThere, const QString& path)
{
    return reason + QStringLiteral("\n%1：%2").arg(whatIsThere, path);
}

QString withFile(const QString& reason, const QString& path)
{
    return withPath(reason, QFileInfo(path).isDir() ? QStringLiteral("フォルダー") : QStringLiteral("ファイル"), path);
}

QString reasonText(Reason reason, const QString& path)
{
    switch (reason) {
    case Reason::NoDriver:
        return QStringLiteral("QtのSQLiteドライバー(libqt6sql6-sqlite)が入っていません。");
    case Reason::NoLocation:
        return QStringLiteral("記録を置くフォルダーが決まりません(データフォルダーがありません)。");
    case Reason::FolderUnavailable:
        return withPath(QStringLiteral("記録を置くフォルダーを作れません。"), QStringLiteral("フォルダー"), path);
    case Reason::NotAccessible:
        return withFile(QStringLiteral("ファイルを開けないか、書き込みが許されていません。"), path);
    case Reason::DiskFull:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case Reason::Busy:
        return QStringLiteral("ほかのTormellが記録を使っていて、待っても空きませんでした。もう一度お試しください。");
    case Reason::NewerVersion:
        return withFile(
            QStringLiteral("記録ファイルは新しい版のTormellで書かれたため、この版では書き換えません。"), path);
    case Reason::Damaged:
        return withFile(QStringLiteral("記録ファイルが壊れています。"), path);
    case Reason::IoError:
        return withFile(QStringLiteral("ディスクの読み書きに失敗しました。"), path);
    case Reason::NoSuchRound:
        return QStringLiteral("その回の記録は見つかりません。");
    case Reason::RoundDamaged:
        return QStringLiteral("この回の姿勢の記録が欠けているか壊れているため、描けません。");
    case Reason::Replaced:
        return QStringLiteral("記録ファイルがほかのファイルに入れ替わったため、何もしませんでした。"
                              "記録を表示し直します。");
    case Reason::NoRecord:
        return QStringLiteral("まだ記録がありません。");
    case Reason::Cancelled:
        return QStringLiteral("途中で中止したため、何も変えていません。");
    case Reason::Unexpected:
        return withFile(QStringLiteral("予期しない障害が起きました。"), path);
    }
    return {};
}

} // namespace

Problem problem(Action action, Reason reason, const QString& path, const QString& detail)
{
    qCWarning(lcRecord).noquote().nospace() << actionName(action) << " failed (" << path << "): " << detail;
    return {actionText(action) + reasonText(reason, path), detail, reason};
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
    return {QStringLiteral("記録ファイルが壊れているか、Tormellの記録ではなかったため、新しい記録を始めました。"
                           "元のファイルは「%1」に残してあります。")
                .arg(movedTo),
        detail, std::nullopt};
}

Problem newerVersionNotice(const QString& path, int version)
{
    const QString detail = QStringLiteral("schema version %1 in %2").arg(version).arg(path);
    qCWarning(lcRecord).noquote() << "newer record, only read:" << detail;
    return {withFile(QStringLiteral("記録ファイルは新しい版のTormellで書かれています。"
                                    "読むことはできますが、この版では点数を保存しません。"),
                path),
        detail, std::nullopt};
}

Problem readOnlyNotice(const QString& part, Reason why)
{
    const bool full = why == Reason::DiskFull;
    const QString detail = full ? QStringLiteral("the disk holding %1 is full").arg(part)
                                : QStringLiteral("no write access to %1").arg(part);
    qCWarning(lcRecord).noquote() << "record only read:" << detail;
    const QString because
        = full ? QStringLiteral("ディスクの空き容量が足りないため") : QStringLiteral("このファイルに書き込めないため");
    return {withFile(because + QStringLiteral("、記録を読むことはできますが、新しい回は保存できません。"), part),
        detail, std::nullopt};
}

} // namespace record
