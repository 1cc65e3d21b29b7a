#include "ui/record/record_texts.h"

#include "toolkit/numeric_text.h"

#include <QStringList>
#include <cmath>

namespace ui {

namespace {
constexpr int kSecondsDecimals = 2;
} // namespace

QString settingText(const record::Setting& setting)
{
    return QStringLiteral("難易度 %1・表示時間 %2 秒")
        .arg(toolkit::numberText(setting.difficulty), toolkit::numberText(setting.displaySeconds));
}

QString viewText(const RecordView& view)
{
    return view.wholeDifficulty
        ? QStringLiteral("難易度 %1・すべての表示時間").arg(toolkit::numberText(view.setting.difficulty))
        : settingText(view.setting);
}

QString momentText(const QDateTime& when)
{
    // Spelt out rather than the locale's: its short form drops the seconds
    // that tell rounds a few seconds apart from each other.
    return when.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QString roundText(const record::RoundSummary& round)
{
    return QStringLiteral("%1\n表示時間 %2 秒・%3点")
        .arg(momentText(round.playedAt), toolkit::numberText(round.displaySeconds))
        .arg(round.score);
}

QString secondsText(double seconds)
{
    return QString::number(seconds, 'f', kSecondsDecimals);
}

QString memorySpeedMeaning()
{
    return QStringLiteral(
        "記憶の速さは、4回に3回覚えられる（%1点以上を取れる）表示時間です。短いほど速く覚えられます。\n"
        "点数にかかわらず記録される、おまかせ練習の回だけから求めます。"
        "点数保存で選んで残した回は、よくできた回に偏るため使いません。\n"
        "今の力を表すよう、直近%2日の回から求めます。それで定まらないときは直近%3日の回から求めます。\n"
        "68%区間は、本当の値が3回に2回ほど入る範囲です。"
        "表示時間に関係なく落とす回（うっかりや置きずれ）の割合も、回から推し量ってこの幅に含めます。\n"
        "%4日前（それまでの%2日）との差は、変わっていなくても偶然でその向きに出る見込みが5%未満のときだけ"
        "「はっきり」と書き、ほかは「誤差の範囲」と書きます。")
        .arg(core::kRememberedScore)
        .arg(core::kRecentDays)
        .arg(core::kFallbackDays)
        .arg(core::kComparedDaysBack);
}

QString memorySpeedHint(const core::Level& level)
{
    if (level.fit.estimate)
        return QStringLiteral("表示時間がこれより短いと覚えにくくなる目安です。短いほど速く覚えられます。"
                              "68%区間には本当の値が3回に2回ほど入ります。");
    if (level.fit.distinctTimes == 0)
        return {}; // the line itself says how
    return QStringLiteral("おまかせ練習を続ければ、表示時間を変えながら出すので、測れるようになります。");
}

QString memorySpeedText(const core::Level& level, std::optional<double> ofDifficulty)
{
    using Missing = core::MemorySpeedFit::Missing;
    const core::MemorySpeedFit& fit = level.fit;
    const QString days = level.days == core::kRecentDays ? QString() : QStringLiteral("直近%1日の").arg(level.days);
    const QString speed = ofDifficulty
        ? QStringLiteral("難易度 %1 の記憶の速さ").arg(toolkit::numberText(*ofDifficulty))
        : QStringLiteral("記憶の速さ");
    if (fit.estimate)
        return QStringLiteral("%1：%2 秒（68%区間 %3〜%4 秒、%5おまかせ練習の%6回から）")
            .arg(speed, secondsText(fit.estimate->seconds), secondsText(fit.estimate->low),
                secondsText(fit.estimate->high), days)
            .arg(fit.remembered + fit.forgotten);
    if (fit.distinctTimes == 0)
        return QStringLiteral("%1：おまかせ練習で遊ぶと測れます（点数保存で残した回からは求めません）").arg(speed);
    QString lacking;
    switch (fit.missing) {
    case Missing::DistinctTimes:
        lacking = QStringLiteral("%1種類以上の表示時間の回が要ります。今は%2種類")
                      .arg(core::kMinDistinctTimes)
                      .arg(fit.distinctTimes);
        break;
    case Missing::Remembered:
        lacking = QStringLiteral("%1点以上の回が要ります").arg(core::kRememberedScore);
        break;
    case Missing::Forgotten:
        lacking = QStringLiteral("%1点未満の回が要ります").arg(core::kRememberedScore);
        break;
    case Missing::Precision:
    case Missing::None:
        lacking = QStringLiteral("回数が足りず、幅が定まりません");
        break;
    }
    return QStringLiteral("%1：まだ測れません（直近%2日のおまかせ練習に、%3）").arg(speed).arg(level.days).arg(lacking);
}

QString speedChangeText(const std::optional<core::SpeedChange>& change)
{
    if (!change)
        return {};
    const int days = core::kComparedDaysBack;
    using Direction = core::SpeedChange::Direction;
    if (change->direction == Direction::WithinChance)
        return QStringLiteral("%1日前との差は誤差の範囲").arg(days);
    const QString size = secondsText(std::abs(change->seconds));
    return change->direction == Direction::Faster
        ? QStringLiteral("%1日前から −%2 秒（はっきり速くなりました）").arg(days).arg(size)
        : QStringLiteral("%1日前から ＋%2 秒（はっきり遅くなりました）").arg(days).arg(size);
}

QString removalEffectText(const core::Level& before, const core::Level& after)
{
    const std::optional<core::MemorySpeed>& from = before.fit.estimate;
    const std::optional<core::MemorySpeed>& to = after.fit.estimate;
    if (from && to) {
        const QString fromText = secondsText(from->seconds), toText = secondsText(to->seconds);
        return fromText == toText
            ? QString()
            : QStringLiteral("削除すると、記憶の速さが %1 秒から %2 秒に変わります。").arg(fromText, toText);
    }
    if (from)
        return QStringLiteral("削除すると、記憶の速さ（%1 秒）がまだ測れなくなります。")
            .arg(secondsText(from->seconds));
    if (to)
        return QStringLiteral("削除すると、記憶の速さが %1 秒と出るようになります。").arg(secondsText(to->seconds));
    return {};
}

QString passedOverText(int leftOut, int nearRest)
{
    QStringList parts;
    if (leftOut > 0)
        parts << QStringLiteral("記録のおかしい%1回は除きました").arg(leftOut);
    if (nearRest > 0)
        parts << QStringLiteral("見本がほとんど動かなかった%1回は数えません").arg(nearRest);
    return parts.join(QStringLiteral("　"));
}

QString summaryText(const record::Progress& progress, const QStringList& more)
{
    QStringList lines {QStringLiteral("回数：%1　最高：%2点　直近%3回の平均：%4点")
                           .arg(progress.rounds)
                           .arg(progress.best)
                           .arg(record::kAverageWindow)
                           .arg(QString::number(progress.lastTenAverage, 'f', 1))};
    for (const QString& line : more)
        if (!line.isEmpty())
            lines << line;
    return lines.join(u'\n');
}

QString coachOfferText(double seconds)
{
    return std::isfinite(seconds) ? QStringLiteral("次のおまかせ表示時間：%1 秒").arg(secondsText(seconds)) : QString();
}

QString cannotRemoveText(bool newer)
{
    return newer ? QStringLiteral("新しい版のTormellで書かれた記録のため、削除できません。")
                 : QStringLiteral("記録ファイルかそのフォルダーに書き込めないため、削除できません。");
}

} // namespace ui
