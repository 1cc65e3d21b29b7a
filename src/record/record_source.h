#pragma once
// Reading another Tormell record to import: through a private copy of it and
// its WAL, never the file itself, opened as the record opens its own file,
// with every check that applies (record_file.h); a file that fails one is
// refused with the reason, a round whose joints are damaged left out. Its
// rounds are read one at a time, in bounded memory.

#include "record/source_rounds.h"

#include <QString>

namespace record {

SourceRounds roundsFromRecord(const QString& path, const RoundSink& sink);

} // namespace record
