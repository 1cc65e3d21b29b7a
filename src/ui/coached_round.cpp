// Coached practice on the main window: the coach's display time typed into
// the box when the game starts, when the player picks a difficulty, and after
// each coached check, which keeps its round at once.

#include "toolkit/numeric_text.h"
#include "ui/coach.h"
#include "ui/main_window.h"
#include "ui/result_dialog.h"

#include <QComboBox>
#include <QLineEdit>

namespace ui {

std::optional<double> Frm001::typeCoachedTime()
{
    return coach::practiceOn() ? typeNextCoachedTime() : std::nullopt;
}

std::optional<double> Frm001::typeNextCoachedTime()
{
    // Before the first coached round at a difficulty, the coach starts from the box.
    const std::optional<double> next = coach::nextSeconds(m_scores, toolkit::numericValue(Combo1->currentText()),
        toolkit::numericValue(Text1->text()), m_coachRounds);
    if (next)
        typeDisplayTime(*next);
    return next;
}

void Frm001::Combo1_Click()
{
    typeCoachedTime();
}

void Frm001::coachRound(FrmMSG& dialog)
{
    // A round the record would not take leaves the box as the player had it,
    // and the dialog says why.
    if (!dialog.keepCoachedRound())
        return;
    dialog.tellCoached(typeNextCoachedTime());
}

} // namespace ui
