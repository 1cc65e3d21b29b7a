#include "ui/record/score_record_window.h"

#include "core/body.h"
#include "core/figure.h"
#include "core/grid_count.h"
#include "core/speed_change.h"
#include "record/csv_export.h"
#include "record/progress.h"
#include "record/round_import.h"
#include "record/score_store.h"
#include "ui/accessibility.h"
#include "ui/app_icon.h"
#include "ui/coach.h"
#include "ui/fonts.h"
#include "ui/notice.h"
#include "ui/player_settings.h"
#include "ui/problem_text.h"
#include "ui/record/coach_panel.h"
#include "ui/record/memory_speed_chart.h"
#include "ui/record/player_place.h"
#include "ui/record/record_texts.h"
#include "ui/record/round_sort_model.h"
#include "ui/record/round_table_header.h"
#include "ui/record/round_table_model.h"
#include "ui/record/score_chart.h"
#include "ui/record/wrapped_tool_tip.h"
#include "ui/remembered_placement.h"
#include "widgets/canvas.h"
#include "widgets/error_boundary.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <iterator>
#include <limits>
#include <utility>

namespace ui {

namespace {

constexpr double kPointSize = 9;
// Opens with room for the table's six columns beside the round drawn again,
// and for the chart above the table; a smaller screen gets what it has.
constexpr QSize kOpeningSize(1080, 720);
// Where the player's settings keep the window's place, and where it puts
// its splitters.
const QString kPlacementKey = QStringLiteral("recordWindow");
const QString kSplittersKey = QStringLiteral("recordWindow/splitters");
// At its smallest the window shows the table's every column and this many of
// its rows, and the charts this many lines of text high: room for the
// vertical axis's title (記憶の速さ（秒）) beside the plot, the time axis's
// labels and title, and the legend.
constexpr int kTableRowsAtLeast = 5;
constexpr int kChartLinesAtLeast = 15;
// Its smallest size is never larger than a small laptop's screen (1366 x 768)
// less a panel, nor than the screen it is on.
constexpr QSize kLargestMinimum(1366, 700);
// Rows the table measures to fit its columns: those on view and a few more.
// Measuring every row lays out the text of each of thousands of cells.
constexpr int kRowsMeasuredForWidths = 50;

// How often the open window looks for rounds saved by another copy of the
// game: such a round shows within a second or so. A look that finds nothing
// costs some microseconds (a stat of the file and one pragma).
constexpr std::chrono::milliseconds kLookForChangesEvery {1000};

// How often a running job's progress is shown anew: often enough to look
// smooth, seldom enough to cost nothing.
constexpr std::chrono::milliseconds kJobProgressEvery {100};

// Between the edge of the round's canvas and the message that covers it.
constexpr int kRoundMessageMargin = 12;
// The tabs above the table.
enum ChartTab { ScoreTab, SpeedTab };

// Where the file dialogs open: the player's documents, or home where there
// is no such folder (a path that does not exist would be taken for a file's name).
QString playersFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

} // namespace

FrmSCORE::FrmSCORE(record::ScoreStore& store, QWidget* owner)
    : QWidget(owner, Qt::Window)
    , m_store(store)
    , m_model(new RoundTableModel(this))
    , m_sorted(new RoundSortModel(*m_model, this))
{
    setObjectName(QStringLiteral("FrmSCORE"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("点数の記録"));
    setWindowIcon(appIcon());
    setFont(japaneseFont({}, kPointSize));
    createControls();
    restorePlacement(*this, kPlacementKey, kOpeningSize, toolkit::Opening::BesideOwner);
    const QSettings kept = playerSettings();
    const QList<QVariant> splitters = kept.value(kSplittersKey).toList();
    for (qsizetype i = 0; i < splitters.size() && i < 2; ++i)
        (i == 0 ? m_split : m_historySplit)->restoreState(splitters[i].toByteArray());
    m_figure = std::make_unique<core::Figure>(PicROUND->scene(), palette().color(QPalette::WindowText));
    m_figure->SUB_SETDEFAULT();
    describeScoreRecord(*this);

    widgets::connectGuarded(CmbSETTING, &QComboBox::currentIndexChanged, this, &FrmSCORE::showView);
    widgets::connectGuarded(m_model, &QAbstractItemModel::rowsInserted, this, &FrmSCORE::widenColumns);
    widgets::connectGuarded(
        GrdROUND->selectionModel(), &QItemSelectionModel::selectionChanged, this, &FrmSCORE::showSelectedRound);
    widgets::connectGuarded(CmdDELETE, &QPushButton::clicked, this, &FrmSCORE::CmdDELETE_Click);
    // The Delete key in the table asks as 削除… does.
    auto* deleteKey = new QShortcut(QKeySequence::Delete, GrdROUND, nullptr, nullptr, Qt::WidgetShortcut);
    widgets::connectGuarded(deleteKey, &QShortcut::activated, this, [this] {
        if (CmdDELETE->isEnabled())
            CmdDELETE_Click();
    });
    widgets::connectGuarded(CmdEXPORT, &QPushButton::clicked, this, &FrmSCORE::CmdEXPORT_Click);
    widgets::connectGuarded(CmdIMPORT, &QPushButton::clicked, this, &FrmSCORE::CmdIMPORT_Click);
    widgets::connectGuarded(CmdBACKUP, &QPushButton::clicked, this, &FrmSCORE::CmdBACKUP_Click);
    widgets::connectGuarded(CmdCLOSE, &QPushButton::clicked, this, &QWidget::close);
    widgets::connectGuarded(CmdCANCEL, &QPushButton::clicked, this, [this] {
        if (m_job)
            m_job->cancelRequested = true;
        CmdCANCEL->setEnabled(false);
        showValue(*LblJOB, QStringLiteral("中止しています…"));
    });
    m_jobTimer.setInterval(kJobProgressEvery);
    widgets::connectGuarded(&m_jobTimer, &QTimer::timeout, this, &FrmSCORE::showJobProgress);
    widgets::connectGuarded(m_coach, &CoachPanel::coachedSettingChosen, this, &FrmSCORE::coachedSettingChosen);
    widgets::connectGuarded(TabCHART, &QTabWidget::currentChanged, this, &FrmSCORE::showChartOnView);
    widgets::connectGuarded(&m_store, &record::ScoreStore::changed, this, &FrmSCORE::reload);
    m_lookForChanges.setInterval(kLookForChangesEvery);
    widgets::connectGuarded(&m_lookForChanges, &QTimer::timeout, &m_store, &record::ScoreStore::pollForChanges);
    reload();
}

FrmSCORE::~FrmSCORE()
{
    // A job left running would hand its result to a window that is gone.
    if (m_jobThread) {
        m_job->cancelRequested = true;
        m_jobThread->wait();
    }
}

const QList<RecordView>& FrmSCORE::views() const
{
    return m_place->views();
}

double FrmSCORE::coachedSeconds() const
{
    return m_coach->coachedSeconds();
}

void FrmSCORE::createControls()
{
    Label1 = new QLabel(QStringLiteral("表示する記録："), this);
    CmbSETTING = new QComboBox(this);
    CmbSETTING->setObjectName(QStringLiteral("CmbSETTING"));
    CmbSETTING->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Label1->setBuddy(CmbSETTING);
    // Lines broken where the texts break them, never inside a phrase.
    LblSUMMARY = new QLabel(this);
    LblSUMMARY->setObjectName(QStringLiteral("LblSUMMARY"));
    LblSUMMARY->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setWrappedToolTip(*LblSUMMARY, memorySpeedMeaning());
    LblHINT = new QLabel(this);
    LblHINT->setObjectName(QStringLiteral("LblHINT"));
    LblHINT->setForegroundRole(QPalette::PlaceholderText);
    setWrappedToolTip(*LblHINT, memorySpeedMeaning());

    TabCHART = new QTabWidget(this);
    TabCHART->setObjectName(QStringLiteral("TabCHART"));
    ChtSCORE = new ScoreChart(TabCHART);
    ChtSCORE->setObjectName(QStringLiteral("ChtSCORE"));
    ChtSPEED = new MemorySpeedChart(TabCHART);
    ChtSPEED->setObjectName(QStringLiteral("ChtSPEED"));
    setWrappedToolTip(*ChtSPEED,
        memorySpeedMeaning() + QStringLiteral("\n各日の点は、その日までの回から同じように求めたものです。"));
    for (QWidget* chart : {static_cast<QWidget*>(ChtSCORE), static_cast<QWidget*>(ChtSPEED)})
        chart->setMinimumHeight(kChartLinesAtLeast * fontMetrics().height());
    TabCHART->insertTab(ScoreTab, ChtSCORE, QStringLiteral("点数の推移"));
    TabCHART->insertTab(SpeedTab, ChtSPEED, QStringLiteral("記憶の速さの推移"));

    GrdROUND = new QTableView(this);
    GrdROUND->setObjectName(QStringLiteral("GrdROUND"));
    GrdROUND->setHorizontalHeader(new RoundTableHeader(GrdROUND));
    GrdROUND->setModel(m_sorted);
    GrdROUND->setSelectionBehavior(QAbstractItemView::SelectRows);
    GrdROUND->setSelectionMode(QAbstractItemView::ExtendedSelection);
    GrdROUND->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows are chosen whole, with the arrows: Tab goes on to the next control.
    GrdROUND->setTabKeyNavigation(false);
    GrdROUND->setSortingEnabled(true);
    GrdROUND->sortByColumn(RoundTableModel::Date, Qt::DescendingOrder);
    GrdROUND->verticalHeader()->hide();
    // Columns are fitted to their contents once for each view and widened
    // for rows added (fitColumns(), widenColumns()): a header that resized
    // to contents would measure them again at every change and every layout.
    GrdROUND->horizontalHeader()->setResizeContentsPrecision(kRowsMeasuredForWidths);

    PicROUND = new widgets::Canvas(this);
    PicROUND->setObjectName(QStringLiteral("PicROUND"));
    PicROUND->setWidthTwips(core::kCanvasSide);
    PicROUND->setHeightTwips(core::kCanvasSide);
    PicROUND->setScaledToFit(true); // it gives way to the chart and table when room is short
    PicROUND->setFocusPolicy(Qt::NoFocus); // a picture, nothing to drag here
    // Over the canvas, hiding it, while the round chosen cannot be drawn.
    LblROUND = new QLabel(PicROUND);
    LblROUND->setObjectName(QStringLiteral("LblROUND"));
    LblROUND->setWordWrap(true);
    LblROUND->setAlignment(Qt::AlignCenter);
    LblROUND->setMargin(kRoundMessageMargin);
    LblROUND->setAutoFillBackground(true);
    LblROUND->hide();
    auto* cover = new QVBoxLayout(PicROUND);
    cover->setContentsMargins({});
    cover->addWidget(LblROUND);

    CmdDELETE = new QPushButton(QStringLiteral("削除…"), this);
    CmdDELETE->setObjectName(QStringLiteral("CmdDELETE"));
    CmdEXPORT = new QPushButton(QStringLiteral("CSVに書き出す…"), this);
    CmdEXPORT->setObjectName(QStringLiteral("CmdEXPORT"));
    CmdIMPORT = new QPushButton(QStringLiteral("記録を取り込む…"), this);
    CmdIMPORT->setObjectName(QStringLiteral("CmdIMPORT"));
    CmdBACKUP = new QPushButton(QStringLiteral("記録を保存…"), this);
    CmdBACKUP->setObjectName(QStringLiteral("CmdBACKUP"));
    CmdCLOSE = new QPushButton(QStringLiteral("閉じる"), this);
    CmdCLOSE->setObjectName(QStringLiteral("CmdCLOSE"));
    m_jobRow = new QWidget(this);
    LblJOB = new QLabel(m_jobRow);
    LblJOB->setObjectName(QStringLiteral("LblJOB"));
    BarJOB = new QProgressBar(m_jobRow);
    BarJOB->setObjectName(QStringLiteral("BarJOB"));
    BarJOB->setAccessibleName(QStringLiteral("進み具合"));
    CmdCANCEL = new QPushButton(QStringLiteral("中止"), m_jobRow);
    CmdCANCEL->setObjectName(QStringLiteral("CmdCANCEL"));

    m_coach = new CoachPanel(this);
    ChkCOACH = m_coach->ChkCOACH;
    LblCOACH = m_coach->LblCOACH;
    CmdCOACH = m_coach->CmdCOACH;
    m_place = std::make_unique<PlayerPlace>(*CmbSETTING, *GrdROUND, *m_model, *m_sorted);

    auto* chooser = new QHBoxLayout;
    chooser->addWidget(Label1);
    chooser->addWidget(CmbSETTING);
    chooser->addStretch(1);
    // The chart over the table, beside the round drawn again over coached
    // practice; the player drags either splitter to give one more room.
    m_historySplit = new QSplitter(Qt::Vertical, this);
    m_historySplit->setObjectName(QStringLiteral("SplHISTORY"));
    m_historySplit->addWidget(TabCHART);
    m_historySplit->addWidget(GrdROUND);
    auto* roundColumn = new QWidget(this);
    auto* round = new QVBoxLayout(roundColumn);
    round->setContentsMargins({});
    round->addWidget(PicROUND, 1);
    round->addWidget(m_coach);
    m_split = new QSplitter(Qt::Horizontal, this);
    m_split->setObjectName(QStringLiteral("SplROUND"));
    m_split->addWidget(m_historySplit);
    m_split->addWidget(roundColumn);
    m_split->setStretchFactor(0, 1);
    m_split->setStretchFactor(1, 0);
    for (QSplitter* split : {m_historySplit, m_split})
        split->setChildrenCollapsible(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdDELETE);
    buttons->addWidget(CmdEXPORT);
    buttons->addWidget(CmdIMPORT);
    buttons->addWidget(CmdBACKUP);
    buttons->addStretch(1);
    buttons->addWidget(CmdCLOSE);
    auto* job = new QHBoxLayout(m_jobRow);
    job->setContentsMargins({});
    job->addWidget(LblJOB);
    job->addWidget(BarJOB, 1);
    job->addWidget(CmdCANCEL);
    m_jobRow->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint); // fitMinimumSize() bounds it by the screen
    layout->addLayout(chooser);
    layout->addWidget(LblSUMMARY);
    layout->addWidget(LblHINT);
    layout->addWidget(m_split, 1);
    layout->addWidget(m_jobRow);
    layout->addLayout(buttons);

    setTabOrder(CmbSETTING, TabCHART);
    setTabOrder(TabCHART, GrdROUND);
    setTabOrder(GrdROUND, ChkCOACH);
    setTabOrder(ChkCOACH, CmdCOACH);
    setTabOrder(CmdCOACH, CmdDELETE);
    setTabOrder(CmdDELETE, CmdEXPORT);
    setTabOrder(CmdEXPORT, CmdIMPORT);
    setTabOrder(CmdIMPORT, CmdBACKUP);
    setTabOrder(CmdBACKUP, CmdCANCEL);
    setTabOrder(CmdCANCEL, CmdCLOSE);
}

void FrmSCORE::reload()
{
    auto settings = m_store.settings();
    if (const auto notice = m_store.takeNotice())
        tell(*this, QMessageBox::Warning, QStringLiteral("点数の記録"), problemText(*notice));
    if (settings.problem) {
        showValue(*LblSUMMARY, problemText(*settings.problem));
        return;
    }
    // At first, the setting played last; after coached play, or with
    // coached practice on, the whole of its difficulty, as the coach moves
    // the time from round to round.
    m_place->listSettings(settings.value, [this]() -> std::optional<RecordView> {
        const std::optional<record::PlayedSetting> last = m_store.latestSetting().value;
        if (!last)
            return std::nullopt;
        return RecordView {last->setting, !last->byHand || coach::practiceOn()};
    });
    showView();
}

void FrmSCORE::showView()
{
    const RecordView* view = m_place->view();
    CmdDELETE->setEnabled(view != nullptr && !jobRunning());
    CmdEXPORT->setEnabled(view != nullptr && !jobRunning());
    const record::Read<QStringList> speed = showDifficulty(view);
    if (!view) {
        m_place->showRounds({});
        m_fittedView.reset();
        fitColumns();
        fitMinimumSize();
        showScores({});
        showValue(*LblSUMMARY, QString()); // the chart says how rounds are kept
        showSelectedRound();
        return;
    }
    if (speed.problem) {
        showValue(*LblSUMMARY, problemText(*speed.problem));
        return;
    }
    // One setting's rounds are among its difficulty's, read already.
    record::Read<QList<record::RoundSummary>> rounds {{}, std::nullopt, speed.from};
    if (view->wholeDifficulty) {
        rounds.value = m_difficultyRounds;
    } else {
        std::copy_if(m_difficultyRounds.cbegin(), m_difficultyRounds.cend(), std::back_inserter(rounds.value),
            [&view](const record::RoundSummary& round) {
                return record::sameNumber(round.displaySeconds, view->setting.displaySeconds);
            });
    }
    // Another file in the record's place: its ids name other rounds.
    if (rounds.from != m_listedFrom)
        m_shown = 0;
    m_listedFrom = rounds.from;
    showValue(*LblSUMMARY, summaryText(record::progressOf(rounds.value), speed.value));
    showScores(rounds.value);
    m_place->showRounds(rounds.value);
    // Columns and the smallest size are measured again only for another
    // view; rounds added to this one only widen a column they do not fit.
    if (m_fittedView != *view) {
        m_fittedView = *view;
        fitColumns();
        fitMinimumSize();
    }
    showSelectedRound();
}

void FrmSCORE::fitColumns()
{
    ensurePolished(); // sizes are the style's only once it has seen the controls
    // As wide as their contents, and at least as wide as their headings.
    auto& table = static_cast<QAbstractItemView&>(*GrdROUND);
    QHeaderView& header = *GrdROUND->horizontalHeader();
    for (int column = 0; column < header.count(); ++column)
        header.resizeSection(column, std::max(header.sectionSizeHint(column), table.sizeHintForColumn(column)));
}

void FrmSCORE::widenColumns(const QModelIndex& parent, int first, int last)
{
    QHeaderView& header = *GrdROUND->horizontalHeader();
    const int grid = GrdROUND->showGrid() ? 1 : 0; // as the table counts a column's width
    for (int column = 0; column < header.count(); ++column) {
        int widest = header.sectionSize(column);
        for (int row = first; row <= last; ++row) {
            const QModelIndex cell = m_sorted->mapFromSource(m_model->index(row, column, parent));
            widest = std::max(widest, GrdROUND->sizeHintForIndex(cell).width() + grid);
        }
        if (widest > header.sectionSize(column))
            header.resizeSection(column, widest);
    }
}

void FrmSCORE::fitMinimumSize()
{
    ensurePolished();
    const QHeaderView& header = *GrdROUND->horizontalHeader();
    const int frame = 2 * GrdROUND->frameWidth();
    const QSize whole(header.length() + GrdROUND->verticalScrollBar()->sizeHint().width() + frame,
        header.sizeHint().height() + kTableRowsAtLeast * GrdROUND->verticalHeader()->defaultSectionSize() + frame);
    QSize room = kLargestMinimum;
    if (const QScreen* on = screen())
        room = room.boundedTo(on->availableGeometry().size() - (frameGeometry().size() - size()));
    // On a screen too small for it, the table gives way first: it scrolls.
    GrdROUND->setMinimumSize(whole);
    layout()->invalidate(); // its sizes cached before the table's minimum changed
    const QSize over = (layout()->totalMinimumSize() - room).expandedTo(QSize(0, 0));
    GrdROUND->setMinimumSize((whole - over).expandedTo(GrdROUND->minimumSizeHint()));
    layout()->invalidate();
    setMinimumSize(layout()->totalMinimumSize().boundedTo(room));
}

record::Read<QStringList> FrmSCORE::showDifficulty(const RecordView* view)
{
    const std::optional<double> difficulty = view ? std::optional(view->setting.difficulty) : std::nullopt;
    m_speedChartStale = true;
    record::Read<QStringList> speed;
    // The difficulty's rounds read before are read again only where they changed.
    QList<record::RoundSummary> known = std::exchange(m_difficultyRounds, {});
    if (!difficulty || !record::sameNumber(*difficulty, m_difficulty))
        known.clear();
    const QDateTime now = QDateTime::currentDateTime();
    coach::Reading reading; // none while no rounds are on view
    if (difficulty) {
        auto rounds = m_store.roundsAtDifficulty(*difficulty, std::move(known));
        speed.problem = rounds.problem;
        speed.from = rounds.from;
        if (!rounds.problem) {
            // Only rounds kept whatever their score: those 点数保存 kept were chosen.
            reading = coach::coachedRounds(rounds.value, now);
            m_difficultyRounds = std::move(rounds.value);
            m_difficulty = *difficulty;
        }
    }
    // Before its first coached round, the coach starts from the setting on
    // view, or for a whole difficulty from the time played last.
    std::optional<record::Setting> from;
    if (!m_difficultyRounds.isEmpty())
        from = view->wholeDifficulty ? record::Setting {m_difficulty, m_difficultyRounds.back().displaySeconds}
                                     : view->setting;
    m_coach->showCoach(reading, from ? &*from : nullptr);
    m_history.setTrials(reading.rounds, now);
    QString hint;
    if (!m_difficultyRounds.isEmpty()) {
        const core::Level level = m_history.levelNow();
        hint = memorySpeedHint(level);
        // Beside one setting's rounds, it is still the whole difficulty's.
        QStringList figures {memorySpeedText(level, view->wholeDifficulty ? std::nullopt : difficulty)};
        if (const QString change = speedChangeText(core::speedChange(level, m_history.levelEarlier()));
            !change.isEmpty())
            figures << change;
        speed.value << figures.join(QStringLiteral("　")) << passedOverText(reading.leftOut, reading.nearRest);
    }
    showValue(*LblHINT, hint);
    LblHINT->setVisible(!hint.isEmpty());
    showChartOnView();
    return speed;
}

void FrmSCORE::showScores(const QList<record::RoundSummary>& rounds)
{
    m_scoreChartRounds = rounds;
    m_scoreChartStale = true;
    showChartOnView();
}

void FrmSCORE::showChartOnView()
{
    // Not before the window shows: a chart of thousands of points filled
    // before it has its size would be laid out twice.
    if (!isVisible())
        return;
    if (TabCHART->currentIndex() == ScoreTab && m_scoreChartStale) {
        ChtSCORE->setRounds(m_scoreChartRounds);
        m_scoreChartStale = false;
    }
    if (TabCHART->currentIndex() == SpeedTab && m_speedChartStale) {
        ChtSPEED->setDays(m_history.days());
        m_speedChartStale = false;
    }
}

void FrmSCORE::showSelectedRound()
{
    const QModelIndexList rows = GrdROUND->selectionModel()->selectedRows();
    const bool writable = m_store.canSave();
    CmdDELETE->setEnabled(!rows.isEmpty() && writable && !jobRunning());
    setWrappedToolTip(*CmdDELETE, writable ? QString() : cannotRemoveText(m_store.readOnly()));
    if (rows.isEmpty()) {
        m_figure->SUB_SETDEFAULT();
        m_shown = 0;
        showWhyNotDrawn(QString());
        return;
    }
    const qint64 id = m_sorted->idAt(rows.last().row());
    if (id == m_shown)
        return;
    const auto round = m_store.round(id, m_listedFrom);
    if (round.problem) {
        if (round.problem->reason == record::Reason::Replaced) {
            reload(); // the round chosen was the replaced file's
            return;
        }
        // This round alone: the rest of the record stays on view.
        m_shown = 0;
        showWhyNotDrawn(problemText(*round.problem));
        return;
    }
    // A record edited by hand may ask for more grid lines than the figure has.
    const int gridLines = std::clamp(round.value.gridLines, 0, core::kMostGridLines);
    m_figure->showRound(round.value.target, round.value.player, static_cast<qint16>(gridLines + 1));
    m_shown = id;
    showWhyNotDrawn(QString());
}

void FrmSCORE::showWhyNotDrawn(const QString& why)
{
    showValue(*LblROUND, why);
    LblROUND->setVisible(!why.isEmpty());
}

void FrmSCORE::CmdDELETE_Click()
{
    const QList<qint64> ids = m_place->selectedIds();
    if (ids.isEmpty())
        return;
    QString question = QStringLiteral("選んだ %1 回の記録を削除しますか？ 元には戻せません。").arg(ids.size());
    if (const QString effect = removalEffectText(m_history.levelNow(), levelWithout(ids)); !effect.isEmpty())
        question += u'\n' + effect;
    auto* confirm = new QMessageBox(
        QMessageBox::Question, QStringLiteral("記録の削除"), question, QMessageBox::Yes | QMessageBox::No, this);
    confirm->setObjectName(QStringLiteral("confirmDelete"));
    confirm->setDefaultButton(QMessageBox::No);
    confirm->setAttribute(Qt::WA_DeleteOnClose);
    // Bound to the file they were listed from: another in its place keeps its rounds.
    widgets::connectGuarded(confirm, &QMessageBox::finished, this, [this, confirm, ids, from = m_listedFrom](int) {
        if (confirm->clickedButton() != confirm->button(QMessageBox::Yes) || jobRunning())
            return;
        runJob<std::optional<record::Problem>>(
            QStringLiteral("記録を削除しています…"), false,
            [ids, from](record::ScoreStore& store, record::JobProgress&) { return store.remove(ids, from); },
            [this](const std::optional<record::Problem>& problem) {
        if (!problem)
            return;
        tell(*this, QMessageBox::Warning, QStringLiteral("記録の削除"), problemText(*problem));
        if (problem->reason == record::Reason::Replaced)
            reload();
    });
    });
    confirm->open();
}

core::Level FrmSCORE::levelWithout(const QList<qint64>& ids) const
{
    const QSet<qint64> removed(ids.begin(), ids.end());
    QList<record::RoundSummary> kept;
    kept.reserve(m_difficultyRounds.size());
    for (const record::RoundSummary& round : m_difficultyRounds)
        if (!removed.contains(round.id))
            kept.append(round);
    const QDateTime now = QDateTime::currentDateTime();
    core::MemorySpeedHistory history;
    history.setTrials(coach::coachedRounds(kept, now).rounds, now);
    return history.levelNow();
}

void FrmSCORE::CmdEXPORT_Click()
{
    const QString suggested = QDir(playersFolder()).filePath(QStringLiteral("tormell-scores.csv"));
    const QString path
        = QFileDialog::getSaveFileName(this, QStringLiteral("CSVに書き出す"), suggested, QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty())
        exportTo(path);
}

void FrmSCORE::exportTo(const QString& path)
{
    if (jobRunning())
        return;
    runJob<std::optional<record::Problem>>(
        QStringLiteral("CSVに書き出しています…"), true,
        [path](record::ScoreStore& store, record::JobProgress& job) { return record::exportCsv(store, path, &job); },
        [this, path](const std::optional<record::Problem>& problem) {
            if (problem && problem->reason == record::Reason::Cancelled)
                tellBriefly(*GrdROUND, QStringLiteral("書き出しを中止しました。ファイルは書いていません。"));
            else if (problem)
        tell(*this, QMessageBox::Warning, QStringLiteral("CSVに書き出す"), problemText(*problem));
    else
        tellBriefly(*GrdROUND, QStringLiteral("%1 に書き出しました。").arg(QFileInfo(path).fileName()));
        });
}

void FrmSCORE::CmdIMPORT_Click()
{
    const QStringList paths = QFileDialog::getOpenFileNames(this, QStringLiteral("記録を取り込む"), playersFolder(),
        QStringLiteral("Tormellの記録とCSV (*.sqlite *.csv);;Tormellの記録 (*.sqlite);;CSV (*.csv)"));
    if (!paths.isEmpty())
        importFrom(paths);
}

void FrmSCORE::importFrom(const QStringList& paths)
{
    if (jobRunning())
        return;
    runJob<record::ImportReport>(
        QStringLiteral("記録を取り込んでいます…"), true,
        [paths](
            record::ScoreStore& store, record::JobProgress& job) { return record::importFiles(store, paths, &job); },
        [this](const record::ImportReport& report) {
            if (report.problem && report.problem->reason == record::Reason::Cancelled)
                tellBriefly(*GrdROUND, QStringLiteral("取り込みを中止しました。記録は元のままです。"));
            else
                tell(*this, report.failed() ? QMessageBox::Warning : QMessageBox::Information,
                    QStringLiteral("記録を取り込む"), importReportText(report));
        });
}

void FrmSCORE::CmdBACKUP_Click()
{
    const QString suggested = QDir(playersFolder()).filePath(QStringLiteral("tormell-backup.sqlite"));
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("記録を保存"), suggested, QStringLiteral("Tormellの記録 (*.sqlite)"));
    if (path.isEmpty() || jobRunning())
        return;
    runJob<std::optional<record::Problem>>(
        QStringLiteral("記録を保存しています…"), false,
        [path](record::ScoreStore& store, record::JobProgress&) { return store.backup(path); },
        [this, path](const std::optional<record::Problem>& problem) {
            if (problem)
        tell(*this, QMessageBox::Warning, QStringLiteral("記録を保存"), problemText(*problem));
    else
        tell(*this, QMessageBox::Information, QStringLiteral("記録を保存"),
            QStringLiteral(
                "記録を保存しました。ほかのコンピューターでは「記録を取り込む…」で取り込めます。\nファイル：%1")
                .arg(path));
        });
}

