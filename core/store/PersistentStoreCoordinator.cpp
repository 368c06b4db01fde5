#include "core/store/PersistentStoreCoordinator.h"

#include "core/Localized.h"
#include "core/Log.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/SqliteStatement.h"
#include "core/store/StoreProblem.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <sqlite3.h>

namespace {
QString quoted(const QString &identifier)
{
    return u'"' + QString(identifier).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString columnType(AttributeType type)
{
    switch (type) {
    case AttributeType::String:
        return QStringLiteral("TEXT");
    case AttributeType::Double:
        return QStringLiteral("REAL");
    default:
        return QStringLiteral("INTEGER");
    }
}

QString relationshipColumn(const RelationshipDescription &r)
{
    return r.name + QStringLiteral("_pk");
}

// The side of a many-to-many pair that owns the join table.
bool ownsJoin(const EntityDescription &entity, const RelationshipDescription &r)
{
    const RelationshipDescription &inverse = r.destination->relationship(r.inverseIndex);
    return (entity.name() + u'.' + r.name) < (r.destination->name() + u'.' + inverse.name);
}

QStringList journalFiles(const QString &path)
{
    return {path + QStringLiteral("-wal"), path + QStringLiteral("-shm")};
}

// SQLite creates the journal files with the permissions of the store file: a store opened while
// it was read-only leaves them read-only, and they would keep it unwritable after the user
// mended the store file's permission. They take the store file's permissions again.
void mendJournalPermissions(const QString &path)
{
    if (!QFileInfo::exists(path) || !StoreProblem::isWritable(path))
        return;
    for (const QString &journal : journalFiles(path)) {
        if (QFileInfo::exists(journal) && !StoreProblem::isWritable(journal)
            && QFile::setPermissions(journal, QFile::permissions(path)))
            Log::line(QStringLiteral("Made %@ writable again, like the store"), {journal});
    }
}

bool isManyToMany(const RelationshipDescription &r)
{
    return r.toMany && r.destination->relationship(r.inverseIndex).toMany;
}

quint64 bit(int index)
{
    return quint64(1) << index;
}
} // namespace

PersistentStoreCoordinator::PersistentStoreCoordinator(std::shared_ptr<const ManagedObjectModel> model)
    : m_model(std::move(model))
{
    for (const auto &entity : m_model->entities()) {
        for (size_t i = 0; i < entity->relationships().size(); ++i) {
            const RelationshipDescription &r = entity->relationship(int(i));
            if (isManyToMany(r) && ownsJoin(*entity, r))
                m_joinTables.push_back({entity->name() + u'_' + r.name, entity.get(), int(i)});
        }
    }
}

PersistentStoreCoordinator::~PersistentStoreCoordinator()
{
    closeDatabase();
}

AppError PersistentStoreCoordinator::storeError(const QString &description, int code, const QString &detail,
                                                bool saving) const
{
    // What SQLite said goes to the log; the user reads what it means.
    Log::line(QStringLiteral("Store problem with %@: %@ (%d)"), {displayPath(), detail, code});
    AppError error{QStringLiteral("KelvaraStore"), code, description, {}, {}};
    StoreProblem::explain(error, displayPath(), m_backupPath, detail, saving);
    return error;
}

AppError PersistentStoreCoordinator::readOnlyError() const
{
    AppError error{QStringLiteral("KelvaraStore"), SQLITE_READONLY,
                   Localized::format(QStringLiteral("STORE_READ_ONLY"), {displayPath()}), {}, {}};
    StoreProblem::explain(error, displayPath(), m_backupPath, QStringLiteral("read-only"), false);
    return error;
}

void PersistentStoreCoordinator::closeDatabase()
{
    if (!m_database.isOpen())
        return;
    const bool readOnly = m_database.isReadOnly();
    m_database.close();
    if (!readOnly)
        return; // the last read-write connection removes its journal files itself
    // A read-only connection cannot: an empty journal and its index go, so that nothing made
    // while the store was unwritable stays behind. A journal with content is another writer's
    // last save and stays.
    const QStringList journals = journalFiles(m_path);
    if (QFileInfo(journals.at(0)).exists() && QFileInfo(journals.at(0)).size() == 0)
        QFile::remove(journals.at(0));
    if (!QFileInfo::exists(journals.at(0)))
        QFile::remove(journals.at(1));
}

QString PersistentStoreCoordinator::displayPath() const
{
    return QFileInfo(m_path).absoluteFilePath();
}

bool PersistentStoreCoordinator::addSQLiteStore(const QString &path, AppError *error, bool mayCreate)
{
    closeDatabase();
    m_path = path;
    m_lastWriteFailed = false;
    const bool exists = QFileInfo::exists(path);
    const QString couldNotOpen = Localized::format(QStringLiteral("STORE_OPEN_FAILED"), {displayPath()});
    auto fail = [&](int code, const QString &detail) {
        if (error)
            *error = storeError(couldNotOpen, code, detail, false);
        closeDatabase();
        return false;
    };
    if (!exists && !mayCreate)
        return fail(SQLITE_CANTOPEN, QStringLiteral("the store file is gone"));
    mendJournalPermissions(path);
    if (!m_database.open(path, exists ? SqliteDatabase::Mode::ReadWrite : SqliteDatabase::Mode::ReadWriteCreate))
        return fail(m_database.errorCode(), m_database.errorMessage());

    // Reading the header tells a database from any other file, before anything is written.
    const QVariant appID = m_database.scalar(QStringLiteral("PRAGMA application_id"));
    if (!appID.isValid())
        return fail(m_database.errorCode(), m_database.errorMessage());
    const qint64 tables = m_database.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master")).toLongLong();
    const bool fresh = tables == 0;
    if (!fresh && appID.toLongLong() != applicationID)
        return fail(StoreProblem::foreignFileCode, QStringLiteral("foreign application id %1").arg(appID.toLongLong()));
    const qint64 version = m_database.scalar(QStringLiteral("PRAGMA user_version")).toLongLong();
    if (!fresh && version > m_model->version())
        return fail(StoreProblem::newerVersionCode, QString::number(version));

    // A read-only connection keeps the journal mode the file has; it is WAL for every store
    // this program wrote.
    if ((!m_database.isReadOnly() && !m_database.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        || !m_database.exec(QStringLiteral("PRAGMA synchronous=FULL"))
        || !m_database.exec(QStringLiteral("PRAGMA foreign_keys=OFF")))
        return fail(m_database.errorCode(), m_database.errorMessage());
    if ((fresh || version < m_model->version()) && !createOrMigrate(error)) {
        closeDatabase();
        return false;
    }
    return true;
}

bool PersistentStoreCoordinator::reopenForWriting(AppError *error)
{
    // The same file, never a new one: a store that vanished must not be replaced by one that
    // holds only the unsaved changes.
    const QString path = m_path;
    if (!addSQLiteStore(path, error, false)) {
        m_lastWriteFailed = true;
        return false;
    }
    return true;
}

bool PersistentStoreCoordinator::createOrMigrate(AppError *error)
{
    auto fail = [&] {
        const QString reason = m_database.errorMessage();
        const int code = m_database.errorCode();
        m_database.exec(QStringLiteral("ROLLBACK"));
        if (error)
            *error = storeError(Localized::format(QStringLiteral("STORE_OPEN_FAILED"), {displayPath()}), code, reason, false);
        return false;
    };
    if (!m_database.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail();
    for (const auto &entity : m_model->entities()) {
        const QString table = quoted(entity->name());
        if (!m_database.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (Z_PK INTEGER PRIMARY KEY)").arg(table)))
            return fail();
        QSet<QString> existing;
        SqliteStatement *info = m_database.prepare(QStringLiteral("PRAGMA table_info(%1)").arg(table));
        while (info && info->next())
            existing.insert(info->text(1));
        if (!info || info->failed())
            return fail();
        for (const AttributeDescription &a : entity->attributes()) {
            if (existing.contains(a.name))
                continue;
            QString sql = QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, quoted(a.name), columnType(a.type));
            if (a.defaultValue.isValid()) {
                sql += a.type == AttributeType::String
                           ? QStringLiteral(" DEFAULT '%1'").arg(a.defaultValue.toString().replace(u'\'', QStringLiteral("''")))
                           : QStringLiteral(" DEFAULT %1").arg(a.defaultValue.toString());
            }
            if (!m_database.exec(sql))
                return fail();
        }
        for (const RelationshipDescription &r : entity->relationships()) {
            if (r.toMany || existing.contains(relationshipColumn(r)))
                continue;
            if (!m_database.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 INTEGER").arg(table, quoted(relationshipColumn(r)))))
                return fail();
        }
    }
    for (const JoinTable &join : m_joinTables) {
        if (!m_database.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (owner_pk INTEGER NOT NULL, member_pk INTEGER NOT NULL, "
                                            "PRIMARY KEY (owner_pk, member_pk)) WITHOUT ROWID")
                                 .arg(quoted(join.name)))
            || !m_database.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (member_pk)")
                                    .arg(quoted(join.name + QStringLiteral("_member")), quoted(join.name))))
            return fail();
    }
    if (!m_database.exec(QStringLiteral("PRAGMA application_id=%1").arg(applicationID))
        || !m_database.exec(QStringLiteral("PRAGMA user_version=%1").arg(m_model->version()))
        || !m_database.exec(QStringLiteral("COMMIT")))
        return fail();
    return true;
}

bool PersistentStoreCoordinator::removeStore(AppError *error)
{
    if (!m_database.isOpen()) {
        if (error)
            *error = AppError{QStringLiteral("KelvaraStore"), 1, QStringLiteral("There is no store to remove."), {}, {}};
        return false;
    }
    closeDatabase();
    return true;
}

bool PersistentStoreCoordinator::loadObjects(ManagedObjectContext &context, AppError *error)
{
    auto fail = [&] {
        if (error)
            *error = storeError(Localized::format(QStringLiteral("STORE_OPEN_FAILED"), {displayPath()}),
                                m_database.errorCode(), m_database.errorMessage(), false);
        return false;
    };
    struct PendingLink
    {
        ManagedObject *object;
        int relationship;
        qint64 target;
    };
    std::vector<QHash<qint64, ManagedObject *>> byID(m_model->entities().size());
    std::vector<PendingLink> links;

    for (const auto &entity : m_model->entities()) {
        QStringList columns{QStringLiteral("Z_PK")};
        for (const AttributeDescription &a : entity->attributes())
            columns << quoted(a.name);
        std::vector<int> toOne;
        for (size_t i = 0; i < entity->relationships().size(); ++i) {
            if (!entity->relationship(int(i)).toMany) {
                columns << quoted(relationshipColumn(entity->relationship(int(i))));
                toOne.push_back(int(i));
            }
        }
        SqliteStatement *select = m_database.prepare(
            QStringLiteral("SELECT %1 FROM %2 ORDER BY Z_PK").arg(columns.join(u','), quoted(entity->name())));
        if (!select)
            return fail();
        auto &index = byID[size_t(entity->index())];
        const auto &attributes = entity->attributes();
        while (select->next()) {
            ManagedObject *object = context.createObject(entity.get(), select->integer(0));
            for (size_t a = 0; a < attributes.size(); ++a) {
                const int column = int(a) + 1;
                StoreValue &slot = object->slotRef(int(a));
                if (select->isNull(column))
                    slot = StoreValue();
                else if (attributes[a].type == AttributeType::String)
                    slot = StoreValue(select->text(column));
                else if (attributes[a].type == AttributeType::Double)
                    slot = StoreValue(select->real(column));
                else
                    slot = StoreValue(qint64(select->integer(column)));
            }
            for (size_t r = 0; r < toOne.size(); ++r) {
                const int column = int(attributes.size() + r) + 1;
                if (!select->isNull(column))
                    links.push_back({object, toOne[r], select->integer(column)});
            }
            object->m_persisted = true;
            index.insert(object->objectID(), object);
        }
        if (select->failed())
            return fail();
    }

    for (const PendingLink &link : links) {
        const RelationshipDescription &r = link.object->entity().relationship(link.relationship);
        ManagedObject *target = byID[size_t(r.destination->index())].value(link.target);
        if (!target)
            continue; // a dangling key reads as no relationship
        link.object->relation(link.relationship).one = target;
        ManagedObject::Relation &inverse = target->relation(r.inverseIndex);
        if (r.destination->relationship(r.inverseIndex).toMany)
            inverse.many.push_back(link.object);
        else
            inverse.one = link.object;
    }
    for (const JoinTable &join : m_joinTables) {
        const RelationshipDescription &r = join.owner->relationship(join.ownerRelationship);
        SqliteStatement *select = m_database.prepare(
            QStringLiteral("SELECT owner_pk, member_pk FROM %1 ORDER BY owner_pk, member_pk").arg(quoted(join.name)));
        if (!select)
            return fail();
        const auto &owners = byID[size_t(join.owner->index())];
        const auto &members = byID[size_t(r.destination->index())];
        while (select->next()) {
            ManagedObject *owner = owners.value(select->integer(0));
            ManagedObject *member = members.value(select->integer(1));
            if (!owner || !member)
                continue;
            owner->relation(join.ownerRelationship).many.push_back(member);
            member->relation(r.inverseIndex).many.push_back(owner);
        }
        if (select->failed())
            return fail();
    }
    return true;
}

bool PersistentStoreCoordinator::writeJoinRows(ManagedObject *object, bool replace)
{
    const EntityDescription &entity = object->entity();
    for (const JoinTable &join : m_joinTables) {
        if (join.owner == &entity) {
            if (!(object->m_dirtyRelations & bit(join.ownerRelationship)) && replace)
                continue;
            if (replace) {
                SqliteStatement *clear = m_database.prepare(
                    QStringLiteral("DELETE FROM %1 WHERE owner_pk = ?").arg(quoted(join.name)));
                if (!clear || !clear->bind(1, object->objectID()) || !clear->run())
                    return false;
            }
            SqliteStatement *add = m_database.prepare(
                QStringLiteral("INSERT OR IGNORE INTO %1 (owner_pk, member_pk) VALUES (?, ?)").arg(quoted(join.name)));
            if (!add)
                return false;
            for (ManagedObject *member : object->relation(join.ownerRelationship).many) {
                add->reset();
                if (!add->bind(1, object->objectID()) || !add->bind(2, member->objectID()) || !add->run())
                    return false;
            }
        }
    }
    return true;
}

bool PersistentStoreCoordinator::writeObject(ManagedObject *object)
{
    const EntityDescription &entity = object->entity();
    const QString table = quoted(entity.name());
    const auto &attributes = entity.attributes();

    if (object->isDeleted()) {
        if (!object->m_persisted)
            return true;
        SqliteStatement *remove = m_database.prepare(QStringLiteral("DELETE FROM %1 WHERE Z_PK = ?").arg(table));
        if (!remove || !remove->bind(1, object->objectID()) || !remove->run())
            return false;
        for (const JoinTable &join : m_joinTables) {
            const QString column = join.owner == &entity ? QStringLiteral("owner_pk")
                                   : join.owner->relationship(join.ownerRelationship).destination == &entity
                                       ? QStringLiteral("member_pk")
                                       : QString();
            if (column.isEmpty())
                continue;
            SqliteStatement *unjoin = m_database.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quoted(join.name), column));
            if (!unjoin || !unjoin->bind(1, object->objectID()) || !unjoin->run())
                return false;
        }
        return true;
    }

