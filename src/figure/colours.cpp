// Joint markers are black in every state; only their place and visibility change.

#include "toolkit/items.h"
#include "ui/main_window.h"

void Frm001::SETCOLOR()
{
    for (int i = figure::kFirstSegment; i <= figure::kLastSegment; ++i) {
        ShpEXP(i).setBackColor(Qt::black);
        ShpPOINT(i).setBackColor(Qt::black);
        ShpEXP(i).setBorderColor(Qt::black);
        ShpPOINT(i).setBorderColor(Qt::black);
    }
}

void Frm001::setTrunkColour(QColor colour)
{
    for (tk::Line* line : {LinBODY, LinSHOLD, LinWEST})
        line->setBorderColor(colour);
    for (int j = ShpBD.first; j <= ShpBD.last; ++j) {
        ShpBD(j).setBorderColor(colour);
        ShpBD(j).setBackColor(colour);
    }
}
