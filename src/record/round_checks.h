#pragma once
// What a kept round may hold: the bounds within which the game gives its
// fields, so that whatever a file brings, every kept round can be shown.

#include "record/round_record.h"

namespace record {

/// Whether every joint is a finite number within reach of the canvas, where
/// a figure can be drawn from it.
bool drawable(const core::Joints& joints);

/// Whether the round's numbers lie where the game puts them: a score of 0 to
/// 100, 0 to 11 grid lines, and times that are not negative.
bool withinRange(const RoundSummary& round);

/// Whether the moment falls within years 1 to 9999 both where it was played
/// and in UTC, the years ISO 8601 texts and the record's times can hold.
bool keepableMoment(const QDateTime& moment);

} // namespace record
