#pragma once
// The window-wide pointer shapes, numbered as the program numbers them.

#include <Qt>

namespace toolkit {

enum class PointerShape : int { Default = 0, Arrow = 1, UpArrow = 10 };

constexpr Qt::CursorShape cursorFor(PointerShape shape)
{
    switch (shape) {
    case PointerShape::UpArrow:
        return Qt::UpArrowCursor;
    case PointerShape::Arrow:
    case PointerShape::Default:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace toolkit
