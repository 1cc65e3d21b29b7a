#pragma once
// The coach's words: when a round counts as remembered, and a round as the
// coach reads it. The estimate (core/memory_speed.h) and the staircase
// (core/staircase.h) take a difficulty's rounds in play order as these.

#include <cmath>

namespace core {

/// A round is remembered when it scores this or more.
inline constexpr int kRememberedScore = 60;

constexpr bool remembered(int score)
{
    return score >= kRememberedScore;
}

/// One round: the seconds its target was shown, and whether it was remembered.
struct Trial {
    double displaySeconds = 0;
    bool remembered = false;
};

/// Whether the coach reads a round at all: a display time that is not finite,
/// or zero or less, says nothing about memory speed, and every function of
/// the coach passes over it.
inline bool usable(const Trial& trial)
{
    return std::isfinite(trial.displaySeconds) && trial.displaySeconds > 0;
}

} // namespace core
