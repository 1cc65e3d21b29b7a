// The background grid: N lines each way dividing the canvas into N + 1 bands.

#include "core/body.h"
#include "core/figure.h"
#include "toolkit/numeric_text.h"

using namespace core;

void Figure::SUB_MKLINE(const qint16& LL)
{
    for (int i = 1; i <= LinBG.last; ++i)
        LinBG(i).setVisible(false);
    const qint16 intervals = LL;
    for (int i = 1; i <= intervals; ++i) {
        const double p = static_cast<double>(i) / static_cast<double>(intervals) * kCanvasSide;
        toolkit::Line& horizontal = LinBG(i);
        horizontal.setBorderColor(Qt::black);
        horizontal.setX1(0);
        horizontal.setY1(p);
        horizontal.setX2(kCanvasSide);
        horizontal.setY2(p);
        horizontal.setVisible(true);
        toolkit::Line& vertical = LinBG(toolkit::toInt16(static_cast<double>(intervals) + i));
        vertical.setBorderColor(Qt::black);
        vertical.setX1(p);
        vertical.setY1(0);
        vertical.setX2(p);
        vertical.setY2(kCanvasSide);
        vertical.setVisible(true);
    }
}
