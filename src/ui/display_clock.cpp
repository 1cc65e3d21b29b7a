// The seconds clock of a round and the display-time slider.

#include "toolkit/numeric_text.h"
#include "widgets/slider.h"
#include "ui/accessibility.h"
#include "ui/main_window.h"

#include <QLabel>
#include <QLineEdit>

namespace ui {

namespace {
// Each slider step adds this much display time: 0..10 steps give 0..1.5 s.
constexpr double kSecondsPerSliderStep = 0.15;
} // namespace

void Frm001::Timer1_Timer()
{
    SEC_CNT = toolkit::toInt32(static_cast<double>(SEC_CNT) + 1);
    showValue(*Label1, toolkit::numberText(SEC_CNT));
    Label1->repaint();
}

void Frm001::Slider1_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, float, float)
{
    copySliderToDisplayTime();
}

void Frm001::copySliderToDisplayTime()
{
    const qint32 steps = Slider1->value();
    Text1->setText(toolkit::numberText(steps * kSecondsPerSliderStep));
}

void Frm001::keepTypedTimeAscii(const QString& typed)
{
    const QString ascii = toolkit::asciiNumberText(typed);
    if (ascii == typed)
        return;
    const int cursor = Text1->cursorPosition(); // each character keeps its place
    Text1->setText(ascii);
    Text1->setCursorPosition(cursor);
}

void Frm001::typeDisplayTime(double seconds)
{
    // The slider stays where the player left it: the box follows it only when
    // the pointer moves over it.
    Text1->setText(toolkit::numberText(seconds));
}

} // namespace ui
