#include "core/store/MyNotebook.h"

#include "core/Clock.h"
#include "core/Localized.h"
#include "core/Log.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"

#include <algorithm>

QString MyNotebook::name() const { return stringValue("name"); }
bool MyNotebook::hide() const { return boolValue("hide"); }
bool MyNotebook::deleted() const { return boolValue("deleted"); }
qint64 MyNotebook::serviceCreated() const { return integerValue("serviceCreated"); }
qint64 MyNotebook::serviceUpdated() const { return integerValue("serviceUpdated"); }
QString MyNotebook::guid() const { return stringValue("guid"); }
qint32 MyNotebook::updateSequenceNum() const { return qint32(integerValue("updateSequenceNum")); }
bool MyNotebook::needUpdate() const { return boolValue("needUpdate"); }

QList<MyNote *> MyNotebook::notes() const
{
    return members<MyNote>("notes");
}

void MyNotebook::markModified()
{
    write("serviceUpdated", qlonglong(Clock::nowMilliseconds()));
    write("needUpdate", true);
}

void MyNotebook::setName(const QString &name)
{
    write("name", name);
    markModified();
}

void MyNotebook::setDeleted(bool deleted)
{
    write("deleted", deleted);
    write("needUpdate", true);
}

void MyNotebook::addNotesObject(MyNote *note)
{
    Log::line(QStringLiteral("Notebook %@ adding note %@"), {name(), note ? note->title() : QString()});
    managedObjectContext()->addToMany(this, rel("notes"), note);
    markModified();
}

void MyNotebook::removeNotesObject(MyNote *note)
{
    Log::line(QStringLiteral("Notebook %@ removing note %@"), {name(), note ? note->title() : QString()});
    managedObjectContext()->removeFromMany(this, rel("notes"), note);
    markModified();
}

void MyNotebook::addNotes(const QList<MyNote *> &notes)
{
    Log::line(QStringLiteral("Notebook %@ adding %d notes"), {name(), notes.size()});
    for (MyNote *note : notes)
        managedObjectContext()->addToMany(this, rel("notes"), note);
    markModified();
}

void MyNotebook::removeNotes(const QList<MyNote *> &notes)
{
    Log::line(QStringLiteral("Notebook %@ removing %d notes"), {name(), notes.size()});
    for (MyNote *note : notes)
        managedObjectContext()->removeFromMany(this, rel("notes"), note);
    markModified();
}

qint32 MyNotebook::numberOfNotes() const
{
    return qint32(toMany(rel("notes")).size());
}

qint32 MyNotebook::nextMysorterValue() const
{
    const auto &notes = toMany(rel("notes"));
    if (notes.empty())
        return 0;
    const int sorter = notes.front()->entity().attributeIndex(QStringLiteral("mysorter"));
    qint64 largest = notes.front()->slot(sorter).toLongLong();
    for (const ManagedObject *note : notes)
        largest = std::max(largest, note->slot(sorter).toLongLong());
    return qint32(largest + 1);
}

void MyNotebook::awakeFromInsert()
{
    write("guid", QStringLiteral(""));
    write("name", Localized::string(QStringLiteral("NEW_NOTEBOOK")));
    write("serviceCreated", qlonglong(Clock::nowMilliseconds()));
    write("needUpdate", true);
}
