#pragma once
// The rounds of one setting as the record window's table shows them: date,
// difficulty, display time, score, elapsed time and verdict, sortable.

#include "record/round_record.h"

#include <QAbstractTableModel>
#include <QList>

namespace ui {

class RoundTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Date, Difficulty, DisplayTime, Score, Elapsed, Verdict, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    /// Replaces every row; the order stays the one last sorted by.
    void setRounds(QList<record::RoundSummary> rounds);
    const record::RoundSummary& roundAt(int row) const { return m_rounds.at(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void sortRows();

    QList<record::RoundSummary> m_rounds;
    int m_sortColumn = Date;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace ui
