#include "record/file_identity.h"

#include <QFile>
#include <sys/stat.h>

namespace record {

FileIdentity identityOf(const QString& path)
{
    struct stat status { };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return {true, status.st_dev, status.st_ino};
}

} // namespace record
