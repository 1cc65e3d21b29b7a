#pragma once
// The layout of the record's CSV export, which an import reads back: its
// columns and their Japanese headings, and how a number and a text are
// written in a cell so that each reads back exactly as it was.

#include "core/joints.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace record::csv {

/// Cells of both poses' joints: x and y of each target joint, then of each player joint.
inline constexpr int kJointCells = 2 * 2 * static_cast<int>(core::kJointCount);

/// The columns in the order the export writes them.
enum Column {
    Id,
    PlayedAt,
    Difficulty,
    DisplaySeconds,
    ElapsedSeconds,
    Score,
    Verdict,
    GridLines,
    FirstJoint,
    // Added after the joints so that the columns before keep their places.
    Coached = FirstJoint + kJointCells,
    Damaged,
    NearRest,
    ColumnCount
};

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