    QStringList columns;
    QVariantList values;
    for (size_t a = 0; a < attributes.size(); ++a) {
        if (object->m_persisted && !(object->m_dirtyAttributes & bit(int(a))))
            continue;
        columns << quoted(attributes[a].name);
        values << object->slot(int(a)).toVariant();
    }
    for (size_t r = 0; r < entity.relationships().size(); ++r) {
        const RelationshipDescription &rel = entity.relationship(int(r));
        if (rel.toMany || (object->m_persisted && !(object->m_dirtyRelations & bit(int(r)))))
            continue;
        columns << quoted(relationshipColumn(rel));
        ManagedObject *target = object->relation(int(r)).one;
        values << (target ? QVariant(qlonglong(target->objectID())) : QVariant());
    }

    if (!object->m_persisted) {
        QStringList marks(columns.size() + 1, QStringLiteral("?"));
        SqliteStatement *insert = m_database.prepare(QStringLiteral("INSERT INTO %1 (Z_PK%2%3) VALUES (%4)")
                                                         .arg(table, columns.isEmpty() ? QString() : QStringLiteral(","),
                                                              columns.join(u','), marks.join(u',')));
        if (!insert || !insert->bind(1, object->objectID()))
            return false;
        for (int i = 0; i < values.size(); ++i) {
            if (!insert->bind(i + 2, values.at(i)))
                return false;
        }
        return insert->run() && writeJoinRows(object, false);
    }

