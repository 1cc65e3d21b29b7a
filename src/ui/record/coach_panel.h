#pragma once
// The record window's coached practice: its switch, the coach's next display
// time at the difficulty on view, and the offer to play it.

#include "record/round_record.h"
#include "ui/coach.h"

#include <QDateTime>
#include <QList>
#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace ui {

class CoachPanel : public QWidget {
    Q_OBJECT

public:
    explicit CoachPanel(QWidget* parent = nullptr);

    QCheckBox* ChkCOACH;
    QLabel* LblCOACH;
    QPushButton* CmdCOACH;

    /// The coach's next time after `coached` (one difficulty's coached
    /// rounds as the coach reads them), or before the first from `setting`'s
    /// display time. With no setting, no offer.
    void showCoach(const coach::Reading& coached, const record::Setting* setting);
    /// The coach's next display time; NaN with none on view.
    double coachedSeconds() const { return m_coachedSeconds; }

    /// "この難易度と時間で練習": offers the difficulty on view and the coach's time.
    void CmdCOACH_Click();

signals:
    /// The player asked to play `difficulty` for `displaySeconds`, as the coach would.
    void coachedSettingChosen(double difficulty, double displaySeconds);

private:
    double m_difficulty = 0;
    double m_coachedSeconds;
};

} // namespace ui
