#include "toolkit/responsive_wait.h"

#include "toolkit/clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace toolkit {

namespace {
// One sleep never exceeds this, so an endless wait re-reads its clock now and then.
constexpr double kLongestSleepSeconds = 3600.0;
} // namespace

bool waitResponsively(const Clock& clock, double seconds, const std::function<bool()>& abandon)
{
    const double deadline = clock.now() + seconds;
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    for (;;) {
        if (abandon && abandon())
            return false;
        const double remaining = deadline - clock.now();
        if (!(remaining > 0.0))
            return true;
        const double sleep = std::min(clock.realSecondsFor(remaining), kLongestSleepSeconds);
        wakeUp.start(static_cast<int>(std::ceil(sleep * 1000.0)));
        // Returns after handling at least one event: the timer's or the user's.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

} // namespace toolkit
