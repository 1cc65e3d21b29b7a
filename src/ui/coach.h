#pragma once
// Coached practice as the windows use it: the switch the player sets, and the
// coach's reading of the score record (which rounds it believes, the next
// display time).

#include "core/memory_speed_history.h"
#include "record/round_record.h"
#include "tormell_export.h"

#include <QDateTime>
#include <QList>
#include <optional>
#include <vector>

namespace record {
class ScoreStore;
}

namespace ui::coach {

/// Whether coached practice is on: off until the player turns it on, then
/// remembered between runs.
TORMELL_EXPORT bool practiceOn();
TORMELL_EXPORT void setPracticeOn(bool on);

/// Rounds as the coach reads them, in play order, and those it passed over:
/// rounds it does not believe (a display time missing, zero or less or
/// beyond any number, a score outside 0 to 100, or a time still to come: a
/// record edited by hand may hold any of these), and rounds whose target
/// hardly left the rest pose (core::nearRest), which tell it nothing.
struct Reading {
    std::vector<core::DatedTrial> rounds;
    int leftOut = 0;
    int nearRest = 0;
};

/// The coached rounds among `rounds` (one difficulty's, oldest first) as the
/// coach reads them at `now`: the staircase's state and what the memory speed
/// is fitted to. Rounds 点数保存 kept were chosen by their score, and a
/// fit to them would read the player faster than they are.
TORMELL_EXPORT Reading coachedRounds(const QList<record::RoundSummary>& rounds, const QDateTime& now);

/// What the rounds of a reading tell, in the same order.
TORMELL_EXPORT std::vector<core::Trial> trialsOf(const Reading& reading);

/// A difficulty's rounds as the coach read them last: what is read again
/// after a check is only the round it kept.
struct DifficultyRounds {
    double difficulty = 0;
    QList<record::RoundSummary> rounds;
};

/// The coach's next display time at `difficulty`, from the record: from its
/// coached rounds, or `boxSeconds` before the first coached round; `known` is the rounds read last, and becomes those
/// read now. None when the record cannot be read.
std::optional<double> nextSeconds(
    record::ScoreStore& store, double difficulty, double boxSeconds, DifficultyRounds& known);

} // namespace ui::coach
