#pragma once
// Where a point of the canvas, given in twips, lies on the canvas widget, and
// back: 15 twips to a logical pixel, counted from the inside of the canvas's
// sunken frame. Written out here rather than asked of the canvas, so that the
// tests that use it check the canvas's own mapping.

#include "toolkit/twips.h"

#include <QPoint>
#include <QPointF>

/// The canvas's sunken border, in logical pixels.
inline constexpr int kFramePixels = 2;

/// The canvas widget's point, in logical pixels, at a canvas point in twips.
inline QPointF widgetPointOf(QPointF twips)
{
    return toolkit::pixelPoint(twips.x(), twips.y()) + QPointF(kFramePixels, kFramePixels);
}

/// The whole pixel nearest to it: where a test puts the mouse. The frame is
/// whole pixels, so only the twips need rounding.
inline QPoint pixelOf(QPointF twips)
{
    return toolkit::pixelPoint(twips.x(), twips.y()).toPoint() + QPoint(kFramePixels, kFramePixels);
}

/// The canvas point, in twips, under a pixel of the canvas widget.
inline QPointF twipsOf(QPoint pixel)
{
    return {toolkit::twipsFromPixels(pixel.x() - kFramePixels), toolkit::twipsFromPixels(pixel.y() - kFramePixels)};
}
