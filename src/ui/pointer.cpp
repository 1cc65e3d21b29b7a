// Dragging joints and the pointer feedback over handles, canvas and window.

#include "core/figure.h"
#include "ui/main_window.h"

namespace ui {

void Frm001::LblPOI_DragOver(qint16 Index, float X, float Y)
{
    POI_SEL = Index;
    setMousePointer(toolkit::PointerShape::UpArrow);
    m_figure->dragOverHandle(POI_SEL, X, Y);
}

void Frm001::Picture1_DragOver(float X, float Y)
{
    setMousePointer(toolkit::PointerShape::UpArrow);
    if (POI_SEL == 0)
        return; // no handle has been under the pointer yet
    m_figure->dragOverCanvas(POI_SEL, X, Y);
}

void Frm001::LblPOI_MouseMove(qint16 Index, Qt::MouseButtons, Qt::KeyboardModifiers, float, float)
{
    setMousePointer(toolkit::PointerShape::UpArrow);
    POI_SEL = Index;
}

void Frm001::Picture1_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, float, float)
{
    setMousePointer(toolkit::PointerShape::Arrow);
}

void Frm001::Form_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, float, float)
{
    setMousePointer(toolkit::PointerShape::Default);
}

} // namespace ui
