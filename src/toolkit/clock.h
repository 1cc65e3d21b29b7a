#pragma once
// Where the program reads the time. Waits measure on a monotonic clock, so
// they end on time across midnight and clock changes.

#include "tormell_export.h"

namespace toolkit {

class Clock {
public:
    virtual ~Clock() = default;
    /// Seconds from an arbitrary fixed origin; never goes backwards.
    virtual double now() const = 0;
    /// How long a waiter may sleep, in real seconds, while `clockSeconds` pass
    /// on this clock. A clock that is not the real time says so here.
    virtual double realSecondsFor(double clockSeconds) const { return clockSeconds; }
};

class TORMELL_EXPORT SteadyClock final : public Clock {
public:
    double now() const override;
};

} // namespace toolkit
