#pragma once
// Looking into record files from a test: their bytes, and a SQLite connection
// of the test's own beside the store's, to read a file or lay one out by hand.

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>

inline QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

/// Every entry of a folder, hidden ones too, by name, with a file's bytes:
/// to see that nothing was made, removed or written there.
inline QMap<QString, QByteArray> folderContents(const QString& folder)
{
    QMap<QString, QByteArray> contents;
    for (const QString& name :
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        contents.insert(name, bytesOf(QDir(folder).filePath(name)));
    return contents;
}

/// Removes a record with every companion SQLite keeps beside it, as a player deleting it would.
inline void removeRecordFile(const QString& path)
{
    for (const char* ending : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(ending));
}

class RawFile {
public:
    explicit RawFile(const QString& path)
        : m_db(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw-") + path))
    {
        m_db.setDatabaseName(path);
        if (!m_db.open())
            qFatal("cannot open %s", qPrintable(path));
    }
    ~RawFile()
    {
        const QString name = m_db.connectionName();
        m_db = {}; // no handle left when the connection goes
        QSqlDatabase::removeDatabase(name);
    }

    /// The first value the statement gives, if any; a statement that fails ends the test program.
    QVariant run(const QString& statement, const QVariantList& values = {})
    {
        QSqlQuery query(m_db);
        query.prepare(statement);
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (!query.exec())
            qFatal("%s failed", qPrintable(statement));
        return query.next() ? query.value(0) : QVariant();
    }

private:
    QSqlDatabase m_db;
};
