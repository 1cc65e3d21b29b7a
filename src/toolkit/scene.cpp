#include "toolkit/scene.h"

namespace toolkit {

void Scene::setBackColor(QColor color)
{
    if (m_back == color)
        return;
    m_back = color;
    if (m_observer)
        m_observer->sceneChanged();
}

void Scene::areaChanged(const QRectF& twips) const
{
    if (m_observer)
        m_observer->sceneAreaChanged(twips);
}

} // namespace toolkit
