#pragma once
// Reading back the record's CSV export (csv_export.h): a file with every
// heading of its layout, in any order; each row a round, or left out with
// its reason while the others are read.

#include "record/source_rounds.h"

#include <QByteArray>

namespace record {

SourceRounds roundsFromCsv(const QByteArray& bytes);

} // namespace record
