#pragma once
// How the text of the grid-line box becomes the grid's interval count.

#include <QStringView>

namespace core {

/// The most lines each way the grid has items for (LinBG 1..24).
inline constexpr int kMostGridLines = 11;

/// The leading number of `text` as a line count, clamped to 0..11, plus one
/// for the edge interval, rounded half to even. Any text gives 1..12.
qint16 gridIntervalsFor(QStringView text);

} // namespace core
