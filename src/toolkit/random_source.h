#pragma once
// Where the program's chance comes from.

#include "tormell_export.h"

#include <cstdint>
#include <functional>

namespace toolkit {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    /// Mixes the current time into the generator.
    virtual void reseed() = 0;
    /// A uniform draw in [0, 1); never 1.
    virtual float next() = 0;
};

/// Re-seeds from the system clock. A re-seed within the same clock reading
/// never puts the generator back into a state it had before: every draw and
/// re-seed also advances a counter that is part of the state.
class TORMELL_EXPORT ClockSeededRandom final : public RandomSource {
public:
    /// Reads the time as nanoseconds; the system clock unless told otherwise.
    using TimeSource = std::function<std::uint64_t()>;
    static std::uint64_t systemNanoseconds();

    explicit ClockSeededRandom(TimeSource time = systemNanoseconds);
    void reseed() override;
    float next() override;

private:
    TimeSource m_time;
    std::uint64_t m_seed = 0;
    std::uint64_t m_counter = 0;
};

} // namespace toolkit
