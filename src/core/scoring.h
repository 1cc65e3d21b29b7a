#pragma once
// How a check turns the three poses into a match ratio, a verdict and a score.

#include "core/pose.h"

#include <QString>

namespace core {

/// 1 minus the players' total joint error over the target's total joint
/// displacement, over the joints the target moved off the rest joint's x and y.
/// 1 when no joint counts: there was nothing to reproduce.
double matchRatio(const core::PoseCoords& rest, const core::PoseCoords& target,
                  const core::PoseCoords& player);

/// The verdict for a ratio. Each band includes its upper end.
QString verdictFor(double ratio);

/// The ratio as a score: times 100, raised to 0 when negative, rounded down.
double scoreFor(double ratio);

} // namespace core
