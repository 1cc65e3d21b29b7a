#include "ui/record/player_place.h"

#include "ui/record/record_texts.h"
#include "ui/record/round_sort_model.h"
#include "ui/record/round_table_model.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>

#include <algorithm>

namespace ui {

PlayerPlace::PlayerPlace(QComboBox& settingList, QTableView& table, RoundTableModel& rounds, RoundSortModel& sorted)
    : m_settingList(settingList)
    , m_table(table)
    , m_rounds(rounds)
    , m_sorted(sorted)
{
}

void PlayerPlace::listSettings(
    const QList<record::PlayedSetting>& settings, const std::function<std::optional<RecordView>()>& latest)
{
    QList<RecordView> views = viewsOf(settings);
    if (views == m_views)
        return;
    const RecordView* chosen = view();
    qsizetype index = chosen ? views.indexOf(*chosen) : -1;
    m_views = std::move(views);
    if (index < 0) {
        if (const std::optional<RecordView> last = latest())
            index = m_views.indexOf(*last);
    }
    const QSignalBlocker quiet(&m_settingList);
    m_settingList.clear();
    for (const RecordView& each : std::as_const(m_views))
        m_settingList.addItem(viewText(each));
    m_settingList.setCurrentIndex(static_cast<int>(std::max<qsizetype>(index, m_views.isEmpty() ? -1 : 0)));
}

const RecordView* PlayerPlace::view() const
{
    const int index = m_settingList.currentIndex();
    return index >= 0 && index < m_views.size() ? &m_views.at(index) : nullptr;
}

void PlayerPlace::showRounds(const QList<record::RoundSummary>& rounds)
{
    // One who has just saved wants to see the round saved.
    const bool onNewest = selectedIds() == QList<qint64> {m_rounds.newestId()};
    const QScrollBar& scroll = *m_table.verticalScrollBar();
    const qint64 top = scroll.value() > scroll.minimum() ? m_sorted.idAt(m_table.rowAt(0)) : 0;

    m_rounds.setRounds(rounds);

    const int newest = m_sorted.rowOf(m_rounds.newestId());
    if ((onNewest || selectedIds().isEmpty()) && newest >= 0) {
        const QModelIndex row = m_sorted.index(newest, RoundTableModel::Date);
        m_table.selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_table.scrollTo(row);
    }
    if (const int topRow = m_sorted.rowOf(top); topRow >= 0)
        m_table.scrollTo(m_sorted.index(topRow, RoundTableModel::Date), QAbstractItemView::PositionAtTop);
}

QList<qint64> PlayerPlace::selectedIds() const
{
    QList<qint64> ids;
    for (const QModelIndex& row : m_table.selectionModel()->selectedRows())
        ids.append(m_sorted.idAt(row.row()));
    return ids;
}

} // namespace ui
