#pragma once
// Knowing when a window is on screen (exposed and painted) and when a widget
// has been painted.

#include "measure.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

namespace bench {

/// Watches every window of the application and calls back once, when the
/// first top-level widget that `matches` accepts has been exposed. The call
/// comes from the event loop after the expose has been handled, so the
/// widget's first paint is finished by then.
class ExposureWatch : public QObject {
public:
    using Matcher = std::function<bool(const QWidget&)>;

    ExposureWatch(Matcher matches, std::function<void()> onExposed)
        : m_matches(std::move(matches))
        , m_onExposed(std::move(onExposed))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_fired || event->type() != QEvent::Expose)
            return false;
        const auto* window = qobject_cast<QWindow*>(watched);
        if (window == nullptr || !window->isExposed())
            return false;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() == window && m_matches(*widget)) {
                m_fired = true;
                QTimer::singleShot(0, this, m_onExposed);
                break;
            }
        }
        return false;
    }

private:
    Matcher m_matches;
    std::function<void()> m_onExposed;
    bool m_fired = false;
};

/// Counts the paint events a widget receives, so a probe can tell that the
/// painting it means to time did happen inside the timed span.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_count;
        return false;
    }

private:
    int m_count = 0;
};

/// Notes every widget of the application that receives a paint event, so a
/// probe can tell when a window it has not yet created has been painted.
class PaintLog : public QObject {
public:
    PaintLog() { QCoreApplication::instance()->installEventFilter(this); }
    bool painted(const QWidget* widget) const { return m_painted.contains(widget); }
    /// Forgets what was painted: a widget created later may take a deleted one's address.
    void clear() { m_painted.clear(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted.insert(watched);
        return false;
    }

private:
    QSet<const QObject*> m_painted;
};

/// Reports the moment (exposed_ns, monotonic) and the peak memory so far
/// (hwm_kib), then ends the process at once: the probe may be deep inside a
/// wait of the program, where no event loop can be asked to quit.
[[noreturn]] inline void reportExposedAndExit()
{
    reportInteger("exposed_ns", monotonicNs());
    reportInteger("hwm_kib", statusKiB("VmHWM"));
    std::_Exit(EXIT_SUCCESS);
}

/// Processes events until `widget`'s window is exposed, then once more so its
/// first paint is done. False if that takes longer than `timeoutMs`.
inline bool waitUntilExposed(QWidget& widget, int timeoutMs = 5000)
{
    constexpr int kSliceMs = 10;
    QElapsedTimer elapsed;
    elapsed.start();
    while (widget.windowHandle() == nullptr || !widget.windowHandle()->isExposed()) {
        if (elapsed.elapsed() > timeoutMs) {
            std::fputs("window was never exposed\n", stderr);
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, kSliceMs);
    }
    QCoreApplication::processEvents();
    return true;
}

} // namespace bench
