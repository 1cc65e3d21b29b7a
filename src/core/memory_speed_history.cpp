#include "core/memory_speed_history.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <thread>

namespace core {

namespace {

// Fits fewer than this are made on the calling thread alone: starting a
// thread costs more than a fit or two.
constexpr std::size_t kFitsWorthThreads = 8;

/// Fits each of `groups` into `fits`, on as many threads as the machine has
/// cores: a year's days at first sight are hundreds of fits, each independent.
void fitEach(const std::vector<const std::vector<TimeGroup>*>& groups, std::vector<MemorySpeedFit>& fits)
{
    fits.resize(groups.size());
    std::atomic<std::size_t> next {0};
    const auto work = [&] {
        for (std::size_t i = next++; i < groups.size(); i = next++)
            fits[i] = memorySpeed(std::span<const TimeGroup>(*groups[i]));
    };
    std::vector<std::jthread> helpers;
    if (groups.size() >= kFitsWorthThreads)
        for (unsigned i = 1; i < std::thread::hardware_concurrency(); ++i)
            helpers.emplace_back(work);
    work();
}

} // namespace

/// The rounds within a window of time as groups by display time, kept up to
/// date as the window moves forward over the rounds: each round enters and
/// leaves once, however many windows are asked for.
class MemorySpeedHistory::Windows {
public:
    explicit Windows(const std::vector<Dated>& trials)
        : m_trials(trials)
    {
    }

    /// The groups of the rounds played after `fromMs` and up to `untilMs`;
    /// both only ever move forward from one call to the next.
    std::vector<TimeGroup> groupsWithin(qint64 fromMs, qint64 untilMs)
    {
        if (m_begin == m_end) {
            // An empty window leaps to its start rather than walk the rounds before it.
            const auto start = std::upper_bound(m_trials.begin() + std::ptrdiff_t(m_end), m_trials.end(), fromMs,
                [](qint64 ms, const Dated& dated) { return ms < dated.playedMs; });
            m_begin = m_end = static_cast<std::size_t>(start - m_trials.begin());
        }
        for (; m_end < m_trials.size() && m_trials[m_end].playedMs <= untilMs; ++m_end)
            count(m_trials[m_end].trial, +1);
        for (; m_begin < m_end && m_trials[m_begin].playedMs <= fromMs; ++m_begin)
            count(m_trials[m_begin].trial, -1);
        std::vector<TimeGroup> groups;
        groups.reserve(m_groups.size());
        for (const auto& [seconds, group] : m_groups)
            groups.push_back(group);
        return groups;
    }

private:
    void count(const Trial& trial, int sign)
    {
        TimeGroup& group = m_groups[trial.displaySeconds];
        group.seconds = trial.displaySeconds;
        group.rounds += sign;
        group.remembered += trial.remembered ? sign : 0;
        if (group.rounds == 0)
            m_groups.erase(trial.displaySeconds);
    }

    const std::vector<Dated>& m_trials;
    std::size_t m_begin = 0, m_end = 0;
    std::map<double, TimeGroup> m_groups;
};

void MemorySpeedHistory::setTrials(std::span<const DatedTrial> trials, const QDateTime& now)
{
    const qint64 nowMs = now.toMSecsSinceEpoch();
    std::vector<Dated> sorted;
    sorted.reserve(trials.size());
    for (const DatedTrial& dated : trials) {
        const qint64 playedMs = dated.playedAt.toMSecsSinceEpoch();
        if (usable(dated.trial) && dated.playedAt.isValid() && playedMs <= nowMs)
            sorted.push_back({playedMs, dated.playedAt.date(), dated.trial});
    }
    std::stable_sort(
        sorted.begin(), sorted.end(), [](const Dated& a, const Dated& b) { return a.playedMs < b.playedMs; });

    // Where the rounds first differ from the last ones given: no window that
    // ends before then has changed.
    const auto same = [](const Dated& a, const Dated& b) {
        return a.playedMs == b.playedMs && a.day == b.day && a.trial.displaySeconds == b.trial.displaySeconds
            && a.trial.remembered == b.trial.remembered;
    };
    const auto [inNew, inOld] = std::mismatch(sorted.begin(), sorted.end(), m_trials.begin(), m_trials.end(), same);
    if (inNew != sorted.end())
        m_changedFromMs = std::min(m_changedFromMs, inNew->playedMs);
    if (inOld != m_trials.end())
        m_changedFromMs = std::min(m_changedFromMs, inOld->playedMs);

    m_trials = std::move(sorted);
    m_now = now;
    m_daysCurrent = false;
}

MemorySpeedHistory::Bounds MemorySpeedHistory::boundsUntil(const QDateTime& until)
{
    // Days back by the calendar, in the moment's own time: across a change to
    // or from summer time a week is an hour more or less than 7 x 24 hours.
    return {until.addDays(-kRecentDays).toMSecsSinceEpoch(), until.addDays(-kFallbackDays).toMSecsSinceEpoch(),
        until.toMSecsSinceEpoch()};
}

Level MemorySpeedHistory::levelNow()
{
    return levelsWithin({boundsUntil(m_now)}, m_nowFits).front();
}

Level MemorySpeedHistory::levelEarlier()
{
    return levelsWithin({boundsUntil(m_now.addDays(-kComparedDaysBack))}, m_earlierFits).front();
}

const std::vector<DayLevel>& MemorySpeedHistory::days()
{
    if (m_daysCurrent)
        return m_days;
    std::vector<QDate> dates;
    for (const Dated& dated : m_trials)
        if (dates.empty() || dates.back() != dated.day)
            dates.push_back(dated.day);
    // Rounds played at other offsets (on a journey, say) may come out of date order.
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());

