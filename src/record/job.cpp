#include "record/job.h"

#include "record/failure.h"

namespace record {

void JobProgress::throwIfCancelled() const
{
    if (cancelRequested)
        throw Failure(Reason::Cancelled, {}, QStringLiteral("cancelled by the player"));
}

} // namespace record
