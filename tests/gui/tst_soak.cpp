// A seeded random player drives the shown window through real input for
// thousands of actions and checks after every one that the game is still whole.
//
// TORMELL_SOAK_SEED replays a run, TORMELL_SOAK_ACTIONS lengthens it and
// TORMELL_SOAK_TRACE=1 prints every action as it starts (for a run that crashes).

#include "core/body.h"
#include "core/grid_count.h"
#include "support/canvas_points.h"
#include "support/figure_points.h"
#include "support/closed_title.h"
#include "support/game.h"
#include "support/grid_lines.h"
#include "support/test_main.h"
#include "support/verdicts.h"
#include "widgets/canvas.h"
#include "widgets/error_boundary.h"
#include "widgets/slider.h"
#include "widgets/status_bar.h"
#include "ui/result_dialog.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

using core::X1;
using core::X2;
using core::Y1;
using core::Y2;

namespace {

constexpr unsigned kDefaultSeed = 20240611;
constexpr long kDefaultActions = 3000;
constexpr double kSoakStepPerReading = 0.25; // a one-minute display passes in 240 waits
constexpr std::size_t kScriptedDraws = 4096;
constexpr int kHandleReach = 6; // pixels from a handle's centre still on it
constexpr int kGridItems = 24;
constexpr float kCanvasSide = 6000;
constexpr int kMaxScore = 100;
constexpr int kScoreBand = 20;
constexpr int kLogTail = 60;
constexpr double kTitleStepPerReading = 0.1;
constexpr int kTitleReadings = 30; // the title's three-second wait at that step

const QStringList kVerdicts {verdict::kBad, verdict::kTryHarder, verdict::kFair, verdict::kGood, verdict::kVeryGood};

// Texts a player may type or paste; the long ones stand for pastes.
const QStringList kHostileTexts {{}, " ", " \t ", "+", "-", "+-.", ".", "e5", "1e400", "-1e400", "1e-400",
    "99999999999", QString(400, u'9'), "0." + QString(300, u'0') + "1", "nan", "inf", "-inf", "１２", "٣",
    "7\x01\x02\x1b", "\t\n\r5", "1,5", "0x1F", "1.5e", "--1", "3abc", QString(10000, u'7'), "-0", "2147483648", "11.5",
    "12", QString(QChar(0xD800))};
const QStringList kShortTimes {"0", "0.1", "0.45", ".5", "1.5", "-1"};

QString text(QPointF p)
{
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
}

// The offscreen platform warns each time a dialog is shown; a long soak would
// drown its report in them.
QtMessageHandler g_nextHandler = nullptr;
void dropSizeHintWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.contains(QLatin1String("propagateSizeHints")))
        g_nextHandler(type, context, message);
}

struct Action {
    const char* name;
    int weight;
    std::function<void()> run;
};

class Player {
public:
    Player(Game& game, unsigned seed)
        : m_w(game.w())
        , m_rng(seed)
    {
        std::uniform_real_distribution<float> draw(0.0f, 0.999f);
        std::vector<float> draws(kScriptedDraws);
        for (float& d : draws)
            d = draw(m_rng);
        game.random.setDraws(std::move(draws));
        game.clock.setStepPerReading(kSoakStepPerReading);
        m_grid = core::gridIntervalsFor(m_w.CmbNline->currentText()); // drawn by the load
        m_errorsAtStart = widgets::Application::instance()->errorCount();
        m_trace = qEnvironmentVariableIntValue("TORMELL_SOAK_TRACE") != 0;
        buildActions();
    }

    void play(long count)
    {
        for (long n = 0; n < count && m_failure.isEmpty(); ++n) {
            perform(pick(), false);
            settle();
            if (m_failure.isEmpty())
                check(false);
        }
    }

