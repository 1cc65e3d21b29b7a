// Limb geometry: segment angles to line positions.
//
// Angles are absolute against the canvas horizontal. Left limbs point left at
// 0 and down at 90; right limbs mirror them; the neck points up at 0 and tilts
// right for positive angles. A lower segment takes only its start point from
// the segment above it.

#include "core/body.h"
#include "core/figure.h"

#include <cmath>

using namespace core;

namespace {

struct Point {
    double x;
    double y;
};

enum class Side { Left = -1, Right = 1 };

constexpr double segmentLength(int i)
{
    switch (i) {
    case 1:
        return kNeckLength;
    case 6:
    case 8:
        return kThighLength;
    case 7:
    case 9:
        return kShinLength;
    default:
        return kArmSegmentLength;
    }
}

constexpr Side sideOf(int i)
{
    return (i == 2 || i == 3 || i == 6 || i == 7) ? Side::Left : Side::Right;
}

} // namespace

void Figure::SUB_FIXPOSI(const qint16& IFLG, const PoseAngles& DTT, PoseCoords& DXY, const LineList& LINEO)
{
    toolkit::CheckedArray<double, kFirstSegment, kLastSegment> radians;
    for (int i = kFirstSegment; i <= kLastSegment; ++i)
        radians(i) = (kPi + kPi) * DTT(i) / 360;

    if (IFLG == 1) {
        for (int i = kFirstSegment; i <= kLastSegment; ++i) {
            Point start{};
            switch (i) {
            case 1:
                start = {LinBODY->x1(), LinBODY->y1()};
                break;
            case 2:
                start = {LinSHOLD->x1(), LinSHOLD->y1()};
                break;
            case 4:
                start = {LinSHOLD->x2(), LinSHOLD->y2()};
                break;
            case 6:
                start = {LinWEST->x1(), LinWEST->y1()};
                break;
            case 8:
                start = {LinWEST->x2(), LinWEST->y2()};
                break;
            default: // forearms and shins hang from the joint just computed
                start = {DXY(X2, i - 1), DXY(Y2, i - 1)};
                break;
            }
            const double length = segmentLength(i);
            DXY(X1, i) = start.x;
            DXY(Y1, i) = start.y;
            if (i == 1) {
                const double direction = kPi / 2 + radians(i);
                DXY(X2, i) = start.x - length * std::cos(direction);
                DXY(Y2, i) = start.y - length * std::sin(direction);
            } else {
                const double sign = static_cast<double>(sideOf(i));
                DXY(X2, i) = start.x + sign * length * std::cos(radians(i));
                DXY(Y2, i) = start.y + length * std::sin(radians(i));
            }
        }
    }

    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        toolkit::Line& line = *LINEO(i);
        line.setX1(DXY(X1, i));
        line.setY1(DXY(Y1, i));
        line.setX2(DXY(X2, i));
        line.setY2(DXY(Y2, i));
    }
}
