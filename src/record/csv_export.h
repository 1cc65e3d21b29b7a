#pragma once
// The record as a CSV file for spreadsheets: every round with its joints.
// UTF-8 with a byte order mark, since without one Excel reads the Japanese
// verdicts in the system's legacy code page; RFC 4180 quoting; CRLF line ends.

#include "record/problem.h"
#include "record/round_record.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace record {

class ScoreStore;

/// The program's way of writing a number for people (toolkit::numberText in the game).
using NumberText = QString (*)(double);

/// A header row, then one row per round: id, time in ISO 8601, the settings,
/// score, verdict, grid lines, then x and y of each target joint and of each
/// player joint, then coached (1 or 0) and damaged (1 when the round's joints
/// could not be read, whose cells are then empty).
QByteArray roundsCsv(const QList<RoundRecord>& rounds, NumberText numberText);

/// Writes every round of `store` to `path`, replacing the file only once all is written.
std::optional<Problem> exportCsv(ScoreStore& store, const QString& path, NumberText numberText);

} // namespace record
