#pragma once
// The layout of the record's CSV export, which an import reads back: its
// columns (a round's fields, round_columns.h) and their Japanese headings,
// and how a number and a text are written in a cell so that each reads back
// exactly as it was.

#include "record/round_columns.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace record::csv {

/// The cells of a pose's joints: x and y of each.
inline constexpr int kPoseCells = 2 * static_cast<int>(core::kJointCount);

/// How many cells a column's field takes in a row.
constexpr int cellCount(const RoundColumn& column)
{
    return std::holds_alternative<PoseField>(column.field) ? kPoseCells : 1;
}

/// How many cells the fields of kRoundColumns before the `index`th take.
constexpr int cellsBefore(std::size_t index)
{
    int cells = 0;
    for (std::size_t before = 0; before < index; ++before)
        cells += cellCount(kRoundColumns[before]);
    return cells;
}

/// Where the cells of `field` begin in a row.
constexpr int placeOf(const RoundField& field)
{
    std::size_t index = 0;
    while (index < kRoundColumns.size() && kRoundColumns[index].field != field)
        ++index;
    return cellsBefore(index);
}

/// The places of fields whose cells are edited by hand (by tests, for one).
inline constexpr int Id = placeOf(&RoundRecord::uid), PlayedAt = placeOf(&RoundSummary::playedAt),
                     ElapsedSeconds = placeOf(&RoundSummary::elapsedSeconds), Score = placeOf(&RoundSummary::score),
                     Verdict = placeOf(&RoundSummary::verdict), FirstJoint = placeOf(&RoundRecord::target);
/// The cells of a row.
inline constexpr int ColumnCount = cellsBefore(kRoundColumns.size());

/// The heading of each column, in that order.
const QStringList& headings();

/// A number as the shortest text that reads back to the same double
/// ("inf" and "nan" included): a spreadsheet shows it as people write it.
QString numberText(double value);
/// The number a cell holds; nothing when it holds none.
std::optional<double> numberOf(QStringView cell);

/// A text a spreadsheet would take for a formula is written after an
/// apostrophe, which makes it show as text; so is one that begins with an
/// apostrophe, so that the one in front is always the escape.
QString textCell(const QString& text);
/// The text of such a cell, its escape taken off.
QString textOf(const QString& cell);

} // namespace record::csv
