#include "core/memory_speed.h"

#include "core/level_crossing.h"
#include "core/maximum.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>

namespace core {
namespace {

// The prior on the slope β (per natural-log unit of display time): ln β is
// taken as normal around ln 3 with a spread of 0.6, so that two slopes in
// three lie within 1.6..5.5, where people's psychometric slopes in log time
// mostly do; from the logistic's 25 % point to its 75 % point the time then
// grows by a factor of 1.5 to 4. Without it, rounds that no slope separates
// badly (every forgotten round shorter than every remembered one, common
// with few rounds) make the likelihood grow without end as β does, and the
// interval's width would come from a bound, not from the rounds.
constexpr double kTypicalSlope = 3;
constexpr double kSlopeSpread = 0.6;
// β is searched within these, far enough out that the prior, not the bounds, holds it.
constexpr double kShallowestSlope = 0.5;
constexpr double kSteepestSlope = 20;
// At each θ of the grid the slopes are scanned at this many points evenly
// spaced in ln β, both bounds among them, and the best refined: the penalised
// likelihood in β need not have a single peak once lapses are counted, and
// its highest may lie at a bound. (Against a scan of 200 slopes, on 1,700
// fits of simulated players with slopes from 1.2 to 9 and lapses up to 15 %,
// five points found the same maximum every time.)
constexpr int kSlopeScanPoints = 5;

// θ = ln t75 is searched over the rounds' display times widened by this
// factor each way, and at least over 0.05..3 s (the coached times) widened
// the same way. Where the profile has not fallen by kProfileDrop at the end
// of that range, the interval is open on that side.
constexpr double kSearchWidening = 2;
constexpr double kShortestSearched = 0.05;
constexpr double kLongestSearched = 3;
// Whatever the rounds say, nothing beyond these is searched: a millisecond
// and ten times the display-time box's longest minute.
constexpr double kSearchFloor = 1e-3;
constexpr double kSearchCeiling = 600;

// The profile is scanned on a grid this fine in ln seconds (about 28 % a step)
// to find the highest peak and where it falls below the interval's level.
constexpr double kGridStep = 0.25;
// The 75 % point and the interval's ends are found to this in ln seconds.
constexpr double kLogTolerance = 1e-4;
// The interval's ends are found once the profile is within this of its level.
constexpr double kLevelTolerance = 1e-6;
// Evaluations allowed to the peak's and the ends' searches.
constexpr int kSearchSteps = 100;
// A peak closer than this (ln seconds) to an end of the search is no peak.
constexpr double kEdge = 1e-3;
// χ²₁ at 68.27 % is 1: the interval is where the profile is within 1/2 of its maximum.
constexpr double kProfileDrop = 0.5;

// Newton's method in ln β, from the best slope scanned.
constexpr int kNewtonSteps = 40;
constexpr double kLargestLogSlopeStep = 0.5;
constexpr int kHalvings = 30;
// Newton stops once its predicted gain is below this.
constexpr double kGainTolerance = 1e-10;

const double kMinLogSlope = std::log(kShallowestSlope);
const double kMaxLogSlope = std::log(kSteepestSlope);
const double kLogTypicalSlope = std::log(kTypicalSlope);
const double kLogKept = std::log1p(-kLapseRate);
// z = β (ln t - θ) + kOffset puts p = 0.75 at ln t = θ: (1 - λ) F(kOffset) = 0.75.
const double kOffset = [] {
    const double f = 0.75 / (1 - kLapseRate);
    return std::log(f / (1 - f));
}();

/// The rounds at one display time, as the likelihood reads them.
struct Group {
    double logSeconds = 0;
    int remembered = 0;
    int forgotten = 0;
};

/// The penalised log likelihood at (θ, u = ln β), with its first and second derivative in u.
struct Point {
    double logSlope = 0;
    double value = 0;
    double du = 0;
    double duu = 0;
};

class PenalisedLikelihood {
public:
    explicit PenalisedLikelihood(std::span<const TimeGroup> groups)
    {
        m_groups.reserve(groups.size());
        for (const TimeGroup& g : groups)
            m_groups.push_back({std::log(g.seconds), g.remembered, g.rounds - g.remembered});
    }

    /// The penalised likelihood at θ, maximised over the slope: the best of a
    /// scan of slopes, refined.
    Point profile(double theta) const
    {
        Point best = at(theta, kMinLogSlope);
        for (int i = 1; i < kSlopeScanPoints; ++i) {
            const Point here = at(theta, kMinLogSlope + (kMaxLogSlope - kMinLogSlope) * i / (kSlopeScanPoints - 1));
            if (here.value > best.value)
                best = here;
        }
        return climbed(theta, best);
    }

