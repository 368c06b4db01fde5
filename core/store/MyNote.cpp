#include "core/store/MyNote.h"

#include "core/Clock.h"
#include "core/Localized.h"
#include "core/Log.h"
#include "core/NotificationCenter.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"

void MyNote::markModified()
{
    write("updated", qlonglong(Clock::nowMilliseconds()));
    write("needUpdate", true);
}

void MyNote::postShowDockTile()
{
    NotificationCenter::defaultCenter().post(QStringLiteral("ShowDockTile"), this);
}

QString MyNote::title() const { return stringValue("title"); }
QString MyNote::content() const
{
    const StoreValue &v = slot(attr("content"));
    return v.isValid() ? v.toString() : QString();
}
QDateTime MyNote::dueDated() const
{
    const StoreValue &v = slot(attr("dueDated"));
    return v.isValid() ? QDateTime::fromMSecsSinceEpoch(v.toLongLong()) : QDateTime();
}
bool MyNote::completed() const { return boolValue("completed"); }
bool MyNote::active() const { return boolValue("active"); }
bool MyNote::toExpunged() const { return boolValue("toExpunged"); }
qint32 MyNote::mysorter() const { return qint32(integerValue("mysorter")); }
qint64 MyNote::created() const { return integerValue("created"); }
qint64 MyNote::updated() const { return integerValue("updated"); }
QString MyNote::guid() const { return stringValue("guid"); }
qint32 MyNote::updateSequenceNum() const { return qint32(integerValue("updateSequenceNum")); }
bool MyNote::needUpdate() const { return boolValue("needUpdate"); }

MyNotebook *MyNote::notebook() const
{
    return static_cast<MyNotebook *>(toOne(rel("notebook")));
}

QList<MyTag *> MyNote::tags() const
{
    return members<MyTag>("tags");
}

void MyNote::setTitle(const QString &title)
{
    write("title", title);
    markModified();
}

void MyNote::setContent(const QString &content)
{
    write("content", content.isNull() ? QVariant() : QVariant(content));
    markModified();
}

void MyNote::setDueDated(const QDateTime &dueDated)
{
    write("dueDated", dueDated.isValid() ? QVariant(dueDated) : QVariant());
    markModified();
    postShowDockTile();
}

void MyNote::setCompleted(bool completed)
{
    write("completed", completed);
    markModified();
    postShowDockTile();
}

void MyNote::setActive(bool active)
{
    write("active", active);
    markModified();
    postShowDockTile();
}

void MyNote::setToExpunged(bool toExpunged)
{
    write("toExpunged", toExpunged);
    markModified();
}

void MyNote::setNotebook(MyNotebook *notebook)
{
    // The value is that of the notebook's tasks as they were before this one joined them, so
    // a task moved into an empty notebook is its first (0) and otherwise goes after the others.
    const qint32 next = notebook ? notebook->nextMysorterValue() : 0;
    managedObjectContext()->setToOne(this, rel("notebook"), notebook);
    write("mysorter", next);
    markModified();
}

void MyNote::addTagsObject(MyTag *tag)
{
    Log::line(QStringLiteral("Note %@ adding tag %@"), {title(), tag ? tag->name() : QString()});
    managedObjectContext()->addToMany(this, rel("tags"), tag);
    markModified();
}

void MyNote::removeTagsObject(MyTag *tag)
{
    Log::line(QStringLiteral("Note %@ removing tag %@"), {title(), tag ? tag->name() : QString()});
    managedObjectContext()->removeFromMany(this, rel("tags"), tag);
    markModified();
}

void MyNote::addTags(const QList<MyTag *> &tags)
{
    Log::line(QStringLiteral("Note %@ adding %d tags"), {title(), tags.size()});
    for (MyTag *tag : tags)
        managedObjectContext()->addToMany(this, rel("tags"), tag);
    markModified();
}

void MyNote::removeTags(const QList<MyTag *> &tags)
{
    Log::line(QStringLiteral("Note %@ removing %d tags"), {title(), tags.size()});
    for (MyTag *tag : tags)
        managedObjectContext()->removeFromMany(this, rel("tags"), tag);
    markModified();
}

MySimpleNote MyNote::simpleNote() const
{
    MySimpleNote s;
    s.title = title();
    s.dueDated = dueDated();
    s.created = created();
    s.completed = completed();
    s.tags = tags();
    s.notebook = notebook();
    const QString c = content();
    s.hasContent = !c.isEmpty();
    return s;
}

void MyNote::awakeFromInsert()
{
    write("guid", QStringLiteral(""));
    write("title", Localized::string(QStringLiteral("NEW_TASK")));
    write("created", qlonglong(Clock::nowMilliseconds()));
    write("active", true);
    write("needUpdate", true);
    write("toExpunged", false);
}
