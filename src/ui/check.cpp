// CHEK: stop the clock, reveal the target, score the player's pose.

#include "core/coach.h"
#include "core/figure.h"
#include "core/joints.h"
#include "core/scoring.h"
#include "toolkit/numeric_text.h"
#include "ui/coach.h"
#include "ui/main_window.h"
#include "ui/result_dialog.h"
#include "widgets/canvas.h"
#include "widgets/status_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace ui {

record::RoundRecord Frm001::checkedRound(const Played& played, const QString& verdict, qint16 intervals) const
{
    record::RoundRecord round;
    round.playedAt = QDateTime::currentDateTime();
    round.difficulty = played.difficulty;
    round.displaySeconds = played.displaySeconds;
    round.elapsedSeconds = toolkit::numericValue(Label1->text());
    round.score = SCORE;
    round.verdict = verdict;
    round.gridLines = intervals - 1;
    round.target = core::jointsOf(m_figure->DXY_TGT);
    round.player = core::jointsOf(m_figure->DXY_USR);
    round.nearRest = core::nearRest(core::jointsOf(m_figure->DXY_DEF), round.target);
    return round;
}

void Frm001::Command2_Click()
{
    // The check ends the round on the figure; a check without one keeps nothing.
    const std::optional<Played> played = std::exchange(m_played, std::nullopt);
    Timer1.setInterval(0);
    m_figure->revealTarget();

    const double ratio = core::matchRatio(m_figure->DXY_DEF, m_figure->DXY_TGT, m_figure->DXY_USR);
    const QString verdict = core::verdictFor(ratio);
    StatusBar1->setText(verdict);
    const double score = core::scoreFor(ratio);
    SCORE = toolkit::toInt32(score);
    StatusBar1->setText(StatusBar1->text() + QStringLiteral("  ") + toolkit::numberText(score) + QStringLiteral("点"));

    Picture1->clear();
    const qint16 intervals = gridIntervals();
    m_figure->SUB_MKLINE(intervals);

    // A closed dialog lingers until its deferred delete, which a check in the
    // same pass of events (or in START's display wait) comes before: shown
    // again, it would vanish with the result. Such a check gets a new one.
    if (m_resultDialog && m_resultDialog->isHidden())
        delete m_resultDialog.data();
    if (!m_resultDialog)
        m_resultDialog = new FrmMSG(*this, m_scores);
    FrmMSG& dialog = *m_resultDialog;
    const ResultFields fields {toolkit::numericValue(Combo1->currentText()), toolkit::numericValue(Text1->text()),
        static_cast<double>(SCORE), toolkit::numericValue(Label1->text())};
    dialog.setRound(fields, played ? std::optional(checkedRound(*played, verdict, intervals)) : std::nullopt,
        m_showing.has_value());
    if (played && coach::practiceOn())
        coachRound(dialog);
    dialog.show();

    SEC_CNT = toolkit::toInt32(static_cast<double>(SEC_CNT) - 1);
}

} // namespace ui
