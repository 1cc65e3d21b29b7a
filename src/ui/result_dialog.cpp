#include "ui/result_dialog.h"

#include "core/coach.h"
#include "record/score_store.h"
#include "toolkit/numeric_text.h"
#include "toolkit/twips.h"
#include "ui/accessibility.h"
#include "ui/fixed_layout.h"
#include "ui/log.h"
#include "ui/main_window.h"
#include "ui/notice.h"
#include "ui/problem_text.h"
#include "ui/remembered_placement.h"
#include "widgets/canvas.h"
#include "widgets/error_boundary.h"
#include "widgets/wrapping_label.h"

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace ui {

namespace {

constexpr double kClientWidth = 3105;
constexpr double kClientHeight = 2415;
// Below the buttons, the note on the save, as tall as its lines; the dialog
// grows to hold it, its controls above stay where they are.
constexpr double kNoteLeft = 120;
constexpr double kNoteTop = 2400;
constexpr double kNoteWidth = kClientWidth - 2 * kNoteLeft;
constexpr double kNoteBottomMargin = 120;
constexpr double kBoldPointSize = 12;
constexpr QColor kProblemColour(0xC0, 0x00, 0x00);

// Where the player's settings keep the dialog's place.
const QString kPlacementKey = QStringLiteral("resultDialog");

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignTop;

QLabel* bold(QLabel* label)
{
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(kBoldPointSize);
    label->setFont(font);
    fitText(*label);
    return label;
}

} // namespace

FrmMSG::FrmMSG(Frm001& owner, record::ScoreStore& scores) : QDialog(&owner), m_owner(owner), m_scores(scores)
{
    setObjectName(QStringLiteral("FrmMSG"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("採点結果"));
    // Beside the main window, not over the figure the player compares with
    // the target; then on the side the player moved it to, wherever the main
    // window has gone.
    restorePlacement(*this, kPlacementKey, toolkit::pixelRect(0, 0, kClientWidth, kClientHeight).size(),
        toolkit::Opening::BesideOwner, KeptPlace::FromOwner);

    Label1 = addLabel(*this, "Label1", QStringLiteral("難易度レベル："), 120, 120, 1215, 375, kRight);
    LBLDATA1 = addLabel(*this, "LBLDATA1", QString(), 1440, 120, 1575, 255);
    Label7 = addLabel(*this, "Label7", QStringLiteral("表示時間："), 360, 480, 975, 255, kRight);
    LBLDATA2 = addLabel(*this, "LBLDATA2", QString(), 1440, 480, 1575, 255);

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameStyle(QFrame::HLine | QFrame::Plain);
    place(*Line1, 0, 720, 3120, toolkit::kTwipsPerPixel);

    Label3 = addLabel(*this, "Label3", QStringLiteral("結果"), 240, 840, 1095, 255);
    Label2 = bold(addLabel(*this, "Label2", QStringLiteral("点数："), 120, 1200, 1215, 255, kRight));
    LBLDATA3 = bold(addLabel(*this, "LBLDATA3", QString(), 1440, 1200, 855, 375));
    Label4 = bold(addLabel(*this, "Label4", QStringLiteral("点"), 2400, 1200, 495, 255));
    Label5 = bold(addLabel(*this, "Label5", QStringLiteral("経過時間："), 0, 1560, 1335, 375, kRight));
    LBLDATA4 = bold(addLabel(*this, "LBLDATA4", QString(), 1440, 1560, 855, 375));
    Label6 = bold(addLabel(*this, "Label6", QStringLiteral("秒"), 2400, 1560, 615, 255));

    Command1 = new QPushButton(QStringLiteral("点数保存"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    place(*Command1, 120, 2040, 1215, 255);
    Command2 = new QPushButton(QStringLiteral("終了"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    place(*Command2, 1680, 2040, 1215, 255);
    for (QPushButton* button : {Command1, Command2}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::StrongFocus);
    }
    setTabOrder(Command1, Command2);
    Command1->setFocus();

    LblSAVE = new widgets::WrappingLabel(this);
    LblSAVE->setObjectName(QStringLiteral("LblSAVE"));
    LblSAVE->setAttribute(Qt::WA_NoMousePropagation);
    LblSAVE->hide();

    describeResultDialog(*this);
    widgets::connectGuarded(Command1, &QPushButton::clicked, this, &FrmMSG::Command1_Click);
    widgets::connectGuarded(Command2, &QPushButton::clicked, this, &FrmMSG::Command2_Click);
}

void FrmMSG::setRound(const ResultFields& fields, std::optional<record::RoundRecord> played, bool targetShowing)
{
    showValue(*LBLDATA1, toolkit::numberText(fields.difficulty));
    showValue(*LBLDATA2, toolkit::numberText(fields.displaySeconds));
    showValue(*LBLDATA3, toolkit::numberText(fields.score));
    showValue(*LBLDATA4, toolkit::numberText(fields.elapsedSeconds));
    m_fields = fields;
    m_round = std::move(played);
    m_kept = false;
    LblSAVE->hide();
    resize(toolkit::pixelRect(0, 0, kClientWidth, kClientHeight).size());
    if (!m_round && targetShowing)
        showNote({QStringLiteral("見本の姿勢を見せている途中の採点のため、"), QStringLiteral("この回は記録しません。")},
            false);
    else if (!m_round)
        showNote(
            {QStringLiteral("見本の姿勢を見せてからの採点ではないため、"), QStringLiteral("この回は記録しません。")},
            false);
    else if (const QString as = keptAs(); !as.isEmpty())
        showNote({QStringLiteral("この回は"), as + QStringLiteral("として"), QStringLiteral("記録します。")}, false);
}

QString FrmMSG::keptAs() const
{
    if (!m_round || (m_round->difficulty == m_fields.difficulty && m_round->displaySeconds == m_fields.displaySeconds))
        return {};
    return QStringLiteral("難易度 %1・表示時間 %2 秒")
        .arg(toolkit::numberText(m_round->difficulty), toolkit::numberText(m_round->displaySeconds));
}

bool FrmMSG::keepCoachedRound()
{
    m_round->coached = true;
    if (!save())
        return false;
    m_kept = true;
    return true;
}

void FrmMSG::tellCoached(std::optional<double> nextSeconds)
{
    QStringList phrases;
    if (const QString as = keptAs(); !as.isEmpty())
        phrases << QStringLiteral("この回は") << as + QStringLiteral("の");
    phrases << QStringLiteral("おまかせ練習の回として") << QStringLiteral("記録しました。");
    if (m_round->nearRest)
        phrases << QStringLiteral("見本がほとんど動かず、") << QStringLiteral("練習の目安には数えません。");
    else if (core::remembered(m_round->score))
        phrases << QStringLiteral("覚えられました") << QStringLiteral("（%1点以上）。").arg(core::kRememberedScore);
    else
        phrases << QStringLiteral("覚えられませんでした")
                << QStringLiteral("（%1点未満）。").arg(core::kRememberedScore);
    if (nextSeconds)
        phrases << QStringLiteral("次は %1 秒。").arg(toolkit::numberText(*nextSeconds));
    showNote(phrases, false);
}

void FrmMSG::Command1_Click()
{
    if (!m_round || m_kept) {
        close();
        return;
    }
    if (!save())
        return;
    // The dialog goes with the save: the word that it worked stays behind on
    // the main window, above the figure, where the canvas is mostly empty.
    tellBriefly(*m_owner.Picture1, QStringLiteral("点数を保存しました。"));
    close();
}

bool FrmMSG::save()
{
    const auto problem = m_scores.append(*m_round);
    if (const auto notice = m_scores.takeNotice()) {
        // Said once, on the main window, so that it outlives this dialog.
        tell(m_owner, QMessageBox::Information, QStringLiteral("点数の記録"), problemText(*notice));
    }
    if (problem)
        showNote({problemText(*problem)}, true);
    return !problem;
}

void FrmMSG::showNote(const QStringList& phrases, bool problem)
{
    LblSAVE->setPhrases(phrases);
    qCDebug(lcUi).noquote() << "result dialog says:" << LblSAVE->text();
    showValue(*LblSAVE, LblSAVE->text());
    // Through the palette: a style sheet would restyle the label on every check.
    QPalette colours = palette();
    if (problem)
        colours.setColor(QPalette::WindowText, kProblemColour);
    LblSAVE->setPalette(colours);
    const QRect note = toolkit::pixelRect(kNoteLeft, kNoteTop, kNoteWidth, 0);
    LblSAVE->setGeometry(note.left(), note.top(), note.width(), LblSAVE->heightForWidth(note.width()));
    LblSAVE->show();
    const QRect below = toolkit::pixelRect(0, 0, kClientWidth, kNoteBottomMargin);
    resize(below.width(), LblSAVE->geometry().bottom() + 1 + below.height());
    keepOnScreen(*this); // a note makes it taller than where the player left it may allow
}

void FrmMSG::closeEvent(QCloseEvent* event)
{
    widgets::contain([this] { rememberPlacement(*this, kPlacementKey, KeptPlace::FromOwner); });
    QDialog::closeEvent(event);
}

void FrmMSG::Command2_Click()
{
    m_owner.SUB_SETDEFAULT();
    close();
}

} // namespace ui
