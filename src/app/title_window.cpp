#include "app/title_window.h"

#include "toolkit/clock.h"
#include "toolkit/responsive_wait.h"
#include "toolkit/twips.h"
#include "ui/fixed_layout.h"
#include "ui/fonts.h"
#include "ui/main_window.h"
#include "ui/remembered_placement.h"

#include <QLabel>

namespace app {

namespace {

constexpr double kClientWidth = 5445;
constexpr double kClientHeight = 2295;
const QColor kBackground(0xC0, 0xC0, 0xFF);
constexpr double kNamePointSize = 36;
constexpr double kDescriptionPointSize = 9;
constexpr float kTitleSeconds = 3;

} // namespace

Form1::Form1(const toolkit::Clock& clock, toolkit::RandomSource& random, record::ScoreStore& scores)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_clock(clock), m_random(random), m_scores(scores)
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Tormell"));
    setFixedSize(toolkit::pixelRect(0, 0, kClientWidth, kClientHeight).size());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    setFont(ui::japaneseFont({}, kDescriptionPointSize));
    Label1 = ui::addLabel(*this, "Label1", QStringLiteral("ポーズを覚えて再現するトレーニング"), 120, 120, 2415, 255);

    Label2 = new QLabel(QStringLiteral("Tormell"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setFrameStyle(QFrame::Box | QFrame::Plain);
    QFont name = font();
    name.setPointSizeF(kNamePointSize);
    name.setBold(true);
    Label2->setFont(name);
    ui::place(*Label2, 120, 600, 5175, 735);
    ui::fitText(*Label2);
}

bool Form1::Form_Load()
{
    ui::centreOnScreen(*this);
    show();
    // Closing the title hides it at once and deletes it soon after, perhaps
    // inside the wait: then the run is over and this window is not touched again.
    const QPointer<Form1> self(this);
    if (!toolkit::waitResponsively(m_clock, kTitleSeconds, [&self] { return self.isNull() || self->isHidden(); }))
        return false;
    m_main = ui::Frm001::load({m_clock, m_random, m_scores, this});
    return true;
}

ui::Frm001* Form1::mainWindow() const
{
    return m_main;
}

} // namespace app
