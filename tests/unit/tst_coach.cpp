// The coach: the staircase's next display time, when the memory speed is
// determined, and the estimate against simulated players whose answer is known.

#include "core/memory_speed.h"
#include "core/staircase.h"

#include <QList>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

using Trials = QList<core::Trial>;
using Missing = core::MemorySpeedFit::Missing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Even at 1 and 2 s the player forgets as often as not: nothing within the
// search (up to twice the coached 3 s) bounds the point above.
const Trials kOpenAbove {{1, true}, {1, false}, {2, true}, {2, false}, {2.5, true}};

/// A player who remembers a round of t seconds with probability
/// 0.98 / (1 + exp(-slope (ln t - a))), a placed so that t75 gets 75 %.
struct Player {
    double t75;
    double slope;

    double chance(double seconds) const
    {
        const double a = std::log(t75) - std::log(0.75 / (0.98 - 0.75)) / slope;
        return 0.98 / (1 + std::exp(-slope * (std::log(seconds) - a)));
    }
};

/// `rounds` at each time, interleaved, remembered as often as the player would be
/// (to the nearest round).
Trials exactRounds(const Player& player, const std::vector<double>& times, int rounds)
{
    Trials trials;
    for (int i = 0; i < rounds; ++i)
        for (const double t : times)
            trials.push_back({t, i < std::lround(player.chance(t) * rounds)});
    return trials;
}

} // namespace

Q_DECLARE_METATYPE(Trials)
Q_DECLARE_METATYPE(Missing)

class TestCoach : public QObject {
    Q_OBJECT

private slots:
    // Guards against steps of the wrong size or direction, a step read from the
    // wrong round, rounding other than to hundredths, a bound not held, an
    // unusable round taken as the last, and a bad start let through.
    void staircaseGivesTheNextTime_data()
    {
        QTest::addColumn<Trials>("rounds");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("next");

        QTest::newRow("remembered: one step down") << Trials {{0.75, true}} << 0.75 << 0.63; // 0.6307
        QTest::newRow("forgotten: three steps up") << Trials {{0.75, false}} << 0.75 << 1.26; // 1.2613
        QTest::newRow("the last round decides") << Trials {{0.5, false}, {0.75, true}} << 0.75 << 0.63;
        QTest::newRow("an unrounded time rounded") << Trials {{0.413, true}} << 0.75 << 0.35; // 0.3473
        QTest::newRow("up from the shortest rises") << Trials {{0.05, false}} << 0.75 << 0.08; // 0.0841
        QTest::newRow("down from the shortest stays") << Trials {{0.05, true}} << 0.75 << 0.05;
        QTest::newRow("down onto the shortest") << Trials {{0.06, true}} << 0.75 << 0.05; // 0.0505
        QTest::newRow("up past the longest stops") << Trials {{2.0, false}} << 0.75 << 3.0; // 3.3636
        QTest::newRow("a minute from the box comes down") << Trials {{60.0, true}} << 0.75 << 3.0;
        QTest::newRow("unusable rounds after the last are passed over")
            << Trials {{0.75, false}, {kNaN, true}, {0.0, true}, {-1.0, true}, {kInf, true}} << 0.5 << 1.26;
        QTest::newRow("no rounds: the box") << Trials {} << 0.9 << 0.9;
        QTest::newRow("no rounds: the box rounded") << Trials {} << 0.333 << 0.33;
        QTest::newRow("only unusable rounds: the box") << Trials {{kNaN, false}, {0.0, true}} << 1.2 << 1.2;
        QTest::newRow("box below the shortest") << Trials {} << 0.01 << 0.05;
        QTest::newRow("box beyond the longest") << Trials {} << 60.0 << 3.0;
        QTest::newRow("box zero: the shortest") << Trials {} << 0.0 << 0.05;
        QTest::newRow("box infinite: the longest") << Trials {} << kInf << 3.0;
        QTest::newRow("box NaN: the longest") << Trials {} << kNaN << 3.0;
    }
    void staircaseGivesTheNextTime()
    {
        QFETCH(Trials, rounds);
        QFETCH(double, start);
        QFETCH(double, next);
        QCOMPARE(core::nextDisplaySeconds(rounds, start), next);
    }

    // Guards against rounding that holds the staircase still short of a bound
    // (a step smaller than half a hundredth), anywhere in the coached range.
    void everyStepMovesUnlessAtABound()
    {
        for (int hundredths = 5; hundredths <= 300; ++hundredths) {
            const double t = hundredths / 100.0;
            if (hundredths > 5)
                QVERIFY2(core::stepped(t, true) < t, qPrintable(QString::number(t)));
            if (hundredths < 300)
                QVERIFY2(core::stepped(t, false) > t, qPrintable(QString::number(t)));
        }
    }

