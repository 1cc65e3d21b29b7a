#pragma once
// Which file a path names at a given moment, so that the store notices when
// the file it has open was removed, moved aside or replaced by another.

#include <QByteArray>
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

/// A record file as what is read from it is bound to it: the file, and the
/// id written into it when it was made (schema::fileId()). A file deleted
/// and another made later may have the same device and inode; not the same id.
struct RecordIdentity {
    FileIdentity file;
    QByteArray id; // empty for a file that carries none

    friend bool operator==(const RecordIdentity&, const RecordIdentity&) = default;
};

} // namespace record
