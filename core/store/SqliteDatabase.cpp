#include "core/store/SqliteDatabase.h"

#include "core/store/SqliteStatement.h"

#include <QFile>

#include <sqlite3.h>

SqliteDatabase::SqliteDatabase() = default;

SqliteDatabase::~SqliteDatabase()
{
    close();
}

bool SqliteDatabase::open(const QString &path, Mode mode)
{
    close();
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::ReadWriteCreate)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        m_errorCode = rc;
        m_errorMessage = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 5000);
    return true;
}

bool SqliteDatabase::isReadOnly() const
{
    return m_db && sqlite3_db_readonly(m_db, "main") == 1;
}

void SqliteDatabase::close()
{
    qDeleteAll(m_statements);
    m_statements.clear();
    if (m_db) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
}

void SqliteDatabase::recordError()
{
    m_errorCode = m_db ? sqlite3_extended_errcode(m_db) : SQLITE_MISUSE;
    m_errorMessage = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("database not open");
}

bool SqliteDatabase::exec(const QString &sql)
{
    if (!m_db)
        return false;
    char *message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        m_errorCode = sqlite3_extended_errcode(m_db);
        m_errorMessage = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
        return false;
    }
    return true;
}

SqliteStatement *SqliteDatabase::prepare(const QString &sql)
{
    if (!m_db)
        return nullptr;
    auto it = m_statements.constFind(sql);
    if (it != m_statements.constEnd()) {
        (*it)->reset();
        return *it;
    }
    sqlite3_stmt *statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v3(m_db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &statement, nullptr)
        != SQLITE_OK) {
        recordError();
        return nullptr;
    }
    auto *wrapped = new SqliteStatement(this, statement);
    m_statements.insert(sql, wrapped);
    return wrapped;
}

QVariant SqliteDatabase::scalar(const QString &sql)
{
    SqliteStatement *statement = prepare(sql);
    if (!statement || !statement->next())
        return {};
    QVariant value = statement->value(0);
    statement->reset();
    return value;
}
