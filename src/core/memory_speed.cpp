#include "core/memory_speed.h"

#include "core/level_crossing.h"
#include "core/maximum.h"
#include "core/staircase.h"

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
// spaced in ln β, both bounds among them, at the middle lapse rate; the best
// of them and of the neighbouring node's best point is refined. The
// likelihood need not have a single peak once lapses are counted, and its
// highest may lie at a bound. (Against a grid 0.05 apart scanning 41 slopes,
// on 3,000 fits of simulated players with slopes 1 to 9, lapses up to 15 %
// and 5 to 1,000 rounds, this found the same fit to 0.1 % but for 19,
// flat profiles of a few rounds and intervals against the search's ends.)
constexpr int kSlopeScanPoints = 2;

// θ = ln t75 is searched over the rounds' display times widened by this
// factor each way, and at least over the coached times widened the same
// way. Where the profile has not fallen by kProfileDrop at the end of that
// range, the interval is open on that side.
constexpr double kSearchWidening = 2;
// Whatever the rounds say, nothing beyond these is searched: a millisecond
// and ten times the display-time box's longest minute.
constexpr double kSearchFloor = 1e-3;
constexpr double kSearchCeiling = 600;

// The profile is scanned on a grid this fine in ln seconds (a factor of 2.1
// a step) to find the highest peak and where it falls below the interval's
// level; the peak and the level's crossings are then found between nodes.
constexpr double kGridStep = 0.75;
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

// Newton's method in (ln β, v), from the best point scanned; v is the logit
// of λ / kHighestLapseRate, so that the lapse rate needs no bounds.
constexpr int kNewtonSteps = 40;
constexpr double kLargestLogSlopeStep = 0.5;
constexpr double kLargestLogitStep = 2;
constexpr int kHalvings = 30;
// Newton stops once its predicted gain is below this; at the grid's nodes
// first below the rougher one, which tells a node far below the peak well
// enough, then below the finer one at the nodes within kRefinedWithin of the
// highest: only where a node lies against the interval's level matters.
constexpr double kGainTolerance = 1e-8;
constexpr double kRoughGainTolerance = 1e-2;
constexpr double kRefinedWithin = kProfileDrop + 2;
// The curvature in v that Laplace's method divides by is kept at least this
// far from zero: a likelihood flat in the lapse rate still has the prior's.
constexpr double kLeastCurvature = 1e-6;

const double kMinLogSlope = std::log(kShallowestSlope);
const double kMaxLogSlope = std::log(kSteepestSlope);
const double kLogTypicalSlope = std::log(kTypicalSlope);

/// The rounds at one display time, as the likelihood reads them.
struct Group {
    double logSeconds = 0;
    int remembered = 0;
    int forgotten = 0;
};

/// The log posterior density at (θ, u = ln β, v = logit(λ / λmax)), less
/// constants, with its gradient and Hessian in (u, v); `integrated` is the
/// same with v integrated out by Laplace's method.
struct Point {
    double logSlope = 0;
    double logit = 0;
    double value = 0;
    double du = 0, dv = 0;
    double duu = 0, duv = 0, dvv = 0;
    double integrated = 0;
};

class PenalisedLikelihood {
public:
    explicit PenalisedLikelihood(std::span<const TimeGroup> groups)
    {
        m_groups.reserve(groups.size());
        for (const TimeGroup& g : groups) {
            m_groups.push_back({std::log(g.seconds), g.remembered, g.rounds - g.remembered});
            m_remembered += g.remembered;
        }
    }

    /// The density at θ, maximised over the slope and the lapse rate: the
    /// best of a scan of slopes and of the best point at a neighbouring θ,
    /// if any, refined.
    Point profile(double theta, const Point* neighbour, double gainTolerance) const
    {
        Point best = at<false>(theta, kMinLogSlope, 0);
        if (neighbour) {
            const Point here = at<false>(theta, neighbour->logSlope, neighbour->logit);
            if (here.value > best.value)
                best = here;
        }
        for (int i = 1; i < kSlopeScanPoints; ++i) {
            const Point here
                = at<false>(theta, kMinLogSlope + (kMaxLogSlope - kMinLogSlope) * i / (kSlopeScanPoints - 1), 0);
            if (here.value > best.value)
                best = here;
        }
        return integrated(climbed(theta, at(theta, best.logSlope, best.logit), gainTolerance));
    }

