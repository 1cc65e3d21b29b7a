#pragma once
// The player's place in the record window, kept as the record changes under
// it: the view chosen in the list (a setting or a whole difficulty), the
// rounds chosen in the table (by id, whatever their rows) and the rounds
// scrolled to.

#include "record/round_record.h"
#include "ui/record/record_view.h"

#include <QList>

#include <functional>
#include <optional>

class QComboBox;
class QTableView;

namespace ui {

class RoundSortModel;
class RoundTableModel;

class PlayerPlace {
public:
    PlayerPlace(QComboBox& settingList, QTableView& table, RoundTableModel& rounds, RoundSortModel& sorted);

    /// Lists the views of `settings`, staying with the one on view; at
    /// first, or once it is gone, on the one `latest` gives. The list is
    /// filled again only when it changed, so that an open list stays open.
    void listSettings(
        const QList<record::PlayedSetting>& settings, const std::function<std::optional<RecordView>()>& latest);
    const QList<RecordView>& views() const { return m_views; }
    /// The view chosen; none while nothing is listed.
    const RecordView* view() const;

    /// Puts `rounds` in the table: a player on the newest round (as after a
    /// save), or on none, moves on to the newest; any other choice stays, as
    /// does the round at the top of a scrolled table.
    void showRounds(const QList<record::RoundSummary>& rounds);
    /// The ids of the rounds chosen in the table.
    QList<qint64> selectedIds() const;

private:
    QComboBox& m_settingList;
    QTableView& m_table;
    RoundTableModel& m_rounds;
    RoundSortModel& m_sorted;
    QList<RecordView> m_views;
};

} // namespace ui
