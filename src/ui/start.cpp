// START: draw a target pose, show it for the display time, then hand the
// player the rest pose with its drag handles and start the clock.

#include "core/display_time.h"
#include "core/figure.h"
#include "core/target.h"
#include "toolkit/numeric_text.h"
#include "toolkit/responsive_wait.h"
#include "ui/accessibility.h"
#include "ui/main_window.h"
#include "ui/notice.h"
#include "widgets/canvas.h"
#include "widgets/status_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace ui {

namespace {

constexpr int kClockPeriodMs = 1000;
// A typed text is quoted back whole up to this length, and cut after it.
constexpr qsizetype kQuotedCharacters = 16;

// What START says when it does not show the box's text as it stands: the
// time it used, and why. Empty when the text is simply a time.
QString displayTimeNotice(const QString& typed, const core::DisplayTime& time)
{
    const QString quoted = typed.size() <= kQuotedCharacters ? typed : typed.left(kQuotedCharacters) + u'…';
    switch (time.reading) {
    case core::DisplayTimeReading::AsTyped:
        return {};
    case core::DisplayTimeReading::Empty:
        return QStringLiteral("表示時間が空のため、見本を表示せずに始めます（0 秒）。");
    case core::DisplayTimeReading::NoNumber:
        return QStringLiteral("「%1」は数ではないため、見本を表示せずに始めます（0 秒）。").arg(quoted);
    case core::DisplayTimeReading::BelowZero:
        return QStringLiteral("「%1」は 0 より小さいため、見本を表示せずに始めます（0 秒）。").arg(quoted);
    case core::DisplayTimeReading::OverAMinute:
        return QStringLiteral("「%1」は 1 分を超えるため、%2 秒として表示します。")
            .arg(quoted, toolkit::numberText(time.seconds));
    case core::DisplayTimeReading::LeadingNumber:
        return QStringLiteral("「%1」は先頭の数だけを読み、%2 秒として表示します。")
            .arg(quoted, toolkit::numberText(time.seconds));
    }
    return {};
}

} // namespace

void Frm001::Command1_Click()
{
    core::Figure& fig = *m_figure;
    m_played.reset(); // a round on the figure is given up for the new one
    Picture1->clear();
    endBriefNotice(*Picture1); // a word about the last round
    SEC_CNT = 0;
    showValue(*Label1, QString());
    Label1->repaint();

    const qint32 n = toolkit::toInt32(toolkit::numericValue(Combo1->currentText()));
    fig.DTT_TGT = core::targetAngles(m_random, n, fig.DTT_DEF);
    fig.SUB_FIXPOSI(1, fig.DTT_TGT, fig.DXY_TGT, fig.targetLines());
    fig.presentTarget();
    Picture1->refresh();

    const core::DisplayTime time = core::readDisplayTime(Text1->text());
    if (const QString notice = displayTimeNotice(Text1->text(), time); !notice.isEmpty())
        tellBriefly(*Picture1, notice);

    // Other handlers, this one included, may run inside the wait; closing the
    // window there ends this run without touching the window again. Held as
    // a float, the time the wait compares with the clock.
    const double shown = time.seconds;
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
