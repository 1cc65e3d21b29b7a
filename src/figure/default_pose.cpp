// The rest pose and the ready state every round starts from.

#include "figure/body.h"
#include "toolkit/canvas.h"
#include "toolkit/status_bar.h"
#include "ui/main_window.h"

#include <QLabel>

using namespace figure;

void Frm001::SUB_SETDEFAULT()
{
    Label1->setText(QString());
    SETCOLOR();

    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        LblPOI(i).setVisible(false);
        LblPOI(i).setBorderStyle(tk::BorderNone);
        LinA(i).setVisible(false);
        LinB(i).setVisible(true);
        LinA(i).setBorderWidth(kFigureLineWidth);
        LinB(i).setBorderWidth(kFigureLineWidth);
        ShpEXP(i).setWidth(kMarkerSide);
        ShpEXP(i).setHeight(kMarkerSide);
        ShpEXP(i).setVisible(false);
        LinA(i).setBorderStyle(tk::BorderInsideSolid);
        LinB(i).setBorderStyle(tk::BorderInsideSolid);
    }
    for (tk::Line* trunk : {LinBODY, LinSHOLD, LinWEST})
        trunk->setBorderWidth(kFigureLineWidth);
    setTrunkColour(Qt::black);
    for (int j = ShpBD.first; j <= ShpBD.last; ++j) {
        ShpBD(j).setWidth(kMarkerSide);
        ShpBD(j).setHeight(kMarkerSide);
    }

    SUB_BODPOSI();
    Picture1->setBackColor(Qt::white);

    DTT_DEF(1) = kRestNeckAngle;
    for (int i : {2, 4, 6, 8})
        DTT_DEF(i) = kRestUpperAngle;
    for (int i : {3, 5, 7, 9})
        DTT_DEF(i) = kRestLowerAngle;

    LineList LINEO;
    for (int i = kFirstSegment; i <= kLastSegment; ++i)
        LINEO(i) = &LinB(i);
    SUB_FIXPOSI(1, DTT_DEF, DXY_DEF, LINEO);

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

    for (int i = kFirstSegment; i <= kLastSegment; ++i)
        LINEO(i) = &LinA(i);
    SUB_FIXPOSI(1, DTT_USR, DXY_USR, LINEO);

    // Trunk discs on the neck, the shoulders and the hips.
    constexpr int anchoredSegment[] = {1, 2, 4, 6, 8};
    for (int j = ShpBD.first; j <= ShpBD.last; ++j) {
        const int s = anchoredSegment[j];
        ShpBD(j).setLeft(DXY_DEF(X1, s) - kMarkerHalf);
        ShpBD(j).setTop(DXY_DEF(Y1, s) - kMarkerHalf);
    }

    StatusBar1->setText(QStringLiteral("READY"));
}
