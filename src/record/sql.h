#pragma once
// Running SQL on the record's connection: statements that throw a Failure
// instead of returning false, write transactions that roll back unless
// committed, and connections of the library's own, each under its own name.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <unordered_map>

namespace record::sql {

/// A name for a Qt SQL connection that no other connection of the program has.
QString uniqueConnectionName();

/// A connection to SQLite of its own for as long as it lives, not yet open.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSqlDatabase db() const;

private:
    QString m_name;
};

/// A forward-only statement ready to be run, possibly many times.
QSqlQuery prepare(const QSqlDatabase& db, const QString& statement);

/// Binds `values` in order and runs the statement.
void exec(QSqlQuery& query, const QVariantList& values = {});

/// Prepares and runs a statement once.
QSqlQuery run(const QSqlDatabase& db, const QString& statement, const QVariantList& values = {});

/// The single value of a one-row, one-column query such as a PRAGMA.
QVariant single(const QSqlDatabase& db, const QString& statement);

/// The single value of a one-row, one-column statement prepared before,
/// which is left finished: a read left open would keep SQLite's snapshot.
QVariant single(QSqlQuery& prepared);

/// Statements prepared once on a connection and kept while it stays open:
/// those run at every save would otherwise be parsed anew each time.
class Statements {
public:
    /// `statement` prepared on `db` the first time it is asked for.
    QSqlQuery& operator()(const QSqlDatabase& db, const QString& statement);
    /// Lets them go, before their connection closes.
    void clear() { m_prepared.clear(); }

private:
    std::unordered_map<QString, QSqlQuery> m_prepared;
};

/// A write transaction: BEGIN IMMEDIATE takes the write lock at once, so two
/// writers queue on the busy timeout instead of one failing on a lock upgrade.
class Transaction {
public:
    explicit Transaction(const QSqlDatabase& db);
    /// The same, its BEGIN and COMMIT kept among `prepared`.
    Transaction(const QSqlDatabase& db, Statements& prepared);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    /// Runs `statement`, prepared once if there are statements to keep it among.
    void run(const QString& statement);

    QSqlDatabase m_db;
    Statements* m_prepared = nullptr;
    bool m_open = true;
};

} // namespace record::sql
