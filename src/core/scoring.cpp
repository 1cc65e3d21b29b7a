#include "core/scoring.h"

#include <cmath>

namespace core {

using core::X2;
using core::Y2;

double matchRatio(const core::PoseCoords& rest, const core::PoseCoords& target,
                  const core::PoseCoords& player)
{
    double displacement = 0;
    double error = 0;
    for (int i = core::kFirstSegment; i <= core::kLastSegment; ++i) {
        const double restX = rest(X2, i), restY = rest(Y2, i);
        const double targetX = target(X2, i), targetY = target(Y2, i);
        // A joint that kept its x or its y exactly was not moved by the target.
        if (restX - targetX == 0 || restY - targetY == 0)
            continue;
        displacement += std::sqrt(std::pow(targetY - restY, 2) + std::pow(targetX - restX, 2));
        error += std::sqrt(std::pow(player(Y2, i) - targetY, 2) + std::pow(player(X2, i) - targetX, 2));
    }
    if (displacement == 0)
        return 1.0;
    return 1 - error / displacement;
}

QString verdictFor(double ratio)
{
    if (ratio <= 1.0 / 5)
        return QStringLiteral("××　だめ！　××");
    if (ratio <= 2.0 / 5)
        return QStringLiteral("　×もっとがんばれ×　");
    if (ratio <= 3.0 / 5)
        return QStringLiteral("△△　ふつう　△△");
    if (ratio <= 4.0 / 5)
        return QStringLiteral("○○　ＧＯＯＤ！！　○○");
    return QStringLiteral("◎◎ ＶＥＲＹ　ＧＯＯＤ！！ ◎◎");
}

double scoreFor(double ratio)
{
    return std::floor(std::max(ratio * 100, 0.0));
}

} // namespace core
