#pragma once
// The layout of the record file and how an older file is brought up to date.
// The version lives in PRAGMA user_version; 0 is a file with nothing in it yet.

#include <QSqlDatabase>

namespace record::schema {

/// The version this program writes. A file with a higher one came from a newer Tormell.
inline constexpr int kVersion = 3;

/// The file's version as it stands.
int version(const QSqlDatabase& db);

/// Applies the steps from the file's version up to kVersion in one write
/// transaction, keeping every row. Returns the version found inside the
/// transaction; a newer file is left untouched.
int migrate(const QSqlDatabase& db);

} // namespace record::schema
