#pragma once
// The result dialog of a check: difficulty, display time, score and elapsed
// time, as the check read them off the main window. Modeless; at most one
// exists, owned by the main window, beside which it opens the first time and
// where the player left it after that. It holds the round as it was played, so
// that the player can keep it in the score record.

#include "record/round_record.h"
#include "tormell_export.h"
#include "widgets/wrapping_label.h"

#include <QDialog>

#include <optional>

class QFrame;
class QLabel;
class QPushButton;
namespace record {
class ScoreStore;
}

namespace ui {

class Frm001;

/// The four values a check shows: read off the main window's controls at
/// the check, whatever the round was played with.
struct ResultFields {
    double difficulty = 0;
    double displaySeconds = 0;
    double score = 0;
    double elapsedSeconds = 0;
};

class TORMELL_EXPORT FrmMSG : public QDialog {
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
    /// What is kept of the round and, in coached practice, what the coach
    /// made of it; why the last save failed. Hidden when there is nothing to
    /// say. It is as tall as its wrapped lines, and the dialog grows to hold
    /// it, so that a message naming a long path is read in full.
    widgets::WrappingLabel* LblSAVE;

    /// Shows what a check read in the four value fields, and holds the round
    /// as it was played for 点数保存 to keep; none when the check followed
    /// no target (nothing was played) or came while the target was still
    /// showing (`targetShowing`), which the note then says. When the
    /// round's difficulty or display time differs from the fields (the
    /// controls changed while it was played), the note says what is kept.
    void setRound(const ResultFields& fields, std::optional<record::RoundRecord> played, bool targetShowing);
    /// The round as played; none when there is nothing to keep.
    const std::optional<record::RoundRecord>& round() const { return m_round; }

    /// Coached practice keeps every round it scores, at once and marked as
    /// coached. Returns whether the round is kept; if not, the dialog shows
    /// why, as a failed save does.
    bool keepCoachedRound();
    /// Says that coached practice kept the round, whether the coach counted
    /// it as remembered, and the display time it chose next, if any.
    void tellCoached(std::optional<double> nextSeconds);
    /// Whether the round shown is in the score record already.
    bool kept() const { return m_kept; }

    /// "点数保存": appends the round to the score record, then closes the
    /// dialog, saying briefly on the main window that it is saved; the main
    /// window stays as it is otherwise. A round that could not be
    /// saved keeps the dialog open with the reason, so the player may try again.
    /// A round kept already is not kept twice, and a check that followed no
    /// target keeps nothing: the dialog only closes.
    void Command1_Click();
    /// "終了": returns the main window to the ready state and closes the dialog.
    void Command2_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    /// Appends the round; on failure shows why and returns false.
    bool save();
    /// Shows `phrases` in the note, its lines broken between them where they fit.
    void showNote(const QStringList& phrases, bool problem);
    /// What is kept, when it is not what the fields show: "この回は難易度 1・表示時間 1.26 秒として".
    QString keptAs() const;

    Frm001& m_owner;
    record::ScoreStore& m_scores;
    ResultFields m_fields;
    std::optional<record::RoundRecord> m_round;
    bool m_kept = false;
};

} // namespace ui
