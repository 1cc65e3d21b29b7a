#pragma once
// Keeping a damaged record: the file is renamed, never copied or deleted.

#include "record/file_identity.h"

#include <QDateTime>
#include <QString>

namespace record {

/// Renames the file at `path` within its folder to a name carrying `when`
/// (scores.sqlite becomes scores.corrupt-20261207T150653.sqlite, with -2, -3 ...
/// added if that name is taken), together with its rollback journal if one
/// exists. Returns the new path, or an empty one when the path no longer names
/// the file `expected` (another copy of the game has moved it already).
/// Throws a Failure if it cannot be renamed.
QString moveAside(const QString& path, const FileIdentity& expected, const QDateTime& when);

} // namespace record
