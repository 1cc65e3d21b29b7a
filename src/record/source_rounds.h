#pragma once
// Rounds read from a file to import, handed on one at a time as they are
// read: how many were, those left out and why, or why the file was refused.

#include "record/problem.h"
#include "record/round_record.h"

#include <QMap>
#include <QString>
#include <functional>
#include <optional>

namespace record {

/// Where a file's rounds go as they are read, and how far through it the reading is.
struct RoundSink {
    std::function<void(const RoundRecord&)> take; // may throw the Failure that ends the import
    std::function<void(double share)> progressed; // of the file gone through, 0 to 1
};

struct SourceRounds {
    qint64 read = 0; // rounds handed on
    QMap<QString, int> leftOut; // how many rounds were left out, by the reason told to the player
    QString refused; // why the whole file was refused, for the player; empty when it was read
    std::optional<Problem> problem; // the file, a record, could not be read: refused for this
};

} // namespace record
