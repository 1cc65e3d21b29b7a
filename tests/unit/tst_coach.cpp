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
    for (const core::Trial& trial : exactRounds({0.4, 4, core::kLapseRate}, {0.1, 0.2, 0.4, 0.8, 1.6}, 8))
        rounds.append({now.addDays(-2), trial});
    return rounds;
}

} // namespace

Q_DECLARE_METATYPE(Trials)
Q_DECLARE_METATYPE(Groups)
Q_DECLARE_METATYPE(Missing)

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
        QTest::newRow("open above") << kOpenAbove << Missing::Precision << 3 << 2 << 3;
        // A few rounds bound it, but far too loosely.
        QTest::newRow("too wide") << Trials {{0.1, true}, {0.2, false}, {0.4, true}, {0.8, false}, {1.6, true}}
                                  << Missing::Precision << 5 << 3 << 2;
        QTest::newRow("determined") << bad + exactRounds({0.4, 4, core::kLapseRate}, {0.1, 0.2, 0.4, 0.8, 1.6}, 8)
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
        const SimulatedPlayer player {0.4, 4, core::kLapseRate};
        const Trials trials = exactRounds(player, {0.1, 0.15, 0.2, 0.3, 0.4, 0.5, 0.6, 0.8, 1.2, 1.6}, 1000);
        const core::MemorySpeedFit fit = core::memorySpeed(trials);
        QVERIFY(fit.estimate);
        QVERIFY2(std::abs(fit.estimate->seconds / 0.4 - 1) < 0.005, qPrintable(QString::number(fit.estimate->seconds)));
        QVERIFY(fit.estimate->low < 0.4 && 0.4 < fit.estimate->high);
        QVERIFY(fit.estimate->high < 1.1 * fit.estimate->low);
    }

    // Guards against a wrong prior (its centre, its spread, the slope's bounds
    // or their log), a slope search that misses a maximum at a bound, and an
    // interval from the likelihood rather than its penalised profile. The
    // expected figures come from an independent brute-force search (401
    // slopes, thresholds 0.02 apart, each refined by golden sections).
    void theFitMatchesABruteForceSearch_data()
    {
        QTest::addColumn<Groups>("groups");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        // Every miss shorter than every hit: the prior alone bounds the slope.
        QTest::newRow("four rounds, one forgotten")
            << Groups {{0.45, 1, 0}, {0.53, 1, 1}, {0.63, 1, 1}, {0.75, 1, 1}} << 0.56741 << 0.36516 << 0.82823;
        QTest::newRow("slope at the steepest")
            << Groups {{0.45, 100, 0}, {0.5, 100, 2}, {0.55, 100, 98}, {0.6, 100, 98}} << 0.55562 << 0.55166 << 0.55959;
        QTest::newRow("slope at the shallowest") << Groups {{0.05, 200, 60}, {0.2, 200, 85}, {0.8, 200, 110},
            {3, 200, 140}} << 4.03316 << 3.43709 << 4.70845;
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

    // Guards against an interval that is too narrow or too wide for its
    // 68 % at any count, a figure withheld too often, a biased estimate, and a
    // staircase that does not gather rounds near the point: players with
    // known 75 % points (log-uniform 0.1..1.2 s) and slopes (2..6), coached
    // from 0.75 s. The few-round counts take more players: their fits are
    // quick and their figures vary the most.
    void theEstimateIsHonestAtEveryCount()
    {
        constexpr std::array kFew {5, 10, 20, 30};
        constexpr std::array kMany {60, 200};
        const std::vector<Tally> few = coachedPlayers({}, 2000, kFew, 20240611);
        const std::vector<Tally> many = coachedPlayers({}, 300, kMany, 20240612);
        const auto check = [](int count, const Tally& tally, double leastShown, double largestMedianError) {
            qInfo("%3d rounds: shown for %5.1f %% of %d players, interval holds the true value for %5.1f %%,"
                  " median error %4.1f %%",
                count, 100 * tally.shownShare(), tally.asked, 100 * tally.coverage(), 100 * tally.medianError());
            QVERIFY2(tally.coverage() >= 0.60 && tally.coverage() <= 0.76, qPrintable(QString::number(count)));
            QVERIFY2(tally.shownShare() >= leastShown, qPrintable(QString::number(count)));
            QVERIFY2(tally.medianError() <= largestMedianError, qPrintable(QString::number(count)));
        };
        constexpr double kAny = 1;
        check(5, few[0], 0, kAny);
        check(10, few[1], 0.75, 0.20);
        check(20, few[2], 0.99, kAny);
        check(30, few[3], 0.99, kAny);
        check(60, many[0], 0.99, 0.08);
        check(200, many[1], 0.99, kAny);
    }

    // Guards against a level that trails the player: one improving 30 % over
    // four weeks at eight rounds a day, read at each day's end.
    void theLevelNowFollowsAnImprovingPlayer()
    {
        const Tally tally = improvingPlayers({}, 300, 20240613);
        qInfo("improving players: shown on %.1f %% of days, interval holds the value now on %.1f %%",
            100 * tally.shownShare(), 100 * tally.coverage());
        QVERIFY2(tally.coverage() >= 0.55 && tally.coverage() <= 0.80, qPrintable(QString::number(tally.coverage())));
    }

    // Guards against windows a day too long or too short, ends taken the
    // wrong side of the fencepost, and days reckoned as 24 hours across a
    // change of summer time (the test runs in Europe/Berlin: summer time
    // begins on 29 March 2026 and ends on 25 October). A round at 5 s,
    // forgotten, is counted in the level (now's, or a day's) if it falls within its window.
    void windowsFollowTheCalendar_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDate>("day"); // whose level; none: the level now
        QTest::addColumn<QDateTime>("probe");
        QTest::addColumn<bool>("weekDetermined"); // determined rounds in the week, else a fortnight back
        QTest::addColumn<int>("days");
        QTest::addColumn<bool>("counted");
        const QDateTime now = testNow();
        const QDateTime spring(QDate(2026, 3, 31), QTime(12, 0)), autumn(QDate(2026, 10, 27), QTime(12, 0));
        const QDate none;
        QTest::newRow("a week back to the millisecond: out") << now << none << now.addDays(-7) << true << 7 << false;
        QTest::newRow("a millisecond later: in") << now << none << now.addDays(-7).addMSecs(1) << true << 7 << true;
        QTest::newRow("four weeks back: out") << now << none << now.addDays(-28) << false << 28 << false;
        QTest::newRow("a millisecond later: in, of four weeks")
            << now << none << now.addDays(-28).addMSecs(1) << false << 28 << true;
        // 7 x 24 hours back would take in the hour before the spring week and leave out the autumn week's first.
        QTest::newRow("the week of 167 hours in spring: the hour before it out")
            << spring << none << spring.addDays(-7).addSecs(-1800) << true << 7 << false;
        QTest::newRow("the week of 169 hours in autumn: its first hour in")
            << autumn << none << autumn.addDays(-7).addSecs(1800) << true << 7 << true;
        QTest::newRow("a round still to come: out") << now << none << now.addSecs(1) << true << 7 << false;
        // 29 March has 23 hours: its start plus 24 hours would take in the 30th's first hour.
        QTest::newRow("half an hour into the day after a short one: out of its level")
            << spring << QDate(2026, 3, 29) << QDateTime(QDate(2026, 3, 30), QTime(0, 30)) << true << 7 << false;
    }
    void windowsFollowTheCalendar()
    {
        QFETCH(QDateTime, now);
        QFETCH(QDate, day);
        QFETCH(QDateTime, probe);
        QFETCH(bool, weekDetermined);
        QFETCH(bool, counted);
        QList<core::DatedTrial> rounds = determinedRoundsBefore(weekDetermined ? now : now.addDays(-12));
        rounds.append({probe, {5, false}});
        core::MemorySpeedHistory history;
        history.setTrials(rounds, now);
        core::Level level = history.levelNow();
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
        const SimulatedPlayer player {0.4, 4, core::kLapseRate};
        QList<core::DatedTrial> rounds;
        std::vector<core::Trial> trials;
        for (int i = 0; i < 8 * 40; ++i) {
            const double t = core::nextDisplaySeconds(trials, kFirstDisplaySeconds);
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
