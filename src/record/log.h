#pragma once
// The record's logging category, tormell.record: what went wrong with the
// file, in technical terms, switched by QT_LOGGING_RULES as in any Qt program.

#include <QLoggingCategory>

namespace record {

Q_DECLARE_LOGGING_CATEGORY(lcRecord)

} // namespace record
