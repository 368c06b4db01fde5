#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>

struct sqlite3;
class SqliteStatement;

// A thin owner of one SQLite connection: open, run, prepare (with a statement cache), errors.
class SqliteDatabase
{
public:
    enum class Mode { ReadWrite, ReadWriteCreate };

    SqliteDatabase();
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    bool open(const QString &path, Mode mode);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    // Opened read-only, because the file or its folder could not be written.
    bool isReadOnly() const;

    bool exec(const QString &sql);
    // A prepared statement, reset and ready to bind; owned by the cache.
    SqliteStatement *prepare(const QString &sql);
    // The first column of the first row of a query, invalid when there is none or on error.
    QVariant scalar(const QString &sql);

    int errorCode() const { return m_errorCode; }
    QString errorMessage() const { return m_errorMessage; }
    void recordError();

    sqlite3 *handle() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
    QHash<QString, SqliteStatement *> m_statements;
    int m_errorCode = 0;
    QString m_errorMessage;
};
