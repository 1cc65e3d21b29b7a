#pragma once
// A clock the test moves by hand, optionally a fixed step on every reading,
// so waits end at once in real time yet still see their full length pass.

#include "toolkit/clock.h"

class FakeClock final : public toolkit::Clock {
public:
    double now() const override
    {
        const double reading = m_now;
        m_now += m_stepPerReading;
        return reading;
    }
    double realSecondsFor(double) const override { return 0; }

    void advance(double seconds) { m_now += seconds; }
    void setStepPerReading(double seconds) { m_stepPerReading = seconds; }
    double peek() const { return m_now; }

private:
    mutable double m_now = 1000;
    double m_stepPerReading = 0;
};
