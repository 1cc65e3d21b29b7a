#include "record/sql.h"

#include "record/failure.h"

#include <QSqlError>
#include <atomic>

namespace record::sql {

namespace {

[[noreturn]] void fail(const QSqlError& error, const QString& statement)
{
    throw Failure(reasonOf(error), {}, describe(error) + QStringLiteral(" in: ") + statement);
}

} // namespace

QString uniqueConnectionName()
{
    static std::atomic<quint64> made {0};
    return QStringLiteral("tormell-record-%1").arg(++made);
}

Connection::Connection()
    : m_name(uniqueConnectionName())
{
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
}

Connection::~Connection()
{
    db().close(); // no handle may outlive the connection's removal
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Connection::db() const
{
    return QSqlDatabase::database(m_name, false);
}

QSqlQuery prepare(const QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        fail(query.lastError(), statement);
    return query;
}

void exec(QSqlQuery& query, const QVariantList& values)
{
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(static_cast<int>(i), values[i]);
    if (!query.exec())
        fail(query.lastError(), query.lastQuery());
}

QSqlQuery run(const QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    QSqlQuery query = prepare(db, statement);
    exec(query, values);
    return query;
}

QVariant single(const QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query = run(db, statement);
    if (!query.next())
        fail(query.lastError(), statement);
    return query.value(0);
}

QVariant single(QSqlQuery& prepared)
{
    exec(prepared);
    if (!prepared.next())
        fail(prepared.lastError(), prepared.lastQuery());
    QVariant value = prepared.value(0);
    prepared.finish();
    return value;
}

QSqlQuery& Statements::operator()(const QSqlDatabase& db, const QString& statement)
{
    auto found = m_prepared.find(statement);
    if (found == m_prepared.end())
        found = m_prepared.emplace(statement, prepare(db, statement)).first;
    return found->second;
}

Transaction::Transaction(const QSqlDatabase& db)
    : m_db(db)
{
    run(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::Transaction(const QSqlDatabase& db, Statements& prepared)
    : m_db(db)
    , m_prepared(&prepared)
{
    run(QStringLiteral("BEGIN IMMEDIATE"));
}

void Transaction::run(const QString& statement)
{
    if (m_prepared)
        exec((*m_prepared)(m_db, statement));
    else
        sql::run(m_db, statement);
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    // SQLite may have rolled back already (on a full disk, for one); if the
    // connection is still inside a transaction, closing it undoes the rest.
    bool rolledBack = false;
    {
        QSqlQuery rollback(m_db);
        rolledBack = rollback.exec(QStringLiteral("ROLLBACK"));
    }
    if (!rolledBack)
        m_db.close();
}

void Transaction::commit()
{
    run(QStringLiteral("COMMIT"));
    m_open = false;
}

} // namespace record::sql
