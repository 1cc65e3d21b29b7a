#pragma once
// What the record window says, as text: pure functions of what it shows,
// so that each wording is fixed in one place and tested as written.

#include "core/memory_speed_history.h"
#include "core/speed_change.h"
#include "record/progress.h"
#include "record/round_record.h"
#include "ui/record/record_view.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace ui {

/// A setting as the list of settings names it: "難易度 1・表示時間 0.75 秒".
QString settingText(const record::Setting& setting);

/// A view as the list names it: its setting, or "難易度 1・すべての表示時間".
QString viewText(const RecordView& view);

/// A moment as the window shows it, in local time to the second, the same in
/// every locale: "2026/12/08 03:12:59".
QString momentText(const QDateTime& when);

/// A round as pointing at its score on the chart tells it: its moment, display time and score.
QString roundText(const record::RoundSummary& round);

/// Seconds as the summary and the coach write them: to hundredths, as the coach rounds them.
QString secondsText(double seconds);

/// What the memory speed is, for the tooltips of the summary and its chart.
QString memorySpeedMeaning();

/// The line under the memory speed: how to read a figure, or how coached
/// practice gets one; empty where the memory speed's own line says how.
QString memorySpeedHint(const core::Level& level);

/// The memory speed as the summary says it, with the coached rounds it was
/// fitted to (and their days when the last week's did not determine it), or
/// what it still lacks and how to get it. Named as the memory speed of
/// `ofDifficulty` where the rounds on view are only some of that difficulty's.
QString memorySpeedText(const core::Level& level, std::optional<double> ofDifficulty = std::nullopt);

/// The change since the level compared with (core::speedChange): clearly
/// faster or slower with its size, else within chance, never as a
/// direction; empty when there is nothing to compare.
QString speedChangeText(const std::optional<core::SpeedChange>& change);

/// What removing rounds does to the memory speed, for the question before
/// it: from `before` to `after`; empty when the figure shown stays the same.
QString removalEffectText(const core::Level& before, const core::Level& after);

/// What the summary adds about rounds the coach passed over: ones a record
/// edited by hand holds (`leftOut`), and targets that hardly moved (`nearRest`).
QString passedOverText(int leftOut, int nearRest);

/// The summary, a line each: the rounds on view, then `more` (the memory
/// speed, the rounds passed over), empty ones left out. Lines break only
/// where written, never inside a phrase.
QString summaryText(const record::Progress& progress, const QStringList& more);

/// The coach's offer of its next display time; empty when it has none (NaN).
QString coachOfferText(double seconds);

/// Why 削除… is off: the record was written by a newer Tormell, or cannot be written here.
QString cannotRemoveText(bool newer);

} // namespace ui
