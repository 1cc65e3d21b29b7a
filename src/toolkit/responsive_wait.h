#pragma once
// Waiting inside a handler while the window stays responsive.

#include <functional>

namespace toolkit {

class Clock;

/// Processes user-interface events until `seconds` have passed on `clock` or
/// `abandon` returns true (for instance because the caller's window is closing).
/// Between events the thread sleeps until the next event or the deadline, so the
/// wait uses next to no CPU. Returns true when the time ran out, false when
/// abandoned. A wait of zero or less, or NaN, returns at once.
bool waitResponsively(const Clock& clock, double seconds, const std::function<bool()>& abandon = {});

} // namespace toolkit
