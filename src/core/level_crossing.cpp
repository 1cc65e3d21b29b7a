#include "core/level_crossing.h"

#include <cmath>

namespace core {

double levelCrossing(const std::function<double(double)>& f, Sample inside, Sample outside, double level,
    double tolerance, double levelTolerance, int steps)
{
    double above = inside.y - level, below = outside.y - level;
    int retained = 0; // which end the last step kept: +1 the one inside, -1 the one outside
    for (int i = 0; i < steps && std::abs(outside.x - inside.x) > tolerance; ++i) {
        const double x = inside.x + above * (outside.x - inside.x) / (above - below);
        const double gap = f(x) - level;
        if (std::abs(gap) < levelTolerance)
            return x;
        if (gap >= 0) {
            inside.x = x;
            above = gap;
            below /= retained < 0 ? 2 : 1;
            retained = -1;
        } else {
            outside.x = x;
            below = gap;
            above /= retained > 0 ? 2 : 1;
            retained = +1;
        }
    }
    return (inside.x + outside.x) / 2;
}

} // namespace core
