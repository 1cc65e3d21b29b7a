#pragma once
// The rounds on view as the record window's table shows them: date,
// difficulty, display time, score, elapsed time and verdict. Rows stay in the
// order they came; RoundSortModel sorts them for the view.

#include "record/round_record.h"

#include <QAbstractTableModel>
#include <QList>
#include <vector>

namespace ui {

class RoundTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Date, Difficulty, DisplayTime, Score, Elapsed, Verdict, ColumnCount };
    /// The round's id, as a qint64, in every column.
    static constexpr int IdRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    /// Follows the record to `rounds`: rows no longer in it are removed, new
    /// ones inserted, and the rest stay, so a view keeps its selection and
    /// place. With no row staying, the model is reset instead.
    void setRounds(const QList<record::RoundSummary>& rounds);
    const record::RoundSummary& roundAt(int row) const { return m_rounds.at(row); }
    /// The moment of the round at `row`, in milliseconds since 1970: what the
    /// table sorts by most, worked out once for each row rather than at each of
    /// the many comparisons a sort of thousands makes.
    qint64 playedMsAt(int row) const { return m_playedMs.at(static_cast<std::size_t>(row)); }
    /// The id of the round saved last; 0 with none.
    qint64 newestId() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    /// m_playedMs for the rows from `first` on, the rest kept.
    void keepMomentsFrom(qsizetype first);

    QList<record::RoundSummary> m_rounds;
    std::vector<qint64> m_playedMs; // beside m_rounds, row for row
};

} // namespace ui
