#include "core/store/MyTag.h"

#include "core/Localized.h"
#include "core/Log.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"

QString MyTag::name() const { return stringValue("name"); }
bool MyTag::deleted() const { return boolValue("deleted"); }
QString MyTag::parentGuid() const
{
    const StoreValue &v = slot(attr("parentGuid"));
    return v.isValid() ? v.toString() : QString();
}
QString MyTag::guid() const { return stringValue("guid"); }
qint32 MyTag::updateSequenceNum() const { return qint32(integerValue("updateSequenceNum")); }
bool MyTag::needUpdate() const { return boolValue("needUpdate"); }

QList<MyNote *> MyTag::notes() const
{
    return members<MyNote>("notes");
}

void MyTag::setName(const QString &name)
{
    write("name", name);
    write("needUpdate", true);
}

void MyTag::setDeleted(bool deleted)
{
    write("deleted", deleted);
    write("needUpdate", true);
}

void MyTag::addNotesObject(MyNote *note)
{
    Log::line(QStringLiteral("Tag %@ adding note %@"), {name(), note ? note->title() : QString()});
    managedObjectContext()->addToMany(this, rel("notes"), note);
    write("needUpdate", true);
}

void MyTag::removeNotesObject(MyNote *note)
{
    Log::line(QStringLiteral("Tag %@ removing note %@"), {name(), note ? note->title() : QString()});
    managedObjectContext()->removeFromMany(this, rel("notes"), note);
    write("needUpdate", true);
}

void MyTag::addNotes(const QList<MyNote *> &notes)
{
    Log::line(QStringLiteral("Tag %@ adding %d notes"), {name(), notes.size()});
    for (MyNote *note : notes)
        managedObjectContext()->addToMany(this, rel("notes"), note);
    write("needUpdate", true);
}

void MyTag::removeNotes(const QList<MyNote *> &notes)
{
    Log::line(QStringLiteral("Tag %@ removing %d notes"), {name(), notes.size()});
    for (MyNote *note : notes)
        managedObjectContext()->removeFromMany(this, rel("notes"), note);
    write("needUpdate", true);
}

void MyTag::awakeFromInsert()
{
    write("guid", QStringLiteral(""));
    write("name", Localized::string(QStringLiteral("NEW_TAG")));
    write("needUpdate", true);
}
