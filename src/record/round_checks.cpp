#include "record/round_checks.h"

#include "core/body.h"
#include "core/grid_count.h"

#include <algorithm>

namespace record {

namespace {

// A joint lies on the canvas, 0 to 6,000 twips each way. One ten canvases
// away is no round played, and beyond the 32-bit floats and the pixels the
// canvas draws with, were it far enough.
constexpr double kFurthestTwips = 10 * core::kCanvasSide;
constexpr int kLastYear = 9999;

bool withinReach(double twips)
{
    return std::isfinite(twips) && std::abs(twips) <= kFurthestTwips;
}

bool inYears(const QDate& date)
{
    return date.year() >= 1 && date.year() <= kLastYear;
}

} // namespace

bool drawable(const core::Joints& joints)
{
    return std::all_of(joints.begin(), joints.end(),
        [](const QPointF& joint) { return withinReach(joint.x()) && withinReach(joint.y()); });
}

bool withinRange(const RoundSummary& round)
{
    // A NaN stands for a time the record does not hold, which is not negative.
    return round.score >= 0 && round.score <= kHighestScore && round.gridLines >= 0
        && round.gridLines <= core::kMostGridLines && !(round.displaySeconds < 0) && !(round.elapsedSeconds < 0);
}

bool keepableMoment(const QDateTime& moment)
{
    return moment.isValid() && inYears(moment.date()) && inYears(moment.toUTC().date());
}

} // namespace record
