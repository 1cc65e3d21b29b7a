#include "ui/record/coach_panel.h"

#include "core/staircase.h"
#include "ui/accessibility.h"
#include "ui/coach.h"
#include "ui/record/record_texts.h"
#include "ui/record/wrapped_tool_tip.h"
#include "widgets/error_boundary.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <cmath>
#include <limits>

namespace ui {

CoachPanel::CoachPanel(QWidget* parent)
    : QWidget(parent)
    , m_coachedSeconds(std::numeric_limits<double>::quiet_NaN())
{
    ChkCOACH = new QCheckBox(QStringLiteral("おまかせ練習"), this);
    ChkCOACH->setObjectName(QStringLiteral("ChkCOACH"));
    ChkCOACH->setChecked(coach::practiceOn());
    LblCOACH = new QLabel(this);
    LblCOACH->setObjectName(QStringLiteral("LblCOACH"));
    CmdCOACH = new QPushButton(QStringLiteral("この難易度と時間で練習"), this);
    CmdCOACH->setObjectName(QStringLiteral("CmdCOACH"));
    setWrappedToolTip(*ChkCOACH,
        QStringLiteral("オンにすると、表示時間をおまかせで選びます。CHEKのたびに、点数にかかわらずその回を記録し、"
                       "次の表示時間を入れます。覚えられるかどうかの境目を探して時間を変えるので、"
                       "記憶の速さが測れるようになります。難易度は自分で選びます。"));
    setWrappedToolTip(*CmdCOACH,
        QStringLiteral("この難易度と次のおまかせ表示時間をゲームの画面に入れます。あとはSTARTを押すだけです。"));

    // Under the round drawn again, within its canvas's width: the switch and
    // the offer on a line, the button to take it under them.
    auto* offer = new QHBoxLayout;
    offer->addWidget(ChkCOACH);
    offer->addWidget(LblCOACH);
    offer->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins({});
    layout->addLayout(offer);
    layout->addWidget(CmdCOACH, 0, Qt::AlignLeft);
    setTabOrder(ChkCOACH, CmdCOACH);

    widgets::connectGuarded(ChkCOACH, &QCheckBox::toggled, this, &coach::setPracticeOn);
    widgets::connectGuarded(CmdCOACH, &QPushButton::clicked, this, &CoachPanel::CmdCOACH_Click);
}

void CoachPanel::showCoach(const coach::Reading& coached, const record::Setting* setting)
{
    m_coachedSeconds = std::numeric_limits<double>::quiet_NaN();
    if (setting) {
        m_coachedSeconds = core::nextDisplaySeconds(coach::trialsOf(coached), setting->displaySeconds);
        m_difficulty = setting->difficulty;
    }
    showValue(*LblCOACH, coachOfferText(m_coachedSeconds));
    CmdCOACH->setEnabled(std::isfinite(m_coachedSeconds));
}

void CoachPanel::CmdCOACH_Click()
{
    if (std::isfinite(m_coachedSeconds))
        emit coachedSettingChosen(m_difficulty, m_coachedSeconds);
}

} // namespace ui
