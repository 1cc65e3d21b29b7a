#include "core/grid_count.h"

#include "toolkit/numeric_text.h"

#include <algorithm>

qint16 core::gridIntervalsFor(QStringView text)
{
    // A typed text may ask for anything; clamping here, where text becomes a
    // count, keeps every caller inside the grid's items. NaN cannot arise:
    // the numeric value of a text is always a number or an infinity.
    const double lines = std::clamp(toolkit::numericValue(text), 0.0, double{kMostGridLines});
    return toolkit::toInt16(lines + 1);
}
