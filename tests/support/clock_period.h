#pragma once
// The seconds clock of a round: START runs it, CHEK and CLEAR stop it.

/// Its period, in milliseconds: one tick a second.
inline constexpr int kClockPeriodMs = 1000;
