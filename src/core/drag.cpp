// Dragging a joint's handle, and the hand or foot an elbow or knee carries.

#include "core/body.h"
#include "core/figure.h"
#include "toolkit/numeric_text.h"

using namespace core;

std::pair<float, float> Figure::carryOffset(int i) const
{
    if (!isUpperLimb(i))
        return {0.0f, 0.0f};
    const int j = i + 1;
    return {toolkit::toFloat(static_cast<double>(LblPOI(j).left()) - LblPOI(i).left()),
            toolkit::toFloat(static_cast<double>(LblPOI(j).top()) - LblPOI(i).top())};
}

void Figure::dragOverHandle(int i, float X, float Y)
{
    const auto [dx, dy] = carryOffset(i);
    // Re-centre the handle under the pointer; the disc follows it.
    LblPOI(i).setTop(static_cast<double>(LblPOI(i).top()) - kHandleHalf + Y);
    LblPOI(i).setLeft(static_cast<double>(LblPOI(i).left()) - kHandleHalf + X);
    ShpPOINT(i).setTop(LblPOI(i).top());
    ShpPOINT(i).setLeft(LblPOI(i).left());
    const double cy = static_cast<double>(LblPOI(i).top()) + kHandleHalf;
    const double cx = static_cast<double>(LblPOI(i).left()) + kHandleHalf;
    applyJoint(i, cx, cy, dx, dy);
}

void Figure::dragOverCanvas(int i, float X, float Y)
{
    const auto [dx, dy] = carryOffset(i);
    LblPOI(i).setTop(static_cast<double>(Y) - kHandleHalf);
    LblPOI(i).setLeft(static_cast<double>(X) - kHandleHalf);
    ShpPOINT(i).setTop(static_cast<double>(Y) - kHandleHalf);
    ShpPOINT(i).setLeft(static_cast<double>(X) - kHandleHalf);
    applyJoint(i, X, Y, dx, dy);
}

void Figure::applyJoint(int i, double cx, double cy, float dx, float dy)
{
    DXY_USR(X2, i) = cx;
    DXY_USR(Y2, i) = cy;
    LinB(i).setX2(cx);
    LinB(i).setY2(cy);
    if (!isUpperLimb(i))
        return;
    // The forearm or shin moves bodily with its elbow or knee.
    const int j = i + 1;
    LinB(j).setX1(cx);
    LinB(j).setY1(cy);
    DXY_USR(X1, j) = cx;
    DXY_USR(Y1, j) = cy;
    LblPOI(j).setTop(static_cast<double>(LblPOI(i).top()) + dy);
    LblPOI(j).setLeft(static_cast<double>(LblPOI(i).left()) + dx);
    ShpPOINT(j).setTop(static_cast<double>(ShpPOINT(i).top()) + dy);
    ShpPOINT(j).setLeft(static_cast<double>(ShpPOINT(i).left()) + dx);
    DXY_USR(X2, j) = dx + DXY_USR(X2, i);
    DXY_USR(Y2, j) = dy + DXY_USR(Y2, i);
    LinB(j).setX2(static_cast<double>(LinB(i).x2()) + dx);
    LinB(j).setY2(static_cast<double>(LinB(i).y2()) + dy);
}
