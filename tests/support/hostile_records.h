#pragma once
// Files in a record's place that are not a sound Tormell record: damaged,
// another program's, or a record edited to run what Tormell never wrote. The
// record must keep each aside unread, and an import refuse each unchanged.

#include "record/schema.h"
#include "record/score_store.h"
#include "support/record_files.h"
#include "support/sample_round.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>

struct HostileRecord {
    QByteArray bytes; // the file
    QByteArray wal; // the WAL beside it; empty for none
};

/// A table column "damage" with a row for each kind of file writeHostileRecord() makes.
inline void hostileRecordRows()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("random bytes") << "random";
    QTest::newRow("a database with a damaged page") << "page";
    QTest::newRow("a damaged page, the last commit still in the WAL") << "wal";
    QTest::newRow("another program's database: version 0, a rounds table of its own") << "foreign";
    QTest::newRow("another program's database: a later version, a notes table") << "later";
    QTest::newRow("a record with a trigger its version never creates") << "trigger";
    QTest::newRow("an older record with a view and a table of another program") << "view";
    QTest::newRow("a record with a trigger named as SQLite's own, written into its schema") << "sqlite trigger";
    QTest::newRow("a record whose index of the same name is unique") << "unique";
    QTest::newRow("a record marked by another application") << "application id";
}

/// Writes the file of kind `damage` at `path`, and its WAL if it has one.
inline HostileRecord writeHostileRecord(const QString& damage, const QString& path)
{
    const auto require = [](bool holds, const char* what) {
        if (!holds)
            qFatal("%s", what);
    };
    const QString folder = QFileInfo(path).absolutePath();
    constexpr qsizetype kPageSize = 4096; // SQLite's default
    constexpr int kRoundsForSomePages = 20;
    const QString wal = QStringLiteral("-wal");
    QByteArray damaged(3 * kPageSize, Qt::Uninitialized);
    QByteArray lastCommit; // the WAL beside it, if any
    if (damage == QStringLiteral("random")) {
        QDir().mkpath(folder);
        QRandomGenerator(1).fillRange(reinterpret_cast<quint32*>(damaged.data()), damaged.size() / 4);
    } else if (damage == QStringLiteral("foreign") || damage == QStringLiteral("later")) {
        QDir().mkpath(folder);
        {
            RawFile other(path);
            if (damage == QStringLiteral("foreign")) {
                other.run(QStringLiteral("CREATE TABLE rounds (player TEXT, points INTEGER)"));
                other.run(QStringLiteral("INSERT INTO rounds VALUES ('someone', 42)"));
            } else {
                other.run(QStringLiteral("CREATE TABLE notes (text TEXT)"));
                other.run(QStringLiteral("PRAGMA user_version = 12"));
            }
        }
        damaged = bytesOf(path);
    } else if (QStringList {QStringLiteral("trigger"), QStringLiteral("view"), QStringLiteral("sqlite trigger"),
                   QStringLiteral("unique"), QStringLiteral("application id")}
                   .contains(damage)) {
        {
            record::ScoreStore writer(path);
            record::RoundRecord round = sampleRound();
            require(!writer.append(round), "cannot save a round");
        }
        {
            RawFile edited(path);
            if (damage == QStringLiteral("trigger")) {
                edited.run(QStringLiteral("CREATE TRIGGER wipe AFTER INSERT ON rounds BEGIN DELETE FROM rounds; END"));
            } else if (damage == QStringLiteral("view")) {
                edited.run(QStringLiteral("CREATE VIEW best AS SELECT max(score) FROM rounds"));
                edited.run(QStringLiteral("CREATE TABLE notes (text TEXT)"));
                edited.run(QStringLiteral("PRAGMA user_version = 2"));
            } else if (damage == QStringLiteral("sqlite trigger")) {
                // SQLite loads and runs it, though no CREATE may give a trigger such a name.
                edited.run(QStringLiteral("PRAGMA writable_schema = ON"));
                edited.run(
                    QStringLiteral("INSERT INTO sqlite_master (type, name, tbl_name, rootpage, sql) VALUES ('trigger',"
                                   " 'sqlite_keep', 'rounds', 0, 'CREATE TRIGGER sqlite_keep AFTER INSERT ON rounds"
                                   " BEGIN DELETE FROM rounds WHERE id < new.id; END')"));
                edited.run(QStringLiteral("PRAGMA writable_schema = OFF"));
            } else if (damage == QStringLiteral("unique")) {
                edited.run(QStringLiteral("DROP INDEX rounds_by_setting"));
                edited.run(QStringLiteral(
                    "CREATE UNIQUE INDEX rounds_by_setting ON rounds (difficulty, display_seconds, played_ms)"));
            } else {
                edited.run(QStringLiteral("PRAGMA application_id = 42"));
            }
        }
        damaged = bytesOf(path); // closed: every change is in the file
    } else {
        {
            record::ScoreStore writer(path);
            for (int i = 0; i < kRoundsForSomePages; ++i) {
                record::RoundRecord round = sampleRound(i);
                require(!writer.append(round), "cannot save a round");
            }
        }
        damaged = bytesOf(path); // closed: every save is in the file
        if (damage == QStringLiteral("wal")) {
            RawFile raw(path); // a commit that stays in the WAL while it has the file open
            raw.run(QStringLiteral("PRAGMA user_version = %1").arg(record::schema::kVersion));
            lastCommit = bytesOf(path + wal);
            require(!lastCommit.isEmpty(), "the last commit is not in the WAL");
        }
        damaged.replace(damaged.size() - kPageSize, kPageSize, QByteArray(kPageSize, '\x55'));
    }
    writeBytes(path, damaged);
    if (!lastCommit.isEmpty())
        writeBytes(path + wal, lastCommit);
    return {damaged, lastCommit};
}
