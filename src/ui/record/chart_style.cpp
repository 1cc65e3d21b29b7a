#include "ui/record/chart_style.h"

#include <QAbstractAxis>
#include <QChartView>
#include <QGraphicsLayout>
#include <QLegend>

namespace ui {

namespace {
// Room for the plot: the chart fills its view without a frame of its own.
constexpr int kChartMargin = 4;
} // namespace

void styleChart(QChartView& view, QAbstractAxis& time, QAbstractAxis& values)
{
    view.setRenderHint(QPainter::Antialiasing);
    QChart* chart = view.chart();
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setMargins(QMargins(kChartMargin, kChartMargin, kChartMargin, kChartMargin));
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignBottom);
    // Every word of the chart in the window's Japanese font and weight. The
    // theme's own Arial would send Qt through its fallbacks for every Japanese
    // word and load a Latin face besides; its bold axis titles would load the
    // bold Japanese face for two words.
    const QFont font = view.font();
    chart->legend()->setFont(font);
    chart->setTitleFont(font);
    for (QAbstractAxis* axis : {&time, &values}) {
        axis->setTitleFont(font);
        axis->setLabelsFont(font);
    }
    chart->addAxis(&time, Qt::AlignBottom);
    chart->addAxis(&values, Qt::AlignLeft);
}

} // namespace ui
