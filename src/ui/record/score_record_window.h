#pragma once
// The score record: the player's saved rounds of one setting (difficulty and
// display time) as a chart of progress, a sortable table and a summary, the
// selected round drawn again as its check showed it. Modeless; at most one
// exists, owned by the main window. It follows the record as rounds are saved,
// and opens where the player last left it.

#include "record/round_record.h"

#include <QList>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace figure {
class Figure;
}
namespace record {
class ScoreStore;
}
namespace tk {
class Canvas;
}
namespace ui {
class RoundTableModel;
class ScoreChart;
} // namespace ui

class FrmSCORE : public QWidget {
    Q_OBJECT

public:
    FrmSCORE(record::ScoreStore& store, QWidget* owner);
    ~FrmSCORE() override;

    QLabel* Label1;
    QComboBox* CmbSETTING;
    QLabel* LblSUMMARY;
    ui::ScoreChart* ChtSCORE;
    QTableView* GrdROUND;
    tk::Canvas* PicROUND;
    QPushButton* CmdDELETE;
    QPushButton* CmdEXPORT;
    QPushButton* CmdCLOSE;

    /// The settings listed, in the order of CmbSETTING.
    const QList<record::Setting>& settings() const { return m_settings; }
    /// The table's rows.
    const ui::RoundTableModel& rounds() const { return *m_model; }
    /// The round drawn on PicROUND, 0 for none.
    qint64 shownRound() const { return m_shown; }

    /// Reads the record again, keeping the chosen setting where it still exists.
    void reload();
    /// Asks whether to remove the selected rounds; removes them if the player agrees.
    void CmdDELETE_Click();
    /// Asks where to write every round as CSV, and writes it there.
    void CmdEXPORT_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void showSetting();
    void showSelectedRound();

    record::ScoreStore& m_store;
    QList<record::Setting> m_settings;
    ui::RoundTableModel* m_model;
    std::unique_ptr<figure::Figure> m_figure;
    qint64 m_shown = 0;
};
