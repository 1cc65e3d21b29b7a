#include "core/staircase.h"

#include <algorithm>
#include <cmath>

namespace core {

namespace {

constexpr double kHundredths = 100;
constexpr double kStepsPerDoubling = 4;

} // namespace

double coachedSeconds(double seconds)
{
    if (std::isnan(seconds))
        return kLongestCoachedSeconds;
    // Clamped before rounding, so that a huge time cannot overflow the scaling.
    const double kept = std::clamp(seconds, kShortestCoachedSeconds, kLongestCoachedSeconds);
    // Within these bounds a step down changes a time by at least 0.006 s and a
    // step up by more, so rounding to hundredths never holds the staircase still
    // short of a bound.
    return std::clamp(std::round(kept * kHundredths) / kHundredths, kShortestCoachedSeconds, kLongestCoachedSeconds);
}

double stepped(double seconds, bool remembered)
{
    const int steps = remembered ? -kStepsDownAfterRemembered : kStepsUpAfterForgotten;
    return coachedSeconds(seconds * std::exp2(steps / kStepsPerDoubling));
}

double nextDisplaySeconds(std::span<const Trial> coachedRounds, double startSeconds)
{
    const auto last = std::find_if(coachedRounds.rbegin(), coachedRounds.rend(), usable);
    if (last == coachedRounds.rend())
        return coachedSeconds(startSeconds);
    const bool reversed = std::any_of(coachedRounds.begin(), coachedRounds.end(),
        [&](const Trial& trial) { return usable(trial) && trial.remembered != last->remembered; });
    if (!reversed)
        return coachedSeconds(last->displaySeconds * (last->remembered ? 1 / kFirstStep : kFirstStep));
    return stepped(last->displaySeconds, last->remembered);
}

} // namespace core
