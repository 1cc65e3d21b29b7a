#include "toolkit/copy_slot.h"

#include <QDir>
#include <QLockFile>

namespace toolkit {

CopySlot::CopySlot(const QString& folder, int count)
{
    if (!QDir().mkpath(folder))
        return;
    for (int slot = 0; slot < count; ++slot) {
        auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(QStringLiteral("copy-%1.lock").arg(slot)));
        // Held for as long as the copy runs: stale only once its process is gone.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_held = std::move(lock);
            m_number = slot;
            return;
        }
        if (lock->error() != QLockFile::LockFailedError)
            return; // a folder it cannot write: no slot can be told apart
    }
}

CopySlot::~CopySlot() = default;

} // namespace toolkit
