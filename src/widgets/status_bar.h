#pragma once
// A status bar with one text that can be written and read back.

#include <QStatusBar>

class QLabel;

namespace widgets {

class StatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit StatusBar(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

private:
    QLabel* m_text;
};

} // namespace widgets
