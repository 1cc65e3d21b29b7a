#include "core/display_time.h"

#include "toolkit/numeric_text.h"

#include <algorithm>

float core::displaySecondsFor(QStringView text)
{
    // Clamped as a double: a float cannot hold every number a text can give.
    return static_cast<float>(std::clamp(toolkit::numericValue(text), 0.0, double{kLongestDisplaySeconds}));
}
