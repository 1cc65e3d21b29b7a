#pragma once
// A round's columns in the rounds table, listed once for every statement
// that writes them all: a save, an import's gathering and its adding.

#include "record/round_record.h"

#include <QString>
#include <QVariantList>

namespace record {

/// The columns, comma-separated, in the order roundValues() gives them.
const QString& roundColumns();

/// The round's values for roundColumns(): its moment as ISO 8601 text with
/// its offset and as milliseconds since 1970 UTC, its fields, and its id.
QVariantList roundValues(const RoundRecord& round);

/// "?, ?, …": a placeholder for each of the comma-separated `columns`.
QString placeholders(const QString& columns);

} // namespace record
