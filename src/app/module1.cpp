#include "app/module1.h"

#include "app/title_window.h"

namespace app {

Module1::Module1(const toolkit::Clock& clock, toolkit::RandomSource& random, record::ScoreStore& scores)
    : m_clock(clock), m_random(random), m_scores(scores)
{
}

bool Module1::Main()
{
    m_form1 = new Form1(m_clock, m_random, m_scores);
    if (!m_form1->Form_Load()) {
        // A title closed but not yet deleted would wait for an event loop
        // that is never entered.
        delete m_form1.data();
        return false;
    }
    if (m_form1)
        m_form1->hide();
    return true;
}

Form1* Module1::titleWindow() const
{
    return m_form1;
}

} // namespace app
