#pragma once
// Which file a path names at a given moment, so that the store notices when
// the file it has open was removed, moved aside or replaced by another.

#include <QString>
#include <sys/types.h>

namespace record {

struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

FileIdentity identityOf(const QString& path);

} // namespace record
