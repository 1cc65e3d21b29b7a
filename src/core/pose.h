#pragma once
// The figure's pose arrays and the numbering that ties them to the items.
//
// Segments 1..9: neck and head, left upper arm, left forearm, right upper arm,
// right forearm, left thigh, left shin, right thigh, right shin. The end point
// of segment i is joint i. Coordinates DXY(k, i): k = 1 X1, 2 Y1, 3 X2, 4 Y2.
// Index 0 (and k = 0) carries no data and stays 0.

#include "toolkit/checked_array.h"

namespace core {

inline constexpr int kFirstSegment = 1;
inline constexpr int kLastSegment = 9;

enum Coord : int { X1 = 1, Y1 = 2, X2 = 3, Y2 = 4 };

/// Angles in degrees, index 0..9.
using PoseAngles = toolkit::CheckedArray<double, 0, kLastSegment>;
/// Segment coordinates in twips, DXY(k, i) with k 0..4, i 0..9.
using PoseCoords = toolkit::CheckedArray2<double, 0, Y2, 0, kLastSegment>;

/// The upper segments whose joints (elbows, knees) carry the segment below.
constexpr bool isUpperLimb(int segment)
{
    return segment == 2 || segment == 4 || segment == 6 || segment == 8;
}

} // namespace core
