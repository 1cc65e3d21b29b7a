// Dragging joints and the pointer feedback over handles, canvas and window.

#include "figure/body.h"
#include "toolkit/items.h"
#include "toolkit/numeric_text.h"
#include "ui/main_window.h"

using namespace figure;

std::pair<float, float> Frm001::carryOffset(int i) const
{
    if (!isUpperLimb(i))
        return {0.0f, 0.0f};
    const int j = i + 1;
    return {tk::toFloat(static_cast<double>(LblPOI(j).left()) - LblPOI(i).left()),
            tk::toFloat(static_cast<double>(LblPOI(j).top()) - LblPOI(i).top())};
}

void Frm001::LblPOI_DragOver(qint16 Index, float X, float Y)
{
    POI_SEL = Index;
    setMousePointer(tk::PointerShape::UpArrow);
    const int i = POI_SEL;
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

void Frm001::Picture1_DragOver(float X, float Y)
{
    setMousePointer(tk::PointerShape::UpArrow);
    const int i = POI_SEL;
    if (i == 0)
        return; // no handle has been under the pointer yet
    const auto [dx, dy] = carryOffset(i);
    LblPOI(i).setTop(static_cast<double>(Y) - kHandleHalf);
    LblPOI(i).setLeft(static_cast<double>(X) - kHandleHalf);
    ShpPOINT(i).setTop(static_cast<double>(Y) - kHandleHalf);
    ShpPOINT(i).setLeft(static_cast<double>(X) - kHandleHalf);
    applyJoint(i, X, Y, dx, dy);
}

void Frm001::applyJoint(int i, double cx, double cy, float dx, float dy)
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

void Frm001::LblPOI_MouseMove(qint16 Index, Qt::MouseButtons, Qt::KeyboardModifiers, float, float)
{
    setMousePointer(tk::PointerShape::UpArrow);
    POI_SEL = Index;
}

void Frm001::Picture1_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, float, float)
{
    setMousePointer(tk::PointerShape::Arrow);
}

void Frm001::Form_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, float, float)
{
    setMousePointer(tk::PointerShape::Default);
}
