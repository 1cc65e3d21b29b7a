#include "core/speed_change.h"

#include <cmath>

namespace core {

std::optional<SpeedChange> speedChange(const Level& now, const Level& then)
{
    if (!now.fit.estimate || !then.fit.estimate || now.days != kRecentDays || then.days != kRecentDays)
        return std::nullopt;
    const MemorySpeed& to = *now.fit.estimate;
    const MemorySpeed& from = *then.fit.estimate;
    const double logTo = std::log(to.seconds), logFrom = std::log(from.seconds);
    // A 68 % interval spans about one standard error each side; each side of
    // a profile interval may differ, so the one towards the other estimate.
    const bool faster = logTo < logFrom;
    const double errorTo = faster ? std::log(to.high) - logTo : logTo - std::log(to.low);
    const double errorFrom = faster ? logFrom - std::log(from.low) : std::log(from.high) - logFrom;
    const double z = (logTo - logFrom) / std::hypot(errorTo, errorFrom);
    SpeedChange change;
    change.seconds = to.seconds - from.seconds;
    if (z < -kClearChangeZ)
        change.direction = SpeedChange::Direction::Faster;
    else if (z > kClearChangeZ)
        change.direction = SpeedChange::Direction::Slower;
    return change;
}

} // namespace core
