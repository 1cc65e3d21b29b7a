#pragma once
// How the text of the display-time box becomes the seconds START shows a target.

#include <QStringView>

namespace core {

/// A typed display time is honoured up to a minute; beyond that (up to the
/// infinity of a text like "1e400") the round would never begin.
inline constexpr double kLongestDisplaySeconds = 60;

/// How a box's text was taken, when not simply as the seconds it says.
enum class DisplayTimeReading {
    AsTyped, // one number, from 0 to a minute
    Empty, // nothing but blanks: no display wait
    NoNumber, // no leading number: no display wait
    BelowZero, // a negative time: no display wait
    OverAMinute, // held to a minute
    LeadingNumber, // a number with more after it: the number alone is read
};

struct DisplayTime {
    /// How long START shows the target, and the display time a round it
    /// starts is kept with.
    double seconds;
    DisplayTimeReading reading;
};

/// The leading number of `text` as seconds, from 0 to a minute, and how
/// the text was taken to give it.
DisplayTime readDisplayTime(QStringView text);

} // namespace core
