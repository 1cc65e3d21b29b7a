#pragma once
// The maximum of a function of one variable inside a bracket.

#include <functional>

namespace core {

/// A point of a function: where, and its value there.
struct Sample {
    double x = 0;
    double y = 0;
};

/// The highest point of `f` between `low` and `high`, found from `best`
/// (a point inside the bracket at least as high as its ends) by Brent's
/// method: parabolic steps through the three best points, golden sections
/// where a parabola would not shrink the bracket. Stops once the bracket is
/// `tolerance` wide around the best point, or after `steps` evaluations.
Sample maximumBetween(
    const std::function<double(double)>& f, double low, double high, Sample best, double tolerance, int steps);

} // namespace core