    /// The same near a θ whose profile is known: refined from that θ's best slope.
    Point profileNear(double theta, double knownLogSlope) const { return climbed(theta, at(theta, knownLogSlope)); }

private:
    // With e = exp(-|z|) and w = 1 + e, a group's share of the log likelihood is
    //   k ln p + m ln q = k (ln(1 - λ) + min(z, 0)) + ln(q^m (1/w)^k),
    // k rounds remembered and m forgotten. The logs of all groups are taken
    // as one, of the product of their q^m (1/w)^k: a log is dearer than the
    // few products it replaces, and a fit evaluates the likelihood hundreds of
    // times. Each factor lies within 1e-128..1 while k and m are at most
    // kLargestPower (q and 1/w are at least 0.02 and 1/2), so a product
    // brought back above 2^-500 whenever it falls below cannot underflow; a
    // group of more rounds takes its logs itself.
    static constexpr int kLargestPower = 64;
    static constexpr double kRescaleBelow = 0x1p-500;
    static constexpr double kRescale = 0x1p500;
    static constexpr int kRescaleBits = 500;

    static double power(double x, int n)
    {
        double result = 1;
        for (; n > 0; n >>= 1, x *= x)
            if (n & 1)
                result *= x;
        return result;
    }

    Point at(double theta, double logSlope) const
    {
        const double slope = std::exp(logSlope);
        double ll = 0, product = 1, dSlope = 0, dSlope2 = 0;
        int rescaled = 0; // the product is the true one times 2^(kRescaleBits * rescaled)
        for (const Group& g : m_groups) {
            const double d = g.logSeconds - theta;
            const double z = slope * d + kOffset;
            const double e = std::exp(-std::abs(z));
            const double inverse = 1 / (1 + e);
            const double f = z >= 0 ? inverse : e * inverse; // F(z)
            const double fPrime = e * inverse * inverse; // F(1 - F)
            const double q = 1 - (1 - kLapseRate) * f; // forgotten: at least the lapse rate
            ll += g.remembered * (kLogKept + std::min(z, 0.0));
            if (g.remembered <= kLargestPower && g.forgotten <= kLargestPower) {
                product *= power(q, g.forgotten) * power(inverse, g.remembered);
                if (product < kRescaleBelow) {
                    product *= kRescale;
                    ++rescaled;
                }
            } else {
                ll += g.forgotten * std::log(q) + g.remembered * std::log(inverse);
            }
            // d/dz and d²/dz² of the group's log likelihood.
            const double kept = (1 - kLapseRate) * fPrime;
            const double gz = g.remembered * (1 - f) - g.forgotten * kept / q;
            const double hz = -g.remembered * fPrime - g.forgotten * kept * ((1 - 2 * f) * q + kept) / (q * q);
            dSlope += gz * d;
            dSlope2 += hz * d * d;
        }
        ll += std::log(product) - rescaled * kRescaleBits * std::numbers::ln2;
        // The prior's log density in u, and its derivatives.
        const double spread2 = kSlopeSpread * kSlopeSpread;
        const double fromTypical = logSlope - kLogTypicalSlope;
        return {logSlope, ll - fromTypical * fromTypical / (2 * spread2), slope * dSlope - fromTypical / spread2,
            slope * dSlope + slope * slope * dSlope2 - 1 / spread2};
    }

    /// Newton's method in ln β from `here`, kept within the bounds and never stepping downhill.
    Point climbed(double theta, Point here) const
    {
        for (int i = 0; i < kNewtonSteps; ++i) {
            double step = here.duu < 0 ? -here.du / here.duu : std::copysign(kLargestLogSlopeStep, here.du);
            if (here.duu < 0 && 0.5 * here.du * step < kGainTolerance)
                break;
            step = std::clamp(step, -kLargestLogSlopeStep, kLargestLogSlopeStep);
            double next = std::clamp(here.logSlope + step, kMinLogSlope, kMaxLogSlope);
            if (next == here.logSlope)
                break; // against a bound, still rising beyond it
            Point there = at(theta, next);
            for (int h = 0; h < kHalvings && there.value < here.value; ++h) {
                next = here.logSlope + (next - here.logSlope) / 2;
                there = at(theta, next);
            }
            if (there.value < here.value)
                break;
            here = there;
        }
        return here;
    }

    std::vector<Group> m_groups;
};

/// The profile on a grid over the search range, its highest peak and the interval around it.
class ProfileSearch {
public:
    ProfileSearch(const ProfileSearch&) = delete;
    ProfileSearch& operator=(const ProfileSearch&) = delete;
    ProfileSearch(const PenalisedLikelihood& likelihood, double lo, double hi)
        : m_likelihood(likelihood)
        , m_profile([this](double theta) { return profileBetweenNodes(theta); })
    {
        const auto steps = static_cast<int>(std::ceil((hi - lo) / kGridStep));
        m_grid.reserve(static_cast<std::size_t>(steps) + 1);
        m_slopes.reserve(static_cast<std::size_t>(steps) + 1);
        for (int i = 0; i <= steps; ++i) {
            const double theta = lo + (hi - lo) * i / steps;
            const Point best = m_likelihood.profile(theta);
            m_grid.push_back({theta, best.value});
            m_slopes.push_back(best.logSlope);
        }
    }

