#include "ui/record/record_texts.h"

#include "toolkit/numeric_text.h"

#include <QStringList>

#include <cmath>

namespace ui {

namespace {
constexpr int kSecondsDecimals = 2;
// A change that rounds to nothing in hundredths of a second.
constexpr double kNoChange = 0.005;
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
    return QStringLiteral("記憶の速さは、4回に3回覚えられる（%1点以上を取れる）表示時間です。短いほど速く覚えられます。"
                          "今の力を表すよう、直近%2日の回から求めます。それで定まらないときは直近%3日の回から求めます。"
                          "1週間前との差は、両方の68%区間が重ならないときだけ「はっきり」と書きます。")
        .arg(core::kRememberedScore)
        .arg(core::kRecentDays)
        .arg(core::kFallbackDays);
}

QString memorySpeedHint()
{
    return QStringLiteral("表示時間がこれより短いと覚えにくくなる目安です。短いほど良い。");
}

QString memorySpeedText(const core::Level& level)
{
    using Missing = core::MemorySpeedFit::Missing;
    const core::MemorySpeedFit& fit = level.fit;
    if (fit.estimate) {
        const QString from
            = level.days == core::kRecentDays ? QString() : QStringLiteral("、直近%1日の回から").arg(level.days);
        return QStringLiteral("記憶の速さ：%1 秒（68%区間 %2〜%3 秒%4）")
            .arg(secondsText(fit.estimate->seconds), secondsText(fit.estimate->low), secondsText(fit.estimate->high),
                from);
    }
    QString lacking;
    switch (fit.missing) {
    case Missing::DistinctTimes:
        lacking = QStringLiteral("%1種類以上の表示時間で遊んだ回が要ります。今は%2種類")
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
    return QStringLiteral("記憶の速さ：まだ測れません（直近%1日に、%2）").arg(level.days).arg(lacking);
}

QString speedChangeText(const core::Level& now, const core::Level& weekEarlier)
{
    const std::optional<core::MemorySpeed>& to = now.fit.estimate;
    const std::optional<core::MemorySpeed>& from = weekEarlier.fit.estimate;
    if (!to || !from)
        return {};
    const double change = to->seconds - from->seconds;
    const QString size = secondsText(std::abs(change));
    if (std::abs(change) < kNoChange)
        return QStringLiteral("1週間前と同じ");
    // Apart only when neither interval reaches into the other.
    const bool clear = to->high < from->low || from->high < to->low;
    const QString sign = change < 0 ? QStringLiteral("−") : QStringLiteral("＋");
    QString text = QStringLiteral("1週間前から %1%2 秒").arg(sign, size);
    if (clear)
        text += change < 0 ? QStringLiteral("（はっきり速くなりました）") : QStringLiteral("（はっきり遅くなりました）");
    return text;
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
