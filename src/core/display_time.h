#pragma once
// How the text of the display-time box becomes the seconds START shows a target.

#include <QStringView>

namespace core {

/// A typed display time is honoured up to a minute; beyond that (up to the
/// infinity of a text like "1e400") the round would never begin.
inline constexpr float kLongestDisplaySeconds = 60;

/// The leading number of `text` as seconds, at most a minute. Zero or less
/// (and a text without a number) means no display wait.
float displaySecondsFor(QStringView text);

} // namespace core
