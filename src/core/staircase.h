#pragma once
// The staircase of coached practice: the display time of the next coached
// round. Until the first reversal (while every round so far has had the same
// outcome) it halves or doubles the time, to find the player quickly from
// wherever it starts; after it, Kaernbach's weighted up-down: one step
// shorter after a remembered round, three steps longer after a forgotten
// one, so that it settles where the player remembers three rounds in four
// (3 x 1/4 down = 1 x 3/4 up). Its state is the coached rounds themselves:
// no second store.

#include "core/coach.h"
#include "tormell_export.h"

#include <span>

namespace core {

/// Coached display times stay within these seconds: the shortest is two
/// frames of a 60 Hz screen, room to find a player who remembers at 0.05 s.
inline constexpr double kShortestCoachedSeconds = 0.03;
inline constexpr double kLongestCoachedSeconds = 3.0;
/// Steps after each outcome; a step multiplies or divides the time by 2^(1/4).
inline constexpr int kStepsDownAfterRemembered = 1;
inline constexpr int kStepsUpAfterForgotten = 3;
/// Before the first reversal, the time is divided after a remembered round,
/// or multiplied after a forgotten one, by this (an octave).
inline constexpr double kFirstStep = 2;

/// `seconds` as a coached display time: rounded to hundredths and kept
/// within the shortest and the longest. Zero or less (and minus infinity)
/// becomes the shortest, as the nearest to "no display"; plus infinity and
/// NaN become the longest: with nothing known, a target surely seen.
double coachedSeconds(double seconds);

/// The coached time after a round of `seconds` with that outcome.
double stepped(double seconds, bool remembered);

/// The next coached display time: the last usable round's time stepped by its
/// outcome (by kFirstStep while no usable round's outcome has differed from
/// it); with no usable round, `startSeconds` (the display-time box) as a
/// coached time.
TORMELL_EXPORT double nextDisplaySeconds(std::span<const Trial> coachedRounds, double startSeconds);

} // namespace core
