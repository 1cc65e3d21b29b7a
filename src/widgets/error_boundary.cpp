#include "widgets/error_boundary.h"

#include <QMessageBox>

#include <cstdio>
#include <exception>

namespace tk {

namespace {

void reportToUser(const QString& message)
{
    std::fprintf(stderr, "tormell: %s\n", qPrintable(message));
    QMessageBox::critical(nullptr, QStringLiteral("Tormell"), message);
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv), m_reporter(reportToUser) {}

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
    } catch (const std::exception& error) {
        report(QString::fromUtf8(error.what()));
    } catch (...) {
        report(QStringLiteral("Unknown error"));
    }
    return false;
}

void Application::report(const QString& message)
{
    ++m_errors;
    if (m_reporter)
        m_reporter(message);
}

} // namespace tk
