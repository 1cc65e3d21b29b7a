#pragma once
// An integer slider that reports every pointer move over it, also while its
// thumb is dragged, after the move has updated its value.

#include <QSlider>

namespace widgets {

class Slider : public QSlider {
    Q_OBJECT

public:
    explicit Slider(QWidget* parent = nullptr);

signals:
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, float x, float y);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace widgets
