// The coach's estimate of the memory speed over a record of 10,000 rounds:
// rounds at every coached time (0.05 to 3 s in hundredths, the most distinct
// times the staircase gives, so the most work a likelihood evaluation does),
// against the same number of rounds played through the staircase alone.

#include "core/memory_speed.h"
#include "core/staircase.h"
#include "measure.h"

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int kRounds = 10'000;
constexpr int kRuns = 50;
constexpr int kWarmUps = 3;
constexpr int kShortestHundredths = 5;
constexpr int kLongestHundredths = 300;

// A simulated player: 75 % point 0.4 s, slope 4 per natural-log unit, 2 % lapses.
constexpr double kT75 = 0.4;
constexpr double kSlope = 4;
constexpr double kLapse = 0.02;

double chance(double seconds)
{
    const double offset = std::log(0.75 / (1 - kLapse - 0.75));
    return (1 - kLapse) / (1 + std::exp(-(kSlope * std::log(seconds / kT75) + offset)));
}

std::vector<core::Trial> everyCoachedTime(std::mt19937_64& random)
{
    std::uniform_int_distribution<int> hundredths(kShortestHundredths, kLongestHundredths);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<core::Trial> rounds;
    for (int i = 0; i < kRounds; ++i) {
        const double t = hundredths(random) / 100.0;
        rounds.push_back({t, unit(random) < chance(t)});
    }
    return rounds;
}

std::vector<core::Trial> staircase(std::mt19937_64& random)
{
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<core::Trial> rounds;
    for (int i = 0; i < kRounds; ++i) {
        const double t = core::nextDisplaySeconds(rounds, 0.75);
        rounds.push_back({t, unit(random) < chance(t)});
    }
    return rounds;
}

/// Times the estimate over `rounds`; fails the probe when it is not determined
/// or misses the simulated player's point by more than 5 %.
bench::Summary timed(const std::vector<core::Trial>& rounds, int& distinctTimes)
{
    std::vector<double> samples;
    core::MemorySpeedFit fit;
    for (int i = 0; i < kWarmUps + kRuns; ++i) {
        const double us = bench::microsecondsFor([&] { fit = core::memorySpeed(rounds); });
        if (i >= kWarmUps)
            samples.push_back(us);
    }
    constexpr double kTolerance = 0.05;
    if (!fit.estimate || std::abs(fit.estimate->seconds / kT75 - 1) > kTolerance)
        bench::fail("the estimate over the simulated rounds is undetermined or wrong");
    distinctTimes = fit.distinctTimes;
    return bench::summarise(samples);
}

} // namespace

int main()
{
    std::mt19937_64 random(20240611);
    int spreadTimes = 0, staircaseTimes = 0;
    bench::report("estimate_us", timed(everyCoachedTime(random), spreadTimes));
    bench::report("staircase_estimate_us", timed(staircase(random), staircaseTimes));
    bench::reportInteger("rounds", kRounds);
    bench::reportInteger("distinct_times", spreadTimes);
    bench::reportInteger("staircase_distinct_times", staircaseTimes);
    return EXIT_SUCCESS;
}
