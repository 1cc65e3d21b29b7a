#pragma once
// Whether the memory speed has changed, and whether clearly: the level now
// against the level kComparedDaysBack days before, each fitted to its own
// kRecentDays days of rounds, so that the two rest on different rounds and
// their errors are independent. The change is tested as the difference of
// the two estimates in log seconds, z = (θ_now - θ_then) / sqrt(s_now² + s_then²),
// each standard error s read off its 68 % interval (the side that faces the
// other estimate). It is clearly faster when z < -kClearChangeZ, clearly slower
// when z > kClearChangeZ: each direction at a false-alarm rate of 5 %.

#include "core/memory_speed_history.h"
#include "tormell_export.h"

#include <optional>

namespace core {

/// The one-sided 95 % point of the standard normal.
inline constexpr double kClearChangeZ = 1.6449;

struct SpeedChange {
    enum class Direction { WithinChance, Faster, Slower };
    /// The level now less the level then, in seconds.
    double seconds = 0;
    Direction direction = Direction::WithinChance;
};

/// The change from `then` to `now`; none unless both are determined from
/// their own kRecentDays days of rounds.
TORMELL_EXPORT std::optional<SpeedChange> speedChange(const Level& now, const Level& then);

} // namespace core
