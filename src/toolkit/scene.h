#pragma once
// What a picture box shows: a background colour and windowless items in
// painting order (later ones on top). The scene is plain data; a view that
// paints it listens for the areas that change.

#include "toolkit/items.h"

#include <QColor>
#include <QRectF>

#include <memory>
#include <vector>

namespace toolkit {

/// Told of every change, so that only what changed is painted again.
class SceneObserver {
public:
    virtual ~SceneObserver() = default;
    /// The area, in twips, that looks different now.
    virtual void sceneAreaChanged(const QRectF& twips) = 0;
    /// The whole scene looks different now (its background changed).
    virtual void sceneChanged() = 0;
};

class Scene {
public:
    Scene() = default;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    template <class T, class... Args>
    T& add(Args&&... args)
    {
        auto item = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T& ref = *item;
        m_items.push_back(std::move(item));
        areaChanged(ref.paintedArea());
        return ref;
    }

    /// Every item, in painting order.
    const std::vector<std::unique_ptr<Item>>& items() const { return m_items; }

    QColor backColor() const { return m_back; }
    void setBackColor(QColor color);

    /// The observer, or none; the scene does not own it.
    void setObserver(SceneObserver* observer) { m_observer = observer; }
    void areaChanged(const QRectF& twips) const;

private:
    std::vector<std::unique_ptr<Item>> m_items;
    QColor m_back = Qt::white;
    SceneObserver* m_observer = nullptr;
};

} // namespace toolkit
