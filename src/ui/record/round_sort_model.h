#pragma once
// The record window's table sorted by the column clicked: numbers as numbers,
// a missing one (a NULL in the file, read as NaN) at one end, and rounds that
// tie in the order they were saved. Rows that come and go are passed on as
// such, not as a reset, so the view keeps its selection and place.

#include <QSortFilterProxyModel>

namespace ui {

class RoundTableModel;

class RoundSortModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit RoundSortModel(RoundTableModel& rounds, QObject* parent = nullptr);

    /// The id of the round at `row`, 0 for none.
    qint64 idAt(int row) const;
    /// The row of the round `id`, -1 for none.
    int rowOf(qint64 id) const;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    const RoundTableModel& m_rounds;
};

} // namespace ui
