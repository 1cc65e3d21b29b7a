// The coach: the staircase's next display time, when the memory speed is
// determined, the estimate against answers found independently and against
// simulated players whose answer is known, the level now and day by day, and
// which targets tell the coach nothing.

#include "core/memory_speed.h"
#include "core/memory_speed_history.h"
#include "core/staircase.h"
#include "support/calibration.h"

#include <QList>
#include <QTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>
#include <limits>
#include <random>
#include <vector>

namespace {

using Trials = QList<core::Trial>;
using Missing = core::MemorySpeedFit::Missing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The lapse rate of the usual simulated player.
constexpr double kUsualLapse = 0.02;
constexpr double kInf = std::numeric_limits<double>::infinity();

// Even at 2 to 3 s the player forgets as often as not: nothing within the
// search (up to twice the coached 3 s) bounds the point above.
const Trials kOpenAbove {{2, true}, {2, false}, {2.5, false}, {2.5, true}, {3, false}};

/// `rounds` at each time, interleaved, remembered as often as the player would be
/// (to the nearest round).
Trials exactRounds(const SimulatedPlayer& player, const std::vector<double>& times, int rounds)
{
    Trials trials;
    for (int i = 0; i < rounds; ++i)
        for (const double t : times)
            trials.push_back({t, i < std::lround(player.chance(t) * rounds)});
    return trials;
}

using Groups = QList<core::TimeGroup>;

// The moment the level tests read the record at; a function, so that it is
// taken in the test's time zone, set once the test starts.
QDateTime testNow()
{
    return {QDate(2026, 6, 10), QTime(12, 0)};
}

// A determined week: rounds at five times two days before `now`.
QList<core::DatedTrial> determinedRoundsBefore(const QDateTime& now)
{
    QList<core::DatedTrial> rounds;
    for (const core::Trial& trial : exactRounds({0.4, 4, kUsualLapse}, {0.1, 0.2, 0.4, 0.8, 1.6}, 8))
        rounds.append({now.addDays(-2), trial});
    return rounds;
}

} // namespace

Q_DECLARE_METATYPE(Trials)
Q_DECLARE_METATYPE(Groups)
Q_DECLARE_METATYPE(Missing)
Q_DECLARE_METATYPE(Population)

class TestCoach : public QObject {
    Q_OBJECT

private slots:
    // Central European time with its summer time, written out so that no
    // time zone files are needed: the level tests cross its changes.
    void initTestCase()
    {
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        ::tzset();
    }