    // Guards against a condition left unchecked, checked in another order, or
    // counted over unusable rounds.
    void determinacyNamesWhatIsMissing_data()
    {
        QTest::addColumn<Trials>("rounds");
        QTest::addColumn<Missing>("missing");
        QTest::addColumn<int>("distinct");
        QTest::addColumn<int>("remembered");
        QTest::addColumn<int>("forgotten");

        const Trials bad {{kNaN, false}, {0.0, true}, {-0.5, false}, {kInf, true}};
        QTest::newRow("no rounds") << Trials {} << Missing::DistinctTimes << 0 << 0 << 0;
        QTest::newRow("only unusable rounds") << bad << Missing::DistinctTimes << 0 << 0 << 0;
        QTest::newRow("two times") << Trials {{0.2, false}, {0.8, true}, {0.2, false}, {0.8, true}}
                                   << Missing::DistinctTimes << 2 << 2 << 2;
        QTest::newRow("none remembered") << Trials {{0.2, false}, {0.4, false}, {0.8, false}} << Missing::Remembered
                                         << 3 << 0 << 3;
        QTest::newRow("none forgotten") << bad + Trials {{0.2, true}, {0.4, true}, {0.8, true}} << Missing::Forgotten
                                        << 3 << 3 << 0;
        QTest::newRow("open above") << kOpenAbove << Missing::Precision << 3 << 3 << 2;
        // A few rounds bound it, but far too loosely.
        QTest::newRow("too wide") << Trials {{0.1, false}, {0.2, true}, {0.4, false}, {0.8, true}, {1.6, true}}
                                  << Missing::Precision << 5 << 3 << 2;
        QTest::newRow("determined") << bad + exactRounds({0.4, 4}, {0.1, 0.2, 0.4, 0.8, 1.6}, 8) << Missing::None << 5
                                    << 23 << 17;
    }
    void determinacyNamesWhatIsMissing()
    {
        QFETCH(Trials, rounds);
        QFETCH(Missing, missing);
        const core::MemorySpeedFit fit = core::memorySpeed(rounds);
        QCOMPARE(fit.missing, missing);
        QTEST(fit.distinctTimes, "distinct");
        QTEST(fit.remembered, "remembered");
        QTEST(fit.forgotten, "forgotten");
        QCOMPARE(fit.estimate.has_value(), missing == Missing::None);
        if (fit.estimate) {
            QVERIFY(fit.estimate->low < fit.estimate->seconds && fit.estimate->seconds < fit.estimate->high);
            QVERIFY(fit.estimate->high <= 4 * fit.estimate->low);
        }
    }

    // Guards against an interval closed at the end of the search, or closed
    // with a made-up end, where the likelihood does not fall.
    void anUnboundedSideIsOpen()
    {
        const core::MemorySpeedFit fit = core::memorySpeed(kOpenAbove);
        QVERIFY(fit.fitted);
        QVERIFY(fit.fitted->low > 0 && fit.fitted->low < fit.fitted->seconds);
        QCOMPARE(fit.fitted->high, kInf);
    }

    // Guards against a wrong likelihood (the lapse, the 75 % offset, the log
    // of time), rounds merged wrongly by time, and a fit that does not reach
    // the maximum: rounds remembered exactly as often as the model says give
    // back its 75 % point, with a narrow interval around it.
    void exactProportionsGiveBackThePoint()
    {
        const Player player {0.4, 4};
        const Trials trials = exactRounds(player, {0.1, 0.15, 0.2, 0.3, 0.4, 0.5, 0.6, 0.8, 1.2, 1.6}, 1000);
        const core::MemorySpeedFit fit = core::memorySpeed(trials);
        QVERIFY(fit.estimate);
        QVERIFY2(std::abs(fit.estimate->seconds / 0.4 - 1) < 0.005, qPrintable(QString::number(fit.estimate->seconds)));
        QVERIFY(fit.estimate->low < 0.4 && 0.4 < fit.estimate->high);
        QVERIFY(fit.estimate->high < 1.1 * fit.estimate->low);
    }

    // Guards against a biased estimate, an interval too narrow or too wide for
    // its 68 %, and a staircase that does not gather rounds near the point:
    // 1,000 players with known 75 % points (log-uniform 0.1..1.2 s) and slopes
    // (uniform 2..6 per natural-log unit), 60 coached rounds each from 0.75 s.
    void simulatedPlayersAreFoundAgain()
    {
        constexpr int kPlayers = 1000;
        constexpr int kRounds = 60;
        std::mt19937_64 random(20240611);
        std::uniform_real_distribution<double> logT75(std::log(0.1), std::log(1.2));
        std::uniform_real_distribution<double> slope(2, 6);
        std::uniform_real_distribution<double> unit(0, 1);

        std::vector<double> errors;
        int covered = 0, determined = 0, coveredDetermined = 0;
        for (int i = 0; i < kPlayers; ++i) {
            const Player player {std::exp(logT75(random)), slope(random)};
            std::vector<core::Trial> rounds;
            for (int r = 0; r < kRounds; ++r) {
                const double t = core::nextDisplaySeconds(rounds, 0.75);
                rounds.push_back({t, unit(random) < player.chance(t)});
            }
            const core::MemorySpeedFit fit = core::memorySpeed(rounds);
            if (!fit.fitted)
                continue;
            errors.push_back(std::abs(fit.fitted->seconds / player.t75 - 1));
            const bool inside = fit.fitted->low <= player.t75 && player.t75 <= fit.fitted->high;
            covered += inside ? 1 : 0;
            if (fit.estimate) {
                ++determined;
                coveredDetermined += inside ? 1 : 0;
            }
        }
        QVERIFY(!errors.empty());
        const auto fitted = static_cast<int>(errors.size());
        std::nth_element(errors.begin(), errors.begin() + fitted / 2, errors.end());
        const double medianError = errors[static_cast<std::size_t>(fitted / 2)];
        const double coverage = static_cast<double>(covered) / fitted;
        qInfo("players %d, fitted %d, determined %d (%.1f %%)", kPlayers, fitted, determined,
            100.0 * determined / kPlayers);
        qInfo("median absolute relative error %.1f %% (over the %d fitted)", 100 * medianError, fitted);
        qInfo("true point inside the 68 %% interval: %.1f %% of the fitted, %.1f %% of the determined", 100 * coverage,
            100.0 * coveredDetermined / std::max(determined, 1));
        QVERIFY2(medianError < 0.15, qPrintable(QString::number(medianError)));
        QVERIFY2(coverage >= 0.60 && coverage <= 0.76, qPrintable(QString::number(coverage)));
    }
};

QTEST_GUILESS_MAIN(TestCoach)
#include "tst_coach.moc"
