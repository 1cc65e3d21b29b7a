#pragma once
// A numbered set of canvas items with a fixed index range, as the program's
// control arrays are: every access is checked.

#include "toolkit/checked_array.h"
#include "toolkit/scene.h"

#include <optional>

namespace toolkit {

template <class T, int First, int Last>
class ItemArray {
public:
    static constexpr int first = First;
    static constexpr int last = Last;

    /// Creates one item per index on `scene`, in index order (later ones paint on top).
    template <class... Args>
    void create(Scene& scene, Args&&... args)
    {
        for (int i = First; i <= Last; ++i) {
            T& item = scene.add<T>(args...);
            item.setIndex(i);
            m_items(i) = &item;
        }
    }

    T& operator()(int i) const { return *m_items(i); }

    /// The index of `item` if it belongs to this array.
    std::optional<int> indexOf(const Item& item) const
    {
        for (int i = First; i <= Last; ++i)
            if (m_items(i) == &item)
                return i;
        return std::nullopt;
    }

private:
    CheckedArray<T*, First, Last> m_items;
};

} // namespace toolkit
