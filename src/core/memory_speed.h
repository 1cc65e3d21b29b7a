#pragma once
// 記憶の速さ (memory speed): the display time at which a player remembers three
// rounds in four, estimated from a difficulty's rounds, with its 68 % interval,
// and whether the rounds determine it.
//
// The model: a round shown for t seconds is remembered with probability
//   p(t) = (1 - λ) / (1 + exp(-β (ln t - α))),   λ = 0.02 (lapses), no guessing,
// fitted by maximum likelihood as θ = ln t75 (where p = 0.75) and slope β.
// The interval is the likelihood profile's: the θ where
// 2 (LLmax - max over β of LL(θ, β)) <= 1.

#include "core/coach.h"

#include <optional>
#include <span>

namespace core {

/// Rounds lost to inattention whatever the display time.
inline constexpr double kLapseRate = 0.02;
/// The estimate is determined only when its interval's upper end is at most
/// this many times its lower end.
inline constexpr double kMaxIntervalRatio = 4;
/// ... and only from rounds at this many distinct display times or more.
inline constexpr int kMinDistinctTimes = 3;

/// All in seconds: the 75 % point and its 68 % interval. A side the
/// likelihood does not bound is open: `low` 0, `high` infinity.
struct MemorySpeed {
    double seconds = 0;
    double low = 0;
    double high = 0;
};

struct MemorySpeedFit {
    /// What the rounds lack for a determined estimate, the first of these in order.
    enum class Missing {
        None,
        DistinctTimes, ///< rounds at fewer than kMinDistinctTimes display times
        Remembered, ///< no round remembered
        Forgotten, ///< no round forgotten
        Precision, ///< the interval open on a side, or wider than kMaxIntervalRatio
    };

    /// Set only when determined (missing is None).
    std::optional<MemorySpeed> estimate;
    /// The best fit even when undetermined; unset when the likelihood has no
    /// peak within the times searched (all rounds remembered, for instance).
    std::optional<MemorySpeed> fitted;
    /// Counts over the usable rounds.
    int distinctTimes = 0;
    int remembered = 0;
    int forgotten = 0;
    Missing missing = Missing::DistinctTimes;
};

/// The memory speed from a difficulty's rounds (any order; unusable ones
/// passed over). Costs O(n) to group the rounds by display time (hashed), then
/// O(distinct times) per likelihood evaluation.
MemorySpeedFit memorySpeed(std::span<const Trial> trials);

} // namespace core
