#pragma once
// Draws for the scripted random source that make START pick given segments
// and swing them by known angles.

#include "core/pose.h"

#include <QList>
#include <vector>

/// Every draw 0.1 makes START pick the neck alone and swing it by 64 degrees.
inline constexpr float kNeckOnlyDraw = 0.1f;

/// After the picks, r1 = 0.75 (s = 0.5) for every segment and r2 = 0.5 (e = 8)
/// from segment 2 on: a picked head swings by 40, any other picked segment by 44.
inline constexpr float kR1 = 0.75f;
inline constexpr float kR2 = 0.5f;
inline constexpr double kHeadSwing = 40;
inline constexpr double kLimbSwing = 44;

/// The draw that makes START pick segment p: the middle of p's ninth of [0, 1).
inline float drawFor(int p)
{
    return static_cast<float>((p - 0.5) / core::kLastSegment);
}

/// A pick draw for each of `picks`, in order, then r1 and r2 for every segment.
inline std::vector<float> script(const QList<int>& picks)
{
    std::vector<float> draws;
    for (int p : picks)
        draws.push_back(drawFor(p));
    draws.push_back(kR1);
    for (int j = core::kFirstSegment + 1; j <= core::kLastSegment; ++j) {
        draws.push_back(kR1);
        draws.push_back(kR2);
    }
    return draws;
}
