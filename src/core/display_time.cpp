#include "core/display_time.h"

#include "toolkit/numeric_text.h"

#include <algorithm>

double core::displaySecondsFor(QStringView text)
{
    return std::clamp(toolkit::numericValue(text), 0.0, kLongestDisplaySeconds);
}