    // Each day up to its last millisecond, or up to now for today: a round
    // played since counts too. A past day's bounds are kept: working them out
    // takes the time zone's rules, dearer than the rest of a day's level.
    const qint64 nowMs = m_now.toMSecsSinceEpoch();
    std::map<QDate, Bounds> dayBounds;
    std::vector<Bounds> bounds;
    bounds.reserve(dates.size());
    for (const QDate& day : dates) {
        auto known = m_dayBounds.find(day);
        if (known == m_dayBounds.end())
            known = m_dayBounds.emplace(day, boundsUntil(day.addDays(1).startOfDay().addMSecs(-1))).first;
        dayBounds.insert(*known);
        bounds.push_back(known->second.until <= nowMs ? known->second : boundsUntil(m_now));
    }
    m_dayBounds = std::move(dayBounds);

    // The days that end, as before, ahead of every round changed since keep their levels.
    std::size_t kept = 0;
    while (kept < dates.size() && kept < m_days.size() && m_days[kept].day == dates[kept]
        && m_dayEnds[kept] == bounds[kept].until && bounds[kept].until < m_changedFromMs)
        ++kept;
    const std::vector<Level> levels
        = levelsWithin(std::vector<Bounds>(bounds.begin() + std::ptrdiff_t(kept), bounds.end()), m_dayFits);
    m_days.resize(kept);
    m_dayEnds.resize(kept);
    for (std::size_t i = kept; i < dates.size(); ++i) {
        m_days.push_back({dates[i], levels[i - kept]});
        m_dayEnds.push_back(bounds[i].until);
    }
    m_changedFromMs = std::numeric_limits<qint64>::max();
    m_daysCurrent = true;
    return m_days;
}

std::vector<Level> MemorySpeedHistory::levelsWithin(const std::vector<Bounds>& bounds, Fits& kept)
{
    std::vector<std::vector<TimeGroup>> recent, fallback;
    recent.reserve(bounds.size());
    fallback.reserve(bounds.size());
    Windows recentWindow(m_trials), fallbackWindow(m_trials);
    for (const Bounds& within : bounds) {
        recent.push_back(recentWindow.groupsWithin(within.recentFrom, within.until));
        fallback.push_back(fallbackWindow.groupsWithin(within.fallbackFrom, within.until));
    }

    // Fits found in either store are taken over; the rest are made, each once.
    Fits fresh;
    const auto keptFit = [this](const std::vector<TimeGroup>& groups) -> const MemorySpeedFit* {
        for (const Fits* store : {&m_dayFits, &m_nowFits, &m_earlierFits})
            if (const auto found = store->find(groups); found != store->end())
                return &found->second;
        return nullptr;
    };
    const auto fitAll = [&](const std::vector<const std::vector<TimeGroup>*>& wanted) {
        std::vector<const std::vector<TimeGroup>*> missing;
        for (const std::vector<TimeGroup>* groups : wanted) {
            if (fresh.contains(*groups))
                continue;
            if (const MemorySpeedFit* fit = keptFit(*groups))
                fresh.emplace(*groups, *fit);
            else if (fresh.emplace(*groups, MemorySpeedFit {}).second)
                missing.push_back(groups);
        }
        std::vector<MemorySpeedFit> fits;
        fitEach(missing, fits);
        for (std::size_t i = 0; i < missing.size(); ++i)
            fresh[*missing[i]] = std::move(fits[i]);
    };

    std::vector<const std::vector<TimeGroup>*> wanted;
    for (const std::vector<TimeGroup>& groups : recent)
        wanted.push_back(&groups);
    fitAll(wanted);
    // The longer window only where the recent one does not determine the level.
    wanted.clear();
    for (std::size_t i = 0; i < bounds.size(); ++i)
        if (!fresh.at(recent[i]).estimate)
            wanted.push_back(&fallback[i]);
    fitAll(wanted);

    std::vector<Level> levels;
    levels.reserve(bounds.size());
    for (std::size_t i = 0; i < bounds.size(); ++i) {
        const MemorySpeedFit& recentFit = fresh.at(recent[i]);
        levels.push_back(
            recentFit.estimate ? Level {recentFit, kRecentDays} : Level {fresh.at(fallback[i]), kFallbackDays});
    }
    kept = std::move(fresh);
    return levels;
}

} // namespace core
