#pragma once
// Coached practice as the windows use it: the switch the player sets, and the
// coach's reading of the score record (which rounds it believes, the next
// display time, the memory speed now).

#include "core/coach.h"
#include "core/memory_speed.h"
#include "record/round_record.h"

#include <QDateTime>
#include <QList>

#include <optional>
#include <vector>

namespace record {
class ScoreStore;
}

namespace ui::coach {

/// The memory speed is fitted to the rounds of this many days, ending on the day it is for.
inline constexpr int kWindowDays = 28;

/// Whether coached practice is on: off until the player turns it on, then
/// remembered between runs.
bool practiceOn();
void setPracticeOn(bool on);

/// Rounds as the coach reads them, in play order, and how many it did not
/// believe: a display time missing, zero or less (or beyond any number), a
/// score outside 0 to 100, or a time still to come. A record edited by hand
/// may hold any of these.
struct Reading {
    std::vector<core::Trial> trials;
    int leftOut = 0;
};

/// The coached rounds among `rounds` (one difficulty's, oldest first): the staircase's state.
Reading coachedRounds(const QList<record::RoundSummary>& rounds, const QDateTime& now);

/// Every round among `rounds` played in the kWindowDays days that end at
/// `until`; `leftOut` counts every unbelievable round of the list, in the
/// window or not.
Reading windowRounds(const QList<record::RoundSummary>& rounds, const QDateTime& until, const QDateTime& now);

/// The memory speed of one day: fitted to the rounds of the kWindowDays days ending with it.
struct DayEstimate {
    QDate day;
    core::MemorySpeed speed;
};

/// For each day with believable rounds among `rounds` (one difficulty's,
/// oldest first), its memory speed where the rounds determine one.
QList<DayEstimate> dailyMemorySpeed(const QList<record::RoundSummary>& rounds, const QDateTime& now);

/// The coach's next display time at `difficulty`: from its coached rounds in
/// the record, or from `boxSeconds` before the first. None when the record
/// cannot be read.
std::optional<double> nextSeconds(record::ScoreStore& store, double difficulty, double boxSeconds);

} // namespace ui::coach