    // Guards against steps of the wrong size or direction, large steps kept
    // after the first reversal or small ones taken before it, a step read
    // from the wrong round, rounding other than to hundredths, a bound not
    // held, an unusable round taken as the last or as a reversal, and a bad
    // start let through.
    void staircaseGivesTheNextTime_data()
    {
        QTest::addColumn<Trials>("rounds");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("next");

        QTest::newRow("first remembered: halved") << Trials {{0.75, true}} << 0.75 << 0.38; // 0.375
        QTest::newRow("first forgotten: doubled") << Trials {{0.75, false}} << 0.75 << 1.5;
        QTest::newRow("no reversal yet: halved again") << Trials {{0.75, true}, {0.38, true}} << 0.75 << 0.19;
        QTest::newRow("after a reversal: one step down")
            << Trials {{0.5, false}, {0.75, true}} << 0.75 << 0.63; // 0.6307
        QTest::newRow("after a reversal: three steps up")
            << Trials {{0.75, true}, {0.38, false}} << 0.75 << 0.64; // 0.6391
        QTest::newRow("a reversal long ago still counts")
            << Trials {{0.75, true}, {0.38, false}, {0.64, true}, {0.54, true}} << 0.75 << 0.45; // 0.4541
        QTest::newRow("an unrounded time rounded") << Trials {{0.3, false}, {0.413, true}} << 0.75 << 0.35; // 0.3473
        QTest::newRow("up from the shortest rises") << Trials {{0.03, false}} << 0.75 << 0.06;
        QTest::newRow("down from the shortest stays") << Trials {{0.03, true}} << 0.75 << 0.03;
        QTest::newRow("down onto the shortest") << Trials {{0.05, true}} << 0.75 << 0.03; // 0.025
        QTest::newRow("up past the longest stops") << Trials {{2.0, false}} << 0.75 << 3.0; // 4
        QTest::newRow("a minute from the box comes down") << Trials {{60.0, true}} << 0.75 << 3.0;
        QTest::newRow("unusable rounds are passed over")
            << Trials {{0.75, true}, {0.5, false}, {kNaN, true}, {0.0, true}, {-1.0, true}, {kInf, true}} << 0.5
            << 0.84; // 0.8409: three steps up, the reversal found among usable rounds only
        QTest::newRow("unusable rounds make no reversal")
            << Trials {{kNaN, false}, {0.0, false}, {0.6, true}} << 0.5 << 0.3;
        QTest::newRow("no rounds: the box") << Trials {} << 0.9 << 0.9;
        QTest::newRow("no rounds: the box rounded") << Trials {} << 0.333 << 0.33;
        QTest::newRow("only unusable rounds: the box") << Trials {{kNaN, false}, {0.0, true}} << 1.2 << 1.2;
        QTest::newRow("box below the shortest") << Trials {} << 0.01 << 0.03;
        QTest::newRow("box beyond the longest") << Trials {} << 60.0 << 3.0;
        QTest::newRow("box zero: the shortest") << Trials {} << 0.0 << 0.03;
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
        const int shortest = static_cast<int>(std::lround(core::kShortestCoachedSeconds * 100));
        for (int hundredths = shortest; hundredths <= 300; ++hundredths) {
            const double t = hundredths / 100.0;
            if (hundredths > shortest)
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
        QTest::newRow("open above") << kOpenAbove << Missing::Precision << 3 << 2 << 3;
        // A few rounds bound it, but far too loosely.
        QTest::newRow("too wide") << Trials {{0.1, true}, {0.2, false}, {0.4, true}, {0.8, false}, {1.6, true}}
                                  << Missing::Precision << 5 << 3 << 2;
        QTest::newRow("determined") << bad + exactRounds({0.4, 4, kUsualLapse}, {0.1, 0.2, 0.4, 0.8, 1.6}, 8)
                                    << Missing::None << 5 << 23 << 17;
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
        const SimulatedPlayer player {0.4, 4, kUsualLapse};
        const Trials trials = exactRounds(player, {0.1, 0.15, 0.2, 0.3, 0.4, 0.5, 0.6, 0.8, 1.2, 1.6}, 1000);
        const core::MemorySpeedFit fit = core::memorySpeed(trials);
        QVERIFY(fit.estimate);
        QVERIFY2(std::abs(fit.estimate->seconds / 0.4 - 1) < 0.005, qPrintable(QString::number(fit.estimate->seconds)));
        QVERIFY(fit.estimate->low < 0.4 && 0.4 < fit.estimate->high);
        QVERIFY(fit.estimate->high < 1.1 * fit.estimate->low);
    }

    // Guards against a wrong prior (its centre, its spread, the slope's bounds
    // or their log, the lapse rate's range), a search that misses a maximum
    // at a bound, a lapse rate fixed or profiled rather than integrated out,
    // and an interval from the likelihood rather than its penalised profile.
    // The expected figures come from an independent brute-force search (a
    // grid of 121 slopes by 121 lapse rates refined by Nelder-Mead, the
    // curvature in the lapse rate by finite differences, thresholds 0.02
    // apart, the peak by a bounded search and the ends by Brent's method).
    void theFitMatchesABruteForceSearch_data()
    {
        QTest::addColumn<Groups>("groups");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        // Every miss shorter than every hit: the prior alone bounds the slope.
        QTest::newRow("four rounds, one forgotten")
            << Groups {{0.45, 1, 0}, {0.53, 1, 1}, {0.63, 1, 1}, {0.75, 1, 1}} << 0.60081 << 0.31766 << 0.97262;
        QTest::newRow("slope at the steepest")
            << Groups {{0.45, 100, 0}, {0.5, 100, 2}, {0.55, 100, 98}, {0.6, 100, 98}} << 0.55465 << 0.55070 << 0.55864;
        QTest::newRow("slope near the shallowest") << Groups {{0.05, 200, 100}, {0.2, 200, 125}, {0.8, 200, 150},
            {3, 200, 170}} << 0.61953 << 0.47550 << 0.81219;
        // About one round in eight forgotten however long the target showed.
        QTest::newRow("lapses at long times") << Groups {{0.2, 20, 2}, {0.4, 20, 9}, {0.8, 20, 16}, {1.6, 20, 17},
            {3, 20, 17}} << 0.72090 << 0.58113 << 0.93677;
    }
    void theFitMatchesABruteForceSearch()
    {
        QFETCH(Groups, groups);
        QFETCH(double, seconds);
        QFETCH(double, low);
        QFETCH(double, high);
        const core::MemorySpeedFit fit = core::memorySpeed(std::span<const core::TimeGroup>(groups));
        QVERIFY(fit.estimate);
        constexpr double kTolerance = 5e-4; // relative: the search's own tolerance is 1e-4 in ln seconds
        for (const auto& [found, expected] : {std::pair {fit.estimate->seconds, seconds},
                 std::pair {fit.estimate->low, low}, std::pair {fit.estimate->high, high}})
            QVERIFY2(std::abs(found / expected - 1) < kTolerance,
                qPrintable(QStringLiteral("%1, expected %2").arg(found).arg(expected)));
    }

    // Guards against an interval that is too narrow or too wide for its 68 %
    // at any count, misses that fall on one side, a figure withheld too
    // often, a biased estimate, a lapse rate fixed rather than learnt, and a
    // staircase that does not find fast or slow players quickly or gather
    // rounds near the point: simulated players whose 75 % point is known,
    // coached through the staircase. The few-round counts take more players:
    // their fits are quick and their figures vary the most. With 15 % lapses
    // a few dozen rounds cannot tell such a player from one who lapses
    // rarely, and the interval reads narrow (53 to 61 %, by the run); near the
    // longest coached time (3 s) it reads wide, for what lies beyond is never shown.
    void theEstimateIsHonestForEveryKindOfPlayer_data()
    {
        QTest::addColumn<Population>("population");
        QTest::addColumn<int>("players");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<double>("leastCoverage");
        QTest::addColumn<double>("mostCoverage");
        QTest::addColumn<double>("mostOnOneSide");
        QTest::addColumn<QList<double>>("leastShown"); // at each count
        QTest::addColumn<double>("largestMedianError"); // at the first count

        constexpr double kAny = 1;
        const Population usual;
        Population lapses10 = usual, lapses15 = usual, fast = usual, slow = usual, longBox = usual, shortBox = usual;
        lapses10.lapse = 0.10;
        lapses15.lapse = 0.15;
        fast.fastest = fast.slowest = 0.06;
        slow.fastest = slow.slowest = 2.5;
        longBox.firstSeconds = 1.5;
        shortBox.firstSeconds = 0.3;
        const QList<int> fewToMany {10, 20, 60};
        const QList<double> anyShown {0, 0, 0};
        QTest::newRow("usual players, few rounds")
            << usual << 2000 << QList<int> {5, 10, 20} << 0.60 << 0.76 << 0.24 << QList<double> {0, 0.70, 0.99} << kAny;
        QTest::newRow("usual players, many rounds")
            << usual << 300 << QList<int> {60, 200} << 0.60 << 0.76 << 0.24 << QList<double> {0.99, 0.99} << 0.10;
        QTest::newRow("lapses of 10 %") << lapses10 << 1000 << fewToMany << 0.60 << 0.76 << kAny << anyShown << kAny;
        QTest::newRow("lapses of 15 %") << lapses15 << 1000 << fewToMany << 0.50 << 0.76 << kAny << anyShown << kAny;
        QTest::newRow("true 0.06 s") << fast << 500 << fewToMany << 0.60 << 0.76 << kAny << anyShown << 0.30;
        QTest::newRow("true 2.5 s") << slow << 500 << fewToMany << 0.60 << 0.82 << kAny << anyShown << 0.30;
        QTest::newRow("box at 1.5 s") << longBox << 1000 << fewToMany << 0.60 << 0.76 << kAny << anyShown << 0.30;
        QTest::newRow("box at 0.3 s") << shortBox << 1000 << fewToMany << 0.60 << 0.76 << kAny << anyShown << 0.30;
    }
    void theEstimateIsHonestForEveryKindOfPlayer()
    {
        QFETCH(Population, population);
        QFETCH(int, players);
        QFETCH(QList<int>, counts);
        QFETCH(double, leastCoverage);
        QFETCH(double, mostCoverage);
        QFETCH(double, mostOnOneSide);
        QFETCH(QList<double>, leastShown);
        QFETCH(double, largestMedianError);
        const std::vector<Tally> tallies = coachedPlayers(population, players, counts, 20240611);
        for (qsizetype i = 0; i < counts.size(); ++i) {
            const Tally& tally = tallies[static_cast<std::size_t>(i)];
            qInfo("%3d rounds: shown for %5.1f %% of %d players, interval holds the true value for %5.1f %%"
                  " (wholly above it %4.1f %%, below %4.1f %%), median error %4.1f %%",
                counts[i], 100 * tally.shownShare(), tally.asked, 100 * tally.coverage(), 100 * tally.aboveShare(),
                100 * tally.belowShare(), 100 * tally.medianError());
            const QByteArray at = QByteArray::number(counts[i]) + " rounds";
            QVERIFY2(tally.coverage() >= leastCoverage && tally.coverage() <= mostCoverage, at);
            QVERIFY2(tally.aboveShare() <= mostOnOneSide && tally.belowShare() <= mostOnOneSide, at);
            QVERIFY2(tally.shownShare() >= leastShown[i], at);
        }
        QVERIFY(tallies.front().medianError() <= largestMedianError);
    }

    // Guards against a figure fitted to rounds the player chose to keep:
    // coached rounds beside rounds kept by 点数保存 with coaching off (every
    // remembered one, a quarter of the forgotten), read as the record window
    // reads them. Fitted to every round kept, the interval would hold the
    // true value for far fewer players, and the figure would read fast.
    void aFigureLeavesOutRoundsKeptByChoice()
    {
        const Tally coached = handKeptPlayers({}, 300, 60, 20240614);
        const Tally everyKept = handKeptPlayers({}, 300, 60, 20240614, true);
        qInfo("coached rounds beside hand-kept ones: interval holds the true value for %.1f %%; fitted to every round "
              "kept, %.1f %%",
            100 * coached.coverage(), 100 * everyKept.coverage());
        QVERIFY(coached.coverage() >= 0.60 && coached.coverage() <= 0.76);
        QVERIFY(coached.aboveShare() <= 0.24 && coached.belowShare() <= 0.24);
        QVERIFY2(everyKept.coverage() < 0.5, qPrintable(QString::number(everyKept.coverage())));
    }

    // Guards against a level that trails the player: one improving 30 % over
    // four weeks at eight rounds a day, read at each day's end.
    void theLevelNowFollowsAnImprovingPlayer()
    {
        const Tally tally = improvingPlayers({}, 0.3, 300, 20240613);
        qInfo("improving players: shown on %.1f %% of days, interval holds the value now on %.1f %%",
            100 * tally.shownShare(), 100 * tally.coverage());
        QVERIFY2(tally.coverage() >= 0.55 && tally.coverage() <= 0.80, qPrintable(QString::number(tally.coverage())));
    }

    // Guards against a change called clear by chance (intervals merely apart,
    // a test at a lax rate), and against one never called clear: players who
    // do not change read "clear" on few days, players improving 30 % over four
    // weeks read "clearly faster" on many of their last days and "clearly
    // slower" almost never.
    void aChangeIsCalledClearOnlyWhenItIs()
    {
        const ChangeTally stable = changeReadings({}, 0, 200, 14, 20240615);
        const ChangeTally improving = changeReadings({}, 0.3, 300, 21, 20240616);
        qInfo(
            "stable players: clear on %.1f %% of days 14 to 28 (%d compared of %d); improving players: clearly faster "
            "on %.1f %% of days 21 to 28, clearly slower on %.1f %%",
            100 * stable.clearShare(), stable.compared, stable.days, 100 * improving.fasterShare(),
            100 * improving.slowerShare());
        QVERIFY(stable.clearShare() <= 0.05);
        QVERIFY(improving.fasterShare() >= 0.35);
        QVERIFY(improving.slowerShare() <= 0.01);
    }

    // Guards against windows a day too long or too short, ends taken the
    // wrong side of the fencepost, and days reckoned as 24 hours across a
    // change of summer time (the test runs in Europe/Berlin: summer time
    // begins on 29 March 2026 and ends on 25 October), and the level now
    // compared with a level other than twenty days earlier's. A round at 5 s,
    // forgotten, is counted in the level (now's, a day's, or the one compared
    // with) if it falls within its window.
    void windowsFollowTheCalendar_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("earlier"); // the level compared with, else:
        QTest::addColumn<QDate>("day"); // whose level; none: the level now
        QTest::addColumn<QDateTime>("probe");
        QTest::addColumn<bool>("weekDetermined"); // determined rounds in the week, else a fortnight back
        QTest::addColumn<int>("days");
        QTest::addColumn<bool>("counted");
        const QDateTime now = testNow();
        const QDateTime spring(QDate(2026, 3, 31), QTime(12, 0)), autumn(QDate(2026, 10, 27), QTime(12, 0));
        const QDate none;
        QTest::newRow("a week back to the millisecond: out")
            << now << false << none << now.addDays(-7) << true << 7 << false;
        QTest::newRow("a millisecond later: in")
            << now << false << none << now.addDays(-7).addMSecs(1) << true << 7 << true;
        QTest::newRow("four weeks back: out") << now << false << none << now.addDays(-28) << false << 28 << false;
        QTest::newRow("a millisecond later: in, of four weeks")
            << now << false << none << now.addDays(-28).addMSecs(1) << false << 28 << true;
        // 7 x 24 hours back would take in the hour before the spring week and leave out the autumn week's first.
        QTest::newRow("the week of 167 hours in spring: the hour before it out")
            << spring << false << none << spring.addDays(-7).addSecs(-1800) << true << 7 << false;
        QTest::newRow("the week of 169 hours in autumn: its first hour in")
            << autumn << false << none << autumn.addDays(-7).addSecs(1800) << true << 7 << true;
        QTest::newRow("a round still to come: out") << now << false << none << now.addSecs(1) << true << 7 << false;
        // 29 March has 23 hours: its start plus 24 hours would take in the 30th's first hour.
        QTest::newRow("half an hour into the day after a short one: out of its level")
            << spring << false << QDate(2026, 3, 29) << QDateTime(QDate(2026, 3, 30), QTime(0, 30)) << true << 7
            << false;
        const QDateTime compared = now.addDays(-20); // written out: a horizon a week off must fail
        QTest::newRow("twenty days and a week back: out of the level compared with")
            << now << true << none << compared.addDays(-7) << true << 7 << false;
        QTest::newRow("a millisecond later: in it")
            << now << true << none << compared.addDays(-7).addMSecs(1) << true << 7 << true;
        QTest::newRow("just after twenty days back: out of it")
            << now << true << none << compared.addMSecs(1) << true << 7 << false;
    }
    void windowsFollowTheCalendar()
    {
        QFETCH(QDateTime, now);
        QFETCH(bool, earlier);
        QFETCH(QDate, day);
        QFETCH(QDateTime, probe);
        QFETCH(bool, weekDetermined);
        QFETCH(bool, counted);
        const QDateTime levelAt = earlier ? now.addDays(-20) : now;
        QList<core::DatedTrial> rounds = determinedRoundsBefore(weekDetermined ? levelAt : levelAt.addDays(-12));
        rounds.append({probe, {5, false}});
        core::MemorySpeedHistory history;
        history.setTrials(rounds, now);
        core::Level level = earlier ? history.levelEarlier() : history.levelNow();
        for (const core::DayLevel& dayLevel : history.days())
            if (dayLevel.day == day)
                level = dayLevel.level;
        QTEST(level.days, "days");
        QCOMPARE(level.fit.distinctTimes, counted ? 6 : 5);
    }

