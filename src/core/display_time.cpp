#include "core/display_time.h"

#include "toolkit/numeric_text.h"

#include <algorithm>

core::DisplayTime core::readDisplayTime(QStringView text)
{
    const double value = toolkit::numericValue(text);
    const qsizetype length = toolkit::numberLength(text);
    // A time moved into the range says so before any text after it.
    DisplayTimeReading reading = DisplayTimeReading::AsTyped;
    if (text.trimmed().isEmpty())
        reading = DisplayTimeReading::Empty;
    else if (length == 0)
        reading = DisplayTimeReading::NoNumber;
    else if (value < 0)
        reading = DisplayTimeReading::BelowZero;
    else if (value > kLongestDisplaySeconds)
        reading = DisplayTimeReading::OverAMinute;
    else if (!text.sliced(length).trimmed().isEmpty())
        reading = DisplayTimeReading::LeadingNumber;
    return {std::clamp(value, 0.0, kLongestDisplaySeconds), reading};
}