    QString failure() const { return m_failure; }
    long actions() const { return m_log.size(); }
    long checks() const { return m_checks; }
    int errors() const { return widgets::Application::instance()->errorCount() - m_errorsAtStart; }
    QString tail() const { return m_log.mid(std::max<qsizetype>(0, m_log.size() - kLogTail)).join(u'\n'); }

private:
    int roll(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool chance(int percent) { return roll(1, 100) <= percent; }
    const QString& oneOf(const QStringList& list) { return list[roll(0, static_cast<int>(list.size()) - 1)]; }
    void note(const QString& detail) { m_log[m_current] += u' ' + detail; }
    Qt::Key anyKey(std::initializer_list<Qt::Key> keys)
    {
        const Qt::Key key = keys.begin()[roll(0, static_cast<int>(keys.size()) - 1)];
        note(QKeySequence(key).toString());
        return key;
    }
    void fail(const QString& why)
    {
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("after action %1, %2: %3").arg(m_log.size()).arg(m_log.last(), why);
    }

    const Action& pick()
    {
        int r = roll(1, m_totalWeight);
        for (const Action& a : m_actions)
            if ((r -= a.weight) <= 0)
                return a;
        return m_actions.back();
    }

    void perform(const Action& action, bool queued)
    {
        const qsizetype outer = m_current;
        m_current = m_log.size();
        m_log << (queued ? QStringLiteral("  [queued] ") : QString()) + QString::fromUtf8(action.name);
        if (m_trace)
            qInfo("soak %lld: %s", static_cast<long long>(m_log.size()), action.name);
        action.run();
        m_current = outer;
    }

    // Lets the window handle what the action posted, as the event loop would
    // before the next input; closed dialogs are destroyed there too.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ui::FrmMSG* openDialog() const
    {
        ui::FrmMSG* dialog = m_w.resultDialog();
        return dialog && dialog->isVisible() ? dialog : nullptr;
    }

    QPoint pixelOf(double xTwips, double yTwips) const { return ::pixelOf({xTwips, yTwips}); }
    QPoint onCanvas() { return {roll(0, m_w.Picture1->width() - 1), roll(0, m_w.Picture1->height() - 1)}; }
    QPoint anywhereNear()
    {
        return {roll(-40, m_w.Picture1->width() + 60), roll(-40, m_w.Picture1->height() + 120)};
    }

    // Typing replaces the text: key by key for short plain texts, otherwise
    // as one input-method commit, which inserts any character, as a paste does.
    void typeInto(QLineEdit* edit, const QString& typed)
    {
        note(typed.size() > 24 ? QStringLiteral("<%1 chars>").arg(typed.size()) : u'\'' + typed + u'\'');
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        const bool plain = typed.size() < 40
            && std::all_of(typed.begin(), typed.end(), [](QChar c) { return c >= u' ' && c < u'\x7f'; });
        if (plain && chance(50)) {
            QTest::keyClicks(edit, typed);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(typed);
            QApplication::sendEvent(edit, &commit);
        }
        if (chance(30))
            QTest::keyClick(edit, Qt::Key_Return);
    }

    // START, CHEK or CLEAR by the mouse, or by Space when it has the focus.
    void clickRound(QPushButton* button, bool byKey = false)
    {
        const bool start = button == m_w.Command1;
        m_displayDepth += start;
        if (byKey)
            QTest::keyClick(button, Qt::Key_Space);
        else
            QTest::mouseClick(button, Qt::LeftButton);
        m_displayDepth -= start;
        m_grid = core::gridIntervalsFor(m_w.CmbNline->currentText());
        m_dialogOpen |= button == m_w.Command2;
    }

    // START, sometimes with other actions queued to run inside its display wait.
    void start()
    {
        if (m_displayDepth > 0 || m_runningQueued || !chance(35))
            return clickRound(m_w.Command1);
        const int queued = roll(1, 3);
        note(QStringLiteral("with %1 queued").arg(queued));
        m_queuedPending += queued;
        for (int k = 0; k < queued; ++k) {
            QTimer::singleShot(0, &m_w, [this, inner = &pick()] {
                --m_queuedPending;
                if (!m_failure.isEmpty())
                    return;
                m_runningQueued = true;
                perform(*inner, true);
                check(m_displayDepth > 0);
                m_runningQueued = false;
            });
        }
        clickRound(m_w.Command1);
        settle(); // a zero display time leaves the queue to the event loop
        if (m_queuedPending != 0)
            fail(QStringLiteral("%1 queued actions never ran").arg(m_queuedPending));
    }

    // Presses on a shown handle (or a hidden one), moves on and off the canvas,
    // often towards the target, and releases; keys may click a button meanwhile.
    void dragHandle()
    {
        std::vector<int> shown;
        for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i)
            if (m_w.figure().LblPOI(i).visible())
                shown.push_back(i);
        const int joint = shown.empty() ? roll(1, core::kLastSegment) : shown[roll(0, int(shown.size()) - 1)];
        QPoint at = pixelOf(m_w.figure().DXY_USR(X2, joint), m_w.figure().DXY_USR(Y2, joint))
            + QPoint(roll(-kHandleReach, kHandleReach), roll(-kHandleReach, kHandleReach));
        note(QStringLiteral("joint %1%2 from %3").arg(joint).arg(shown.empty() ? " (hidden)" : "", text(at)));
        if (chance(85)) // the pointer usually comes to rest on the handle first
            QTest::mouseMove(m_w.Picture1, at);
        const Qt::MouseButton button = chance(90) ? Qt::LeftButton : Qt::RightButton;
        if (chance(10))
            QTest::mouseDClick(m_w.Picture1, button, {}, at);
        QTest::mousePress(m_w.Picture1, button, {}, at);
        const toolkit::Label* grabbed = m_w.Picture1->draggedLabel();
        const int pressed = grabbed ? m_w.figure().LblPOI.indexOf(*grabbed).value_or(0) : 0;
        const bool aim = chance(50); // so that every verdict comes up
        const int steps = roll(1, 8);
        const int keyAt = chance(10) ? roll(0, steps - 1) : -1;
        for (int s = 0; s < steps; ++s) {
            const QPoint noise = QPoint(roll(-3, 3), roll(-3, 3)) * (s + 1);
            const QPoint target = pixelOf(m_w.figure().DXY_TGT(X2, joint), m_w.figure().DXY_TGT(Y2, joint)) + noise;
            at = aim ? target : chance(70) ? onCanvas() : anywhereNear();
            note(text(at));
            const QPointF twips = m_w.Picture1->twipsAt(at);
            bool overAnother = false;
            for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i)
                overAnother |= i != pressed && m_w.figure().LblPOI(i).visible() && m_w.figure().LblPOI(i).contains(twips.x(), twips.y());
            QTest::mouseMove(m_w.Picture1, at);
            // The first move of a drag goes on with the pressed joint unless it reaches another handle.
            if (s == 0 && pressed != 0 && m_w.Picture1->rect().contains(at) && !overAnother && m_w.POI_SEL != pressed)
                fail(QStringLiteral("the drag of joint %1 moved joint %2").arg(pressed).arg(m_w.POI_SEL));
            if (s == keyAt) {
                QPushButton* round[] = {m_w.Command1, m_w.Command2, m_w.Command4};
                QPushButton* key = round[roll(0, 2)];
                note(QStringLiteral("Space on ") + key->text());
                clickRound(key, true);
            }
        }
        QTest::mouseRelease(m_w.Picture1, button, {}, at);
    }

    void hover()
    {
        const int where = roll(0, 2);
        QWidget* widget = where == 2 ? m_w.centralWidget() : m_w.Picture1;
        const QPoint background[] = {{3, 440}, {200, 403}, {3, 480}};
        const int joint = roll(1, core::kLastSegment);
        const QPoint at = where == 0 ? pixelOf(m_w.figure().DXY_USR(X2, joint), m_w.figure().DXY_USR(Y2, joint))
            : where == 1             ? onCanvas()
                                     : background[roll(0, 2)];
        note(widget->objectName() + u' ' + text(at));
        QTest::mouseMove(widget, at);
    }

    // 点数保存, 終了, the close box or Escape.
    void dialogButton()
    {
        ui::FrmMSG* dialog = openDialog();
        const int which = roll(0, 3);
        note(dialog ? QStringLiteral("way %1").arg(which) : QStringLiteral("(none open)"));
        if (!dialog)
            return;
        m_dialogOpen = false;
        if (which < 2)
            QTest::mouseClick(which == 0 ? dialog->Command1 : dialog->Command2, Qt::LeftButton);
        else if (which == 2)
            dialog->close();
        else
            QTest::keyClick(dialog, Qt::Key_Escape);
    }

    // A fresh start whose title is closed during its wait: that run ends at
    // once and no main window comes up from it.
    void closeATitleInItsWait()
    {
        FakeClock clock;
        clock.setStepPerReading(kTitleStepPerReading);
        const double after = roll(0, kTitleReadings - 1) * kTitleStepPerReading;
        const bool byWindowManager = chance(50);
        note(QStringLiteral("after %1 s, %2")
                 .arg(after)
                 .arg(byWindowManager ? "as the window manager asks" : "by the program"));
        if (startWithTitleClosed(clock, after, byWindowManager))
            fail(QStringLiteral("the run went on after its title was closed"));
        else if (mainWindowCount() != 1)
            fail(QStringLiteral("%1 main windows").arg(mainWindowCount()));
    }

    void buildActions()
    {
        widgets::Slider* slider = m_w.Slider1;
        m_actions = {
            {"START", 8, [this] { start(); }},
            {"CHEK", 6, [this] { clickRound(m_w.Command2); }},
            {"CLEAR", 4, [this] { clickRound(m_w.Command4); }},
            {"result dialog", 6, [this] { dialogButton(); }},
            {"drag", 10, [this] { dragHandle(); }},
            {"hover", 5, [this] { hover(); }},
            {"slider", 5,
                [this, slider] {
                    const QPoint from(roll(0, slider->width() - 1), slider->height() / 2);
                    const QPoint to(roll(-20, slider->width() + 20), from.y());
                    note(text(from) + QStringLiteral(" to ") + text(to));
                    if (chance(60)) { // a key, then the pointer moves over it
                        QTest::keyClick(slider, anyKey({Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End}));
                        return QTest::mouseMove(slider, from);
                    }
                    QTest::mousePress(slider, Qt::LeftButton, {}, from);
                    QTest::mouseMove(slider, to);
                    QTest::mouseRelease(slider, Qt::LeftButton, {}, to);
                }},
            {"difficulty key", 3,
                [this] {
                    QTest::keyClick(m_w.Combo1, anyKey({Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End}));
                }},
            {"grid list key", 4,
                [this] {
                    const int before = m_w.CmbNline->currentIndex();
                    QTest::keyClick(m_w.CmbNline, anyKey({Qt::Key_Up, Qt::Key_Down}));
                    if (m_w.CmbNline->currentIndex() != before) // the list reports a pick only when it moves
                        m_grid = core::gridIntervalsFor(m_w.CmbNline->currentText());
                }},
            {"type grid lines", 3,
                [this] {
                    typeInto(
                        m_w.CmbNline->lineEdit(), chance(50) ? oneOf(kHostileTexts) : QString::number(roll(-3, 15)));
                }},
            // Mostly short display times, so that the run stays quick.
            {"type display time", 3,
                [this] { typeInto(m_w.Text1, chance(25) ? oneOf(kHostileTexts) : oneOf(kShortTimes)); }},
            {"title closed in its wait", 1, [this] { closeATitleInItsWait(); }},
            {"tick", 3,
                [this] {
                    if (m_w.Timer1.interval() > 0) // a stopped clock does not tick
                        emit m_w.Timer1.tick();
                }},
        };
        for (const Action& a : m_actions)
            m_totalWeight += a.weight;
    }

    // Every rule the game must keep after any action. Inside START's display
    // the discs show the target, so the joint rule waits until it is over.
    void check(bool inDisplay)
    {
        ++m_checks;
        if (errors() != 0)
            return fail(QStringLiteral("%1 error(s) reached the error boundary").arg(errors()));
        if (m_w.SCORE < 0 || m_w.SCORE > kMaxScore)
            return fail(QStringLiteral("SCORE %1").arg(m_w.SCORE));
        for (int i = core::kFirstSegment; !inDisplay && i <= core::kLastSegment; ++i) {
            const QPointF start(m_w.figure().DXY_USR(X1, i), m_w.figure().DXY_USR(Y1, i)), joint(m_w.figure().DXY_USR(X2, i), m_w.figure().DXY_USR(Y2, i));
            const QPointF handle = centreOf(m_w.figure().LblPOI(i)), disc = centreOf(m_w.figure().ShpPOINT(i));
            // A hidden handle is put on its joint when START shows it.
            if ((m_w.figure().LblPOI(i).visible() && !near(handle, joint)) || !near(disc, joint))
                return fail(QStringLiteral("joint %1 at %2, handle at %3, disc at %4")
                                .arg(QString::number(i), text(joint), text(handle), text(disc)));
            const toolkit::Line& line = m_w.figure().LinB(i);
            if (!near({line.x1(), line.y1()}, start) || !near({line.x2(), line.y2()}, joint))
                return fail(QStringLiteral("segment %1 is off its joints").arg(i));
            if (core::isUpperLimb(i - 1) && !near(start, {m_w.figure().DXY_USR(X2, i - 1), m_w.figure().DXY_USR(Y2, i - 1)}))
                return fail(QStringLiteral("segment %1 has come off joint %2").arg(i).arg(i - 1));
        }
        const auto trunkAt
            = [](const toolkit::Line* l, QLineF expected) { return QLineF(l->x1(), l->y1(), l->x2(), l->y2()) == expected; };
        if (!trunkAt(m_w.figure().LinBODY, {3000, 1800, 3000, 3300}) || !trunkAt(m_w.figure().LinSHOLD, {2500, 1800, 3500, 1800})
            || !trunkAt(m_w.figure().LinWEST, {2700, 3300, 3300, 3300}))
            return fail(QStringLiteral("the trunk has moved"));
        for (const core::PoseAngles* a : {&m_w.figure().DTT_DEF, &m_w.figure().DTT_TGT, &m_w.figure().DTT_USR})
            if ((*a)(0) != 0)
                return fail(QStringLiteral("an angle array's slot 0 is %1").arg((*a)(0)));
        for (const core::PoseCoords* c : {&m_w.figure().DXY_DEF, &m_w.figure().DXY_TGT, &m_w.figure().DXY_USR})
            for (int k = 0; k <= Y2; ++k)
                for (int i = 0; i <= core::kLastSegment; ++i)
                    if ((k == 0 || i == 0) && (*c)(k, i) != 0)
                        return fail(QStringLiteral("coordinate slot (%1,%2) is %3").arg(k).arg(i).arg((*c)(k, i)));
        for (int i = 0; i <= kGridItems; ++i) {
            const toolkit::Line& l = m_w.figure().LinBG(i);
            const bool across = l.x1() == 0 && l.x2() == kCanvasSide && l.y1() == l.y2();
            const bool down = l.y1() == 0 && l.y2() == kCanvasSide && l.x1() == l.x2();
            if (l.visible() && (i == 0 || !(across || down)))
                return fail(QStringLiteral("grid line %1 is astray").arg(i));
        }
        const int lines = visibleGridLines(m_w.figure());
        if (lines != 2 * m_grid)
            return fail(QStringLiteral("%1 grid lines shown, %2 intervals expected").arg(lines).arg(m_grid));
        if (const auto dialogs = m_w.findChildren<ui::FrmMSG*>().size(); dialogs > 1)
            return fail(QStringLiteral("%1 result dialogs").arg(dialogs));
        if ((openDialog() != nullptr) != m_dialogOpen)
            return fail(m_dialogOpen ? QStringLiteral("the result of CHEK is not open")
                                     : QStringLiteral("a closed result dialog is open"));
        static const QRegularExpression scored(QStringLiteral("^(.+)  (0|[1-9][0-9]{0,2})点$"));
        const QString status = m_w.StatusBar1->text();
        if (status == QStringLiteral("READY") || status == QStringLiteral("IMAGE POSITION!"))
            return;
        // A verdict, two blanks, the score and 点; each verdict covers a fifth of the scores.
        const QRegularExpressionMatch m = scored.match(status);
        const int verdict = m.hasMatch() ? static_cast<int>(kVerdicts.indexOf(m.captured(1))) : -1;
        const int score = m.captured(2).toInt();
        if (verdict < 0 || score != m_w.SCORE || score < verdict * kScoreBand || score > (verdict + 1) * kScoreBand)
            return fail(QStringLiteral("status '%1' with SCORE %2").arg(status).arg(m_w.SCORE));
    }

    ui::Frm001& m_w;
    std::mt19937 m_rng;
    std::vector<Action> m_actions;
    int m_totalWeight = 0;
    QStringList m_log;
    qsizetype m_current = 0; // the log line of the action under way
    QString m_failure;
    int m_grid = 0; // intervals of the last grid drawn
    bool m_dialogOpen = false;
    int m_displayDepth = 0; // STARTs under way
    int m_queuedPending = 0; // queued for a display wait, not yet run
    bool m_runningQueued = false;
    int m_errorsAtStart = 0;
    long m_checks = 0;
    bool m_trace = false;
};

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { g_nextHandler = qInstallMessageHandler(dropSizeHintWarnings); }

    // Guards against a check made before a just-closed result dialog is
    // destroyed (in the same pass of events, or inside START's display wait)
    // showing that dying dialog, which then vanishes with the result.
    void checkRightAfterClosingTheResultKeepsItsDialog()
    {
        Game g;
        ui::Frm001& w = g.w();
        w.Command2_Click();
        QVERIFY(w.resultDialog());
        QTimer::singleShot(0, &w, [&w] {
            w.resultDialog()->close();
            QTest::mouseClick(w.Command2, Qt::LeftButton);
        });
        w.Command1_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w.resultDialog() && w.resultDialog()->isVisible());
        QCOMPARE(w.findChildren<ui::FrmMSG*>().size(), 1);
    }

    // Guards against a drag whose first move leaves the pressed handle moving
    // the joint hovered before instead, when the handle appeared under a
    // resting pointer (START by keyboard) and so was never hovered.
    void aDragMovesThePressedJointEvenIfItWasNeverHovered()
    {
        Game g;
        ui::Frm001& w = g.w();
        const auto pixelAt = [&w](int i) {
            return pixelOf(jointOf(w.figure(), i));
        };
        w.Command1_Click();
        QTest::mouseMove(w.Picture1, pixelAt(5)); // the last handle hovered
        QCOMPARE(w.POI_SEL, qint16(5));
        const QPointF five(w.figure().DXY_USR(X2, 5), w.figure().DXY_USR(Y2, 5));
        w.Command4_Click();
        const QPoint three = pixelAt(3);
        QTest::mouseMove(w.Picture1, three); // over the hidden handle
        w.Command1_Click(); // handle 3 appears under the pointer
        const QPoint flick = three + QPoint(0, 40);
        QTest::mousePress(w.Picture1, Qt::LeftButton, {}, three);
        QTest::mouseMove(w.Picture1, flick); // leaves the handle at once
        QTest::mouseRelease(w.Picture1, Qt::LeftButton, {}, flick);
        QCOMPARE(QPointF(w.figure().DXY_USR(X2, 5), w.figure().DXY_USR(Y2, 5)), five);
        QVERIFY(near({w.figure().DXY_USR(X2, 3), w.figure().DXY_USR(Y2, 3)}, w.Picture1->twipsAt(flick)));
    }

    // Guards against any sequence of clicks, drags, picks, keys and typed
    // texts raising an error, tearing the figure apart or corrupting state.
    void randomPlayKeepsTheGameWhole()
    {
        bool seeded = true, counted = true;
        const QString seedText = qEnvironmentVariable("TORMELL_SOAK_SEED");
        const QString countText = qEnvironmentVariable("TORMELL_SOAK_ACTIONS");
        const unsigned seed = seedText.isEmpty() ? kDefaultSeed : seedText.toUInt(&seeded);
        const long count = countText.isEmpty() ? kDefaultActions : countText.toLong(&counted);
        QVERIFY2(seeded && counted && count > 0, "TORMELL_SOAK_SEED and TORMELL_SOAK_ACTIONS take whole numbers");

        Game g;
        QVERIFY(QTest::qWaitForWindowExposed(&g.w()));
        Player player(g, seed);
        QElapsedTimer wall;
        wall.start();
        player.play(count);
        const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;

        qInfo("soak: seed %u, %ld actions in %.1f s (%.0f actions/s), %ld invariant checks, %d errors", seed,
            player.actions(), seconds, static_cast<double>(player.actions()) / seconds, player.checks(),
            player.errors());
        if (!player.failure().isEmpty()) {
            qWarning("soak failed; replay with TORMELL_SOAK_SEED=%u TORMELL_SOAK_ACTIONS=%ld. Last actions:\n%s", seed,
                count, qPrintable(player.tail()));
            QFAIL(qPrintable(player.failure()));
        }
    }
};

TORMELL_TEST_MAIN(SoakTest)
#include "tst_soak.moc"
