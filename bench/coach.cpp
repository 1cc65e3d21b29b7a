// The coach's estimate of the memory speed over a record of 10,000 rounds:
// rounds at every coached time (0.05 to 3 s in hundredths, the most distinct
// times the staircase gives, so the most work a likelihood evaluation does),
// against the same number of rounds played through the staircase alone.
// Then the memory speed of each day of a year of practice, at first sight
// and after one more round; and how often START draws a target near rest.

#include "core/coach.h"
#include "core/figure.h"
#include "core/memory_speed.h"
#include "core/memory_speed_history.h"
#include "core/staircase.h"
#include "core/target.h"
#include "measure.h"
#include "toolkit/random_source.h"
#include "toolkit/scene.h"
#include "toolkit/utc_offset.h"

#include <QDateTime>
#include <array>
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

/// A year of practice at kRoundsADay coached rounds a day, a minute apart
/// from noon, ending yesterday: each day's rounds on one date whatever the
/// hour the probe runs (rounds ending at the moment it runs straddle
/// midnight when it runs just after one). The player above, each time chosen
/// by the staircase; each time at its offset from UTC, as the record reads it back.
constexpr int kDays = 365;
constexpr int kRoundsADay = 30;
constexpr int kYearRuns = 5;
std::vector<core::DatedTrial> yearOfPractice(std::mt19937_64& random, const QDateTime& now)
{
    constexpr qint64 kSecondsApart = 60;
    const QTime kNoon(12, 0);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<core::Trial> trials;
    std::vector<core::DatedTrial> rounds;
    for (int day = kDays - 1; day >= 0; --day)
        for (int n = 0; n < kRoundsADay; ++n) {
            const double t = core::nextDisplaySeconds(trials, 0.75);
            trials.push_back({t, unit(random) < chance(t)});
            const QDateTime played = QDateTime(now.date().addDays(-1 - day), kNoon).addSecs(kSecondsApart * n);
            const QTimeZone zone = toolkit::zoneAheadOfUtc(played.offsetFromUtc());
            rounds.push_back({QDateTime::fromMSecsSinceEpoch(played.toMSecsSinceEpoch(), zone), trials.back()});
        }
    return rounds;
}

/// Every day's level of a year, at first sight (a history of its own each
/// run) and after one more round (the history that has seen the rest).
void yearOfLevels(std::mt19937_64& random)
{
    const QDateTime now = QDateTime::currentDateTime();
    std::vector<core::DatedTrial> rounds = yearOfPractice(random, now);
    std::vector<double> firstSight, oneMore;
    std::size_t days = 0;
    for (int run = 0; run < kWarmUps + kYearRuns; ++run) {
        core::MemorySpeedHistory history;
        const double us = bench::microsecondsFor([&] {
            history.setTrials(rounds, now);
            days = history.days().size();
        });
        rounds.push_back({now, {0.5, true}});
        const double moreUs = bench::microsecondsFor([&] {
            history.setTrials(rounds, now);
            history.levelNow();
            history.days();
        });
        rounds.pop_back();
        if (run >= kWarmUps) {
            firstSight.push_back(us);
            oneMore.push_back(moreUs);
        }
    }
    if (days != kDays)
        bench::fail("the year's levels miss days");
    bench::report("year_days_us", bench::summarise(firstSight));
    bench::report("year_one_more_us", bench::summarise(oneMore));
    bench::reportInteger("year_days", kDays);
    bench::reportInteger("year_rounds", kDays * kRoundsADay);
}

/// The share of START's draws, at each difficulty, whose target lies near
/// the rest pose (core::nearRest), in parts per million, with the game's own
/// clock-seeded source.
constexpr int kDraws = 100'000;
void nearRestDraws()
{
    toolkit::Scene scene;
    core::Figure figure(scene, Qt::black);
    figure.SUB_SETDEFAULT();
    const core::Joints rest = core::jointsOf(figure.DXY_DEF);
    toolkit::ClockSeededRandom random;
    for (const int difficulty : {1, 2, 3}) {
        int near = 0;
        for (int i = 0; i < kDraws; ++i) {
            figure.DTT_TGT = core::targetAngles(random, difficulty, figure.DTT_DEF);
            figure.SUB_FIXPOSI(1, figure.DTT_TGT, figure.DXY_TGT, figure.targetLines());
            near += core::nearRest(rest, core::jointsOf(figure.DXY_TGT)) ? 1 : 0;
        }
        bench::reportInteger(
            ("near_rest_ppm_" + std::to_string(difficulty)).c_str(), std::int64_t {near} * 1'000'000 / kDraws);
    }
    bench::reportInteger("near_rest_draws", kDraws);
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
    yearOfLevels(random);
    nearRestDraws();
    return EXIT_SUCCESS;
}
