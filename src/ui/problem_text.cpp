#include "ui/problem_text.h"

#include <QFileInfo>
#include <QStringList>
#include <numeric>

namespace ui {

namespace {

using record::Action;
using record::LeftOut;
using record::Reason;
using record::Refusal;

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
    case Reason::TheRecordItself:
        return withFile(
            QStringLiteral("選んだファイルは記録そのものか、使用中の記録です。別のファイルを選んでください。"), path);
    case Reason::Unexpected:
        return withFile(QStringLiteral("予期しない障害が起きました。"), path);
    }
    return {};
}

QString leftOutText(LeftOut why)
{
    switch (why) {
    case LeftOut::UnreadableRow:
        return QStringLiteral("読めない行（引用符の閉じ忘れなど）");
    case LeftOut::CellCount:
        return QStringLiteral("項目の数が見出しと合わない行");
    case LeftOut::BadId:
        return QStringLiteral("IDが読めない行");
    case LeftOut::BadTime:
        return QStringLiteral("日時が読めない行（UTCからの時差付きのISO 8601でない）");
    case LeftOut::BadNumber:
        return QStringLiteral("数値が読めないか、取りうる範囲を外れている行");
    case LeftOut::MissingJoints:
        return QStringLiteral("姿勢の記録が欠けている行");
    case LeftOut::InvalidText:
        return QStringLiteral("文字として読めないバイトのある行");
    case LeftOut::DamagedJoints:
        return QStringLiteral("姿勢の記録が壊れている回");
    case LeftOut::RoundWithoutId:
        return QStringLiteral("IDが読めない回");
    case LeftOut::ConflictingId:
        return QStringLiteral("IDが記録にある回と同じで中身の違う回（記録にある方を残しました）");
    case LeftOut::RoundOutOfRange:
        return QStringLiteral("日時か数値が取りうる範囲を外れている回");
    }
    return {};
}

// Said after a CSV's refusal when its text was not one the import reads.
QString encodingText(const record::FileRefusal& refusal)
{
    return refusal.unknownEncoding ? QStringLiteral("文字コードがUTF-8でもShift_JIS（CP932）でもないようです。")
                                   : QString();
}

QString refusalText(const record::FileRefusal& refusal)
{
    switch (refusal.why) {
    case Refusal::NotFound:
        return QStringLiteral("ファイルが見つかりません。");
    case Refusal::LinkLoop:
        return QStringLiteral("リンクがたどりきれません（リンクが輪になっています）。");
    case Refusal::NoPermission:
        return QStringLiteral("ファイルを読めません（読む許可がありません）。");
    case Refusal::Folder:
        return QStringLiteral("ファイルではなくフォルダーです。");
    case Refusal::Fifo:
        return QStringLiteral("ファイルではなく名前付きパイプ（FIFO）です。");
    case Refusal::Device:
        return QStringLiteral("ファイルではなくデバイスです。");
    case Refusal::NotRegular:
        return QStringLiteral("ふつうのファイルではありません。");
    case Refusal::CannotOpen:
        return QStringLiteral("ファイルを読めません（読む許可がないか、ディスクの読み込みに失敗しました）。");
    case Refusal::Empty:
        return QStringLiteral("ファイルが空です。");
    case Refusal::ReadFailed:
        return QStringLiteral("ファイルを読めません（ディスクの読み込みに失敗しました）。");
    case Refusal::NothingWritten:
        return QStringLiteral("ファイルに何も書かれていません。");
    case Refusal::OlderExport:
        return QStringLiteral("以前の版のTormellが書き出したCSVのため、取り込めません。"
                              "そのコンピューターの記録ファイル（scores.sqlite）を取り込んでください。");
    case Refusal::NeitherKind:
        return QStringLiteral("Tormellの記録でも、TormellのCSV書き出しでもありません。") + encodingText(refusal);
    case Refusal::MissingColumns:
        return QStringLiteral("CSVに「%1」の列がありません。").arg(refusal.missingColumn) + encodingText(refusal);
    case Refusal::NewerRecord:
        return QStringLiteral("新しい版のTormellで書かれた記録のため、この版では取り込めません。");
    case Refusal::DamagedRecord:
        return QStringLiteral("Tormellの記録ではないか、記録ファイルが壊れています。");
    case Refusal::EmptyDatabase:
        return QStringLiteral("Tormellの記録ではありません（記録の入っていないデータベースです）。");
    case Refusal::CannotCopy:
        return QStringLiteral("ファイルを読めません。");
    case Refusal::TheRecordItself:
        return QStringLiteral("この記録そのものです。その回はすべて記録にあります。");
    case Refusal::RecordUnreadable:
        return refusal.problem ? problemText(*refusal.problem) : QString();
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

QString importFailureText(const record::ImportReport& report)
{
    QStringList lines;
    if (report.problem)
        lines << problemText(*report.problem) << QStringLiteral("記録は取り込む前のままです。");
    for (const record::ImportReport::Refused& refused : report.refused)
        lines << QStringLiteral("「%1」は取り込めませんでした。%2").arg(refused.path, refusalText(refused));
    return lines.join(QLatin1Char('\n'));
}

QString importCountsText(const record::ImportReport& report)
{
    QStringList lines;
    const int leftOut = std::accumulate(report.leftOut.cbegin(), report.leftOut.cend(), 0);
    lines << QStringLiteral("新しく加えた回：%1　すでに記録にあった回：%2　取り込まなかった回：%3")
                 .arg(report.added)
                 .arg(report.alreadyKept)
                 .arg(leftOut);
    for (auto it = report.leftOut.cbegin(); it != report.leftOut.cend(); ++it)
        lines << QStringLiteral("・%1：%2").arg(leftOutText(it.key())).arg(it.value());
    QStringList places;
    for (const record::ImportReport::Line& line : report.leftOutLines)
        places << QStringLiteral("%1 の%2行目").arg(QFileInfo(line.path).fileName()).arg(line.line);
    if (!places.isEmpty())
        lines << QStringLiteral("（取り込まなかった行：%1%2）")
                     .arg(places.join(QStringLiteral("、")),
                         places.size() < leftOut ? QStringLiteral("ほか") : QString());
    return lines.join(QLatin1Char('\n'));
}

QString importReportText(const record::ImportReport& report)
{
    return report.failed() ? importFailureText(report) + QLatin1Char('\n') + importCountsText(report)
                           : importCountsText(report);
}

} // namespace ui
