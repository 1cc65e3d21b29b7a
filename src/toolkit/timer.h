#pragma once
// A timer with the program's interval semantics: setting 0 stops it, setting a
// positive interval (re)starts the period from that moment.

#include <QObject>
#include <QTimer>

namespace toolkit {

class Timer : public QObject {
    Q_OBJECT

public:
    explicit Timer(QObject* parent = nullptr);

    /// Milliseconds; 0 when stopped.
    int interval() const { return m_interval; }
    void setInterval(int milliseconds);

signals:
    void tick();

private:
    QTimer m_timer;
    int m_interval = 0;
};

} // namespace toolkit
