#include "core/memory_speed.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace core {

namespace {

// The slope β (per natural-log unit of display time) is kept within these.
// From the logistic's 25 % point to its 75 % point the time grows by a factor
// exp(2 ln 3 / β): 9 at the shallowest, 1.25 at the steepest. A shallower
// player would hardly improve over the game's whole 0.05..3 s; a steeper one
// would hold a 75 % point steadier than any person does from day to day, and
// slopes of psychometric functions in log time seldom exceed it. The bound
// matters: when no forgotten round is longer than a remembered one (separable
// data, common with few rounds) the likelihood grows without end as β does,
// and the interval would shrink to nothing. (Simulated players of slopes 2..6
// after 60 staircase rounds are covered alike with any upper bound from 6 to
// 50; after 5 to 20 rounds a lower bound gives wider, better covering intervals.)
constexpr double kShallowestSlope = 1;
constexpr double kSteepestSlope = 10;

// θ = ln t75 is searched over the rounds' display times widened by this
// factor each way, and at least over 0.05..3 s (the coached times) widened
// the same way. Where the profile has not fallen by kProfileDrop at the end of
// that range, the interval is open on that side.
constexpr double kSearchWidening = 2;
constexpr double kShortestSearched = 0.05;
constexpr double kLongestSearched = 3;
// Whatever the rounds say, nothing beyond these is searched: a millisecond
// and ten times the display-time box's longest minute.
constexpr double kSearchFloor = 1e-3;
constexpr double kSearchCeiling = 600;

// The profile is scanned on a grid this fine in ln seconds (about 22 % a step)
// to find the highest peak and where it falls below the interval's level.
constexpr double kGridStep = 0.2;
// The 75 % point and the interval's ends are found to this in ln seconds.
constexpr double kLogTolerance = 1e-5;
// The interval's ends are found once the profile is within this of its level.
constexpr double kLevelTolerance = 1e-8;
// Steps allowed to the peak's and the ends' searches.
constexpr int kSearchSteps = 100;
// A peak closer than this (ln seconds) to an end of the search is no peak.
constexpr double kEdge = 1e-3;
// χ²₁ at 68.27 % is 1: the interval is where the log likelihood is within 1/2 of its maximum.
constexpr double kProfileDrop = 0.5;

// Starting slopes tried at each grid point, besides the last one's best:
// the likelihood in β need not have a single peak once lapses are counted.
constexpr int kSlopeStarts = 4;
constexpr int kNewtonSteps = 40;
constexpr double kLargestLogSlopeStep = 0.5;
constexpr int kHalvings = 30;
// Newton stops once its predicted gain in log likelihood is below this.
constexpr double kGainTolerance = 1e-10;

const double kMinLogSlope = std::log(kShallowestSlope);
const double kMaxLogSlope = std::log(kSteepestSlope);
const double kLogKept = std::log1p(-kLapseRate);
// z = β (ln t - θ) + kOffset puts p = 0.75 at ln t = θ: (1 - λ) F(kOffset) = 0.75.
const double kOffset = [] {
    const double f = 0.75 / (1 - kLapseRate);
    return std::log(f / (1 - f));
}();

/// The rounds at one display time.
struct Group {
    double logSeconds = 0;
    double rounds = 0;
    double remembered = 0;
};

/// Log likelihood at (θ, u = ln β), with its first and second derivative in u.
struct Point {
    double logSlope = 0;
    double ll = 0;
    double du = 0;
    double duu = 0;
};

class Likelihood {
public:
    explicit Likelihood(std::vector<Group> groups)
        : m_groups(std::move(groups))
    {
    }

    Point at(double theta, double logSlope) const
    {
        const double slope = std::exp(logSlope);
        double ll = 0, dSlope = 0, dSlope2 = 0;
        for (const Group& g : m_groups) {
            const double d = g.logSeconds - theta;
            const double z = slope * d + kOffset;
            const double e = std::exp(-std::abs(z));
            const double f = z >= 0 ? 1 / (1 + e) : e / (1 + e); // F(z)
            const double logF = z >= 0 ? -std::log1p(e) : z - std::log1p(e);
            const double fPrime = e / ((1 + e) * (1 + e)); // F(1 - F)
            const double p = (1 - kLapseRate) * f;
            const double q = 1 - p; // at least the lapse rate
            const double forgotten = g.rounds - g.remembered;
            // d/dz and d²/dz² of the group's log likelihood.
            double gz = 0, hz = 0;
            if (g.remembered > 0) {
                ll += g.remembered * (kLogKept + logF);
                gz += g.remembered * (1 - f);
                hz -= g.remembered * fPrime;
            }
            if (forgotten > 0) {
                const double kept = (1 - kLapseRate) * fPrime;
                ll += forgotten * std::log(q);
                gz -= forgotten * kept / q;
                hz -= forgotten * kept * ((1 - 2 * f) * q + kept) / (q * q);
            }
            dSlope += gz * d;
            dSlope2 += hz * d * d;
        }
        return {logSlope, ll, slope * dSlope, slope * dSlope + slope * slope * dSlope2};
    }

