#pragma once
// The score record: the player's saved rounds of one setting (difficulty and
// display time), or of a whole difficulty, as a chart of progress, a sortable
// table and a summary, the selected round drawn again as its check showed it;
// the memory speed of the difficulty, now and day by day; and coached
// practice, its switch and its next display time. Modeless; at most one exists, owned by the main
// window. It follows the record as rounds are saved, by this copy of the game
// or another, keeps the player's place in it (PlayerPlace), and opens where
// the player last left it. This is the assembly: the texts are in
// record_texts.h, coached practice in coach_panel.h.

#include "core/memory_speed_history.h"
#include "record/file_identity.h"
#include "record/job.h"
#include "record/round_record.h"
#include "record/score_store.h"
#include "ui/record/record_view.h"

#include <QList>
#include <QModelIndex>
#include <QPointer>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QSplitter;
class QPushButton;
class QTabWidget;
class QTableView;

namespace core {
class Figure;
}
namespace widgets {
class Canvas;
}
namespace ui {
class CoachPanel;
class MemorySpeedChart;
class PlayerPlace;
class RoundSortModel;
class RoundTableModel;
class ScoreChart;

class FrmSCORE : public QWidget {
    Q_OBJECT

public:
    FrmSCORE(record::ScoreStore& store, QWidget* owner);
    ~FrmSCORE() override;

    QLabel* Label1;
    QComboBox* CmbSETTING;
    /// The rounds on view, the memory speed and its change, the rounds passed over: a line each.
    QLabel* LblSUMMARY;
    /// How to read the memory speed; shown with it.
    QLabel* LblHINT;
    QTabWidget* TabCHART;
    ScoreChart* ChtSCORE;
    MemorySpeedChart* ChtSPEED;
    QTableView* GrdROUND;
    widgets::Canvas* PicROUND;
    /// Over PicROUND: why the round chosen cannot be drawn; hidden while it is drawn.
    QLabel* LblROUND;
    QPushButton* CmdDELETE;
    QPushButton* CmdEXPORT;
    QPushButton* CmdIMPORT;
    QPushButton* CmdBACKUP;
    QPushButton* CmdCLOSE;
    /// While an import, an export, a backup or a removal runs: what it is, how far it has come, and a button to stop
    /// it.
    QLabel* LblJOB;
    QProgressBar* BarJOB;
    QPushButton* CmdCANCEL;
    QCheckBox* ChkCOACH;
    QLabel* LblCOACH;
    QPushButton* CmdCOACH;

    /// The views listed, in the order of CmbSETTING.
    const QList<RecordView>& views() const;
    /// The table's rows, in the order they came; the table shows them sorted.
    const RoundTableModel& rounds() const { return *m_model; }
    /// The round drawn on PicROUND, 0 for none.
    qint64 shownRound() const { return m_shown; }

    /// Reads the record again, keeping the chosen setting where it still exists.
    void reload();
    /// Asks whether to remove the selected rounds; removes them if the player agrees.
    void CmdDELETE_Click();
    /// Asks where to write every round as CSV, and writes it there.
    void CmdEXPORT_Click();
    /// Writes every round as CSV to `path` as a job, and says briefly that it did, or why not.
    void exportTo(const QString& path);
    /// Asks for records or CSV exports to import, imports them and reports how it went.
    void CmdIMPORT_Click();
    /// Imports `paths` as a job, and reports how it went.
    void importFrom(const QStringList& paths);
    /// Whether an import, an export, a backup or a removal is running.
    bool jobRunning() const { return !m_jobThread.isNull(); }
    /// Asks where to write a backup of the record, and writes it there.
    void CmdBACKUP_Click();
    /// The coach's next display time at the difficulty on view; NaN with none on view.
    double coachedSeconds() const;

signals:
    /// The player asked to play `difficulty` for `displaySeconds`, as the coach would.
    void coachedSettingChosen(double difficulty, double displaySeconds);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void createControls();
    /// The table's columns as wide as the rounds on view need.
    void fitColumns();
    /// Those columns widened where the rows `first` to `last`, just added, need more room.
    void widenColumns(const QModelIndex& parent, int first, int last);
    /// The smallest size that shows the chart and the table whole, as far as the screen allows.
    void fitMinimumSize();
    void showView();
    void showSelectedRound();
    /// Covers PicROUND with `why` the round chosen cannot be drawn; an empty one uncovers it.
    void showWhyNotDrawn(const QString& why);
    /// Reads the rounds of the difficulty of `view` (none: nothing on view),
    /// again only where they changed; the coach's offer and the memory speed
    /// follow them. Gives the summary's lines on the memory speed, or why the
    /// rounds could not be read, and the file they were read from.
    record::Read<QStringList> showDifficulty(const RecordView* view);
    /// Shows `rounds` in the score chart, at once if its tab is on view, else when it comes into view.
    void showScores(const QList<record::RoundSummary>& rounds);
    /// Draws the chart whose tab is on view, if what it shows has changed since it was drawn.
    void showChartOnView();
    /// The memory speed now were the rounds `ids` (of the difficulty on view) removed.
    core::Level levelWithout(const QList<qint64>& ids) const;
    /// Runs `work` on the record off the window's thread, showing `what` and
    /// its progress (and 中止 if it `cancellable`), the record's buttons off
    /// meanwhile; then `done` with its result, here.
    template <class Result>
    void runJob(const QString& what, bool cancellable,
        std::function<Result(record::ScoreStore&, record::JobProgress&)> work, std::function<void(const Result&)> done);
    void showJobProgress();
    void endJob();

    record::ScoreStore& m_store;
    RoundTableModel* m_model;
    RoundSortModel* m_sorted;
    std::unique_ptr<PlayerPlace> m_place;
    CoachPanel* m_coach = nullptr;
    QSplitter* m_split = nullptr; // the chart and table | the round drawn again
    QSplitter* m_historySplit = nullptr; // the chart | the table
    std::optional<RecordView> m_fittedView; // the view the smallest size was last fitted to
    // Looks for rounds saved by another copy of the game while the window shows.
    QTimer m_lookForChanges;
    std::unique_ptr<core::Figure> m_figure;
    qint64 m_shown = 0;
    // The file the table's rounds were listed from: what is done with them is bound to it.
    record::RecordIdentity m_listedFrom;
    // The memory speed of the difficulty on view, now and day by day. The
    // chart is drawn only when its tab is: at first sight, a fit for each
    // day costs more than the rest; after that, only the days a change touches are fitted again.
    core::MemorySpeedHistory m_history;
    bool m_speedChartStale = true;
    // Likewise the score chart, whose thousands of points cost as much to lay out again.
    QList<record::RoundSummary> m_scoreChartRounds;
    bool m_scoreChartStale = true;
    // The rounds of the difficulty on view as last read: a save reads only what it added.
    QList<record::RoundSummary> m_difficultyRounds;
    double m_difficulty = 0;
    // The job running, if any: its thread (gone once done) and what it shares with the window.
    QWidget* m_jobRow = nullptr; // LblJOB, BarJOB and CmdCANCEL, shown while a job runs
    QPointer<QThread> m_jobThread;
    std::shared_ptr<record::JobProgress> m_job;
    QTimer m_jobTimer;
};

} // namespace ui
