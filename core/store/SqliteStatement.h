#pragma once

#include <QString>
#include <QVariant>

struct sqlite3_stmt;
class SqliteDatabase;

// One prepared statement. Binding takes Qt values: strings, integers (and booleans), doubles,
// and an invalid variant for NULL.
class SqliteStatement
{
public:
    SqliteStatement(SqliteDatabase *database, sqlite3_stmt *statement);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    void reset();
    bool bind(int index, const QVariant &value); // 1-based, as SQLite counts
    // Steps once: true with a row ready, false when done or on error (see failed()).
    bool next();
    // Steps to the end; false on error.
    bool run();
    bool failed() const { return m_failed; }

    int columnCount() const;
    bool isNull(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    QString text(int column) const;
    QVariant value(int column) const; // by the column's stored type

private:
    SqliteDatabase *m_database;
    sqlite3_stmt *m_statement;
    bool m_failed = false;
};