    /// The most likely slope at θ, by Newton's method in ln β from `start`,
    /// kept within the bounds and never stepping downhill.
    Point profile(double theta, double startLogSlope) const
    {
        Point here = at(theta, std::clamp(startLogSlope, kMinLogSlope, kMaxLogSlope));
        for (int i = 0; i < kNewtonSteps; ++i) {
            double step = here.duu < 0 ? -here.du / here.duu : std::copysign(kLargestLogSlopeStep, here.du);
            if (here.duu < 0 && 0.5 * here.du * step < kGainTolerance)
                break;
            step = std::clamp(step, -kLargestLogSlopeStep, kLargestLogSlopeStep);
            double next = std::clamp(here.logSlope + step, kMinLogSlope, kMaxLogSlope);
            if (next == here.logSlope)
                break; // against a bound, the likelihood still rising beyond it
            Point there = at(theta, next);
            for (int h = 0; h < kHalvings && there.ll < here.ll; ++h) {
                next = here.logSlope + (next - here.logSlope) / 2;
                there = at(theta, next);
            }
            if (there.ll < here.ll)
                break;
            here = there;
        }
        return here;
    }

    /// The profile at θ from the best of several starting slopes and `previous`.
    Point searchedProfile(double theta, double previous) const
    {
        Point best = at(theta, previous);
        for (int i = 0; i < kSlopeStarts; ++i) {
            const double start = kMinLogSlope + (kMaxLogSlope - kMinLogSlope) * (i + 0.5) / kSlopeStarts;
            const Point here = at(theta, start);
            if (here.ll > best.ll)
                best = here;
        }
        return profile(theta, best.logSlope);
    }

private:
    std::vector<Group> m_groups;
};

/// The usable trials by display time, in no particular order: a hash of the
/// distinct times rather than a sort of every round.
std::vector<Group> grouped(std::span<const Trial> trials)
{
    std::unordered_map<double, std::size_t> index;
    std::vector<Group> groups;
    for (const Trial& trial : trials) {
        if (!usable(trial))
            continue;
        const auto [at, added] = index.try_emplace(trial.displaySeconds, groups.size());
        if (added)
            groups.push_back({std::log(trial.displaySeconds), 0, 0});
        Group& group = groups[at->second];
        group.rounds += 1;
        group.remembered += trial.remembered ? 1 : 0;
    }
    return groups;
}

/// The profile on the search grid, the highest peak and the interval around it.
class ProfileSearch {
public:
    ProfileSearch(const Likelihood& likelihood, double lo, double hi)
        : m_likelihood(likelihood)
    {
        const auto steps = static_cast<int>(std::ceil((hi - lo) / kGridStep));
        double previous = (kMinLogSlope + kMaxLogSlope) / 2;
        for (int i = 0; i <= steps; ++i) {
            const double theta = lo + (hi - lo) * i / steps;
            const Point p = m_likelihood.searchedProfile(theta, previous);
            m_grid.push_back({theta, p});
            previous = p.logSlope;
        }
    }

    /// The 75 % point and its interval in seconds, or nothing when the highest
    /// profile lies at an end of the search.
    std::optional<MemorySpeed> fit()
    {
        const auto best
            = static_cast<std::size_t>(std::max_element(m_grid.begin(), m_grid.end(), [](const Node& a, const Node& b) {
                  return a.profile.ll < b.profile.ll;
              }) - m_grid.begin());
        const Node peak = refinedPeak(best);
        if (peak.theta - m_grid.front().theta < kEdge || m_grid.back().theta - peak.theta < kEdge)
            return std::nullopt;
        const double level = peak.profile.ll - kProfileDrop;
        const std::optional<double> low = end(peak, level, -1);
        const std::optional<double> high = end(peak, level, +1);
        return MemorySpeed {std::exp(peak.theta), low ? std::exp(*low) : 0.0,
            high ? std::exp(*high) : std::numeric_limits<double>::infinity()};
    }

private:
    struct Node {
        double theta = 0;
        Point profile;
    };

    Node at(double theta, double startLogSlope) const { return {theta, m_likelihood.profile(theta, startLogSlope)}; }