    if (!columns.isEmpty()) {
        QStringList assignments;
        for (const QString &c : columns)
            assignments << c + QStringLiteral(" = ?");
        SqliteStatement *update =
            m_database.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE Z_PK = ?").arg(table, assignments.join(u',')));
        if (!update)
            return false;
        for (int i = 0; i < values.size(); ++i) {
            if (!update->bind(i + 1, values.at(i)))
                return false;
        }
        if (!update->bind(int(values.size()) + 1, object->objectID()) || !update->run())
            return false;
    }
    return writeJoinRows(object, true);
}

bool PersistentStoreCoordinator::writeChanges(const std::vector<ManagedObject *> &changed, AppError *error)
{
    const QString couldNotSave = Localized::format(QStringLiteral("STORE_SAVE_FAILED"), {displayPath()});
    auto fail = [&] {
        const QString reason = m_database.errorMessage();
        const int code = m_database.errorCode();
        m_database.exec(QStringLiteral("ROLLBACK"));
        m_lastWriteFailed = true;
        if (error)
            *error = storeError(couldNotSave, code, reason, true);
        return false;
    };
    // Whatever made the last save fail may be mended by now (a permission given back, space
    // freed), and a connection opened read-only stays read-only: the next save starts afresh.
    if (m_lastWriteFailed || !m_database.isOpen() || m_database.isReadOnly()) {
        AppError reopenError;
        if (!reopenForWriting(&reopenError)) {
            if (error) {
                *error = reopenError;
                error->description = couldNotSave;
                error->recoverySuggestion += u' ' + Localized::string(QStringLiteral("STORE_SAVE_RECOVERY"));
            }
            return false;
        }
    }
    if (!m_database.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail();
    for (ManagedObject *object : changed) {
        if (!writeObject(object))
            return fail();
    }
    if (!m_database.exec(QStringLiteral("COMMIT")))
        return fail();
    return true;
}
