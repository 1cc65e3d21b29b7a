#pragma once
// Counting the background grid's lines on view.

#include "core/figure.h"

/// How many of the grid's line items are shown, whichever way they run.
inline int visibleGridLines(const core::Figure& f)
{
    int count = 0;
    for (int i = f.LinBG.first; i <= f.LinBG.last; ++i)
        count += f.LinBG(i).visible() ? 1 : 0;
    return count;
}