    /// The profile's maximum between the grid's neighbours of its best node,
    /// by Brent's method (parabolic steps, golden sections when they fail).
    Node refinedPeak(std::size_t best) const
    {
        constexpr double kGolden = 0.381966011250105; // (3 - sqrt 5) / 2
        constexpr double tol = kLogTolerance / 2;
        double a = m_grid[best == 0 ? 0 : best - 1].theta;
        double b = m_grid[std::min(best + 1, m_grid.size() - 1)].theta;
        Node x = m_grid[best], w = x, v = x; // the best, second best and previous second best
        double d = 0, e = 0;
        for (int i = 0; i < kSearchSteps; ++i) {
            const double middle = (a + b) / 2;
            if (std::abs(x.theta - middle) <= 2 * tol - (b - a) / 2)
                break;
            // Brent's minimisation of -ll.
            const double fx = -x.profile.ll, fw = -w.profile.ll, fv = -v.profile.ll;
            bool golden = true;
            if (std::abs(e) > tol) {
                const double r = (x.theta - w.theta) * (fx - fv);
                double q = (x.theta - v.theta) * (fx - fw);
                double p = (x.theta - v.theta) * q - (x.theta - w.theta) * r;
                q = 2 * (q - r);
                if (q > 0)
                    p = -p;
                q = std::abs(q);
                const double previous = e;
                e = d;
                if (std::abs(p) < std::abs(q * previous / 2) && p > q * (a - x.theta) && p < q * (b - x.theta)) {
                    d = p / q;
                    const double u = x.theta + d;
                    if (u - a < 2 * tol || b - u < 2 * tol)
                        d = std::copysign(tol, middle - x.theta);
                    golden = false;
                }
            }
            if (golden) {
                e = x.theta >= middle ? a - x.theta : b - x.theta;
                d = kGolden * e;
            }
            const Node u = at(std::abs(d) >= tol ? x.theta + d : x.theta + std::copysign(tol, d), x.profile.logSlope);
            if (u.profile.ll >= x.profile.ll) {
                (u.theta >= x.theta ? a : b) = x.theta;
                v = w;
                w = x;
                x = u;
            } else {
                (u.theta < x.theta ? a : b) = u.theta;
                if (u.profile.ll >= w.profile.ll || w.theta == x.theta) {
                    v = w;
                    w = u;
                } else if (u.profile.ll >= v.profile.ll || v.theta == x.theta || v.theta == w.theta) {
                    v = u;
                }
            }
        }
        return x;
    }

    /// The interval's end on the side `direction` (-1 below, +1 above): the
    /// outermost θ where the profile reaches `level`, or nothing when it still
    /// does at the end of the search.
    std::optional<double> end(const Node& peak, double level, int direction) const
    {
        std::vector<Node> side; // the grid beyond the peak, nearest first
        for (const Node& n : m_grid)
            if (direction * (n.theta - peak.theta) > 0)
                side.push_back(n);
        if (direction < 0)
            std::reverse(side.begin(), side.end());
        const auto outermost
            = std::find_if(side.rbegin(), side.rend(), [&](const Node& n) { return n.profile.ll >= level; });
        if (outermost == side.rbegin())
            return std::nullopt; // at the level to the end of the search
        // The crossing between a node at the level and one below it, by the
        // Illinois variant of regula falsi.
        Node in = outermost == side.rend() ? peak : *outermost;
        Node out = *std::prev(outermost);
        double above = in.profile.ll - level, below = out.profile.ll - level;
        int retained = 0; // which end the last step kept: +1 the one inside, -1 the one outside
        for (int i = 0; i < kSearchSteps && std::abs(out.theta - in.theta) > kLogTolerance; ++i) {
            const Node next = at(in.theta + above * (out.theta - in.theta) / (above - below), in.profile.logSlope);
            const double gap = next.profile.ll - level;
            if (std::abs(gap) < kLevelTolerance)
                return next.theta;
            if (gap >= 0) {
                in = next;
                above = gap;
                below /= retained < 0 ? 2 : 1;
                retained = -1;
            } else {
                out = next;
                below = gap;
                above /= retained > 0 ? 2 : 1;
                retained = +1;
            }
        }
        return (in.theta + out.theta) / 2;
    }

    const Likelihood& m_likelihood;
    std::vector<Node> m_grid;
};

} // namespace

MemorySpeedFit memorySpeed(std::span<const Trial> trials)
{
    MemorySpeedFit result;
    std::vector<Group> groups = grouped(trials);
    result.distinctTimes = static_cast<int>(groups.size());
    for (const Group& g : groups) {
        result.remembered += static_cast<int>(g.remembered);
        result.forgotten += static_cast<int>(g.rounds - g.remembered);
    }

    // With every round remembered (or every one forgotten) the likelihood only
    // rises towards an end of the search: there is no peak to report.
    if (result.remembered > 0 && result.forgotten > 0) {
        const auto [shortest, longest] = std::minmax_element(
            groups.begin(), groups.end(), [](const Group& a, const Group& b) { return a.logSeconds < b.logSeconds; });
        const double lo
            = std::max(std::min(shortest->logSeconds, std::log(kShortestSearched)) - std::log(kSearchWidening),
                std::log(kSearchFloor));
        const double hi
            = std::min(std::max(longest->logSeconds, std::log(kLongestSearched)) + std::log(kSearchWidening),
                std::log(kSearchCeiling));
        const Likelihood likelihood(std::move(groups));
        result.fitted = ProfileSearch(likelihood, lo, hi).fit();
    }

    using Missing = MemorySpeedFit::Missing;
    if (result.distinctTimes < kMinDistinctTimes)
        result.missing = Missing::DistinctTimes;
    else if (result.remembered == 0)
        result.missing = Missing::Remembered;
    else if (result.forgotten == 0)
        result.missing = Missing::Forgotten;
    else if (!result.fitted || result.fitted->low <= 0 || !std::isfinite(result.fitted->high)
        || result.fitted->high > kMaxIntervalRatio * result.fitted->low)
        result.missing = Missing::Precision;
    else {
        result.missing = Missing::None;
        result.estimate = result.fitted;
    }
    return result;
}

} // namespace core
