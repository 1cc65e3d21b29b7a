#include "core/joints.h"

core::Joints core::jointsOf(const PoseCoords& pose)
{
    Joints joints;
    for (int i = kFirstSegment; i <= kLastSegment; ++i)
        joints[static_cast<std::size_t>(i - 1)] = QPointF(pose(X2, i), pose(Y2, i));
    return joints;
}
