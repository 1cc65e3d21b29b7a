#include "toolkit/clock.h"

#include <chrono>

namespace toolkit {

double SteadyClock::now() const
{
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace toolkit
