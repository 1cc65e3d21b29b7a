#pragma once
// The program's entry: the title window, then the main window.

#include "tormell_export.h"

#include <QPointer>

namespace record {
class ScoreStore;
}
namespace toolkit {
class Clock;
class RandomSource;
} // namespace toolkit

namespace app {

class Form1;

class Module1 {
public:
    TORMELL_EXPORT Module1(const toolkit::Clock& clock, toolkit::RandomSource& random, record::ScoreStore& scores);

    /// Loads the title window, which opens the main window after three
    /// seconds, then keeps the title hidden for the rest of the run. Returns
    /// false when the title was closed before that: the run is over, and no
    /// window is left.
    [[nodiscard]] TORMELL_EXPORT bool Main();

    Form1* titleWindow() const;

private:
    const toolkit::Clock& m_clock;
    toolkit::RandomSource& m_random;
    record::ScoreStore& m_scores;
    QPointer<Form1> m_form1;
};

} // namespace app
