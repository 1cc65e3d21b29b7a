#pragma once
// Rounds gathered to be added to the record, apart from it: in a temporary
// database of their own, in a folder of this run's own (private_copy.h).
// Reading a large file so holds neither its rounds in memory nor the
// record's write lock; ScoreStore::add() then takes them in one short step.

#include "record/round_record.h"
#include "record/sql.h"

#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>

namespace record {

class StagedRounds {
public:
    /// Throws a Failure when no temporary database can be made.
    StagedRounds();
    ~StagedRounds();
    StagedRounds(const StagedRounds&) = delete;
    StagedRounds& operator=(const StagedRounds&) = delete;

    /// Gathers `round`, with its joints. Of rounds with the same id, the first is kept.
    void stage(const RoundRecord& round);

    /// Marks where a file's rounds begin, so that a file refused partway through can be taken back.
    void beginFile();
    /// Takes back every round gathered since beginFile().
    void dropFile();

    /// How many rounds are gathered, each one counted however often it came.
    qint64 count() const { return m_count; }

    /// Puts what is gathered on disk for another connection to read (as ScoreStore::add() does) and
    /// gives the database's file.
    const QString& finish();

    /// The table the rounds are gathered in, as another connection that attached the file as `schema` names it.
    static QString table(const QString& schema);

private:
    QTemporaryDir m_folder;
    QString m_path;
    sql::Connection m_connection;
    QSqlQuery m_insert;
    qint64 m_count = 0;
    qint64 m_countBeforeFile = 0;
    bool m_open = false; // the transaction the rounds are gathered in
};

} // namespace record
