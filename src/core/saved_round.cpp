// A round played before, shown again from its joints as CHEK showed it.

#include "core/body.h"
#include "core/figure.h"

using namespace core;

PoseCoords Figure::coordsThrough(const Joints& joints) const
{
    PoseCoords pose;
    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        // Upper segments hang from the trunk, lower ones from the joint above.
        const QPointF start = isUpperLimb(i - 1) ? joints[static_cast<std::size_t>(i - 2)]
                                                 : QPointF(DXY_DEF(X1, i), DXY_DEF(Y1, i));
        const QPointF end = joints[static_cast<std::size_t>(i - 1)];
        pose(X1, i) = start.x();
        pose(Y1, i) = start.y();
        pose(X2, i) = end.x();
        pose(Y2, i) = end.y();
    }
    return pose;
}

void Figure::showRound(const Joints& target, const Joints& player, qint16 gridIntervals)
{
    SUB_SETDEFAULT();
    DXY_TGT = coordsThrough(target);
    DXY_USR = coordsThrough(player);
    constexpr qint16 kCoordinatesAsGiven = 0;
    SUB_FIXPOSI(kCoordinatesAsGiven, DTT_TGT, DXY_TGT, targetLines());
    SUB_FIXPOSI(kCoordinatesAsGiven, DTT_USR, DXY_USR, playerLines());
    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        ShpPOINT(i).setLeft(DXY_USR(X2, i) - kHandleHalf);
        ShpPOINT(i).setTop(DXY_USR(Y2, i) - kHandleHalf);
        ShpEXP(i).setLeft(DXY_TGT(X2, i) - kMarkerHalf);
        ShpEXP(i).setTop(DXY_TGT(Y2, i) - kMarkerHalf);
    }
    revealTarget();
    SUB_MKLINE(gridIntervals);
}