    /// The same near a θ whose profile is known: refined from that θ's best point.
    Point profileNear(double theta, const Point& known) const
    {
        return integrated(climbed(theta, at(theta, known.logSlope, known.logit), kGainTolerance));
    }

private:
    // A group's share of the log likelihood, k rounds remembered and m
    // forgotten, with e = exp(-|z|) and w = 1 + e, is
    //   k ln p + m ln q = k (ln(1 - λ) + min(z, 0)) + ln(q^m (1/w)^k).
    // The logs of all groups are taken as one, of the product of their
    // q^m (1/w)^k: a log is dearer than the few products it replaces, and a
    // fit evaluates the likelihood hundreds of times. A factor that could fall
    // below 2^-500 (more than kLargestPower rounds, or a q near 0 when the
    // lapse rate is) takes its logs itself; the product is brought back above
    // 2^-500 whenever it falls below, so it cannot underflow.
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

    /// The density at (θ, u, v), with its derivatives unless only the value
    /// is wanted (a scan of slopes).
    template <bool kDerivatives = true> Point at(double theta, double logSlope, double logit) const
    {
        const double slope = std::exp(logSlope);
        const double share = 1 / (1 + std::exp(-logit)); // σ(v) = λ / λmax
        const double lapse = kHighestLapseRate * share;
        const double kept = 1 - lapse;
        // z = β (ln t - θ) + c(λ) puts p = 0.75 at ln t = θ: (1 - λ) F(c) = 0.75,
        // c = ln(3 / (1 - 4λ)), whose derivatives in λ are c' and c'' = c'².
        const double offset = std::log(3 / (1 - 4 * lapse));
        const double dOffset = 4 / (1 - 4 * lapse);
        double ll = 0, product = 1;
        int rescaled = 0; // the product is the true one times 2^(kRescaleBits * rescaled)
        // Sums over the groups of the log likelihood's derivatives: in z
        // (times d = ln t - θ, and d²), in λ at fixed z, and mixed.
        double gz = 0, gzd = 0, hz = 0, hzd = 0, hzd2 = 0, gl = 0, hll = 0, hzl = 0, hzld = 0;
        for (const Group& g : m_groups) {
            const double d = g.logSeconds - theta;
            const double z = slope * d + offset;
            const double e = std::exp(-std::abs(z));
            const double inverse = 1 / (1 + e);
            const double f = z >= 0 ? inverse : e * inverse; // F(z)
            const double q = 1 - kept * f; // forgotten: at least the lapse rate
            ll += g.remembered * std::min(z, 0.0);
            const double factor = g.remembered <= kLargestPower && g.forgotten <= kLargestPower
                ? power(q, g.forgotten) * power(inverse, g.remembered)
                : 0;
            if (factor >= kRescaleBelow) {
                product *= factor;
                if (product < kRescaleBelow) {
                    product *= kRescale;
                    ++rescaled;
                }
            } else {
                ll += g.forgotten * std::log(q) + g.remembered * std::log(inverse);
            }
            if constexpr (kDerivatives) {
                const double k = g.remembered, m = g.forgotten;
                const double fPrime = e * inverse * inverse; // F(1 - F)
                const double invQ = 1 / q;
                const double keptOverQ = kept * fPrime * invQ;
                const double lz = k * (1 - f) - m * keptOverQ;
                const double lzz = -k * fPrime - m * keptOverQ * ((1 - 2 * f) + keptOverQ);
                const double lzl = m * fPrime * invQ * invQ;
                gz += lz;
                gzd += lz * d;
                hz += lzz;
                hzd += lzz * d;
                hzd2 += lzz * d * d;
                gl += -k / kept + m * f * invQ;
                hll += -k / (kept * kept) - m * f * f * invQ * invQ;
                hzl += lzl;
                hzld += lzl * d;
            }
        }
        ll += m_remembered * std::log(kept) + std::log(product) - rescaled * kRescaleBits * std::numbers::ln2;

        // The priors: ln β normal; λ uniform over 0..λmax, whose density in v
        // is λmax σ(v) (1 - σ(v)).
        const double spread2 = kSlopeSpread * kSlopeSpread;
        const double fromTypical = logSlope - kLogTypicalSlope;
        Point point;
        point.logSlope = logSlope;
        point.logit = logit;
        point.value = ll - fromTypical * fromTypical / (2 * spread2) + std::log(share) + std::log1p(-share);
        if constexpr (kDerivatives) {
            // In λ (z moving with c(λ)), then in v through dλ/dv = λ (1 - σ).
            const double dl = gl + gz * dOffset;
            const double dll = hll + 2 * hzl * dOffset + (hz + gz) * dOffset * dOffset;
            const double dul = slope * (hzld + hzd * dOffset);
            const double lv = lapse * (1 - share);
            const double lvv = lv * (1 - 2 * share);
            point.du = slope * gzd - fromTypical / spread2;
            point.duu = slope * gzd + slope * slope * hzd2 - 1 / spread2;
            point.dv = dl * lv + (1 - 2 * share);
            point.dvv = dll * lv * lv + dl * lvv - 2 * share * (1 - share);
            point.duv = dul * lv;
        }
        return point;
    }

