#pragma once
// The main window: its controls, the figure it owns for its whole life, and
// every handler of the game.
//
// This header is the table of contents. Each handler reads its controls, calls
// the figure or a rule of the core, and writes the result onto its controls.
// The definitions live in one file per part of a round: start.cpp,
// display_clock.cpp, check.cpp, clear.cpp, grid_list.cpp and pointer.cpp; the
// control layout and life cycle in main_window.cpp.

#include "toolkit/pointer_shape.h"
#include "toolkit/timer.h"
#include "tormell_export.h"
#include "ui/coach.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
namespace core {
class Figure;
}
namespace record {
class ScoreStore;
struct RoundRecord;
} // namespace record

namespace toolkit {
class Clock;
class RandomSource;
} // namespace toolkit
namespace widgets {
class Canvas;
class Slider;
class StatusBar;
} // namespace widgets

namespace ui {

class FrmMSG;

/// What the main window takes from outside: time, chance, the player's score
/// record, and the title window that it hides when it loads and unloads when
/// it closes.
struct Frm001Services {
    const toolkit::Clock& clock;
    toolkit::RandomSource& random;
    record::ScoreStore& scores;
    QPointer<QWidget> titleWindow;
};

class TORMELL_EXPORT Frm001 : public QMainWindow {
    Q_OBJECT

public:
    /// Creates the window and runs its load step, which shows it.
    static Frm001* load(const Frm001Services& services);
    ~Frm001() override;

    // Controls of the window, named as the program names them.
    widgets::Canvas* Picture1;
    QFrame* Shape1;
    QLabel* Label5;
    widgets::Slider* Slider1;
    QLineEdit* Text1;
    QLabel* Label2;
    QLabel* Label3;
    QComboBox* Combo1;
    QLabel* Label4;
    QComboBox* CmbNline;
    QPushButton* Command4;
    QPushButton* Command1;
    QPushButton* Command2;
    QLabel* Label1;
    QPushButton* Command3;
    widgets::StatusBar* StatusBar1;
    toolkit::Timer Timer1;
    QAction* MNU点数;

    /// The figure on Picture1: its poses and canvas items.
    core::Figure& figure() const { return *m_figure; }

    qint32 SEC_CNT = 0; // seconds counted by the display clock
    qint32 SCORE = 0;   // score of the last check, 0..100
    qint16 POI_SEL = 0; // the current drag handle, 0 before any

    /// The window-wide pointer shape.
    toolkit::PointerShape mousePointer() const { return m_pointer; }
    void setMousePointer(toolkit::PointerShape shape);

    /// The result dialog while it is open.
    FrmMSG* resultDialog() const;
    /// The score record window (an FrmSCORE) while it is open.
    QWidget* scoreRecord() const;
    /// True once the window has begun to close; a handler resuming after a
    /// wait must then leave the window alone.
    bool isUnloading() const { return m_unloading; }

    /// The ready state: the figure at rest, Label1 empty, status "READY".
    void SUB_SETDEFAULT();

    /// The grid's interval count from the text of CmbNline: the line count,
    /// clamped to the 0..11 lines the grid has items for, plus one.
    qint16 gridIntervals() const;

    /// Writes the slider's value times the seconds per step into Text1.
    void copySliderToDisplayTime();

    /// Puts what the player typed into Text1 in ASCII, as it is typed: a
    /// Japanese input method's full-width digits would read as no number.
    void keepTypedTimeAscii(const QString& typed);

    /// Picks `difficulty` and types `displaySeconds`, as the coach would: the
    /// record window's offer of the coach's next round. Brings the window to
    /// the front.
    void takeCoachedSetting(double difficulty, double displaySeconds);

    // Handlers.
    void Form_Load();
    void Form_QueryUnload();
    void Form_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, float X, float Y);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Combo1_Click();
    void CmbNline_Click();
    void Slider1_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, float X, float Y);
    void Timer1_Timer();
    void Picture1_DragOver(float X, float Y);
    void Picture1_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, float X, float Y);
    void LblPOI_DragOver(qint16 Index, float X, float Y);
    void LblPOI_MouseMove(qint16 Index, Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, float X, float Y);
    void MNU点数_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit Frm001(const Frm001Services& services);

    void createControls(QWidget* client);
    void connectEvents();
    /// What START drew a target for and how long it showed it: what a check
    /// of the figure keeps, whatever the controls say by then.
    struct Played {
        double difficulty = 0;
        double displaySeconds = 0;
    };

    /// The round a check has just scored, as the score record keeps it.
    record::RoundRecord checkedRound(const Played& played, const QString& verdict, qint16 intervals) const;
    /// Coached practice: keeps the round the dialog holds, puts the coach's
    /// next display time into Text1 and has the dialog say both.
    void coachRound(FrmMSG& dialog);
    /// Coached practice, when on: puts the coach's next display time for the
    /// difficulty on view into Text1; leaves it when the record cannot be read.
    std::optional<double> typeCoachedTime();
    /// The same, coached practice known to be on.
    std::optional<double> typeNextCoachedTime();
    /// Puts a display time into Text1 as the player would type it.
    void typeDisplayTime(double seconds);

    const toolkit::Clock& m_clock;
    toolkit::RandomSource& m_random;
    record::ScoreStore& m_scores;
    // The coach's reading of the difficulty played, kept between checks.
    coach::DifficultyRounds m_coachRounds;
    QPointer<QWidget> m_titleWindow;
    QPointer<FrmMSG> m_resultDialog;
    QPointer<QWidget> m_scoreRecord;
    QWidget* m_client;
    std::unique_ptr<core::Figure> m_figure;
    toolkit::PointerShape m_pointer = toolkit::PointerShape::Default;
    bool m_unloading = false;
    // The round START is showing, in its display wait; and the round on the
    // figure from when START hands it to the player until a check, CLEAR or
    // the ready state ends it. A check without one keeps nothing.
    std::optional<Played> m_showing;
    std::optional<Played> m_played;
};

} // namespace ui
