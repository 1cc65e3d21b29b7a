// CHEK: stop the clock, reveal the target, score the player's pose.

#include "core/figure.h"
#include "core/scoring.h"
#include "toolkit/numeric_text.h"
#include "ui/main_window.h"
#include "ui/result_dialog.h"
#include "widgets/canvas.h"
#include "widgets/status_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

void Frm001::Command2_Click()
{
    Timer1.setInterval(0);
    m_figure->revealTarget();

    const double ratio = scoring::matchRatio(m_figure->DXY_DEF, m_figure->DXY_TGT, m_figure->DXY_USR);
    StatusBar1->setText(scoring::verdictFor(ratio));
    const double score = scoring::scoreFor(ratio);
    SCORE = tk::toInt32(score);
    StatusBar1->setText(StatusBar1->text() + QStringLiteral("  ") + tk::numberText(score) + QStringLiteral("点"));

    Picture1->clear();
    m_figure->SUB_MKLINE(gridIntervals());

    // A closed dialog lingers until its deferred delete, which a check in the
    // same pass of events (or in START's display wait) comes before: shown
    // again, it would vanish with the result. Such a check gets a new one.
    if (m_resultDialog && m_resultDialog->isHidden())
        delete m_resultDialog.data();
    if (!m_resultDialog)
        m_resultDialog = new FrmMSG(*this);
    FrmMSG& dialog = *m_resultDialog;
    dialog.LBLDATA1->setText(tk::numberText(tk::numericValue(Combo1->currentText())));
    dialog.LBLDATA2->setText(tk::numberText(tk::numericValue(Text1->text())));
    dialog.LBLDATA3->setText(tk::numberText(SCORE));
    dialog.LBLDATA4->setText(tk::numberText(tk::numericValue(Label1->text())));
    dialog.show();

    SEC_CNT = tk::toInt32(static_cast<double>(SEC_CNT) - 1);
}
