#include "core/store/SqliteStatement.h"

#include "core/store/SqliteDatabase.h"

#include <sqlite3.h>

SqliteStatement::SqliteStatement(SqliteDatabase *database, sqlite3_stmt *statement)
    : m_database(database)
    , m_statement(statement)
{
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    m_failed = false;
}

bool SqliteStatement::bind(int index, const QVariant &value)
{
    int rc;
    if (!value.isValid()) {
        rc = sqlite3_bind_null(m_statement, index);
    } else {
        switch (value.metaType().id()) {
        case QMetaType::QString: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_statement, index, value.toDouble());
            break;
        default:
            rc = sqlite3_bind_int64(m_statement, index, value.toLongLong());
        }
    }
    if (rc != SQLITE_OK) {
        m_database->recordError();
        m_failed = true;
        return false;
    }
    return true;
}

bool SqliteStatement::next()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE) {
        m_database->recordError();
        m_failed = true;
    }
    return false;
}

bool SqliteStatement::run()
{
    while (next()) {
    }
    const bool ok = !m_failed;
    sqlite3_reset(m_statement);
    return ok;
}

int SqliteStatement::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::real(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

QString SqliteStatement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    const int size = sqlite3_column_bytes(m_statement, column);
    return data ? QString::fromUtf8(data, size) : QString();
}

QVariant SqliteStatement::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return qlonglong(integer(column));
    case SQLITE_FLOAT:
        return real(column);
    default:
        return text(column);
    }
}
