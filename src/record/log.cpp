#include "record/log.h"

namespace record {

Q_LOGGING_CATEGORY(lcRecord, "tormell.record")

} // namespace record
