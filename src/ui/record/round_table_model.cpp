#include "ui/record/round_table_model.h"

#include "toolkit/numeric_text.h"

#include <QHash>
#include <QLocale>

#include <algorithm>
#include <compare>

namespace ui {

namespace {

// How two rounds compare in one column. Doubles go by their total order, so
// that a NaN (a NULL in the file) sorts to one end instead of breaking the sort.
std::weak_ordering compareIn(int column, const record::RoundSummary& a, const record::RoundSummary& b)
{
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
        return a.playedAt.toMSecsSinceEpoch() <=> b.playedAt.toMSecsSinceEpoch();
    }
}

} // namespace

void RoundTableModel::setRounds(QList<record::RoundSummary> rounds)
{
    beginResetModel();
    m_rounds = std::move(rounds);
    sortRows();
    endResetModel();
}

int RoundTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rounds.size());
}

int RoundTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RoundTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const record::RoundSummary& round = m_rounds.at(index.row());
    if (role == Qt::TextAlignmentRole)
        return index.column() == Date || index.column() == Verdict ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Date:
        return QLocale().toString(round.playedAt, QLocale::ShortFormat);
    case Difficulty:
        return tk::numberText(round.difficulty);
    case DisplayTime:
        return tk::numberText(round.displaySeconds);
    case Score:
        return tk::numberText(round.score);
    case Elapsed:
        return tk::numberText(round.elapsedSeconds);
    case Verdict:
        return round.verdict;
    default:
        return {};
    }
}

QVariant RoundTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    // The units on a line of their own keep the columns as narrow as their numbers.
    switch (section) {
    case Date:
        return QStringLiteral("日時");
    case Difficulty:
        return QStringLiteral("難易度");
    case DisplayTime:
        return QStringLiteral("表示時間\n（秒）");
    case Score:
        return QStringLiteral("点数");
    case Elapsed:
        return QStringLiteral("経過時間\n（秒）");
    case Verdict:
        return QStringLiteral("判定");
    default:
        return {};
    }
}

void RoundTableModel::sort(int column, Qt::SortOrder order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The selection follows its rounds to their new rows.
    const QModelIndexList before = persistentIndexList();
    QList<qint64> ids;
    for (const QModelIndex& index : before)
        ids.append(m_rounds.at(index.row()).id);
    m_sortColumn = column;
    m_sortOrder = order;
    sortRows();
    QHash<qint64, int> rowOf;
    for (int row = 0; row < rowCount(); ++row)
        rowOf.insert(m_rounds.at(row).id, row);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after.append(this->index(rowOf.value(ids.at(i)), before.at(i).column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void RoundTableModel::sortRows()
{
    const int column = m_sortColumn;
    const bool ascending = m_sortOrder == Qt::AscendingOrder;
    // The id breaks ties, so equal keys keep the order played.
    std::sort(m_rounds.begin(), m_rounds.end(),
              [column, ascending](const record::RoundSummary& a, const record::RoundSummary& b) {
                  const std::weak_ordering order = compareIn(column, a, b);
                  if (order == 0)
                      return ascending ? a.id < b.id : a.id > b.id;
                  return ascending ? order < 0 : order > 0;
              });
}

} // namespace ui
