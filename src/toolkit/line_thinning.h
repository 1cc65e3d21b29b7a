#pragma once
// Thinning a long line to what a chart can show: of each run of consecutive
// points, the first, the lowest, the highest and the last, so that the line
// drawn through them still reaches every high and low of the whole.

#include "tormell_export.h"

#include <QList>
#include <QPointF>

namespace toolkit {

/// `points` (in the order they are drawn) as they are when there are at most
/// four for each of `runs`; otherwise split into `runs` runs of consecutive
/// points, each kept as its first, lowest, highest and last point, in order.
TORMELL_EXPORT QList<QPointF> thinnedLine(const QList<QPointF>& points, qsizetype runs);

} // namespace toolkit
