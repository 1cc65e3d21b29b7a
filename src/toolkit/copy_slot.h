#pragma once
// Which of the running copies of a program this one is: the lowest of some
// numbered slots that no running process holds, held while it runs.

#include <QString>

#include <memory>

class QLockFile;

namespace toolkit {

class CopySlot {
public:
    /// Takes the lowest of slots 0 to `count` - 1 in `folder` that no
    /// running process holds; with every one held, or the folder unusable,
    /// none (number() is then 0, as for a first copy). A slot left by a
    /// process that ended, even killed, is free.
    CopySlot(const QString& folder, int count);
    ~CopySlot();
    CopySlot(const CopySlot&) = delete;
    CopySlot& operator=(const CopySlot&) = delete;

    int number() const { return m_number; }

private:
    std::unique_ptr<QLockFile> m_held;
    int m_number = 0;
};

} // namespace toolkit
