#pragma once
// A pose as its nine joints alone: how a round is kept once it is played.

#include "core/pose.h"

#include <QPointF>

#include <array>
#include <cstddef>

namespace core {

/// The joints: head, elbows, hands, knees, feet.
inline constexpr std::size_t kJointCount = kLastSegment;
/// Joint i (the end of segment i) at index i - 1, in twips.
using Joints = std::array<QPointF, kJointCount>;

/// The end points of the pose's nine segments.
Joints jointsOf(const PoseCoords& pose);

} // namespace core
