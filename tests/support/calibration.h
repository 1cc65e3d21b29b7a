#pragma once
// Simulated players whose memory speed is known, coached through the real
// staircase, and how well the estimate finds them: what the unit tests
// assert and the long calibration run reports.

#include "core/memory_speed_history.h"
#include "core/speed_change.h"
#include "core/staircase.h"
#include "record/round_record.h"
#include "ui/coach.h"

#include <QDateTime>
#include <QList>
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

/// Where players are drawn from: t75 log-uniform (one value when the bounds
/// meet), slope uniform, one lapse rate; and the display-time box the
/// staircase starts each of them from.
struct Population {
    double fastest = 0.1, slowest = 1.2;
    double shallowest = 2, steepest = 6;
    double lapse = 0.02;
    double firstSeconds = 0.75;

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
    int above = 0, below = 0; // ... and those whose interval lies wholly above it, or wholly below
    std::vector<double> errors; // of the shown: |estimate / true - 1|

    void add(const core::MemorySpeedFit& fit, double truth)
    {
        ++asked;
        if (!fit.estimate)
            return;
        ++shown;
        covered += fit.estimate->low <= truth && truth <= fit.estimate->high ? 1 : 0;
        above += fit.estimate->low > truth ? 1 : 0;
        below += fit.estimate->high < truth ? 1 : 0;
        errors.push_back(std::abs(fit.estimate->seconds / truth - 1));
    }
    double shownShare() const { return asked > 0 ? double(shown) / asked : 0; }
    double coverage() const { return shown > 0 ? double(covered) / shown : 0; }
    double aboveShare() const { return shown > 0 ? double(above) / shown : 0; }
    double belowShare() const { return shown > 0 ? double(below) / shown : 0; }
    double medianError() const
    {
        if (errors.empty())
            return 0;
        std::vector<double> sorted = errors;
        std::nth_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(sorted.size() / 2), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

/// Each of `players` coached from the population's box through the
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
                const double t = core::nextDisplaySeconds(rounds, population.firstSeconds);
                rounds.push_back({t, unit(random) < player.chance(t)});
            }
            tallies[c].add(core::memorySpeed(std::span<const core::Trial>(rounds)), player.t75);
        }
    }
    return tallies;
}

/// Each of `players` playing `count` coached rounds and, after each, a round
/// with coaching off at the time the coach had offered, keeping each of those
/// by 点数保存 when remembered and one forgotten one in four; the memory speed
/// as the record window fits it (ui::coach::coachedRounds), or, if asked
/// for, fitted to every round kept, the choice of the player included.
inline Tally handKeptPlayers(
    const Population& population, int players, int count, std::uint64_t seed, bool everyRoundKept = false)
{
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    constexpr int kRememberedScore = 90, kForgottenScore = 30;
    const QDateTime start(QDate(2026, 3, 2), QTime(9, 0));
    Tally tally;
    for (int p = 0; p < players; ++p) {
        const SimulatedPlayer player = population.draw(random);
        std::vector<core::Trial> coached;
        QList<record::RoundSummary> kept; // a minute apart
        const auto keep = [&](const core::Trial& trial, bool byCoach) {
            kept.append({kept.size() + 1, start.addSecs(60 * kept.size()), 1, trial.displaySeconds, 0,
                trial.remembered ? kRememberedScore : kForgottenScore, {}, 0, byCoach || everyRoundKept, false});
        };
        int forgotten = 0;
        for (int r = 0; r < count; ++r) {
            const double t = core::nextDisplaySeconds(coached, population.firstSeconds);
            coached.push_back({t, unit(random) < player.chance(t)});
            keep(coached.back(), true);
            const core::Trial own {t, unit(random) < player.chance(t)};
            if (own.remembered || ++forgotten % 4 == 0)
                keep(own, false);
        }
        const QDateTime now = start.addSecs(60 * kept.size());
        const std::vector<core::Trial> trials = ui::coach::trialsOf(ui::coach::coachedRounds(kept, now));
        tally.add(core::memorySpeed(std::span<const core::Trial>(trials)), player.t75);
    }
    return tally;
}

/// Players playing kRoundsADay coached rounds a day, an hour apart from
/// kFirstHour, for kPlayedDays days, their 75 % point falling by
/// `improvement` over those days (0: a player who does not change).
inline constexpr int kPlayedDays = 28, kRoundsADay = 8, kFirstHour = 9;

