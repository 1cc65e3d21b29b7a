#pragma once
// The layout of the record file and how an older file is brought up to date.
// The version lives in PRAGMA user_version; 0 is a file with nothing in it yet.

#include <QSqlDatabase>

namespace record::schema {

/// The version this program writes. A file with a higher one came from a newer Tormell.
inline constexpr int kVersion = 4;

/// The file's version as it stands.
int version(const QSqlDatabase& db);

/// The same, once the file is known to be a Tormell record: at its version
/// or older, it holds exactly the tables and indexes Tormell creates up to
/// that version (SQLite's own aside), and no view, trigger or table of
/// another program. One that does not fails as damaged, to be kept aside
/// like one. A newer file is taken as it is: its layout is the newer Tormell's.
int checkedVersion(const QSqlDatabase& db);

/// Applies the steps from the file's version up to kVersion in one write
/// transaction, keeping every row. Returns the version found inside the
/// transaction; a newer file is left untouched.
int migrate(const QSqlDatabase& db);

} // namespace record::schema