    /// The 75 % point and its interval in seconds, or nothing when the highest
    /// profile lies at an end of the search.
    std::optional<MemorySpeed> fit()
    {
        const auto best = static_cast<std::size_t>(
            std::max_element(m_grid.begin(), m_grid.end(), [](const Sample& a, const Sample& b) { return a.y < b.y; })
            - m_grid.begin());
        const Sample peak = maximumBetween(m_profile, m_grid[best == 0 ? 0 : best - 1].x,
            m_grid[std::min(best + 1, m_grid.size() - 1)].x, m_grid[best], kLogTolerance, kSearchSteps);
        if (peak.x - m_grid.front().x < kEdge || m_grid.back().x - peak.x < kEdge)
            return std::nullopt;
        const double level = peak.y - kProfileDrop;
        const std::optional<double> low = end(peak, level, -1);
        const std::optional<double> high = end(peak, level, +1);
        return MemorySpeed {std::exp(peak.x), low ? std::exp(*low) : 0.0,
            high ? std::exp(*high) : std::numeric_limits<double>::infinity()};
    }

private:
    /// The interval's end on the side `direction` (-1 below, +1 above): the
    /// outermost θ where the profile reaches `level`, or nothing when it still
    /// does at the end of the search.
    std::optional<double> end(const Sample& peak, double level, int direction)
    {
        std::vector<Sample> side; // the grid beyond the peak, nearest first
        for (const Sample& node : m_grid)
            if (direction * (node.x - peak.x) > 0)
                side.push_back(node);
        if (direction < 0)
            std::reverse(side.begin(), side.end());
        const auto outermost
            = std::find_if(side.rbegin(), side.rend(), [&](const Sample& node) { return node.y >= level; });
        if (outermost == side.rbegin())
            return std::nullopt; // at the level to the end of the search
        const Sample inside = outermost == side.rend() ? peak : *outermost;
        return levelCrossing(
            m_profile, inside, *std::prev(outermost), level, kLogTolerance, kLevelTolerance, kSearchSteps);
    }

    /// The profile between the grid's nodes, refined from the best slope of
    /// the nearest θ known: a node, or the point the search took last (the
    /// peak's and the ends' searches close in by ever smaller moves).
    double profileBetweenNodes(double theta)
    {
        const double lo = m_grid.front().x, hi = m_grid.back().x;
        const auto steps = static_cast<double>(m_grid.size() - 1);
        const auto nearest
            = static_cast<std::size_t>(std::clamp(std::round((theta - lo) / (hi - lo) * steps), 0.0, steps));
        const bool lastNearer = std::abs(theta - m_lastTheta) < std::abs(theta - m_grid[nearest].x);
        const Point best = m_likelihood.profileNear(theta, lastNearer ? m_lastLogSlope : m_slopes[nearest]);
        m_lastTheta = theta;
        m_lastLogSlope = best.logSlope;
        return best.value;
    }

    const PenalisedLikelihood& m_likelihood;
    std::function<double(double)> m_profile;
    std::vector<Sample> m_grid;
    std::vector<double> m_slopes; // the best slope at each node of the grid
    double m_lastTheta = std::numeric_limits<double>::infinity();
    double m_lastLogSlope = 0;
};

} // namespace

std::vector<TimeGroup> groupedByTime(std::span<const Trial> trials)
{
    std::map<double, TimeGroup> byTime;
    for (const Trial& trial : trials) {
        if (!usable(trial))
            continue;
        TimeGroup& group = byTime[trial.displaySeconds];
        group.seconds = trial.displaySeconds;
        group.rounds += 1;
        group.remembered += trial.remembered ? 1 : 0;
    }
    std::vector<TimeGroup> groups;
    groups.reserve(byTime.size());
    for (const auto& [seconds, group] : byTime)
        groups.push_back(group);
    return groups;
}

MemorySpeedFit memorySpeed(std::span<const TimeGroup> groups)
{
    MemorySpeedFit result;
    result.distinctTimes = static_cast<int>(groups.size());
    for (const TimeGroup& g : groups) {
        result.remembered += g.remembered;
        result.forgotten += g.rounds - g.remembered;
    }

    // With every round remembered (or every one forgotten) the profile only
    // rises towards an end of the search: there is no peak to report.
    if (result.remembered > 0 && result.forgotten > 0) {
        const auto [shortest, longest] = std::minmax_element(
            groups.begin(), groups.end(), [](const TimeGroup& a, const TimeGroup& b) { return a.seconds < b.seconds; });
        const double lo
            = std::log(std::max(std::min(shortest->seconds, kShortestSearched) / kSearchWidening, kSearchFloor));
        const double hi
            = std::log(std::min(std::max(longest->seconds, kLongestSearched) * kSearchWidening, kSearchCeiling));
        const PenalisedLikelihood likelihood(groups);
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

MemorySpeedFit memorySpeed(std::span<const Trial> trials)
{
    const std::vector<TimeGroup> groups = groupedByTime(trials);
    return memorySpeed(std::span<const TimeGroup>(groups));
}

} // namespace core
