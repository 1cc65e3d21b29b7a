#pragma once
// The fixed measures of the stick figure, in twips and degrees.

namespace core {

/// The square canvas the figure stands on, a side in twips.
inline constexpr double kCanvasSide = 6000;

/// The program's value of pi, six decimals: it, not the exact value, converts degrees.
inline constexpr double kPi = 3.141592;

// Trunk: a vertical body line with the shoulder line across its top and the
// waist line across its bottom.
inline constexpr double kBodyX = 3000;
inline constexpr double kNeckY = 1800;
inline constexpr double kWaistY = 3300;
inline constexpr double kShoulderLeftX = 2500;
inline constexpr double kShoulderRightX = 3500;
inline constexpr double kHipLeftX = 2700;
inline constexpr double kHipRightX = 3300;

// Segment lengths.
inline constexpr double kNeckLength = 600;
inline constexpr double kArmSegmentLength = 800;
inline constexpr double kThighLength = 1000;
inline constexpr double kShinLength = 1200;

// Rest angles: head straight up; upper arms and thighs 70 and forearms and
// shins 80 degrees below the horizontal, pointing away from the body.
inline constexpr double kRestNeckAngle = 0;
inline constexpr double kRestUpperAngle = 70;
inline constexpr double kRestLowerAngle = 80;

// Sides of the square marker boxes: joint discs and drag handles, and the
// smaller target and trunk discs. Items are centred by subtracting half a side.
inline constexpr double kHandleSide = 225;
inline constexpr double kHandleHalf = kHandleSide / 2; // 112.5
inline constexpr double kMarkerSide = 157.5;
inline constexpr double kMarkerHalf = kMarkerSide / 2; // 78.75

// Pixel width of every figure line after a reset.
inline constexpr int kFigureLineWidth = 3;

} // namespace core
