#pragma once
// The result dialog of a check: difficulty, display time, score and elapsed
// time. Modeless; at most one exists, owned by the main window. It holds the
// round it shows, so that the player can keep it in the score record.

#include "record/round_record.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
namespace record {
class ScoreStore;
}

namespace ui {

class Frm001;

class FrmMSG : public QDialog {
    Q_OBJECT

public:
    FrmMSG(Frm001& owner, record::ScoreStore& scores);

    QLabel* Label1;
    QLabel* LBLDATA1;
    QLabel* Label7;
    QLabel* LBLDATA2;
    QFrame* Line1;
    QLabel* Label3;
    QLabel* Label2;
    QLabel* LBLDATA3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* LBLDATA4;
    QLabel* Label6;
    QPushButton* Command1;
    QPushButton* Command2;
    /// Why the last save failed, or that coached practice kept the round;
    /// hidden until then. It is as tall as its wrapped lines, and the dialog
    /// grows to hold it, so that a message naming a long path is read in full.
    QLabel* LblSAVE;

    /// Shows the round a check scored in the four value fields; it is what
    /// 点数保存 keeps.
    void setRound(const record::RoundRecord& round);
    const record::RoundRecord& round() const { return m_round; }

    /// Coached practice keeps every round it scores, at once and marked as
    /// coached, and says so here. Returns whether the round is kept; if not,
    /// the dialog shows why, as a failed save does.
    bool keepCoachedRound();
    /// Whether the round shown is in the score record already.
    bool kept() const { return m_kept; }

    /// "点数保存": appends the round to the score record, then closes the
    /// dialog; the main window stays as it is. A round that could not be
    /// saved keeps the dialog open with the reason, so the player may try again.
    /// A round kept already is not kept twice: the dialog only closes.
    void Command1_Click();
    /// "終了": returns the main window to the ready state and closes the dialog.
    void Command2_Click();

private:
    /// Appends the round; on failure shows why and returns false.
    bool save();
    void showNote(const QString& message, bool problem);

    Frm001& m_owner;
    record::ScoreStore& m_scores;
    record::RoundRecord m_round;
    bool m_kept = false;
};

} // namespace ui
