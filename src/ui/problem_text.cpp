#include "ui/problem_text.h"

#include <QFileInfo>

namespace ui {

namespace {

using record::Action;
using record::Reason;

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

QString problemText(const record::Problem& problem)
{
    using Kind = record::Problem::Kind;
    switch (problem.kind) {
    case Kind::Failure:
        return actionText(problem.action) + reasonText(problem.reason, problem.path);
    case Kind::MovedAside:
        return QStringLiteral("記録ファイルが壊れているか、Tormellの記録ではなかったため、新しい記録を始めました。"
                              "元のファイルは「%1」に残してあります。")
            .arg(problem.path);
    case Kind::NewerVersion:
        return withFile(QStringLiteral("記録ファイルは新しい版のTormellで書かれています。"
                                       "読むことはできますが、この版では点数を保存しません。"),
            problem.path);
    case Kind::ReadOnly: {
        const QString because = problem.reason == Reason::DiskFull ? QStringLiteral("ディスクの空き容量が足りないため")
                                                                   : QStringLiteral("このファイルに書き込めないため");
        return withFile(
            because + QStringLiteral("、記録を読むことはできますが、新しい回は保存できません。"), problem.path);
    }
    }
    return {};
}

} // namespace ui
