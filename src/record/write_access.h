#pragma once
// Who may write the record and the companion files SQLite keeps beside it
// (the WAL and its index), judged by this process's effective ids; and the
// companions' permissions set right when SQLite left them narrower than the
// record's own.

#include <QString>

namespace record {

/// Whether this user may write the file and each companion of it that exists.
bool mayWriteRecord(const QString& path);

/// What of the record this user may not write, as the player is told of it
/// when a save is refused: the file, or its companions (named both), or,
/// when a companion is yet to be made, its folder. Empty when there is none.
QString unwritablePart(const QString& path);

/// Whether a copy of the game, of any user but root, could write the record
/// file now: it could not while there is no WAL beside the file and no one may
/// create one, the folder having no write permission for anyone or lying on a
/// file system mounted read-only. (A writer of a WAL file creates its WAL first.)
bool writerPossible(const QString& path);

/// Gives each companion that this user may not write the permissions of the
/// record file, when this user may write that file: the permissions SQLite
/// gives a companion it creates. One made while the file was read-only is
/// read-only too, and outlives the file's own permission to be written.
void restoreCompanionAccess(const QString& path);

} // namespace record
