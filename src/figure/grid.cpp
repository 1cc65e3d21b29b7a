// The background grid: N lines each way dividing the canvas into N + 1 bands.

#include "figure/grid_count.h"
#include "toolkit/canvas.h"
#include "toolkit/numeric_text.h"
#include "ui/main_window.h"

#include <QComboBox>


namespace {

constexpr double kCanvasSide = 6000;

} // namespace

qint16 Frm001::gridIntervals() const
{
    return figure::gridIntervalsFor(CmbNline->currentText());
}

void Frm001::CmbNline_Click()
{
    SUB_MKLINE(gridIntervals());
}

void Frm001::SUB_MKLINE(const qint16& LL)
{
    for (int i = 1; i <= LinBG.last; ++i)
        LinBG(i).setVisible(false);
    const qint16 intervals = LL;
    for (int i = 1; i <= intervals; ++i) {
        const double p = static_cast<double>(i) / static_cast<double>(intervals) * kCanvasSide;
        tk::Line& horizontal = LinBG(i);
        horizontal.setBorderColor(Qt::black);
        horizontal.setX1(0);
        horizontal.setY1(p);
        horizontal.setX2(kCanvasSide);
        horizontal.setY2(p);
        horizontal.setVisible(true);
        tk::Line& vertical = LinBG(tk::toInt16(static_cast<double>(intervals) + i));
        vertical.setBorderColor(Qt::black);
        vertical.setX1(p);
        vertical.setY1(0);
        vertical.setX2(p);
        vertical.setY2(kCanvasSide);
        vertical.setVisible(true);
    }
}