template <class Result>
void FrmSCORE::runJob(const QString& what, bool cancellable,
    std::function<Result(record::ScoreStore&, record::JobProgress&)> work, std::function<void(const Result&)> done)
{
    m_job = std::make_shared<record::JobProgress>();
    showValue(*LblJOB, what);
    BarJOB->setRange(0, 0); // busy, until the job knows how much there is
    CmdCANCEL->setEnabled(cancellable);
    CmdCANCEL->setVisible(cancellable);
    m_jobRow->show();
    // One job at a time: the record's other commands wait for this one.
    for (QPushButton* button : {CmdDELETE, CmdEXPORT, CmdIMPORT, CmdBACKUP})
        button->setEnabled(false);
    m_jobThread = record::startJob<Result>(
        m_store.path(), this,
        [job = m_job, work = std::move(work)](record::ScoreStore& store) { return work(store, *job); },
        [this, done = std::move(done)](const Result& result) {
            endJob();
            widgets::contain([&] { done(result); });
        });
    m_jobTimer.start();
}

void FrmSCORE::showJobProgress()
{
    const qint64 total = m_job ? m_job->total.load() : 0;
    if (total <= 0)
        return;
    BarJOB->setRange(0, static_cast<int>(std::min<qint64>(total, std::numeric_limits<int>::max())));
    BarJOB->setValue(static_cast<int>(std::min(m_job->done.load(), total)));
}

void FrmSCORE::endJob()
{
    m_jobTimer.stop();
    m_jobThread.clear();
    m_jobRow->hide();
    CmdIMPORT->setEnabled(true);
    CmdBACKUP->setEnabled(true);
    CmdEXPORT->setEnabled(m_place->view() != nullptr);
    showSelectedRound(); // which sets 削除…
    m_store.pollForChanges(); // what the job changed, now rather than at the next look
}

void FrmSCORE::closeEvent(QCloseEvent* event)
{
    widgets::contain([this] {
        rememberPlacement(*this, kPlacementKey);
        playerSettings().setValue(kSplittersKey, QVariantList {m_split->saveState(), m_historySplit->saveState()});
    });
    QWidget::closeEvent(event);
}

void FrmSCORE::showEvent(QShowEvent* event)
{
    fitMinimumSize(); // now on its screen, in its frame
    showChartOnView();
    m_lookForChanges.start();
    QWidget::showEvent(event);
}

void FrmSCORE::hideEvent(QHideEvent* event)
{
    m_lookForChanges.stop(); // nothing on view to keep up to date
    QWidget::hideEvent(event);
}

} // namespace ui
