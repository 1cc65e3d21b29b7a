#include "app/module1.h"

#include "app/title_window.h"

Module1::Module1(const tk::Clock& clock, tk::RandomSource& random) : m_clock(clock), m_random(random) {}

void Module1::Main()
{
    m_form1 = new Form1(m_clock, m_random);
    m_form1->Form_Load();
    if (m_form1)
        m_form1->hide();
}

Form1* Module1::titleWindow() const
{
    return m_form1;
}
