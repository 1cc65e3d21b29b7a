#pragma once
// A time zone a fixed number of seconds ahead of UTC, for moments kept with
// the offset they were written at. Qt 6.5 has a light one that a date-time
// holds in itself; Qt 6.4 only the one its zone backend makes, which takes
// some string work to make, so each thread keeps the last one it made: a
// record's rounds mostly share one offset.

#include <QTimeZone>
#include <QtGlobal>
#include <utility>

namespace toolkit {

/// Invalid for an offset Qt does not hold (beyond 14 hours in Qt 6.4, 16 from Qt 6.5 on).
inline QTimeZone zoneAheadOfUtc(int seconds)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return QTimeZone::fromSecondsAheadOfUtc(seconds);
#else
    thread_local std::pair<int, QTimeZone> last {0, QTimeZone(0)};
    if (last.first != seconds)
        last = {seconds, QTimeZone(seconds)};
    return last.second;
#endif
}

} // namespace toolkit
