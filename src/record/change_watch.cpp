#include "record/change_watch.h"

#include "record/record_file.h"

namespace record {

void ChangeWatch::firstLook()
{
    if (!m_last)
        m_last = now();
}

void ChangeWatch::lookAgain()
{
    m_last = now();
}

bool ChangeWatch::changed()
{
    if (!m_file.open(RecordFile::Use::Read))
        m_file.close(); // removed: whatever comes in its place is opened anew
    const Look look = now();
    // Nothing was read before the first look, so nothing shown can be out of date.
    const bool changed = m_last && look != *m_last;
    m_last = look;
    return changed;
}

ChangeWatch::Look ChangeWatch::now() const
{
    Look look {identityOf(m_file.path()), m_file.openedFile(), 0, 0};
    if (look.opened.exists) {
        look.connection = m_file.connectionsMade();
        look.dataVersion = m_file.dataVersion();
    }
    return look;
}

} // namespace record