    // Guards against fits kept for days whose rounds changed, and kept fits
    // that differ from fits made afresh: a record edited round by round (one
    // added today, one a week back, one removed) read by one history, each
    // reading against a fresh one.
    void keptFitsAreTheFitsMadeAfresh()
    {
        std::mt19937_64 random(7);
        std::uniform_real_distribution<double> unit(0, 1);
        const SimulatedPlayer player {0.4, 4, kUsualLapse};
        QList<core::DatedTrial> rounds;
        std::vector<core::Trial> trials;
        for (int i = 0; i < 8 * 40; ++i) {
            const double t = core::nextDisplaySeconds(trials, Population {}.firstSeconds);
            trials.push_back({t, unit(random) < player.chance(t)});
            rounds.append({testNow().addSecs(-3 * 3600 * (8 * 40 - i)), trials.back()});
        }
        core::MemorySpeedHistory kept;
        const QList<QList<core::DatedTrial>> readings {rounds,
            rounds + QList<core::DatedTrial> {{testNow(), {0.3, true}}},
            rounds + QList<core::DatedTrial> {{testNow().addDays(-7), {0.9, false}}}, rounds.mid(1)};
        const auto same = [](const core::DayLevel& a, const core::DayLevel& b) {
            return a.day == b.day && a.level.days == b.level.days && a.level.fit == b.level.fit;
        };
        for (const QList<core::DatedTrial>& reading : readings) {
            core::MemorySpeedHistory fresh;
            kept.setTrials(reading, testNow());
            fresh.setTrials(reading, testNow());
            QCOMPARE(kept.levelNow().fit, fresh.levelNow().fit);
            QVERIFY(std::ranges::equal(kept.days(), fresh.days(), same));
        }
    }

    // Guards against a near-rest target taken for one the player could see,
    // or the reverse, at the edge of half a target disc.
    void aTargetNearRestIsKnown_data()
    {
        QTest::addColumn<QPointF>("moved"); // of the right hand, in twips
        QTest::addColumn<bool>("nearRest");
        QTest::newRow("nothing moved") << QPointF(0, 0) << true;
        QTest::newRow("just within half a disc") << QPointF(55, 55) << true; // 77.8 twips
        QTest::newRow("just beyond it") << QPointF(56, 56) << false; // 79.2 twips
    }
    void aTargetNearRestIsKnown()
    {
        QFETCH(QPointF, moved);
        const core::Joints rest {};
        core::Joints target = rest;
        target[4] += moved; // the right hand
        QTEST(core::nearRest(rest, target), "nearRest");
    }
};

QTEST_GUILESS_MAIN(TestCoach)
#include "tst_coach.moc"
