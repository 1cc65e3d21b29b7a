// START: draw a target pose, show it for the display time, then hand the
// player the rest pose with its drag handles and start the clock.

#include "figure/body.h"
#include "round/display_time.h"
#include "toolkit/canvas.h"
#include "toolkit/checked_array.h"
#include "toolkit/numeric_text.h"
#include "toolkit/random_source.h"
#include "toolkit/responsive_wait.h"
#include "toolkit/status_bar.h"
#include "ui/main_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cmath>

using namespace figure;

namespace {

// Picks 1..5 come from the odd segments (head, forearms, shins) only.
constexpr int kOddOnlyPicks = 5;
// Every picked segment swings by up to this far either way; all but the neck
// get a random extra of up to 0.2 of it on top.
constexpr double kBaseSwing = 80;
constexpr double kExtraSwingFactor = kBaseSwing * 0.2;
// Re-seeds before each segment's first draw.
constexpr int kReseedsPerSegment = 100;
constexpr int kClockPeriodMs = 1000;

const QColor kTargetTrunkColour(0xFF, 0x00, 0x00);

using PickList = tk::CheckedArray<qint16, kFirstSegment, kLastSegment>;

bool isPicked(const PickList& picks, int count, int segment)
{
    for (int k = 1; k <= count; ++k)
        if (picks(k) == segment)
            return true;
    return false;
}

} // namespace

void Frm001::Command1_Click()
{
    Picture1->clear();
    SEC_CNT = 0;
    Label1->setText(QString());
    Label1->repaint();

    const qint32 n = tk::toInt32(tk::numericValue(Combo1->currentText()));

    PickList picks;
    for (int i = 1; i <= n; ++i) {
        qint16& pick = picks(i); // a count above nine fails here rather than loop for ever
        for (;;) {
            m_random.reseed();
            const float r = m_random.next();
            const int p = static_cast<int>(std::floor(9 * static_cast<double>(r))) + 1;
            if (i <= kOddOnlyPicks && p % 2 == 0)
                continue;
            if (isPicked(picks, i - 1, p))
                continue;
            pick = static_cast<qint16>(p);
            break;
        }
    }

    for (int j = kFirstSegment; j <= kLastSegment; ++j) {
        for (int k = 0; k < kReseedsPerSegment; ++k)
            m_random.reseed();
        const double s = 2 * static_cast<double>(m_random.next()) - 1;
        m_random.reseed();
        const double e = j == 1 ? 0.0 : static_cast<double>(m_random.next()) * kExtraSwingFactor;
        DTT_TGT(j) = (e + kBaseSwing) * s + DTT_DEF(j);
        if (!isPicked(picks, std::max(n, 0), j))
            DTT_TGT(j) = DTT_DEF(j);
    }

    LineList LINEO;
    for (int i = kFirstSegment; i <= kLastSegment; ++i)
        LINEO(i) = &LinA(i);
    SUB_FIXPOSI(1, DTT_TGT, DXY_TGT, LINEO);

    setTrunkColour(kTargetTrunkColour);
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
    Picture1->refresh();

    // Other handlers, this one included, may run inside the wait; closing the
    // window there ends this run without touching the window again.
    const float T = rounds::displaySecondsFor(Text1->text());
    const QPointer<Frm001> self(this);
    const bool timeRanOut =
        tk::waitResponsively(m_clock, T, [&self] { return self.isNull() || self->isUnloading(); });
    if (!timeRanOut || self.isNull())
        return;

    for (int i = kFirstSegment; i <= kLastSegment; ++i) {
        LinA(i).setVisible(false);
        LinB(i).setVisible(true);
        LblPOI(i).setVisible(true);
        ShpEXP(i).setVisible(false);
    }
    for (int i = kFirstSegment; i <= kLastSegment; ++i)
        LINEO(i) = &LinB(i);
    SUB_FIXPOSI(1, DTT_DEF, DXY_DEF, LINEO);

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
    SUB_MKLINE(gridIntervals());
    Timer1.setInterval(kClockPeriodMs);
    StatusBar1->setText(QStringLiteral("IMAGE POSITION!"));
}
