#pragma once
// The record as a CSV file for spreadsheets, and for another computer's
// record to import: every round with all it holds (its layout in csv_format.h).
// UTF-8 with a byte order mark, since without one Excel reads the Japanese
// in the system's legacy code page; RFC 4180 quoting; CRLF line ends.

#include "record/problem.h"
#include "record/round_record.h"
#include "tormell_export.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace record {

class ScoreStore;
struct JobProgress;

/// A row of headings, then one row per round: its id on every computer, its
/// time in ISO 8601 with the UTC offset, the settings, elapsed time, score,
/// verdict, grid lines, then x and y of each target joint and of each player
/// joint, then coached (1 or 0), damaged (1 when the round's joints could not
/// be read, whose cells are then empty) and near rest (1 or 0).
QByteArray roundsCsv(const QList<RoundRecord>& rounds);

/// Writes every round of `store` to `path`, replacing the file only once all
/// is written; `progress`, if given, counts the rounds written, and may stop
/// the export before the file is touched.
TORMELL_EXPORT std::optional<Problem> exportCsv(
    ScoreStore& store, const QString& path, JobProgress* progress = nullptr);

} // namespace record
