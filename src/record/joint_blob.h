#pragma once
// How a pose's joints are laid out in the record file: nine points, x then y,
// each an IEEE-754 double in little-endian byte order. Every bit is kept, so
// a pose reads back exactly as it was saved.

#include "record/round_record.h"

#include <QByteArray>
#include <optional>

namespace record {

QByteArray jointBlob(const core::Joints& joints);

/// The joints of a blob, or nothing when it is not the size nine points
/// take, or they cannot be drawn (round_checks.h).
std::optional<core::Joints> jointsOf(const QByteArray& blob);

} // namespace record
