#include "ui/main_window.h"

#include "core/body.h"
#include "core/figure.h"
#include "toolkit/numeric_text.h"
#include "toolkit/twips.h"
#include "ui/accessibility.h"
#include "ui/app_icon.h"
#include "ui/fixed_layout.h"
#include "ui/fonts.h"
#include "ui/notice.h"
#include "ui/record_window_module.h"
#include "ui/remembered_placement.h"
#include "ui/result_dialog.h"
#include "widgets/canvas.h"
#include "widgets/error_boundary.h"
#include "widgets/slider.h"
#include "widgets/status_bar.h"

#include <QApplication>

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>

namespace ui {

namespace {

// The client area below the menu bar, status bar included.
constexpr double kClientWidth = 6030;
constexpr double kClientHeight = 7890;
constexpr double kStatusBarHeight = 495;
using core::kCanvasSide;

// The panel's controls use the system's user-interface font at this size; the
// status bar a larger Japanese font.
constexpr double kPanelPointSize = 9;
constexpr double kStatusPointSize = 14.25;

constexpr int kSliderMax = 10;
constexpr int kGridLinesOffered = 11; // the list of CmbNline: "0" to "11"

QPushButton* addButton(QWidget& parent, const char* name, const QString& text, double left, double top,
                       double width, double height)
{
    auto* button = new QPushButton(text, &parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setAttribute(Qt::WA_NoMousePropagation);
    place(*button, left, top, width, height);
    return button;
}

QComboBox* addCombo(QWidget& parent, const char* name, bool editable, int firstItem, int lastItem, double left,
                    double top, double width, double height)
{
    auto* combo = new QComboBox(&parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(editable);
    for (int item = firstItem; item <= lastItem; ++item)
        combo->addItem(QString::number(item));
    combo->setAttribute(Qt::WA_NoMousePropagation);
    place(*combo, left, top, width, height);
    return combo;
}

} // namespace

Frm001* Frm001::load(const Frm001Services& services)
{
    auto* window = new Frm001(services);
    window->Form_Load();
    return window;
}

Frm001::Frm001(const Frm001Services& services)
    : m_clock(services.clock), m_random(services.random), m_scores(services.scores),
      m_titleWindow(services.titleWindow),
      m_client(new QWidget(this))
{
    setObjectName(QStringLiteral("Frm001"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Tormell"));
    setWindowIcon(appIcon());
    setFont(japaneseFont({QStringLiteral("MS UI Gothic")}, kPanelPointSize));
    // The window's background is the system's menu colour, its text black.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QApplication::palette("QMenu").color(QPalette::Window));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);

    MNU点数 = menuBar()->addAction(QStringLiteral("点数"));
    MNU点数->setObjectName(QStringLiteral("MNU点数"));

    m_client->setObjectName(QStringLiteral("client"));
    m_client->setMouseTracking(true);
    m_client->installEventFilter(this);
    setCentralWidget(m_client);
    createControls(m_client);
    m_figure = std::make_unique<core::Figure>(Picture1->scene(), palette().color(QPalette::WindowText));
    connectEvents();
    describeMainWindow(*this);

    resize(toolkit::pixelRect(0, 0, kClientWidth, kClientHeight).size()
           + QSize(0, menuBar()->sizeHint().height()));
}

Frm001::~Frm001() = default;

FrmMSG* Frm001::resultDialog() const
{
    return m_resultDialog;
}

QWidget* Frm001::scoreRecord() const
{
    return m_scoreRecord;
}

void Frm001::createControls(QWidget* client)
{
    Picture1 = new widgets::Canvas(client);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    place(*Picture1, 0, 0, kCanvasSide, kCanvasSide);

    Shape1 = new QFrame(client);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setLineWidth(1);
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents); // a drawn shape, not a control
    place(*Shape1, 0, 6120, 6015, 615);

    Label5 = addLabel(*client, "Label5", QStringLiteral("表示時間"), 120, 6240, 495, 375);
    Label5->setWordWrap(true); // two lines, as its box is tall enough for
    Label5->setFont(font());
    // The slider, placed after it, covers the label's right end (from 480 to
    // 615 twips): the text wraps within what stays in view.
    Label5->setContentsMargins(0, 0, toolkit::pixelRect(0, 0, 615 - 480, 0).width(), 0);
    Label5->setAutoFillBackground(true);
    Label5->setBackgroundRole(QPalette::Button);
    fitText(*Label5);

    Slider1 = new widgets::Slider(client);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(0, kSliderMax);
    Slider1->setPageStep(1);
    Slider1->setTickPosition(QSlider::TicksBelow);
    place(*Slider1, 480, 6240, 1335, 375);

    Text1 = new QLineEdit(QStringLiteral("Text1"), client);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAttribute(Qt::WA_NoMousePropagation);
    Text1->setTextMargins(0, 0, 0, 0);
    place(*Text1, 1800, 6240, 615, 270);

    Label2 = addLabel(*client, "Label2", QStringLiteral("秒"), 2400, 6360, 495, 255);
    Label3 = addLabel(*client, "Label3", QStringLiteral("難易度："), 2520, 6240, 855, 375,
                          Qt::AlignRight | Qt::AlignTop);

    Combo1 = addCombo(*client, "Combo1", false, 1, 3, 3360, 6240, 615, 300);

    Label4 = addLabel(*client, "Label4", QStringLiteral("背景ライン数："), 4080, 6240, 1095, 255,
                          Qt::AlignRight | Qt::AlignTop);

    CmbNline = addCombo(*client, "CmbNline", true, 0, kGridLinesOffered, 5160, 6240, 615, 300);
    CmbNline->setInsertPolicy(QComboBox::NoInsert);
    CmbNline->setCompleter(nullptr); // typing must not pick an item: only the list does
    // Nor may finishing an edit: the box would otherwise match the typed text to
    // an entry on Return or focus loss and report it as picked.
    disconnect(CmbNline->lineEdit(), &QLineEdit::editingFinished, CmbNline, nullptr);
    CmbNline->setEditText(QStringLiteral("1"));

    Command4 = addButton(*client, "Command4", QStringLiteral("CLEAR"), 480, 6960, 1095, 375);
    Command1 = addButton(*client, "Command1", QStringLiteral("START"), 1560, 6960, 1095, 375);
    Command2 = addButton(*client, "Command2", QStringLiteral("CHEK"), 2640, 6960, 1215, 375);

    Label1 = addLabel(*client, "Label1", QStringLiteral("Label1"), 3960, 6960, 615, 255);
    Label1->setAutoFillBackground(true);
    Label1->setBackgroundRole(QPalette::Button);

    Command3 = addButton(*client, "Command3", QStringLiteral("END"), 4800, 6960, 1215, 375);

    StatusBar1 = new widgets::StatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFont(japaneseFont({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")},
                                     kStatusPointSize));
    StatusBar1->setFixedHeight(toolkit::pixelRect(0, 0, 0, kStatusBarHeight).height());
    setStatusBar(StatusBar1);

    // Keyboard focus order; labels, the status bar and canvas items take none.
    const QList<QWidget*> focusOrder{Picture1, Command1, Text1,    Command2, Command3,
                                     Slider1,  Combo1,   CmbNline, Command4};
    for (qsizetype i = 1; i < focusOrder.size(); ++i)
        setTabOrder(focusOrder[i - 1], focusOrder[i]);
    StatusBar1->setFocusPolicy(Qt::NoFocus);
}

void Frm001::connectEvents()
{
    widgets::connectGuarded(Command1, &QPushButton::clicked, this, &Frm001::Command1_Click);
    widgets::connectGuarded(Command2, &QPushButton::clicked, this, &Frm001::Command2_Click);
    widgets::connectGuarded(Command3, &QPushButton::clicked, this, &Frm001::Command3_Click);
    widgets::connectGuarded(Command4, &QPushButton::clicked, this, &Frm001::Command4_Click);
    widgets::connectGuarded(Combo1, &QComboBox::activated, this, &Frm001::Combo1_Click);
    widgets::connectGuarded(CmbNline, &QComboBox::activated, this, &Frm001::CmbNline_Click);
    widgets::connectGuarded(Slider1, &widgets::Slider::mouseMoved, this, &Frm001::Slider1_MouseMove);
    widgets::connectGuarded(Text1, &QLineEdit::textEdited, this, &Frm001::keepTypedTimeAscii);
    widgets::connectGuarded(&Timer1, &toolkit::Timer::tick, this, &Frm001::Timer1_Timer);
    widgets::connectGuarded(MNU点数, &QAction::triggered, this, &Frm001::MNU点数_Click);
    widgets::connectGuarded(Picture1, &widgets::Canvas::dragOver, this, &Frm001::Picture1_DragOver);
    widgets::connectGuarded(Picture1, &widgets::Canvas::mouseMoved, this, &Frm001::Picture1_MouseMove);
    widgets::connectGuarded(Picture1, &widgets::Canvas::labelDragOver, this, [this](toolkit::Label& label, float x, float y) {
        if (const auto index = m_figure->LblPOI.indexOf(label))
            LblPOI_DragOver(static_cast<qint16>(*index), x, y);
    });
    widgets::connectGuarded(Picture1, &widgets::Canvas::labelMouseMove, this,
                       [this](toolkit::Label& label, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, float x, float y) {
                           if (const auto index = m_figure->LblPOI.indexOf(label))
                               LblPOI_MouseMove(static_cast<qint16>(*index), buttons, shift, x, y);
                       });
}

void Frm001::setMousePointer(toolkit::PointerShape shape)
{
    m_pointer = shape;
    if (shape == toolkit::PointerShape::Default)
        unsetCursor();
    else
        setCursor(toolkit::cursorFor(shape));
}

bool Frm001::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client && event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        widgets::contain([&] {
            Form_MouseMove(move->buttons(), move->modifiers(),
                           static_cast<float>(toolkit::twipsFromPixels(move->position().x())),
                           static_cast<float>(toolkit::twipsFromPixels(move->position().y())));
        });
    }
    return QMainWindow::eventFilter(watched, event);
}

void Frm001::closeEvent(QCloseEvent* event)
{
    widgets::contain([this] { Form_QueryUnload(); });
    event->accept();
}

void Frm001::Form_Load()
{
    if (m_titleWindow)
        m_titleWindow->hide();
    Picture1->setHeightTwips(kCanvasSide);
    Picture1->setWidthTwips(kCanvasSide);
    SUB_SETDEFAULT();
    centreOnScreen(*this);
    show();
    CmbNline->setEditText(QStringLiteral("7"));
    m_figure->SUB_MKLINE(gridIntervals());
    Slider1->setValue(5);
    copySliderToDisplayTime();
    Combo1->setCurrentText(QStringLiteral("1"));
    // The coach carries on where the record says it stands.
    typeCoachedTime();
}

void Frm001::SUB_SETDEFAULT()
{
    // No round stays in play: a target shown is given up, and so is a figure handed over.
    m_showing.reset();
    m_played.reset();
    showValue(*Label1, QString());
    m_figure->SUB_SETDEFAULT();
    StatusBar1->setText(QStringLiteral("READY"));
}

void Frm001::Command3_Click()
{
    close();
}

void Frm001::Form_QueryUnload()
{
    // Closing is never refused. The title window goes with the main window, and
    // so does an open result dialog, so the program never runs on without a
    // visible window.
    m_unloading = true;
    Timer1.setInterval(0);
    if (m_resultDialog)
        m_resultDialog->close();
    if (m_scoreRecord)
        m_scoreRecord->close();
    if (m_titleWindow)
        m_titleWindow->deleteLater();
}

void Frm001::MNU点数_Click()
{
    // One record window; choosing the menu again brings it forward.
    if (!m_scoreRecord) {
        QString why;
        RecordWindowModule* module = recordWindowModule(why);
        if (!module) {
            tell(*this, QMessageBox::Warning, QStringLiteral("点数の記録"),
                QStringLiteral("点数の記録の画面を開けません。ゲームを入れ直してください。\n%1").arg(why));
            return;
        }
        m_scoreRecord = module->createWindow(m_scores, *this, [this](double difficulty, double displaySeconds) {
            takeCoachedSetting(difficulty, displaySeconds);
        });
    }
    m_scoreRecord->show();
    m_scoreRecord->raise();
    m_scoreRecord->activateWindow();
}

void Frm001::takeCoachedSetting(double difficulty, double displaySeconds)
{
    // The list offers its own difficulties only; a record edited by hand may name another.
    if (const int item = Combo1->findText(toolkit::numberText(difficulty)); item >= 0)
        Combo1->setCurrentIndex(item);
    typeDisplayTime(displaySeconds);
    // The player is to play with it now: out from under the record window.
    raise();
    activateWindow();
}

} // namespace ui
