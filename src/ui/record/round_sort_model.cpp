#include "ui/record/round_sort_model.h"

#include "ui/record/round_table_model.h"

#include <compare>

namespace ui {

namespace {

// How two rounds compare in one column. Doubles go by their total order, so
// that a NaN sorts to one end instead of breaking the sort.
std::weak_ordering compareIn(int column, const RoundTableModel& rounds, int aRow, int bRow)
{
    const record::RoundSummary& a = rounds.roundAt(aRow);
    const record::RoundSummary& b = rounds.roundAt(bRow);
    switch (column) {
    case RoundTableModel::Difficulty:
        return std::weak_order(a.difficulty, b.difficulty);
    case RoundTableModel::DisplayTime:
        return std::weak_order(a.displaySeconds, b.displaySeconds);
    case RoundTableModel::Score:
        return a.score <=> b.score;
    case RoundTableModel::Elapsed:
        return std::weak_order(a.elapsedSeconds, b.elapsedSeconds);
    case RoundTableModel::Verdict:
        return a.verdict.compare(b.verdict) <=> 0;
    default:
        return rounds.playedMsAt(aRow) <=> rounds.playedMsAt(bRow);
    }
}

} // namespace

RoundSortModel::RoundSortModel(RoundTableModel& rounds, QObject* parent)
    : QSortFilterProxyModel(parent), m_rounds(rounds)
{
    setSourceModel(&rounds);
}

qint64 RoundSortModel::idAt(int row) const
{
    return index(row, RoundTableModel::Date).data(RoundTableModel::IdRole).toLongLong();
}

int RoundSortModel::rowOf(qint64 id) const
{
    for (int row = 0; row < m_rounds.rowCount(); ++row)
        if (m_rounds.roundAt(row).id == id)
            return mapFromSource(m_rounds.index(row, RoundTableModel::Date)).row();
    return -1;
}

bool RoundSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const std::weak_ordering order = compareIn(left.column(), m_rounds, left.row(), right.row());
    // The id breaks ties, so equal keys keep the order saved, either way round:
    // a descending sort asks with the two swapped.
    return order == 0 ? m_rounds.roundAt(left.row()).id < m_rounds.roundAt(right.row()).id : order < 0;
}

} // namespace ui
