#pragma once
// Fixed-size arrays with a declared index range that is checked on every access.

#include "toolkit/errors.h"

#include <array>

namespace toolkit {

/// Array indexed First..Last; an index outside raises IndexError, never wraps.
template <class T, int First, int Last>
class CheckedArray {
    static_assert(First <= Last);

public:
    static constexpr int first = First;
    static constexpr int last = Last;

    T& operator()(int i) { return m_items[offset(i)]; }
    const T& operator()(int i) const { return m_items[offset(i)]; }

    friend bool operator==(const CheckedArray&, const CheckedArray&) = default;

private:
    static std::size_t offset(int i)
    {
        if (i < First || i > Last)
            throw IndexError(i, First, Last);
        return static_cast<std::size_t>(i - First);
    }

    std::array<T, Last - First + 1> m_items{};
};

/// Two-dimensional checked array, element (k, i) with k in K0..K1 and i in I0..I1.
template <class T, int K0, int K1, int I0, int I1>
class CheckedArray2 {
public:
    T& operator()(int k, int i) { return m_rows(i)(k); }
    const T& operator()(int k, int i) const { return m_rows(i)(k); }

    friend bool operator==(const CheckedArray2&, const CheckedArray2&) = default;

private:
    CheckedArray<CheckedArray<T, K0, K1>, I0, I1> m_rows;
};

} // namespace toolkit
