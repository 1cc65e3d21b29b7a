#pragma once
// The main window: its controls, its canvas items, the figure state it owns
// for its whole life, and every procedure and handler of the game.
//
// This header is the table of contents. The definitions live with their
// subsystem: the figure procedures in src/figure, the round handlers in
// src/round, the pointer handlers in src/ui/pointer.cpp, the control layout
// and life cycle in src/ui/main_window.cpp.

#include "figure/pose.h"
#include "toolkit/item_array.h"
#include "toolkit/pointer_shape.h"
#include "toolkit/timer.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class FrmMSG;

namespace tk {
class Canvas;
class Clock;
class RandomSource;
class Slider;
class StatusBar;
} // namespace tk

/// What the main window takes from outside: time, chance, and the title
/// window that it hides when it loads and unloads when it closes.
struct Frm001Services {
    const tk::Clock& clock;
    tk::RandomSource& random;
    QPointer<QWidget> titleWindow;
};

class Frm001 : public QMainWindow {
    Q_OBJECT

public:
    /// Creates the window and runs its load step, which shows it.
    static Frm001* load(const Frm001Services& services);
    ~Frm001() override;

    // Controls of the window, named as the program names them.
    tk::Canvas* Picture1;
    QFrame* Shape1;
    QLabel* Label5;
    tk::Slider* Slider1;
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
    tk::StatusBar* StatusBar1;
    tk::Timer Timer1;
    QAction* MNU点数;

    // Items on the canvas.
    tk::ItemArray<tk::Line, 0, 24> LinBG;
    tk::ItemArray<tk::Line, 1, 9> LinA;
    tk::ItemArray<tk::Line, 1, 9> LinB;
    tk::Line* LinBODY;
    tk::Line* LinSHOLD;
    tk::Line* LinWEST;
    tk::ItemArray<tk::Shape, 0, 4> ShpBD;
    tk::ItemArray<tk::Shape, 1, 9> ShpEXP;
    tk::ItemArray<tk::Shape, 1, 9> ShpPOINT;
    tk::ItemArray<tk::Label, 1, 9> LblPOI;

    // Figure state: rest, target and player pose.
    figure::PoseAngles DTT_DEF;
    figure::PoseAngles DTT_TGT;
    figure::PoseAngles DTT_USR;
    figure::PoseCoords DXY_DEF;
    figure::PoseCoords DXY_TGT;
    figure::PoseCoords DXY_USR;

    qint32 SEC_CNT = 0; // seconds counted by the display clock
    qint32 SCORE = 0;   // score of the last check, 0..100
    qint16 POI_SEL = 0; // the current drag handle, 0 before any

    /// The window-wide pointer shape.
    tk::PointerShape mousePointer() const { return m_pointer; }
    void setMousePointer(tk::PointerShape shape);

    /// The result dialog while it is open.
    FrmMSG* resultDialog() const;
    /// True once the window has begun to close; a handler resuming after a
    /// wait must then leave the window alone.
    bool isUnloading() const { return m_unloading; }

    /// Slots 1..9 name the nine segment lines of one figure; slot 0 stays empty.
    using LineList = tk::CheckedArray<tk::Line*, 0, figure::kLastSegment>;

    // Procedures.
    void SUB_SETDEFAULT();
    void SETCOLOR();
    void SUB_BODPOSI();
    void SUB_FIXPOSI(const qint16& IFLG, const figure::PoseAngles& DTT, figure::PoseCoords& DXY,
                     const LineList& LINEO);
    void SUB_MKLINE(const qint16& LL);

    /// The grid's interval count from the text of CmbNline: the line count,
    /// clamped to the 0..11 lines the grid has items for, plus one.
    qint16 gridIntervals() const;

    /// Writes the slider's value times the seconds per step into Text1.
    void copySliderToDisplayTime();

    // Handlers.
    void Form_Load();
    void Form_QueryUnload();
    void Form_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, float X, float Y);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
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
    void createCanvasItems();
    void connectEvents();
    void centreOnScreen();

    /// Puts the drag handle and the disc of joint i on (cx, cy) and carries
    /// the joint below an elbow or knee along by (dx, dy).
    void applyJoint(int i, double cx, double cy, float dx, float dy);
    /// The offset of the carried joint's handle from joint i's handle.
    std::pair<float, float> carryOffset(int i) const;
    void setTrunkColour(QColor colour);

    const tk::Clock& m_clock;
    tk::RandomSource& m_random;
    QPointer<QWidget> m_titleWindow;
    QPointer<FrmMSG> m_resultDialog;
    QWidget* m_client;
    tk::PointerShape m_pointer = tk::PointerShape::Default;
    bool m_unloading = false;
};
