#pragma once
// Twips are the program's unit of length: 1/1440 inch, 15 to a logical pixel.
// Widgets convert here and nowhere else; Qt's device-pixel ratio does the rest
// on high-density screens.

#include <QPointF>
#include <QRect>
#include <QRectF>

namespace toolkit {

inline constexpr double kTwipsPerPixel = 15.0;

constexpr double pixelsFromTwips(double twips)
{
    return twips / kTwipsPerPixel;
}

constexpr double twipsFromPixels(double pixels)
{
    return pixels * kTwipsPerPixel;
}

inline QPointF pixelPoint(double xTwips, double yTwips)
{
    return {pixelsFromTwips(xTwips), pixelsFromTwips(yTwips)};
}

inline QRectF pixelRectF(double left, double top, double width, double height)
{
    return {pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width), pixelsFromTwips(height)};
}

/// Control geometry: whole logical pixels, as widgets are placed.
inline QRect pixelRect(double left, double top, double width, double height)
{
    return pixelRectF(left, top, width, height).toRect();
}

} // namespace toolkit
