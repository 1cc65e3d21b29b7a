#pragma once
// How each kind of scene item looks on screen.

class QPainter;

namespace tk {

class Item;

/// Paints `item` in logical pixels of its scene (15 twips each).
void paintItem(QPainter& painter, const Item& item);

} // namespace tk
