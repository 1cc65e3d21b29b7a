#pragma once
// The application object: it delivers every event, and an error that escapes
// a handler stops there. The error is reported and the program keeps running;
// the handler has ended at its failing step, with the steps before it done.

#include <QApplication>

#include <functional>

namespace tk {

class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    using Reporter = std::function<void(const QString& message)>;
    /// Replaces how errors are reported (stderr and a message box by default).
    void setReporter(Reporter reporter);
    /// Errors that reached the boundary so far.
    int errorCount() const { return m_errors; }

    bool notify(QObject* receiver, QEvent* event) override;

    static Application* instance();

private:
    void report(const QString& message);

    Reporter m_reporter;
    int m_errors = 0;
};

} // namespace tk
