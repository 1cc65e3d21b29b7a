#pragma once
// The staircase of coached practice: the display time of the next coached
// round. Kaernbach's weighted up-down: one step shorter after a remembered
// round, three steps longer after a forgotten one, so that it settles where
// the player remembers three rounds in four (3 x 1/4 down = 1 x 3/4 up).
// Its state is the coached rounds themselves: no second store.

#include "core/coach.h"

#include <span>

namespace core {

/// Coached display times stay within these seconds.
inline constexpr double kShortestCoachedSeconds = 0.05;
inline constexpr double kLongestCoachedSeconds = 3.0;
/// Steps after each outcome; a step multiplies or divides the time by 2^(1/4).
inline constexpr int kStepsDownAfterRemembered = 1;
inline constexpr int kStepsUpAfterForgotten = 3;

/// `seconds` as a coached display time: rounded to hundredths and kept
/// within the shortest and the longest. Zero or less (and minus infinity)
/// becomes the shortest, as the nearest to "no display"; plus infinity and
/// NaN become the longest: with nothing known, a target surely seen.
double coachedSeconds(double seconds);

/// The coached time after a round of `seconds` with that outcome.
double stepped(double seconds, bool remembered);

/// The next coached display time: the last usable round's time stepped by its
/// outcome; with no usable round, `startSeconds` (the display-time box) as a
/// coached time.
double nextDisplaySeconds(std::span<const Trial> coachedRounds, double startSeconds);

} // namespace core
