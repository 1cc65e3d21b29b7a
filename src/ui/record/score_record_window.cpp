#include "ui/record/score_record_window.h"

#include "core/body.h"
#include "core/figure.h"
#include "core/grid_count.h"
#include "core/memory_speed.h"
#include "core/staircase.h"
#include "record/csv_export.h"
#include "record/progress.h"
#include "record/score_store.h"
#include "toolkit/numeric_text.h"
#include "ui/accessibility.h"
#include "ui/app_icon.h"
#include "ui/coach.h"
#include "ui/fonts.h"
#include "ui/notice.h"
#include "ui/record/memory_speed_chart.h"
#include "ui/record/round_sort_model.h"
#include "ui/record/round_table_header.h"
#include "ui/record/round_table_model.h"
#include "ui/record/score_chart.h"
#include "ui/remembered_placement.h"
#include "widgets/canvas.h"
#include "widgets/error_boundary.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <utility>

namespace ui {

namespace {

constexpr double kPointSize = 9;
// Opens with room for the table's six columns beside the round drawn again,
// and for the chart above the table; a smaller screen gets what it has.
constexpr QSize kOpeningSize(1080, 720);
// Where the player's settings keep the window's place.
const QString kPlacementKey = QStringLiteral("recordWindow");
// Rows the table measures to fit its columns: those on view and a few more.
// Measuring every row lays out the text of each of thousands of cells.
constexpr int kRowsMeasuredForWidths = 50;

// How often the open window looks for rounds saved by another copy of the
// game: such a round shows within a second or so. A look that finds nothing
// costs some microseconds (a stat of the file and one pragma).
constexpr std::chrono::milliseconds kLookForChangesEvery {1000};

// Seconds as the summary and the coach write them: to hundredths, as the coach rounds them.
constexpr int kSecondsDecimals = 2;
// Between the edge of the round's canvas and the message that covers it.
constexpr int kRoundMessageMargin = 12;
// The tabs above the table.
enum ChartTab { ScoreTab, SpeedTab };

QString settingText(const record::Setting& setting)
{
    return QStringLiteral("難易度 %1・表示時間 %2 秒")
        .arg(toolkit::numberText(setting.difficulty), toolkit::numberText(setting.displaySeconds));
}

QString secondsText(double seconds)
{
    return QString::number(seconds, 'f', kSecondsDecimals);
}

// What the memory speed is, for the tooltips of the summary and its chart.
const QString kMemorySpeedMeaning
    = QStringLiteral("記憶の速さは、4回に3回覚えられる（%1点以上を取れる）表示時間です。短いほど速く覚えられます。"
                     "今の力を表すよう、直近%2日の回から求めます。それで定まらないときは直近%3日の回から求めます。")
          .arg(core::kRememberedScore)
          .arg(core::kRecentDays)
          .arg(core::kFallbackDays);

// The memory speed as the summary says it, or what it still lacks.
QString memorySpeedText(const core::Level& level)
{
    using Missing = core::MemorySpeedFit::Missing;
    const core::MemorySpeedFit& fit = level.fit;
    if (fit.estimate) {
        const QString from
            = level.days == core::kRecentDays ? QString() : QStringLiteral("、直近%1日の回から").arg(level.days);
        return QStringLiteral("記憶の速さ：%1 秒（68%区間 %2〜%3 秒%4）")
            .arg(secondsText(fit.estimate->seconds), secondsText(fit.estimate->low), secondsText(fit.estimate->high),
                from);
    }
    QString lacking;
    switch (fit.missing) {
    case Missing::DistinctTimes:
        lacking = QStringLiteral("%1種類以上の表示時間で遊んだ回が要ります（今は%2種類）")
                      .arg(core::kMinDistinctTimes)
                      .arg(fit.distinctTimes);
        break;
    case Missing::Remembered:
        lacking = QStringLiteral("%1点以上の回が要ります").arg(core::kRememberedScore);
        break;
    case Missing::Forgotten:
        lacking = QStringLiteral("%1点未満の回が要ります").arg(core::kRememberedScore);
        break;
    case Missing::Precision:
    case Missing::None:
        lacking = QStringLiteral("回数が足りず、幅が定まりません");
        break;
    }
    return QStringLiteral("記憶の速さ：まだ測れません（直近%1日、%2）").arg(level.days).arg(lacking);
}

} // namespace

FrmSCORE::FrmSCORE(record::ScoreStore& store, QWidget* owner)
    : QWidget(owner, Qt::Window), m_store(store), m_model(new RoundTableModel(this)),
      m_sorted(new RoundSortModel(*m_model, this)), m_coachedSeconds(std::numeric_limits<double>::quiet_NaN())
{
    setObjectName(QStringLiteral("FrmSCORE"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("点数の記録"));
    setWindowIcon(appIcon());
    setFont(japaneseFont({}, kPointSize));
    createControls();
    restorePlacement(*this, kPlacementKey, kOpeningSize);
    m_figure = std::make_unique<core::Figure>(PicROUND->scene(), palette().color(QPalette::WindowText));
    m_figure->SUB_SETDEFAULT();
    describeScoreRecord(*this);

    widgets::connectGuarded(CmbSETTING, &QComboBox::currentIndexChanged, this, &FrmSCORE::showSetting);
    widgets::connectGuarded(GrdROUND->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                       &FrmSCORE::showSelectedRound);
    widgets::connectGuarded(CmdDELETE, &QPushButton::clicked, this, &FrmSCORE::CmdDELETE_Click);
    widgets::connectGuarded(CmdEXPORT, &QPushButton::clicked, this, &FrmSCORE::CmdEXPORT_Click);
    widgets::connectGuarded(CmdCLOSE, &QPushButton::clicked, this, &QWidget::close);
    widgets::connectGuarded(CmdCOACH, &QPushButton::clicked, this, &FrmSCORE::CmdCOACH_Click);
    widgets::connectGuarded(ChkCOACH, &QCheckBox::toggled, this, &coach::setPracticeOn);
    widgets::connectGuarded(TabCHART, &QTabWidget::currentChanged, this, &FrmSCORE::showSpeedChart);
    widgets::connectGuarded(&m_store, &record::ScoreStore::changed, this, &FrmSCORE::reload);
    m_lookForChanges.setInterval(kLookForChangesEvery);
    widgets::connectGuarded(&m_lookForChanges, &QTimer::timeout, &m_store, &record::ScoreStore::pollForChanges);
    reload();
}

FrmSCORE::~FrmSCORE() = default;

void FrmSCORE::createControls()
{
    Label1 = new QLabel(QStringLiteral("ゲームの種類："), this);
    CmbSETTING = new QComboBox(this);
    CmbSETTING->setObjectName(QStringLiteral("CmbSETTING"));
    CmbSETTING->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Label1->setBuddy(CmbSETTING);
    LblSUMMARY = new QLabel(this);
    LblSUMMARY->setObjectName(QStringLiteral("LblSUMMARY"));
    LblSUMMARY->setWordWrap(true);
    LblSUMMARY->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LblSUMMARY->setToolTip(kMemorySpeedMeaning);

    TabCHART = new QTabWidget(this);
    TabCHART->setObjectName(QStringLiteral("TabCHART"));
    ChtSCORE = new ScoreChart(TabCHART);
    ChtSCORE->setObjectName(QStringLiteral("ChtSCORE"));
    ChtSPEED = new MemorySpeedChart(TabCHART);
    ChtSPEED->setObjectName(QStringLiteral("ChtSPEED"));
    ChtSPEED->setToolTip(
        kMemorySpeedMeaning + QStringLiteral("各日の点は、その日までの回から同じように求めたものです。"));
    TabCHART->insertTab(ScoreTab, ChtSCORE, QStringLiteral("この設定の点数"));
    TabCHART->insertTab(SpeedTab, ChtSPEED, QStringLiteral("記憶の速さの推移"));

    GrdROUND = new QTableView(this);
    GrdROUND->setObjectName(QStringLiteral("GrdROUND"));
    GrdROUND->setHorizontalHeader(new RoundTableHeader(GrdROUND));
    GrdROUND->setModel(m_sorted);
    GrdROUND->setSelectionBehavior(QAbstractItemView::SelectRows);
    GrdROUND->setSelectionMode(QAbstractItemView::ExtendedSelection);
    GrdROUND->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrdROUND->setSortingEnabled(true);
    GrdROUND->sortByColumn(RoundTableModel::Date, Qt::DescendingOrder);
    GrdROUND->verticalHeader()->hide();
    GrdROUND->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    GrdROUND->horizontalHeader()->setResizeContentsPrecision(kRowsMeasuredForWidths);
    GrdROUND->horizontalHeader()->setStretchLastSection(true);

    PicROUND = new widgets::Canvas(this);
    PicROUND->setObjectName(QStringLiteral("PicROUND"));
    PicROUND->setWidthTwips(core::kCanvasSide);
    PicROUND->setHeightTwips(core::kCanvasSide);
    PicROUND->setFixedSize(PicROUND->size());
    PicROUND->setFocusPolicy(Qt::NoFocus); // a picture, nothing to drag here
    // Over the canvas, hiding it, while the round chosen cannot be drawn.
    LblROUND = new QLabel(PicROUND);
    LblROUND->setObjectName(QStringLiteral("LblROUND"));
    LblROUND->setWordWrap(true);
    LblROUND->setAlignment(Qt::AlignCenter);
    LblROUND->setMargin(kRoundMessageMargin);
    LblROUND->setAutoFillBackground(true);
    LblROUND->setGeometry(PicROUND->rect());
    LblROUND->hide();

    CmdDELETE = new QPushButton(QStringLiteral("削除…"), this);
    CmdDELETE->setObjectName(QStringLiteral("CmdDELETE"));
    CmdEXPORT = new QPushButton(QStringLiteral("CSVに書き出す…"), this);
    CmdEXPORT->setObjectName(QStringLiteral("CmdEXPORT"));
    CmdCLOSE = new QPushButton(QStringLiteral("閉じる"), this);
    CmdCLOSE->setObjectName(QStringLiteral("CmdCLOSE"));

    ChkCOACH = new QCheckBox(QStringLiteral("おまかせ練習"), this);
    ChkCOACH->setObjectName(QStringLiteral("ChkCOACH"));
    ChkCOACH->setChecked(coach::practiceOn());
    LblCOACH = new QLabel(this);
    LblCOACH->setObjectName(QStringLiteral("LblCOACH"));
    CmdCOACH = new QPushButton(QStringLiteral("この難易度と時間で練習"), this);
    CmdCOACH->setObjectName(QStringLiteral("CmdCOACH"));

    auto* top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(CmbSETTING);
    top->addWidget(LblSUMMARY, 1);
    // The chart and the table share the height beside the round drawn again,
    // whose canvas keeps the game's size.
    auto* history = new QVBoxLayout;
    history->addWidget(TabCHART, 1);
    history->addWidget(GrdROUND, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(history, 1);
    middle->addWidget(PicROUND, 0, Qt::AlignTop);
    auto* coached = new QHBoxLayout;
    coached->addWidget(ChkCOACH);
    coached->addWidget(LblCOACH);
    coached->addWidget(CmdCOACH);
    coached->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdDELETE);
    buttons->addWidget(CmdEXPORT);
    buttons->addStretch(1);
    buttons->addWidget(CmdCLOSE);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(coached);
    layout->addLayout(buttons);

    setTabOrder(CmbSETTING, TabCHART);
    setTabOrder(TabCHART, GrdROUND);
    setTabOrder(GrdROUND, ChkCOACH);
    setTabOrder(ChkCOACH, CmdCOACH);
    setTabOrder(CmdCOACH, CmdDELETE);
    setTabOrder(CmdDELETE, CmdEXPORT);
    setTabOrder(CmdEXPORT, CmdCLOSE);
}

void FrmSCORE::reload()
{
    auto settings = m_store.settings();
    if (const auto notice = m_store.takeNotice())
        tell(*this, QMessageBox::Warning, QStringLiteral("点数の記録"), notice->message);
    if (settings.problem) {
        showValue(*LblSUMMARY, settings.problem->message);
        return;
    }
    // Stay with the setting on view; at first, open on the one played last.
    // The list is filled again only when it changed, so that an open list stays open.
    if (settings.value != m_settings) {
        const int chosen = CmbSETTING->currentIndex();
        qsizetype index
            = chosen >= 0 && chosen < m_settings.size() ? settings.value.indexOf(m_settings.at(chosen)) : -1;
        m_settings = std::move(settings.value);
        if (index < 0) {
            if (const auto latest = m_store.latestSetting(); latest.value)
                index = m_settings.indexOf(*latest.value);
        }
        const QSignalBlocker quiet(CmbSETTING);
        CmbSETTING->clear();
        for (const record::Setting& setting : m_settings)
            CmbSETTING->addItem(settingText(setting));
        CmbSETTING->setCurrentIndex(static_cast<int>(std::max<qsizetype>(index, m_settings.isEmpty() ? -1 : 0)));
    }
    showSetting();
}

void FrmSCORE::showSetting()
{
    const int index = CmbSETTING->currentIndex();
    CmdDELETE->setEnabled(index >= 0);
    CmdEXPORT->setEnabled(index >= 0);
    if (index < 0) {
        followRounds({});
        ChtSCORE->setRounds({});
        showCoach(index);
        showValue(*LblSUMMARY, QString()); // the chart says how rounds are kept
        showSelectedRound();
        return;
    }
    auto rounds = m_store.rounds(m_settings.at(index));
    if (rounds.problem) {
        showValue(*LblSUMMARY, rounds.problem->message);
        return;
    }
    // Another file in the record's place: its ids name other rounds.
    if (rounds.from != m_listedFrom)
        m_shown = 0;
    m_listedFrom = rounds.from;
    const record::Progress progress = record::progressOf(rounds.value);
    showValue(*LblSUMMARY, QStringLiteral("回数：%1　最高：%2点　直近%3回の平均：%4点　%5")
                                   .arg(progress.rounds)
                                   .arg(progress.best)
                                   .arg(record::kAverageWindow)
                                   .arg(QString::number(progress.lastTenAverage, 'f', 1), showCoach(index)));
    ChtSCORE->setRounds(rounds.value);
    followRounds(rounds.value);
    showSelectedRound();
}

void FrmSCORE::followRounds(const QList<record::RoundSummary>& rounds)
{
    // A player on the newest round (as after a save), or on none (as on
    // opening, or once the rounds chosen are gone), moves on to the newest:
    // one who has just saved wants to see it. Any other choice stays, as does
    // the round at the top of a scrolled table.
    const bool onNewest = selectedIds() == QList<qint64> {m_model->newestId()};
    const QScrollBar& scroll = *GrdROUND->verticalScrollBar();
    const qint64 top = scroll.value() > scroll.minimum() ? m_sorted->idAt(GrdROUND->rowAt(0)) : 0;

    m_model->setRounds(rounds);

    const int newest = m_sorted->rowOf(m_model->newestId());
    if ((onNewest || selectedIds().isEmpty()) && newest >= 0) {
        const QModelIndex row = m_sorted->index(newest, RoundTableModel::Date);
        GrdROUND->selectionModel()->setCurrentIndex(
            row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        GrdROUND->scrollTo(row);
    }
    if (const int topRow = m_sorted->rowOf(top); topRow >= 0)
        GrdROUND->scrollTo(m_sorted->index(topRow, RoundTableModel::Date), QAbstractItemView::PositionAtTop);
}

QList<qint64> FrmSCORE::selectedIds() const
{
    QList<qint64> ids;
    for (const QModelIndex& row : GrdROUND->selectionModel()->selectedRows())
        ids.append(m_sorted->idAt(row.row()));
    return ids;
}

QString FrmSCORE::showCoach(int index)
{
    m_coachedSeconds = std::numeric_limits<double>::quiet_NaN();
    m_speedChartStale = true;
    QString speed;
    // The difficulty's rounds read before are read again only where they changed.
    QList<record::RoundSummary> known = std::exchange(m_difficultyRounds, {});
    if (index < 0 || !record::sameNumber(m_settings.at(index).difficulty, m_difficulty))
        known.clear();
    const QDateTime now = QDateTime::currentDateTime();
    coach::Reading reading; // none while no rounds are on view
    if (index >= 0) {
        const record::Setting& setting = m_settings.at(index);
        auto rounds = m_store.roundsAtDifficulty(setting.difficulty, std::move(known));
        if (rounds.problem) {
            speed = rounds.problem->message;
        } else {
            reading = coach::allRounds(rounds.value, now);
            // Before the first coached round, the coach starts from the setting on view.
            const coach::Reading coached = coach::coachedRounds(rounds.value, now);
            m_coachedSeconds = core::nextDisplaySeconds(coach::trialsOf(coached), setting.displaySeconds);
            m_difficultyRounds = std::move(rounds.value);
            m_difficulty = setting.difficulty;
        }
    }
    m_history.setTrials(reading.rounds, now);
    if (!m_difficultyRounds.isEmpty()) {
        speed = memorySpeedText(m_history.levelNow());
        if (reading.leftOut > 0)
            speed += QStringLiteral("　記録のおかしい%1回は除きました").arg(reading.leftOut);
        if (reading.nearRest > 0)
            speed += QStringLiteral("　見本がほとんど動かなかった%1回は数えません").arg(reading.nearRest);
    }
    const bool offered = std::isfinite(m_coachedSeconds);
    showValue(*LblCOACH, offered ? QStringLiteral("次のおまかせ表示時間：%1 秒").arg(secondsText(m_coachedSeconds))
                                     : QString());
    CmdCOACH->setEnabled(offered);
    showSpeedChart();
    return speed;
}

void FrmSCORE::showSpeedChart()
{
    if (TabCHART->currentIndex() != SpeedTab || !m_speedChartStale)
        return;
    ChtSPEED->setDays(m_history.days());
    m_speedChartStale = false;
}

void FrmSCORE::CmdCOACH_Click()
{
    const int index = CmbSETTING->currentIndex();
    if (index < 0 || !std::isfinite(m_coachedSeconds))
        return;
    emit coachedSettingChosen(m_settings.at(index).difficulty, m_coachedSeconds);
}

void FrmSCORE::showSelectedRound()
{
    const QModelIndexList rows = GrdROUND->selectionModel()->selectedRows();
    const bool writable = m_store.canSave();
    CmdDELETE->setEnabled(!rows.isEmpty() && writable);
    CmdDELETE->setToolTip(writable ? QString()
            : m_store.readOnly() ? QStringLiteral("新しい版のTormellで書かれた記録のため、削除できません。")
                                 : QStringLiteral("記録ファイルかそのフォルダーに書き込めないため、削除できません。"));
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
        showWhyNotDrawn(round.problem->message);
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
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty())
        return;
    auto* confirm = new QMessageBox(QMessageBox::Question, QStringLiteral("記録の削除"),
                                    QStringLiteral("選んだ %1 回の記録を削除しますか？ 元には戻せません。").arg(ids.size()),
                                    QMessageBox::Yes | QMessageBox::No, this);
    confirm->setObjectName(QStringLiteral("confirmDelete"));
    confirm->setDefaultButton(QMessageBox::No);
    confirm->setAttribute(Qt::WA_DeleteOnClose);
    // Bound to the file they were listed from: another in its place keeps its rounds.
    widgets::connectGuarded(confirm, &QMessageBox::finished, this, [this, confirm, ids, from = m_listedFrom](int) {
        if (confirm->clickedButton() != confirm->button(QMessageBox::Yes))
            return;
        const auto problem = m_store.remove(ids, from);
        if (!problem)
            return;
        tell(*this, QMessageBox::Warning, QStringLiteral("記録の削除"), problem->message);
        if (problem->reason == record::Reason::Replaced)
            reload();
    });
    confirm->open();
}

void FrmSCORE::CmdEXPORT_Click()
{
    const QString suggested = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                  .filePath(QStringLiteral("tormell-scores.csv"));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("CSVに書き出す"), suggested,
                                                      QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (const auto problem = record::exportCsv(m_store, path, toolkit::numberText))
        tell(*this, QMessageBox::Warning, QStringLiteral("CSVに書き出す"), problem->message);
}

void FrmSCORE::closeEvent(QCloseEvent* event)
{
    widgets::contain([this] { rememberPlacement(*this, kPlacementKey); });
    QWidget::closeEvent(event);
}

void FrmSCORE::showEvent(QShowEvent* event)
{
    m_lookForChanges.start();
    QWidget::showEvent(event);
}

void FrmSCORE::hideEvent(QHideEvent* event)
{
    m_lookForChanges.stop(); // nothing on view to keep up to date
    QWidget::hideEvent(event);
}

} // namespace ui
