#pragma once
// How the record writes a moment: ISO 8601 in the time and UTC offset the
// moment carries (local time for a round just played, the offset it was
// played at for one read back), milliseconds included
// (2026-12-07T16:05:03.120+01:00; +00:00 rather than Z).

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <optional>

namespace record {

QString isoText(const QDateTime& when);

/// The UTC offset in seconds that a text written as above ends in; nothing
/// when it does not end in one.
std::optional<int> utcOffsetOf(QStringView text);

} // namespace record
