#include "bench/LargeTaskStore.h"

#include "core/store/StoreStack.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace {
QString tagName(int i)
{
    static const char *const named[] = {"home", "work", "errands", "Señal", "urgent"};
    return i < 5 ? QString::fromUtf8(named[i]) : QStringLiteral("project %1").arg(i);
}

// Writes the store into `dir` with `notebooks` notebooks (the last one hidden) and `tags` tags.
QString writeStore(const QTemporaryDir &dir, int notebooks, int tags)
{
    const QString f = dir.filePath(QStringLiteral("Kelvara"));
    {
        StoreStack stack(f); // creates the schema and the first notebook
        stack.managedObjectContext();
        stack.saveAction();
    }
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(f + QStringLiteral("/storedata")).constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (int i = 2; i <= notebooks; ++i) {
        const QByteArray sql = QStringLiteral("INSERT INTO MyNotebook (Z_PK, name, hide, deleted, guid, needUpdate) "
                                              "VALUES (%1, 'Notebook %1', %2, 0, '', 1)")
                                   .arg(i).arg(i == notebooks ? 1 : 0).toUtf8();
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    }
    for (int i = 0; i < tags; ++i) {
        const QByteArray sql = QStringLiteral("INSERT INTO MyTag (Z_PK, name, deleted, guid, needUpdate) VALUES (%1, '%2', 0, '', 1)")
                                   .arg(i + 1).arg(tagName(i)).toUtf8();
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    }
    const char *words[] = {"report", "call", "buy", "fix", "écrire", "plan", "review", "send"};
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    sqlite3_stmt *note = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO MyNote (Z_PK, title, content, dueDated, completed, active, toExpunged, deleted, color,"
                       " mysorter, created, updated, guid, updateSequenceNum, needUpdate, notebook_pk)"
                       " VALUES (?, ?, ?, ?, ?, 1, 0, 0, 0, ?, ?, ?, '', 0, 1, ?)",
                       -1, &note, nullptr);
    sqlite3_stmt *tag = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO MyNote_tags (owner_pk, member_pk) VALUES (?, ?)", -1, &tag, nullptr);
    const auto addTag = [&](int task, int tagIndex) {
        sqlite3_bind_int(tag, 1, task);
        sqlite3_bind_int(tag, 2, 1 + tagIndex);
        sqlite3_step(tag);
        sqlite3_reset(tag);
    };
    for (int i = 1; i <= LargeTaskStore::taskCount; ++i) {
        const QByteArray title = QStringLiteral("Task %1: %2 the %3 things").arg(i).arg(QString::fromUtf8(words[i % 8])).arg(i % 97).toUtf8();
        sqlite3_bind_int64(note, 1, i);
        sqlite3_bind_text(note, 2, title.constData(), int(title.size()), SQLITE_TRANSIENT);
        if (i % 3 == 0)
            sqlite3_bind_text(note, 3, "<en-note>a note body</en-note>", -1, SQLITE_STATIC);
        else
            sqlite3_bind_null(note, 3);
        if (i % 5 == 0)
            sqlite3_bind_null(note, 4);
        else
            sqlite3_bind_int64(note, 4, now + qint64((i % 61) - 30) * 86'400'000);
        sqlite3_bind_int(note, 5, i % 4 == 0);
        sqlite3_bind_int(note, 6, i);
        sqlite3_bind_int64(note, 7, now - i);
        sqlite3_bind_int64(note, 8, now - i);
        sqlite3_bind_int(note, 9, 1 + i % notebooks);
        sqlite3_step(note);
        sqlite3_reset(note);
        if (i % 2 == 0)
            addTag(i, (i / 2) % tags);
        if (tags > 5 && i % 6 == 0)
            addTag(i, ((i / 2) % tags + 1 + (i / 12) % (tags - 1)) % tags); // never the first tag again
    }
    sqlite3_finalize(note);
    sqlite3_finalize(tag);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return f;
}
} // namespace

const QString &LargeTaskStore::folder()
{
    static QTemporaryDir dir;
    static const QString folder = writeStore(dir, 20, 5);
    return folder;
}

const QString &LargeTaskStore::windowFolder()
{
    static QTemporaryDir dir;
    static const QString folder = writeStore(dir, 50, 200);
    return folder;
}

StoreStack &LargeTaskStore::stack()
{
    static StoreStack stack(folder());
    stack.managedObjectContext();
    return stack;
}
