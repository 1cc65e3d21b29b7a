#pragma once
// The coach's words: when a round counts as remembered, which rounds tell it
// nothing, and a round as the coach reads it. The estimate
// (core/memory_speed.h) and the staircase (core/staircase.h) take a
// difficulty's rounds in play order as these.

#include "core/body.h"
#include "core/joints.h"

#include <cmath>

namespace core {

/// A round is remembered when it scores this or more.
inline constexpr int kRememberedScore = 60;

constexpr bool remembered(int score)
{
    return score >= kRememberedScore;
}

/// A target whose joints all lie within this of their rest places (in
/// twips): half a target disc, so that the disc drawn at each target joint
/// still covers the rest joint. START's draws can swing a segment by next to
/// nothing; such a target looks like the rest pose, and a round of it tells
/// the coach nothing of the player's memory.
inline constexpr double kNearRestTwips = kMarkerHalf;

/// Whether `target` lies near `rest` in that sense.
bool nearRest(const Joints& rest, const Joints& target);

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
