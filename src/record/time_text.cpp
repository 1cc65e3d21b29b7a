#include "record/time_text.h"

#include <cstdlib>

namespace record {

namespace {
constexpr int kSecondsPerMinute = 60;
constexpr int kMinutesPerHour = 60;
// "+hh:mm": the sign, the hours, a colon, the minutes.
constexpr qsizetype kOffsetLength = 6;
constexpr qsizetype kHoursAt = 1;
constexpr qsizetype kColonAt = 3;
constexpr qsizetype kMinutesAt = 4;
constexpr qsizetype kDigits = 2;
constexpr int kDecimalBase = 10;

std::optional<int> twoDigits(QStringView text)
{
    if (!text[0].isDigit() || !text[1].isDigit())
        return std::nullopt;
    return text[0].digitValue() * kDecimalBase + text[1].digitValue();
}
} // namespace

QString isoText(const QDateTime& when)
{
    // In the offset the moment carries: a round read back keeps the one it
    // was played at, whatever zone the computer writing it is in.
    const int offsetMinutes = when.offsetFromUtc() / kSecondsPerMinute;
    const int magnitude = std::abs(offsetMinutes);
    return when.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz"))
        + QString::asprintf(
            "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', magnitude / kMinutesPerHour, magnitude % kMinutesPerHour);
}

std::optional<int> utcOffsetOf(QStringView text)
{
    if (text.size() < kOffsetLength)
        return std::nullopt;
    const QStringView offset = text.right(kOffsetLength);
    const QChar sign = offset[0];
    const auto hours = twoDigits(offset.mid(kHoursAt, kDigits));
    const auto minutes = twoDigits(offset.mid(kMinutesAt, kDigits));
    if ((sign != u'+' && sign != u'-') || offset[kColonAt] != u':' || !hours || !minutes)
        return std::nullopt;
    const int seconds = (*hours * kMinutesPerHour + *minutes) * kSecondsPerMinute;
    return sign == u'-' ? -seconds : seconds;
}

} // namespace record
