#include "record/time_text.h"

#include <cstdlib>

namespace record {

namespace {
constexpr int kSecondsPerMinute = 60;
constexpr int kMinutesPerHour = 60;
} // namespace

QString isoText(const QDateTime& when)
{
    const QDateTime local = when.toLocalTime();
    const int offsetMinutes = local.offsetFromUtc() / kSecondsPerMinute;
    const int magnitude = std::abs(offsetMinutes);
    return local.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz"))
        + QString::asprintf(
            "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', magnitude / kMinutesPerHour, magnitude % kMinutesPerHour);
}

} // namespace record
