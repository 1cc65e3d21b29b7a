// The rest pose and the ready state every round starts from.

#include "core/body.h"
#include "core/figure.h"
#include "toolkit/scene.h"

using namespace core;

void Figure::SUB_SETDEFAULT()
{
    SETCOLOR();

    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        LblPOI(i).setVisible(false);
        LblPOI(i).setBorderStyle(toolkit::BorderNone);
        LinA(i).setVisible(false);
        LinB(i).setVisible(true);
        LinA(i).setBorderWidth(kFigureLineWidth);
        LinB(i).setBorderWidth(kFigureLineWidth);
        ShpEXP(i).setWidth(kMarkerSide);
        ShpEXP(i).setHeight(kMarkerSide);
        ShpEXP(i).setVisible(false);
        LinA(i).setBorderStyle(toolkit::BorderInsideSolid);
        LinB(i).setBorderStyle(toolkit::BorderInsideSolid);
    }
    for (toolkit::Line* trunk : {LinBODY, LinSHOLD, LinWEST})
        trunk->setBorderWidth(kFigureLineWidth);
    setTrunkColour(Qt::black);
    for (int j = ShpBD.first; j <= ShpBD.last; ++j) {
        ShpBD(j).setWidth(kMarkerSide);
        ShpBD(j).setHeight(kMarkerSide);
    }

    SUB_BODPOSI();
    m_scene.setBackColor(Qt::white);

    DTT_DEF(1) = kRestNeckAngle;
    for (int i : {2, 4, 6, 8})
        DTT_DEF(i) = kRestUpperAngle;
    for (int i : {3, 5, 7, 9})
        DTT_DEF(i) = kRestLowerAngle;

    SUB_FIXPOSI(1, DTT_DEF, DXY_DEF, playerLines());

    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        // The handles are resized and hidden but stay where they were: START
        // puts them on the joints when it shows them.
        LblPOI(i).setWidth(kHandleSide);
        LblPOI(i).setHeight(kHandleSide);
        LblPOI(i).setVisible(false);
        ShpPOINT(i).setWidth(kHandleSide);
        ShpPOINT(i).setHeight(kHandleSide);
        ShpPOINT(i).setLeft(DXY_DEF(X2, i) - kHandleHalf);
        ShpPOINT(i).setTop(DXY_DEF(Y2, i) - kHandleHalf);
        DTT_USR(i) = DTT_DEF(i);
        for (int k = X1; k <= Y2; ++k)
            DXY_USR(k, i) = DXY_DEF(k, i);
        ShpEXP(i).setLeft(DXY_DEF(X2, i) - kMarkerHalf);
        ShpEXP(i).setTop(DXY_DEF(Y2, i) - kMarkerHalf);
    }

    SUB_FIXPOSI(1, DTT_USR, DXY_USR, targetLines());

    // Trunk discs on the neck, the shoulders and the hips.
    constexpr int anchoredSegment[] = {1, 2, 4, 6, 8};
    for (int j = ShpBD.first; j <= ShpBD.last; ++j) {
        const int s = anchoredSegment[j];
        ShpBD(j).setLeft(DXY_DEF(X1, s) - kMarkerHalf);
        ShpBD(j).setTop(DXY_DEF(Y1, s) - kMarkerHalf);
    }
}
