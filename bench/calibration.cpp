// The memory speed's calibration at length: simulated players of each kind,
// coached through the staircase, and how the figures shown fare at each
// count of rounds; where the staircase settles; coached rounds beside rounds
// the player chose to keep; players who improve over four weeks, and how
// often the change since 20 days before reads clear. Prints tables; the
// unit tests assert the same on fewer players.

#include "support/calibration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPlayers = 4000;
constexpr int kSlowPlayers = 2000; // for the runs whose every step is a week of fits
constexpr std::array kCounts {5, 10, 15, 20, 30, 60, 100, 200};
constexpr std::uint64_t kSeed = 20240611;
constexpr int kSettledRounds = 400; // the rounds after which the staircase is taken as settled
constexpr int kSettlingRounds = 100;

double percent(double share)
{
    return 100 * share;
}

void table(const char* title, const Population& population)
{
    std::printf("\n**%s** (%d players)\n\n", title, kPlayers);
    std::printf("| rounds | figure shown | interval holds the true value (± one standard error) | wholly above it | "
                "wholly below it | median error |\n|---|---|---|---|---|---|\n");
    const std::vector<Tally> tallies = coachedPlayers(population, kPlayers, kCounts, kSeed);
    for (std::size_t i = 0; i < kCounts.size(); ++i) {
        const Tally& tally = tallies[i];
        const double coverage = tally.coverage();
        const double error = std::sqrt(coverage * (1 - coverage) / std::max(tally.shown, 1));
        std::printf("| %d | %.1f %% | %.1f %% (± %.1f) | %.1f %% | %.1f %% | %.1f %% |\n", kCounts[i],
            percent(tally.shownShare()), percent(coverage), percent(error), percent(tally.aboveShare()),
            percent(tally.belowShare()), percent(tally.medianError()));
    }
}

/// Where the staircase settles: the share of rounds remembered, and the
/// median of the display time over the true 75 % point, over rounds
/// kSettlingRounds to kSettledRounds of each player.
void settling(const Population& population)
{
    std::mt19937_64 random(kSeed);
    std::uniform_real_distribution<double> unit(0, 1);
    long remembered = 0, rounds = 0;
    std::vector<double> ratios;
    for (int p = 0; p < kPlayers; ++p) {
        const SimulatedPlayer player = population.draw(random);
        std::vector<core::Trial> trials;
        for (int r = 0; r < kSettledRounds; ++r) {
            const double t = core::nextDisplaySeconds(trials, population.firstSeconds);
            trials.push_back({t, unit(random) < player.chance(t)});
            if (r >= kSettlingRounds) {
                remembered += trials.back().remembered ? 1 : 0;
                ++rounds;
                ratios.push_back(t / player.t75);
            }
        }
    }
    std::nth_element(ratios.begin(), ratios.begin() + std::ptrdiff_t(ratios.size() / 2), ratios.end());
    std::printf("\nThe staircase, usual players, rounds %d to %d: %.1f %% remembered; the median display time is "
                "%.2f times the true 75 %% point\n",
        kSettlingRounds, kSettledRounds, 100.0 * double(remembered) / double(rounds), ratios[ratios.size() / 2]);
}

} // namespace

int main()
{
    const Population usual;
    table("Usual players", usual);
    struct Kind {
        const char* title;
        Population population;
    };
    std::vector<Kind> kinds;
    const auto kind = [&](const char* title, auto change) {
        Population population = usual;
        change(population);
        kinds.push_back({title, population});
    };
    kind("Lapses of 10 %", [](Population& p) { p.lapse = 0.10; });
    kind("Lapses of 15 %", [](Population& p) { p.lapse = 0.15; });
    kind("True 75 % point 0.06 s", [](Population& p) { p.fastest = p.slowest = 0.06; });
    kind("True 75 % point 2.5 s", [](Population& p) { p.fastest = p.slowest = 2.5; });
    kind("Box at 1.5 s", [](Population& p) { p.firstSeconds = 1.5; });
    kind("Box at 0.3 s", [](Population& p) { p.firstSeconds = 0.3; });
    kind("Shallow slopes (1.2 to 1.8)", [](Population& p) { p.shallowest = 1.2, p.steepest = 1.8; });
    kind("Steep slopes (7 to 9)", [](Population& p) { p.shallowest = 7, p.steepest = 9; });
    for (const Kind& k : kinds)
        table(k.title, k.population);

    settling(usual);

    const Tally coached = handKeptPlayers(usual, kPlayers, 60, kSeed);
    const Tally everyKept = handKeptPlayers(usual, kPlayers, 60, kSeed, true);
    std::printf("\nCoached rounds beside hand-kept ones (%d players, 60 coached rounds each): fitted to the coached "
                "rounds, the interval holds the true value for %.1f %% (wholly above %.1f %%, below %.1f %%); fitted "
                "to every round kept, for %.1f %% (wholly below %.1f %%), the median error %.1f %%\n",
        kPlayers, percent(coached.coverage()), percent(coached.aboveShare()), percent(coached.belowShare()),
        percent(everyKept.coverage()), percent(everyKept.belowShare()), percent(everyKept.medianError()));

    Tally fourWeeks;
    const Tally improving = improvingPlayers(usual, 0.3, kSlowPlayers, kSeed, &fourWeeks);
    std::printf("\nImproving players (%d, each 30 %% faster over 28 days at 8 rounds a day), read at each day's end:\n",
        kSlowPlayers);
    for (const auto& [name, tally] :
        {std::pair {"the level now", &improving}, std::pair {"four weeks", static_cast<const Tally*>(&fourWeeks)}})
        std::printf(
            "%s: figure shown on %.1f %% of days, interval holds the value then on %.1f %%, median error %.1f %%\n",
            name, percent(tally->shownShare()), percent(tally->coverage()), percent(tally->medianError()));

    const ChangeTally stable = changeReadings(usual, 0, kSlowPlayers, 14, kSeed);
    const ChangeTally better = changeReadings(usual, 0.3, kSlowPlayers, 21, kSeed);
    std::printf("\nThe change since 20 days before (%d players of each kind, 8 rounds a day):\n", kSlowPlayers);
    std::printf("- players who do not change, days 14 to 28: a change to state on %.1f %% of days; clearly faster on "
                "%.1f %%, clearly slower on %.1f %% (clear on %.1f %%); %.1f %% of players read clear at least once\n",
        100.0 * stable.compared / stable.days, percent(stable.fasterShare()), percent(stable.slowerShare()),
        percent(stable.clearShare()), 100.0 * stable.playersEverClear / stable.players);
    std::printf("- players 30 %% faster over four weeks, days 21 to 28: clearly faster on %.1f %% of days, clearly "
                "slower on %.1f %%\n",
        percent(better.fasterShare()), percent(better.slowerShare()));
    return EXIT_SUCCESS;
}
