#pragma once
// The layout of the record file and how an older file is brought up to date.
// The version lives in PRAGMA user_version; 0 is a file with nothing in it yet.

#include "record/sql.h"

#include <QSqlDatabase>
#include <QString>

namespace record::schema {

/// The version this program writes. A file with a higher one came from a
/// newer Tormell if it carries kApplicationId.
inline constexpr int kVersion = 8;

/// Tormell's mark in a record's header (PRAGMA application_id): "TORM" in
/// ASCII, 0x544F524D. Every file at kApplicationIdSince or later carries it.
inline constexpr qint64 kApplicationId = 0x544F524D;
inline constexpr int kApplicationIdSince = 5;

/// From this version on each round has its id on every computer (round_id.h).
inline constexpr int kRoundIdsSince = 6;

/// From this version on each file carries an id of its own, random, given
/// as it is made or brought to this layout (fileId()).
inline constexpr int kFileIdSince = 7;

/// Whether the file at `path` is a newer Tormell's record by its header
/// alone: a later version than kVersion, and Tormell's id. Read as bytes,
/// without SQLite, which would make a WAL and its index beside the file; the
/// header is the whole truth only while no WAL stands beside it.
bool newerByHeader(const QString& path);

/// The file's version as it stands.
int version(const QSqlDatabase& db);
/// The same through `statements`, which keep it prepared for the next time.
int version(const QSqlDatabase& db, sql::Statements& statements);

/// The same, once the file is known to be a Tormell record: at its version
/// or older, every row of its schema is one Tormell's steps up to that version
/// create, the same in type, name, table and definition, or one of SQLite's
/// statistics tables; and it carries Tormell's application id, or none before
/// the version that set it. Anything else, whatever its name (a trigger
/// called sqlite_..., an index of the same name made unique), fails as
/// damaged, to be kept aside like one: nothing in it is believed or run. A
/// later version is a newer Tormell's, taken as it is, only with Tormell's id.
int checkedVersion(const QSqlDatabase& db);

/// Applies the steps from the file's version up to kVersion in one write
/// transaction, keeping every row; rounds saved before kRoundIdsSince get
/// their id from their content. Returns the version found inside the
/// transaction; a newer file is left untouched.
int migrate(const QSqlDatabase& db);

/// The file's own id; empty where it carries none (a newer layout may keep
/// it otherwise) or it cannot be read.
QByteArray fileId(const QSqlDatabase& db);

/// Gives each round without an id one from its content, in one write
/// transaction: rows another program added to a file at kRoundIdsSince or later.
void giveRoundsIds(const QSqlDatabase& db);

} // namespace record::schema
