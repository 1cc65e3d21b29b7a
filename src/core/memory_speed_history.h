#pragma once
// The memory speed as it stands at a moment, and day by day. The level at a
// moment is fitted to the rounds of the kRecentDays days that end then, so
// that it tells the level now rather than a month's average; when those do
// not determine it, to the kFallbackDays days. A day's level is the level at
// its end (at the moment asked about, for that day).

#include "core/memory_speed.h"
#include "tormell_export.h"

#include <QDate>
#include <QDateTime>
#include <limits>
#include <map>
#include <span>
#include <vector>

namespace core {

inline constexpr int kRecentDays = 7;
inline constexpr int kFallbackDays = 28;
/// The level now is compared with the level this many days before: about
/// three weeks, long enough for practice to show; its kRecentDays days of
/// rounds are never those of the level now; and one who began playing 20
/// days ago already has a level then.
inline constexpr int kComparedDaysBack = 20;

/// A round as the history reads it: when it was played (its day is the
/// date at the offset it was played at), and what it tells.
struct DatedTrial {
    QDateTime playedAt;
    Trial trial;
};

/// The memory speed at one moment, and how many days of rounds up to it
/// were fitted: kRecentDays, or kFallbackDays when the recent ones did not
/// determine it.
struct Level {
    MemorySpeedFit fit;
    int days = kRecentDays;
};

struct DayLevel {
    QDate day;
    Level level;
};

/// A difficulty's levels over its rounds. Fits are kept from one reading of
/// the rounds to the next and made again only for the windows whose rounds
/// changed, so that following a record as rounds are added costs a fit or two.
class MemorySpeedHistory {
public:
    /// The rounds as they stand at `now` (any order; those still to come,
    /// and those the coach cannot use, passed over).
    TORMELL_EXPORT void setTrials(std::span<const DatedTrial> trials, const QDateTime& now);

    /// The level at the moment given with the rounds.
    TORMELL_EXPORT Level levelNow();
    /// The level as it stood kComparedDaysBack days before that moment, from
    /// the rounds played by then: what the level now is compared with.
    TORMELL_EXPORT Level levelEarlier();

    /// Each day with usable rounds, oldest first, and its level at the
    /// day's end (midnight in local time), or at the moment given for that
    /// day. The fits a first sight needs, one a day, are made on every core.
    TORMELL_EXPORT const std::vector<DayLevel>& days();

private:
    struct Dated {
        qint64 playedMs = 0;
        QDate day;
        Trial trial;
    };
    using Fits = std::map<std::vector<TimeGroup>, MemorySpeedFit>;
    class Windows;
    /// The windows that end at a moment, in milliseconds since 1970: rounds
    /// after `recentFrom` (or `fallbackFrom`) and up to `until`.
    struct Bounds {
        qint64 recentFrom = 0;
        qint64 fallbackFrom = 0;
        qint64 until = 0;
    };

    static Bounds boundsUntil(const QDateTime& until);
    /// The levels within each of `bounds` (in time order), fitting only the
    /// groups no kept fit is for; the fits they use are kept in `kept`.
    std::vector<Level> levelsWithin(const std::vector<Bounds>& bounds, Fits& kept);

    std::vector<Dated> m_trials; // by time
    QDateTime m_now;
    bool m_daysCurrent = false;
    std::vector<DayLevel> m_days;
    std::vector<qint64> m_dayEnds; // the moment each of m_days was worked out at
    // The first round that changed since m_days were worked out.
    qint64 m_changedFromMs = std::numeric_limits<qint64>::max();
    std::map<QDate, Bounds> m_dayBounds; // each day's windows up to its end
    // The fits the last days() and levelNow() used, by the groups fitted.
    Fits m_dayFits;
    Fits m_nowFits;
    Fits m_earlierFits;
};

} // namespace core
