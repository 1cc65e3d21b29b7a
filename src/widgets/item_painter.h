#pragma once
// How each kind of scene item looks on screen.

class QPainter;

namespace toolkit {
class Item;
}

namespace widgets {

/// Paints `item` in logical pixels of its scene (15 twips each).
void paintItem(QPainter& painter, const toolkit::Item& item);

} // namespace widgets
