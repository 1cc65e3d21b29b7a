#include "toolkit/timer.h"

#include "toolkit/errors.h"

#include <string>

namespace toolkit {

Timer::Timer(QObject* parent) : QObject(parent), m_timer(this)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Timer::tick);
}

void Timer::setInterval(int milliseconds)
{
    if (milliseconds < 0)
        throw RuntimeError("Invalid property value: timer interval " + std::to_string(milliseconds));
    m_interval = milliseconds;
    if (milliseconds == 0)
        m_timer.stop();
    else
        m_timer.start(milliseconds);
}

} // namespace toolkit
