#include "ui/record/record_texts.h"

#include "toolkit/numeric_text.h"

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

QString secondsText(double seconds)
{
    return QString::number(seconds, 'f', kSecondsDecimals);
}

QString memorySpeedMeaning()
{
    return QStringLiteral("記憶の速さは、4回に3回覚えられる（%1点以上を取れる）表示時間です。短いほど速く覚えられます。"
                          "今の力を表すよう、直近%2日の回から求めます。それで定まらないときは直近%3日の回から求めます。")
        .arg(core::kRememberedScore)
        .arg(core::kRecentDays)
        .arg(core::kFallbackDays);
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
        lacking = QStringLiteral("%1種類以上の表示時間で遊んだ回が要ります（今は%2種類）")
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
    return QStringLiteral("記憶の速さ：まだ測れません（直近%1日、%2）").arg(level.days).arg(lacking);
}

QString passedOverText(int leftOut, int nearRest)
{
    QString text;
    if (leftOut > 0)
        text += QStringLiteral("　記録のおかしい%1回は除きました").arg(leftOut);
    if (nearRest > 0)
        text += QStringLiteral("　見本がほとんど動かなかった%1回は数えません").arg(nearRest);
    return text;
}

QString summaryText(const record::Progress& progress, const QString& memorySpeed)
{
    return QStringLiteral("回数：%1　最高：%2点　直近%3回の平均：%4点　%5")
        .arg(progress.rounds)
        .arg(progress.best)
        .arg(record::kAverageWindow)
        .arg(QString::number(progress.lastTenAverage, 'f', 1), memorySpeed);
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
