#pragma once
// The title window: the product name on a borderless lilac card, shown for
// three seconds before the main window opens.

#include <QPointer>
#include <QWidget>

class QLabel;

namespace record {
class ScoreStore;
}
namespace toolkit {
class Clock;
class RandomSource;
} // namespace toolkit
namespace ui {
class Frm001;
}

namespace app {

class Form1 : public QWidget {
    Q_OBJECT

public:
    Form1(const toolkit::Clock& clock, toolkit::RandomSource& random, record::ScoreStore& scores);

    QLabel* Label1;
    QLabel* Label2;

    /// Shows the title, waits three seconds with the window responsive, then
    /// loads and shows the main window. Returns false, with no main window,
    /// when the title was closed during the wait (it may be deleted by then).
    [[nodiscard]] bool Form_Load();

    /// The main window once loaded; null after it has been unloaded.
    ui::Frm001* mainWindow() const;

private:
    const toolkit::Clock& m_clock;
    toolkit::RandomSource& m_random;
    record::ScoreStore& m_scores;
    QPointer<ui::Frm001> m_main;
};

} // namespace app
