// The memory speed's calibration at length: 4,000 simulated players of each
// kind, coached through the staircase, and how the figures shown fare at each
// count of rounds; then players who improve over four weeks. Prints tables;
// the unit tests assert the same on fewer players.

#include "support/calibration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPlayers = 4000;
constexpr std::array kCounts {5, 10, 15, 20, 30, 60, 100, 200};
constexpr std::uint64_t kSeed = 20240611;

void table(const char* title, const Population& population)
{
    std::printf("\n%s (%d players, 75 %% points %.2g..%.2g s, slopes %.2g..%.2g, lapses %.0f %%)\n\n", title, kPlayers,
        population.fastest, population.slowest, population.shallowest, population.steepest, population.lapse * 100);
    std::printf("| rounds | figure shown | interval holds the true value (± one standard error) | median error |\n"
                "|---|---|---|---|\n");
    const std::vector<Tally> tallies = coachedPlayers(population, kPlayers, kCounts, kSeed);
    for (std::size_t i = 0; i < kCounts.size(); ++i) {
        const double coverage = tallies[i].coverage();
        const double error = std::sqrt(coverage * (1 - coverage) / std::max(tallies[i].shown, 1));
        std::printf("| %d | %.1f %% | %.1f %% (± %.1f) | %.1f %% |\n", kCounts[i], 100 * tallies[i].shownShare(),
            100 * coverage, 100 * error, 100 * tallies[i].medianError());
    }
}

} // namespace

int main()
{
    const Population usual;
    table("Usual players", usual);
    Population shallow = usual, steep = usual, lapsing = usual;
    shallow.shallowest = 1.2;
    shallow.steepest = 1.8;
    steep.shallowest = 7;
    steep.steepest = 9;
    lapsing.lapse = 0.06;
    table("Shallow slopes", shallow);
    table("Steep slopes", steep);
    table("Lapses of 6 %", lapsing);

    Tally fourWeeks;
    const Tally improving = improvingPlayers(usual, kPlayers, kSeed, &fourWeeks);
    std::printf("\nImproving players (%d, each 30 %% faster over 28 days at 8 rounds a day), read at each day's end:\n",
        kPlayers);
    for (const auto& [name, tally] :
        {std::pair {"the level now", &improving}, std::pair {"four weeks", static_cast<const Tally*>(&fourWeeks)}})
        std::printf(
            "%s: figure shown on %.1f %% of days, interval holds the value then on %.1f %%, median error %.1f %%\n",
            name, 100 * tally->shownShare(), 100 * tally->coverage(), 100 * tally->medianError());
    return EXIT_SUCCESS;
}
