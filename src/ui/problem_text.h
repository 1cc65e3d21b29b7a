#pragma once
// What the player is told of a problem of the score record, and of an
// import, in one place: the record reports them as values, the windows and
// the command line say them.

#include "record/problem.h"
#include "record/round_import.h"
#include "tormell_export.h"

#include <QString>

namespace ui {

/// The problem as a sentence for the player: what failed and why, with the
/// file or folder last on a line of its own; or the notice about the record.
TORMELL_EXPORT QString problemText(const record::Problem& problem);

/// Why an import's files were refused, or the record took no rounds; empty when neither.
QString importFailureText(const record::ImportReport& report);

/// The counts of rounds added, kept already and left out, and each reason rounds were left out.
QString importCountsText(const record::ImportReport& report);

/// The import's report for the player: importFailureText(), then importCountsText().
TORMELL_EXPORT QString importReportText(const record::ImportReport& report);

} // namespace ui
