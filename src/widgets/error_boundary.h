#pragma once
// The error boundary: a handler's error is logged (tormell.widgets), shown to
// the player once the event loop runs, and the program keeps running; the
// handler has ended at its failing step, with the steps before it done.
//
// Qt calls an exception leaving a slot or an event handler undefined, so every
// handler runs inside contain(): connected through connectGuarded(), or called
// from an event override. The application's notify() is only a last guard.

#include "tormell_export.h"
#include "widgets/error_report.h"

#include <QApplication>

#include <functional>
#include <type_traits>
#include <utility>

namespace widgets {

class TORMELL_EXPORT Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    using Reporter = std::function<void(const QString& message)>;
    /// Replaces how errors are shown to the player; an empty one restores the
    /// default, the queued ErrorReport. Every error is logged all the same.
    /// Returns the one replaced.
    Reporter setReporter(Reporter reporter);
    /// Errors that reached the boundary so far.
    int errorCount() const { return m_errors; }

    bool notify(QObject* receiver, QEvent* event) override;

    static Application* instance();

    /// Reports an error to the application's boundary, or to the log alone
    /// when the program runs without a widgets::Application.
    static void reportError(const QString& message);

private:
    void report(const QString& message);

    ErrorReport m_report;
    Reporter m_reporter; // empty: m_report
    int m_errors = 0;
};

/// Reports the exception being handled; call it only inside a catch block.
TORMELL_EXPORT void reportCurrentError();

/// Runs `step`; an error it raises ends it there and is reported.
template <class Step>
void contain(Step&& step)
{
    try {
        std::forward<Step>(step)();
    } catch (...) {
        reportCurrentError();
    }
}

/// A callable that runs `call` inside contain(). Its call operator is
/// constrained, so that connect() can tell how many of a signal's arguments
/// `call` takes.
template <class Call>
class Guarded {
public:
    explicit Guarded(Call call) : m_call(std::move(call)) {}

    template <class... Args>
        requires std::is_invocable_v<const Call&, Args...>
    void operator()(Args&&... args) const
    {
        contain([&] { m_call(std::forward<Args>(args)...); });
    }

private:
    Call m_call;
};

/// connect() whose handler, a member function of `receiver` or any callable,
/// runs inside contain(). As with connect(), the handler may take fewer
/// arguments than the signal has.
template <class Sender, class Signal, class Receiver, class Handler>
QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, Receiver* receiver, Handler handler)
{
    auto call = [&] {
        if constexpr (std::is_member_function_pointer_v<Handler>)
            return std::bind_front(handler, receiver);
        else
            return std::move(handler);
    }();
    return QObject::connect(sender, signal, receiver, Guarded(std::move(call)));
}

} // namespace widgets
