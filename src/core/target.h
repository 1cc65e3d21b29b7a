#pragma once
// START's draws: which segments the target moves, and how far.

#include "core/pose.h"

#include <QtGlobal>

namespace toolkit {
class RandomSource;
}

namespace core {

/// The target's angles: `count` segments picked at random (the first five
/// among head, forearms and shins, never one twice) swing about their rest
/// angle; every other segment keeps it. Re-seeds and draws come in a fixed
/// order, so a scripted source replays a round exactly. A count above nine
/// raises an IndexError rather than search for ever; zero or less moves none.
core::PoseAngles targetAngles(toolkit::RandomSource& random, qint32 count, const core::PoseAngles& rest);

} // namespace core
