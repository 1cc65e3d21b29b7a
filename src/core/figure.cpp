// The figure's items and the states a round moves them through.

#include "core/figure.h"

#include "core/body.h"
#include "toolkit/scene.h"

using namespace core;

namespace {
const QColor kTargetColour(0xFF, 0x00, 0x00);
} // namespace

Figure::Figure(toolkit::Scene& scene, QColor playerLineColour) : m_scene(scene)
{
    LinBG.create(scene);
    for (int i = LinBG.first; i <= LinBG.last; ++i)
        LinBG(i).setVisible(false);
    LinA.create(scene);
    LinB.create(scene);
    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        LinA(i).setBorderColor(kTargetColour);
        LinB(i).setBorderColor(playerLineColour);
    }
    LinBODY = &scene.add<toolkit::Line>();
    LinSHOLD = &scene.add<toolkit::Line>();
    LinWEST = &scene.add<toolkit::Line>();
    ShpBD.create(scene, toolkit::Shape::Kind::Circle);
    ShpPOINT.create(scene, toolkit::Shape::Kind::Circle);
    ShpEXP.create(scene, toolkit::Shape::Kind::Circle);
    LblPOI.create(scene);
    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        LblPOI(i).setBorderStyle(toolkit::BorderSolid);
        LblPOI(i).setAutomaticDrag(true);
    }
}

Figure::LineList Figure::targetLines() const
{
    LineList lines;
    for (int i = kFirstSegment; i <= kLastSegment; ++i)
        lines(i) = &LinA(i);
    return lines;
}

Figure::LineList Figure::playerLines() const
{
    LineList lines;
    for (int i = kFirstSegment; i <= kLastSegment; ++i)
        lines(i) = &LinB(i);
    return lines;
}

void Figure::presentTarget()
{
    setTrunkColour(kTargetColour);
    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        LinA(i).setVisible(true);
        LinB(i).setVisible(false);
        LblPOI(i).setVisible(false);
        ShpPOINT(i).setLeft(DXY_TGT(X2, i) - kHandleHalf);
        ShpPOINT(i).setTop(DXY_TGT(Y2, i) - kHandleHalf);
        ShpEXP(i).setLeft(DXY_TGT(X2, i) - kMarkerHalf);
        ShpEXP(i).setTop(DXY_TGT(Y2, i) - kMarkerHalf);
        ShpEXP(i).setVisible(true);
    }
}

void Figure::handOverRestPose()
{
    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        LinA(i).setVisible(false);
        LinB(i).setVisible(true);
        LblPOI(i).setVisible(true);
        ShpEXP(i).setVisible(false);
    }
    SUB_FIXPOSI(1, DTT_DEF, DXY_DEF, playerLines());

    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        LblPOI(i).setLeft(DXY_DEF(X2, i) - kHandleHalf);
        LblPOI(i).setTop(DXY_DEF(Y2, i) - kHandleHalf);
        ShpPOINT(i).setLeft(LblPOI(i).left());
        ShpPOINT(i).setTop(LblPOI(i).top());
        LblPOI(i).setVisible(true);
        DTT_USR(i) = DTT_DEF(i);
        for (int k = X1; k <= Y2; ++k)
            DXY_USR(k, i) = DXY_DEF(k, i);
    }
    setTrunkColour(Qt::black);
}

void Figure::revealTarget()
{
    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        LinA(i).setVisible(true);
        ShpEXP(i).setVisible(true);
    }
}
