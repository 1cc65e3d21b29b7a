#include "core/target.h"

#include "toolkit/random_source.h"

#include <algorithm>
#include <cmath>

using namespace core;

namespace {

// Picks 1..5 come from the odd segments (head, forearms, shins) only.
constexpr int kOddOnlyPicks = 5;
// Every picked segment swings by up to this far either way; all but the neck
// get a random extra of up to 0.2 of it on top.
constexpr double kBaseSwing = 80;
constexpr double kExtraSwingFactor = kBaseSwing * 0.2;
// Re-seeds before each segment's first draw.
constexpr int kReseedsPerSegment = 100;

using PickList = toolkit::CheckedArray<qint16, kFirstSegment, kLastSegment>;

bool isPicked(const PickList& picks, int count, int segment)
{
    for (int k = 1; k <= count; ++k)
        if (picks(k) == segment)
            return true;
    return false;
}

} // namespace

PoseAngles core::targetAngles(toolkit::RandomSource& random, qint32 count, const PoseAngles& rest)
{
    PickList picks;
    for (int i = 1; i <= count; ++i) {
        qint16& pick = picks(i); // a count above nine fails here rather than loop for ever
        for (;;) {
            random.reseed();
            const float r = random.next();
            const int p = static_cast<int>(std::floor(9 * static_cast<double>(r))) + 1;
            if (i <= kOddOnlyPicks && p % 2 == 0)
                continue;
            if (isPicked(picks, i - 1, p))
                continue;
            pick = static_cast<qint16>(p);
            break;
        }
    }

    PoseAngles target;
    for (int j = kFirstSegment; j <= kLastSegment; ++j) {
        for (int k = 0; k < kReseedsPerSegment; ++k)
            random.reseed();
        const double s = 2 * static_cast<double>(random.next()) - 1;
        random.reseed();
        const double e = j == 1 ? 0.0 : static_cast<double>(random.next()) * kExtraSwingFactor;
        target(j) = (e + kBaseSwing) * s + rest(j);
        if (!isPicked(picks, std::max(count, 0), j))
            target(j) = rest(j);
    }
    return target;
}
