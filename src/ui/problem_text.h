#pragma once
// What the player is told of a problem of the score record, in one place:
// the record reports it as values, the windows and the command line say it.

#include "record/problem.h"

#include <QString>

namespace ui {

/// The problem as a sentence for the player: what failed and why, with the
/// file or folder last on a line of its own; or the notice about the record.
QString problemText(const record::Problem& problem);

} // namespace ui
