#pragma once
// A record as an older Tormell left it, laid out by hand: the rounds, their
// joints, and what each layout up to `version` (1 to 3) added.

#include "record/joint_blob.h"
#include "record/time_text.h"
#include "support/record_files.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

inline void writeOldRecord(const QString& path, const QList<record::RoundRecord>& rounds, int version)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    RawFile old(path);
    old.run(QStringLiteral("CREATE TABLE rounds (id INTEGER PRIMARY KEY AUTOINCREMENT, played_at TEXT NOT NULL,"
                           " played_ms INTEGER NOT NULL, difficulty REAL, display_seconds REAL,"
                           " elapsed_seconds REAL, score INTEGER NOT NULL, verdict TEXT NOT NULL,"
                           " grid_lines INTEGER NOT NULL)"));
    old.run(QStringLiteral("CREATE TABLE round_joints (round_id INTEGER PRIMARY KEY, target BLOB NOT NULL,"
                           " player BLOB NOT NULL)"));
    for (qsizetype i = 0; i < rounds.size(); ++i) {
        const record::RoundRecord& r = rounds[i];
        old.run(QStringLiteral("INSERT INTO rounds VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {i + 1, record::isoText(r.playedAt), r.playedAt.toMSecsSinceEpoch(), r.difficulty, r.displaySeconds,
                r.elapsedSeconds, r.score, r.verdict, r.gridLines});
        old.run(QStringLiteral("INSERT INTO round_joints VALUES (?, ?, ?)"),
            {i + 1, record::jointBlob(r.target), record::jointBlob(r.player)});
    }
    if (version >= 2)
        old.run(QStringLiteral("CREATE INDEX rounds_by_setting ON rounds (difficulty, display_seconds, played_ms)"));
    if (version >= 3)
        old.run(QStringLiteral("ALTER TABLE rounds ADD COLUMN coached INTEGER NOT NULL DEFAULT 0"));
    old.run(QStringLiteral("PRAGMA user_version = %1").arg(version));
}
