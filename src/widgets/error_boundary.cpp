#include "widgets/error_boundary.h"

#include "widgets/log.h"
#include "widgets/window_role.h"

#include <exception>

namespace widgets {

namespace {

// One line for each error, on stderr unless QT_LOGGING_RULES says otherwise.
void log(const QString& message)
{
    qCWarning(lcWidgets, "error boundary: %s", qUtf8Printable(message));
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    // The application is the one place made before every window.
    announceWidgetWindowsAsWindows();
}

Application::Reporter Application::setReporter(Reporter reporter)
{
    return std::exchange(m_reporter, std::move(reporter));
}

Application* Application::instance()
{
    return qobject_cast<Application*>(QCoreApplication::instance());
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportCurrentError();
    }
    return false;
}

void Application::reportError(const QString& message)
{
    if (Application* app = instance())
        app->report(message);
    else
        log(message);
}

void Application::report(const QString& message)
{
    ++m_errors;
    log(message);
    if (m_reporter)
        m_reporter(message);
    else
        m_report.post(message);
}

void reportCurrentError()
{
    try {
        throw;
    } catch (const std::exception& error) {
        Application::reportError(QString::fromUtf8(error.what()));
    } catch (...) {
        Application::reportError(QStringLiteral("Unknown error"));
    }
}

} // namespace widgets
