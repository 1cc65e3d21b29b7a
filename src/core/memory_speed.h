#pragma once
// 記憶の速さ (memory speed): the display time at which a player remembers three
// rounds in four, estimated from a difficulty's rounds, with its 68 % interval,
// and whether the rounds determine it.
//
// The model: a round shown for t seconds is remembered with probability
//   p(t) = (1 - λ) / (1 + exp(-β (ln t - α))),   no guessing,
// written in θ = ln t75 (where p = 0.75), the slope β and the lapse rate λ
// (rounds lost whatever the display time: a moment's inattention, a joint
// dropped a little off). Its priors: ln β normal around ln 3 with a spread
// of 0.6, a weak prior that keeps a handful of rounds that no slope separates
// badly from pinning β at a bound; λ uniform over 0..kHighestLapseRate. At
// each θ the density is maximised over β and λ, and λ then integrated out
// by Laplace's method, so that the interval widens as much as the rounds
// leave the lapse rate open. The interval is that profile's: the θ where it
// falls no more than 1/2 below its maximum.

#include "core/coach.h"

#include <compare>
#include <optional>
#include <span>
#include <vector>

namespace core {

/// The highest rate of rounds lost whatever the display time (lapses) that
/// the estimate allows for: the lapse rate is learnt from the rounds, taken
/// as equally likely anywhere from 0 to this before them.
inline constexpr double kHighestLapseRate = 0.2;
/// The estimate is determined only when its interval's upper end is at most
/// this many times its lower end.
inline constexpr double kMaxIntervalRatio = 4;
/// ... and only from rounds at this many distinct display times or more.
inline constexpr int kMinDistinctTimes = 3;

/// All in seconds: the 75 % point and its 68 % interval. A side the
/// likelihood does not bound within the search is open: `low` 0, `high` infinity.
struct MemorySpeed {
    double seconds = 0;
    double low = 0;
    double high = 0;

    friend bool operator==(const MemorySpeed&, const MemorySpeed&) = default;
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
    /// The best fit even when undetermined; unset when the profile has no
    /// peak within the times searched.
    std::optional<MemorySpeed> fitted;
    /// Counts over the usable rounds.
    int distinctTimes = 0;
    int remembered = 0;
    int forgotten = 0;
    Missing missing = Missing::DistinctTimes;

    friend bool operator==(const MemorySpeedFit&, const MemorySpeedFit&) = default;
};

/// The usable rounds at one display time: all the fit needs to know of them.
struct TimeGroup {
    double seconds = 0;
    int rounds = 0;
    int remembered = 0;

    friend auto operator<=>(const TimeGroup&, const TimeGroup&) = default;
};

/// The usable rounds of `trials` by display time, shortest first.
std::vector<TimeGroup> groupedByTime(std::span<const Trial> trials);

/// The memory speed from rounds grouped by display time (each time once).
/// Costs O(groups) per likelihood evaluation, a few hundred evaluations a fit.
MemorySpeedFit memorySpeed(std::span<const TimeGroup> groups);

/// The memory speed from a difficulty's rounds (any order; unusable ones passed over).
MemorySpeedFit memorySpeed(std::span<const Trial> trials);

} // namespace core
