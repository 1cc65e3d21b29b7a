#pragma once
// Where a function of one variable falls through a level.

#include "core/maximum.h"

#include <functional>

namespace core {

/// The x between `inside` (at or above `level`) and `outside` (below it)
/// where `f` reaches `level`, by the Illinois variant of regula falsi (the
/// secant through the bracket's ends, the retained end's value halved when
/// the same end is kept twice, so the bracket shrinks from both sides). Stops
/// once the bracket is `tolerance` wide, `f` is within `levelTolerance` of the
/// level, or after `steps` evaluations.
double levelCrossing(const std::function<double(double)>& f, Sample inside, Sample outside, double level,
    double tolerance, double levelTolerance, int steps);

} // namespace core
