// The trunk: body, shoulder and waist lines, the anchors of neck and limbs.

#include "core/body.h"
#include "core/figure.h"

using namespace core;

void Figure::SUB_BODPOSI()
{
    LinBODY->setX1(kBodyX);
    LinBODY->setX2(kBodyX);
    LinBODY->setY1(kNeckY);
    LinBODY->setY2(kWaistY);

    // Shoulders and waist take their height from the body line, so they always
    // sit at its top and bottom.
    LinSHOLD->setX1(kShoulderLeftX);
    LinSHOLD->setX2(kShoulderRightX);
    LinSHOLD->setY1(LinBODY->y1());
    LinSHOLD->setY2(LinBODY->y1());

    LinWEST->setX1(kHipLeftX);
    LinWEST->setX2(kHipRightX);
    LinWEST->setY1(LinBODY->y2());
    LinWEST->setY2(LinBODY->y2());
}
