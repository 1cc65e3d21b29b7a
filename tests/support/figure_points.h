#pragma once
// The figure's points in twips: a joint of the player's pose, the centre of
// the handle or disc that stands on it, and whether two such points agree.

#include "core/body.h"
#include "core/figure.h"
#include "toolkit/items.h"

#include <QPointF>
#include <cmath>

/// Joint i of the player's pose: the end of segment i.
inline QPointF jointOf(const core::Figure& f, int i)
{
    return {f.DXY_USR(core::X2, i), f.DXY_USR(core::Y2, i)};
}

/// The centre of a joint's handle or disc, which the figure places half a side
/// up and left of the joint.
inline QPointF centreOf(const toolkit::BoxItem& box)
{
    return {box.left() + core::kHandleHalf, box.top() + core::kHandleHalf};
}

/// Equal up to the float rounding of item geometry, with room to spare: a float
/// holds a twip value below 10000 to within a thousandth.
inline bool near(QPointF a, QPointF b)
{
    constexpr double kSlack = 0.01;
    return std::abs(a.x() - b.x()) < kSlack && std::abs(a.y() - b.y()) < kSlack;
}