/// Each such player's rounds, dated from `first`, and their true 75 % point
/// at a moment `days` after the start of `first`.
struct PlayedDays {
    SimulatedPlayer start;
    double improvement = 0;
    std::vector<core::DatedTrial> rounds;
    std::vector<core::Trial> trials; // the same, undated

    double truthAfter(double days) const { return start.t75 * std::pow(1 - improvement, days / kPlayedDays); }
};

inline PlayedDays playDays(
    const Population& population, double improvement, const QDate& first, std::mt19937_64& random)
{
    std::uniform_real_distribution<double> unit(0, 1);
    PlayedDays played {population.draw(random), improvement, {}, {}};
    std::vector<core::Trial>& trials = played.trials;
    for (int day = 0; day < kPlayedDays; ++day)
        for (int r = 0; r < kRoundsADay; ++r) {
            const int hour = kFirstHour + r;
            SimulatedPlayer now = played.start;
            now.t75 = played.truthAfter(day + hour / 24.0);
            const double t = core::nextDisplaySeconds(trials, population.firstSeconds);
            trials.push_back({t, unit(random) < now.chance(t)});
            played.rounds.push_back({QDateTime(first.addDays(day), QTime(hour, 0)), trials.back()});
        }
    return played;
}

/// Each of `players` improving so, the level shown at each day's end
/// (core::MemorySpeedHistory) against the player's true value then; and, if
/// asked for, a fit to all the rounds of the four weeks ending then.
inline Tally improvingPlayers(
    const Population& population, double improvement, int players, std::uint64_t seed, Tally* fourWeeks = nullptr)
{
    std::mt19937_64 random(seed);
    const QDate first(2026, 1, 5);
    Tally tally;
    for (int p = 0; p < players; ++p) {
        const PlayedDays played = playDays(population, improvement, first, random);
        core::MemorySpeedHistory history;
        history.setTrials(played.rounds, QDateTime(first.addDays(kPlayedDays), QTime(0, 0)));
        const std::vector<core::DayLevel>& days = history.days();
        for (std::size_t day = 0; day < days.size(); ++day) {
            const double truth = played.truthAfter(static_cast<double>(day + 1));
            tally.add(days[day].level.fit, truth);
            if (fourWeeks) // every round so far: the run is four weeks long
                fourWeeks->add(core::memorySpeed(std::span(played.trials.data(), (day + 1) * kRoundsADay)), truth);
        }
    }
    return tally;
}

/// How often the change the summary states reads clear, over days read.
struct ChangeTally {
    int days = 0; // read at their ends
    int compared = 0; // with a change to state
    int faster = 0, slower = 0; // called clearly so
    int players = 0, playersEverClear = 0;

    double fasterShare() const { return days > 0 ? double(faster) / days : 0; }
    double slowerShare() const { return days > 0 ? double(slower) / days : 0; }
    double clearShare() const { return days > 0 ? double(faster + slower) / days : 0; }
};

/// Each of `players` improving by `improvement` over four weeks, the change
/// since kComparedDaysBack days before (core::speedChange) read at the end
/// of each day from `firstDay` to the last (days counted from 1).
inline ChangeTally changeReadings(
    const Population& population, double improvement, int players, int firstDay, std::uint64_t seed)
{
    std::mt19937_64 random(seed);
    const QDate first(2026, 1, 5);
    ChangeTally tally;
    for (int p = 0; p < players; ++p) {
        const PlayedDays played = playDays(population, improvement, first, random);
        bool clear = false;
        for (int day = firstDay; day <= kPlayedDays; ++day) {
            core::MemorySpeedHistory history;
            history.setTrials(played.rounds, first.addDays(day).startOfDay().addMSecs(-1));
            const std::optional<core::SpeedChange> change
                = core::speedChange(history.levelNow(), history.levelEarlier());
            ++tally.days;
            if (!change)
                continue;
            ++tally.compared;
            tally.faster += change->direction == core::SpeedChange::Direction::Faster ? 1 : 0;
            tally.slower += change->direction == core::SpeedChange::Direction::Slower ? 1 : 0;
            clear = clear || change->direction != core::SpeedChange::Direction::WithinChance;
        }
        ++tally.players;
        tally.playersEverClear += clear ? 1 : 0;
    }
    return tally;
}
