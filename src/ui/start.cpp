// START: draw a target pose, show it for the display time, then hand the
// player the rest pose with its drag handles and start the clock.

#include "core/display_time.h"
#include "core/figure.h"
#include "core/target.h"
#include "toolkit/numeric_text.h"
#include "toolkit/responsive_wait.h"
#include "ui/accessibility.h"
#include "ui/main_window.h"
#include "widgets/canvas.h"
#include "widgets/status_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace ui {

namespace {
constexpr int kClockPeriodMs = 1000;
} // namespace

void Frm001::Command1_Click()
{
    core::Figure& fig = *m_figure;
    m_played.reset(); // a round on the figure is given up for the new one
    Picture1->clear();
    SEC_CNT = 0;
    showValue(*Label1, QString());
    Label1->repaint();

    const qint32 n = toolkit::toInt32(toolkit::numericValue(Combo1->currentText()));
    fig.DTT_TGT = core::targetAngles(m_random, n, fig.DTT_DEF);
    fig.SUB_FIXPOSI(1, fig.DTT_TGT, fig.DXY_TGT, fig.targetLines());
    fig.presentTarget();
    Picture1->refresh();

    // Other handlers, this one included, may run inside the wait; closing the
    // window there ends this run without touching the window again. Held as
    // a float, the time the wait compares with the clock.
    const double shown = core::displaySecondsFor(Text1->text());
    const auto T = static_cast<float>(shown);
    m_showing = Played {static_cast<double>(n), shown};
    const QPointer<Frm001> self(this);
    const bool timeRanOut =
        toolkit::waitResponsively(m_clock, T, [&self] { return self.isNull() || self->isUnloading(); });
    if (!timeRanOut || self.isNull())
        return;

    // A START run inside the wait has handed over its own round already, and
    // CLEAR there gave this one up.
    if (m_showing)
        m_played = std::exchange(m_showing, std::nullopt);
    fig.handOverRestPose();
    fig.SUB_MKLINE(gridIntervals());
    Timer1.setInterval(kClockPeriodMs);
    StatusBar1->setText(QStringLiteral("IMAGE POSITION!"));
}

} // namespace ui
