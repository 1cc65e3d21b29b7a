#pragma once
// How the text of the display-time box becomes the seconds START shows a target.

#include <QStringView>

namespace core {

/// A typed display time is honoured up to a minute; beyond that (up to the
/// infinity of a text like "1e400") the round would never begin.
inline constexpr double kLongestDisplaySeconds = 60;

/// The leading number of `text` as seconds, at most a minute: how long START
/// shows the target, and the display time a round it starts is kept with.
/// Zero or less (and a text without a number) means no display wait.
double displaySecondsFor(QStringView text);

} // namespace core