    /// Whether the slope sits at a bound and the density still rises beyond it.
    static bool slopeHeld(const Point& p)
    {
        return (p.logSlope <= kMinLogSlope && p.du < 0) || (p.logSlope >= kMaxLogSlope && p.du > 0);
    }

    /// Newton's method in (ln β, v) from `here`, the slope kept within its
    /// bounds, never stepping downhill.
    Point climbed(double theta, Point here, double gainTolerance) const
    {
        for (int i = 0; i < kNewtonSteps; ++i) {
            const bool slopeFree = !slopeHeld(here);
            const double det = here.duu * here.dvv - here.duv * here.duv;
            double su = 0, sv = 0;
            if (slopeFree && here.duu < 0 && det > 0) {
                su = (here.duv * here.dv - here.dvv * here.du) / det;
                sv = (here.duv * here.du - here.duu * here.dv) / det;
            } else {
                // Not concave here: each coordinate on its own, uphill.
                if (slopeFree)
                    su = here.duu < 0 ? -here.du / here.duu : std::copysign(kLargestLogSlopeStep, here.du);
                sv = here.dvv < 0 ? -here.dv / here.dvv : std::copysign(kLargestLogitStep, here.dv);
            }
            if (0.5 * (here.du * su + here.dv * sv) < gainTolerance)
                break;
            double nextU = std::clamp(here.logSlope + std::clamp(su, -kLargestLogSlopeStep, kLargestLogSlopeStep),
                kMinLogSlope, kMaxLogSlope);
            double nextV = here.logit + std::clamp(sv, -kLargestLogitStep, kLargestLogitStep);
            Point there = at(theta, nextU, nextV);
            for (int h = 0; h < kHalvings && !(there.value >= here.value); ++h) {
                nextU = here.logSlope + (nextU - here.logSlope) / 2;
                nextV = here.logit + (nextV - here.logit) / 2;
                there = at(theta, nextU, nextV);
            }
            if (!(there.value >= here.value))
                break;
            here = there;
        }
        return here;
    }

    /// The lapse rate integrated out by Laplace's method: the density at its
    /// best, times the width of its peak in v, 1 / sqrt(-S), S the curvature
    /// in v with the slope at its best for each v.
    static Point integrated(Point p)
    {
        double curvature = p.dvv;
        if (!slopeHeld(p) && p.duu < 0)
            curvature -= p.duv * p.duv / p.duu;
        p.integrated = p.value - 0.5 * std::log(std::max(-curvature, kLeastCurvature));
        return p;
    }

    std::vector<Group> m_groups;
    int m_remembered = 0; // over every group: each remembered round's ln(1 - λ)
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
        m_best.reserve(static_cast<std::size_t>(steps) + 1);
        for (int i = 0; i <= steps; ++i) {
            const double theta = lo + (hi - lo) * i / steps;
            const Point best
                = m_likelihood.profile(theta, m_best.empty() ? nullptr : &m_best.back(), kRoughGainTolerance);
            m_grid.push_back({theta, best.integrated});
            m_best.push_back(best);
        }
        const double highest = std::max_element(m_grid.begin(), m_grid.end(), [](const Sample& a, const Sample& b) {
            return a.y < b.y;
        })->y;
        for (std::size_t i = 0; i < m_grid.size(); ++i)
            if (m_grid[i].y >= highest - kRefinedWithin) {
                m_best[i] = m_likelihood.profileNear(m_grid[i].x, m_best[i]);
                m_grid[i].y = m_best[i].integrated;
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

    /// The profile between the grid's nodes, refined from the best point of
    /// the nearest θ known: a node, or the point the search took last (the
    /// peak's and the ends' searches close in by ever smaller moves).
    double profileBetweenNodes(double theta)
    {
        const double lo = m_grid.front().x, hi = m_grid.back().x;
        const auto steps = static_cast<double>(m_grid.size() - 1);
        const auto nearest
            = static_cast<std::size_t>(std::clamp(std::round((theta - lo) / (hi - lo) * steps), 0.0, steps));
        const bool lastNearer = std::abs(theta - m_lastTheta) < std::abs(theta - m_grid[nearest].x);
        m_last = m_likelihood.profileNear(theta, lastNearer ? m_last : m_best[nearest]);
        m_lastTheta = theta;
        return m_last.integrated;
    }

    const PenalisedLikelihood& m_likelihood;
    std::function<double(double)> m_profile;
    std::vector<Sample> m_grid;
    std::vector<Point> m_best; // the best slope and lapse rate at each node of the grid
    double m_lastTheta = std::numeric_limits<double>::infinity();
    Point m_last;
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
            = std::log(std::max(std::min(shortest->seconds, kShortestCoachedSeconds) / kSearchWidening, kSearchFloor));
        const double hi
            = std::log(std::min(std::max(longest->seconds, kLongestCoachedSeconds) * kSearchWidening, kSearchCeiling));
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
