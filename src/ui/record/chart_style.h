#pragma once
// How the record window's charts look: filling their view, square, the legend
// below, and their words in the window's Japanese font.

class QAbstractAxis;
class QChartView;

namespace ui {

/// Styles the chart of `view`, and puts `time` along its bottom and `values` up its left.
void styleChart(QChartView& view, QAbstractAxis& time, QAbstractAxis& values);

} // namespace ui
