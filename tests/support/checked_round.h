#pragma once
// A round played as far as its result: START, one tick, the head dragged aside,
// CHEK. The dialog's tests start from it, and so its reset has something to undo.

#include "support/draw_scripts.h"
#include "support/game.h"
#include "ui/result_dialog.h"

inline ui::FrmMSG& checkARound(Game& game)
{
    constexpr float kDragX = 2000;
    constexpr float kDragY = 900;
    ui::Frm001& w = game.w();
    game.random.setDraws({kNeckOnlyDraw});
    w.Command1_Click();
    w.Timer1_Timer();
    w.LblPOI_MouseMove(1, Qt::LeftButton, Qt::NoModifier, 0, 0);
    w.Picture1_DragOver(kDragX, kDragY);
    w.Command2_Click();
    return *w.resultDialog();
}
