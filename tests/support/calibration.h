#pragma once
// Simulated players whose memory speed is known, coached through the real
// staircase, and how well the estimate finds them: what the unit tests
// assert and the long calibration run reports.

#include "core/memory_speed_history.h"
#include "core/staircase.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

/// A player who remembers a round shown t seconds with probability
/// (1 - lapse) / (1 + exp(-slope (ln t - a))), a placed so that t75 gets 75 %.
struct SimulatedPlayer {
    double t75 = 0;
    double slope = 0;
    double lapse = 0;

    double chance(double seconds) const
    {
        const double a = std::log(t75) - std::log(0.75 / (1 - lapse - 0.75)) / slope;
        return (1 - lapse) / (1 + std::exp(-slope * (std::log(seconds) - a)));
    }
};

/// Where players are drawn from: t75 log-uniform, slope uniform, one lapse rate.
struct Population {
    double fastest = 0.1, slowest = 1.2;
    double shallowest = 2, steepest = 6;
    double lapse = 0.02;

    SimulatedPlayer draw(std::mt19937_64& random) const
    {
        std::uniform_real_distribution<double> logT75(std::log(fastest), std::log(slowest));
        std::uniform_real_distribution<double> slope(shallowest, steepest);
        const double t75 = std::exp(logT75(random));
        return {t75, slope(random), lapse};
    }
};

/// How the figures shown fared against the true values.
struct Tally {
    int asked = 0; // figures asked for
    int shown = 0; // of them, determined and shown
    int covered = 0; // of the shown, those whose interval holds the true value
    std::vector<double> errors; // of the shown: |estimate / true - 1|

    void add(const core::MemorySpeedFit& fit, double truth)
    {
        ++asked;
        if (!fit.estimate)
            return;
        ++shown;
        covered += fit.estimate->low <= truth && truth <= fit.estimate->high ? 1 : 0;
        errors.push_back(std::abs(fit.estimate->seconds / truth - 1));
    }
    double shownShare() const { return asked > 0 ? double(shown) / asked : 0; }
    double coverage() const { return shown > 0 ? double(covered) / shown : 0; }
    double medianError() const
    {
        if (errors.empty())
            return 0;
        std::vector<double> sorted = errors;
        std::nth_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(sorted.size() / 2), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

/// The staircase starts each player at the game's first display time.
inline constexpr double kFirstDisplaySeconds = 0.75;

/// Each of `players` coached from kFirstDisplaySeconds through the
/// staircase, and the estimate over all their rounds so far at each of `counts` (ascending).
inline std::vector<Tally> coachedPlayers(
    const Population& population, int players, std::span<const int> counts, std::uint64_t seed)
{
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<Tally> tallies(counts.size());
    for (int p = 0; p < players; ++p) {
        const SimulatedPlayer player = population.draw(random);
        std::vector<core::Trial> rounds;
        for (std::size_t c = 0; c < counts.size(); ++c) {
            while (static_cast<int>(rounds.size()) < counts[c]) {
                const double t = core::nextDisplaySeconds(rounds, kFirstDisplaySeconds);
                rounds.push_back({t, unit(random) < player.chance(t)});
            }
            tallies[c].add(core::memorySpeed(std::span<const core::Trial>(rounds)), player.t75);
        }
    }
    return tallies;
}

/// A player whose 75 % point falls by kImprovement over kImprovingDays days,
/// playing kImprovingRoundsADay coached rounds a day, an hour apart from 9 o'clock.
inline constexpr double kImprovement = 0.3;
inline constexpr int kImprovingDays = 28, kImprovingRoundsADay = 8, kFirstHour = 9;

/// Each of `players` improving so, the level shown at each day's end
/// (core::MemorySpeedHistory) against the player's true value then; and, if
/// asked for, a fit to all the rounds of the four weeks ending then.
inline Tally improvingPlayers(const Population& population, int players, std::uint64_t seed, Tally* fourWeeks = nullptr)
{
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    const QDate first(2026, 1, 5);
    const auto trueValue = [](const SimulatedPlayer& start, double days) {
        return start.t75 * std::pow(1 - kImprovement, days / kImprovingDays);
    };
    Tally tally;
    for (int p = 0; p < players; ++p) {
        const SimulatedPlayer start = population.draw(random);
        std::vector<core::Trial> trials;
        std::vector<core::DatedTrial> rounds;
        for (int day = 0; day < kImprovingDays; ++day) {
            for (int r = 0; r < kImprovingRoundsADay; ++r) {
                const int hour = kFirstHour + r;
                SimulatedPlayer now = start;
                now.t75 = trueValue(start, day + hour / 24.0);
                const double t = core::nextDisplaySeconds(trials, kFirstDisplaySeconds);
                trials.push_back({t, unit(random) < now.chance(t)});
                rounds.push_back({QDateTime(first.addDays(day), QTime(hour, 0)), trials.back()});
            }
        }
        core::MemorySpeedHistory history;
        history.setTrials(rounds, QDateTime(first.addDays(kImprovingDays), QTime(0, 0)));
        const std::vector<core::DayLevel>& days = history.days();
        for (std::size_t day = 0; day < days.size(); ++day) {
            const double truth = trueValue(start, static_cast<double>(day + 1));
            tally.add(days[day].level.fit, truth);
            if (fourWeeks) // every round so far: the run is four weeks long
                fourWeeks->add(
                    core::memorySpeed(std::span<const core::Trial>(trials.data(), (day + 1) * kImprovingRoundsADay)),
                    truth);
        }
    }
    return tally;
}
