#include "core/coach.h"

#include <cmath>

namespace core {

bool nearRest(const Joints& rest, const Joints& target)
{
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const QPointF moved = target[i] - rest[i];
        if (std::hypot(moved.x(), moved.y()) > kNearRestTwips)
            return false;
    }
    return true;
}

} // namespace core
