// Joint markers are black in every state; only their place and visibility change.

#include "core/figure.h"

using namespace core;

void Figure::SETCOLOR()
{
    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        ShpEXP(i).setBackColor(Qt::black);
        ShpPOINT(i).setBackColor(Qt::black);
        ShpEXP(i).setBorderColor(Qt::black);
        ShpPOINT(i).setBorderColor(Qt::black);
    }
}

void Figure::setTrunkColour(QColor colour)
{
    for (toolkit::Line* line : {LinBODY, LinSHOLD, LinWEST})
        line->setBorderColor(colour);
    for (int j = ShpBD.first; j <= ShpBD.last; ++j) {
        ShpBD(j).setBorderColor(colour);
        ShpBD(j).setBackColor(colour);
    }
}
