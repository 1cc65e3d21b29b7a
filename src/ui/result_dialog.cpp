#include "ui/result_dialog.h"

#include "record/score_store.h"
#include "widgets/error_boundary.h"
#include "toolkit/numeric_text.h"
#include "toolkit/twips.h"
#include "ui/accessibility.h"
#include "ui/fixed_layout.h"
#include "ui/main_window.h"
#include "ui/notice.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr double kClientWidth = 3105;
constexpr double kClientHeight = 2415;
// Below the buttons, the reason a save failed, on up to three lines.
constexpr double kSaveProblemTop = 2400;
constexpr double kSaveProblemHeight = 735;
constexpr double kClientHeightWithProblem = kSaveProblemTop + kSaveProblemHeight + 120;
constexpr double kBoldPointSize = 12;

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignTop;

QLabel* bold(QLabel* label)
{
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(kBoldPointSize);
    label->setFont(font);
    ui::fitText(*label);
    return label;
}

} // namespace

FrmMSG::FrmMSG(Frm001& owner, record::ScoreStore& scores) : QDialog(&owner), m_owner(owner), m_scores(scores)
{
    setObjectName(QStringLiteral("FrmMSG"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("採点結果"));
    resize(tk::pixelRect(0, 0, kClientWidth, kClientHeight).size());

    Label1 = ui::addLabel(*this, "Label1", QStringLiteral("難易度レベル："), 120, 120, 1215, 375, kRight);
    LBLDATA1 = ui::addLabel(*this, "LBLDATA1", QString(), 1440, 120, 1575, 255);
    Label7 = ui::addLabel(*this, "Label7", QStringLiteral("表示時間："), 360, 480, 975, 255, kRight);
    LBLDATA2 = ui::addLabel(*this, "LBLDATA2", QString(), 1440, 480, 1575, 255);

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameStyle(QFrame::HLine | QFrame::Plain);
    ui::place(*Line1, 0, 720, 3120, tk::kTwipsPerPixel);

    Label3 = ui::addLabel(*this, "Label3", QStringLiteral("結果"), 240, 840, 1095, 255);
    Label2 = bold(ui::addLabel(*this, "Label2", QStringLiteral("点数："), 120, 1200, 1215, 255, kRight));
    LBLDATA3 = bold(ui::addLabel(*this, "LBLDATA3", QString(), 1440, 1200, 855, 375));
    Label4 = bold(ui::addLabel(*this, "Label4", QStringLiteral("点"), 2400, 1200, 495, 255));
    Label5 = bold(ui::addLabel(*this, "Label5", QStringLiteral("経過時間："), 0, 1560, 1335, 375, kRight));
    LBLDATA4 = bold(ui::addLabel(*this, "LBLDATA4", QString(), 1440, 1560, 855, 375));
    Label6 = bold(ui::addLabel(*this, "Label6", QStringLiteral("秒"), 2400, 1560, 615, 255));

    Command1 = new QPushButton(QStringLiteral("点数保存"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    ui::place(*Command1, 120, 2040, 1215, 255);
    Command2 = new QPushButton(QStringLiteral("終了"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    ui::place(*Command2, 1680, 2040, 1215, 255);
    for (QPushButton* button : {Command1, Command2}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::StrongFocus);
    }
    setTabOrder(Command1, Command2);
    Command1->setFocus();

    LblSAVE = ui::addLabel(*this, "LblSAVE", QString(), 120, kSaveProblemTop, kClientWidth - 240, kSaveProblemHeight);
    LblSAVE->setWordWrap(true);
    LblSAVE->setStyleSheet(QStringLiteral("color: #C00000"));
    LblSAVE->hide();

    ui::describeResultDialog(*this);
    tk::connectGuarded(Command1, &QPushButton::clicked, this, &FrmMSG::Command1_Click);
    tk::connectGuarded(Command2, &QPushButton::clicked, this, &FrmMSG::Command2_Click);
}

void FrmMSG::setRound(const record::RoundRecord& round)
{
    ui::showValue(*LBLDATA1, tk::numberText(round.difficulty));
    ui::showValue(*LBLDATA2, tk::numberText(round.displaySeconds));
    ui::showValue(*LBLDATA3, tk::numberText(round.score));
    ui::showValue(*LBLDATA4, tk::numberText(round.elapsedSeconds));
    m_round = round;
    LblSAVE->hide();
    resize(tk::pixelRect(0, 0, kClientWidth, kClientHeight).size());
}

void FrmMSG::Command1_Click()
{
    const auto problem = m_scores.append(m_round);
    if (const auto notice = m_scores.takeNotice()) {
        // Said once, on the main window, so that it outlives this dialog.
        ui::tell(m_owner, QMessageBox::Information, QStringLiteral("点数の記録"), notice->message);
    }
    if (problem) {
        showSaveProblem(problem->message);
        return;
    }
    close();
}

void FrmMSG::showSaveProblem(const QString& message)
{
    ui::showValue(*LblSAVE, message);
    LblSAVE->show();
    resize(tk::pixelRect(0, 0, kClientWidth, kClientHeightWithProblem).size());
}

void FrmMSG::Command2_Click()
{
    m_owner.SUB_SETDEFAULT();
    close();
}
