#pragma once
// Keeping a damaged record: the file is renamed, never copied or deleted.

#include "record/file_identity.h"

#include <QDateTime>
#include <QString>

namespace record {

/// Renames the file at `path` within its folder to a name carrying `when`
/// (scores.sqlite becomes scores.corrupt-20261207T150653.sqlite, with -2, -3 ...
/// added if that name is taken), together with SQLite's companion files where
/// they exist: the rollback journal, or the WAL and its index. Returns the new
/// path, or an empty one when the path no longer names the file `expected`
/// (another copy of the game has moved it already). Throws a Failure if it
/// cannot be renamed.
QString moveAside(const QString& path, const FileIdentity& expected, const QDateTime& when);

} // namespace record
