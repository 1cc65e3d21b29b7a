#include "toolkit/line_thinning.h"

#include <algorithm>
#include <array>

namespace toolkit {

QList<QPointF> thinnedLine(const QList<QPointF>& points, qsizetype runs)
{
    constexpr qsizetype kKeptPerRun = 4; // first, lowest, highest, last
    const qsizetype count = points.size();
    if (runs <= 0 || count <= kKeptPerRun * runs)
        return points;
    QList<QPointF> kept;
    kept.reserve(kKeptPerRun * runs);
    const auto byHeight = [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); };
    for (qsizetype run = 0; run < runs; ++run) {
        const qsizetype first = count * run / runs;
        const qsizetype end = count * (run + 1) / runs;
        const auto [low, high] = std::minmax_element(points.begin() + first, points.begin() + end, byHeight);
        std::array<qsizetype, kKeptPerRun> picked {first, low - points.begin(), high - points.begin(), end - 1};
        std::sort(picked.begin(), picked.end());
        for (std::size_t i = 0; i < picked.size(); ++i)
            if (i == 0 || picked[i] != picked[i - 1])
                kept.append(points[picked[i]]);
    }
    return kept;
}

} // namespace toolkit
