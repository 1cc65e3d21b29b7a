#include "widgets/error_boundary.h"

#include "widgets/window_role.h"

#include <QMessageBox>
#include <cstdio>
#include <exception>

namespace tk {

namespace {

void reportOnStderr(const QString& message)
{
    std::fprintf(stderr, "tormell: %s\n", qPrintable(message));
}

void reportToUser(const QString& message)
{
    reportOnStderr(message);
    QMessageBox::critical(nullptr, QStringLiteral("Tormell"), message);
}

} // namespace

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
    , m_reporter(reportToUser)
{
    // The application is the one place made before every window.
    announceWidgetWindowsAsWindows();
}

void Application::setReporter(Reporter reporter)
{
    m_reporter = std::move(reporter);
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
        reportOnStderr(message);
}

void Application::report(const QString& message)
{
    ++m_errors;
    if (m_reporter)
        m_reporter(message);
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

} // namespace tk
