#pragma once
// Reading back the record's CSV export (csv_export.h): a file with every
// heading of its layout, in any order; each row a round, or left out with
// its reason while the others are read.

#include "record/source_rounds.h"

#include <QIODevice>

namespace record {

/// Reads the rows of `file` from where it stands, one at a time.
SourceRounds roundsFromCsv(QIODevice& file, const RoundSink& sink);

} // namespace record
