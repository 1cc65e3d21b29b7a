#pragma once
// What the record window says, as text: pure functions of what it shows,
// so that each wording is fixed in one place and tested as written.

#include "core/memory_speed_history.h"
#include "record/progress.h"
#include "record/round_record.h"

#include <QString>

namespace ui {

/// A setting as the list of settings names it: "難易度 1・表示時間 0.75 秒".
QString settingText(const record::Setting& setting);

/// Seconds as the summary and the coach write them: to hundredths, as the coach rounds them.
QString secondsText(double seconds);

/// What the memory speed is, for the tooltips of the summary and its chart.
QString memorySpeedMeaning();

/// The memory speed as the summary says it, with the days it was fitted to
/// when the last week's rounds did not determine it, or what it still lacks.
QString memorySpeedText(const core::Level& level);

/// What the summary adds about rounds the coach passed over: ones a record
/// edited by hand holds (`leftOut`), and targets that hardly moved (`nearRest`).
QString passedOverText(int leftOut, int nearRest);

/// The summary line of a setting's rounds, with the difficulty's memory speed after it.
QString summaryText(const record::Progress& progress, const QString& memorySpeed);

/// The coach's offer of its next display time; empty when it has none (NaN).
QString coachOfferText(double seconds);

/// Why 削除… is off: the record was written by a newer Tormell, or cannot be written here.
QString cannotRemoveText(bool newer);

} // namespace ui
