#pragma once

#include "core/store/ManagedObject.h"
#include "core/store/MySimpleNote.h"

#include <QDateTime>
#include <QList>

class MyNotebook;
class MyTag;

// A task. The public setters are how views change a task: each stamps `updated`, marks the
// task for the next synchronisation and announces every key it writes. Synchronisation uses
// raw writes (ManagedObject::setValue) instead, which mark and stamp nothing.
class MyNote : public ManagedObject
{
public:
    static constexpr const char *entityName = "MyNote";
    using ManagedObject::ManagedObject;

    QString title() const;
    QString content() const; // null: no content
    QDateTime dueDated() const; // invalid: no due date
    bool completed() const;
    bool active() const;
    bool toExpunged() const;
    qint32 mysorter() const;
    qint64 created() const;
    qint64 updated() const;
    QString guid() const;
    qint32 updateSequenceNum() const;
    bool needUpdate() const;
    MyNotebook *notebook() const;
    QList<MyTag *> tags() const;

    void setTitle(const QString &title);
    void setContent(const QString &content);
    void setDueDated(const QDateTime &dueDated);
    void setCompleted(bool completed);
    void setActive(bool active);
    void setToExpunged(bool toExpunged);
    void setNotebook(MyNotebook *notebook);
    void addTagsObject(MyTag *tag);
    void removeTagsObject(MyTag *tag);
    void addTags(const QList<MyTag *> &tags);
    void removeTags(const QList<MyTag *> &tags);

    MySimpleNote simpleNote() const;

    void awakeFromInsert();

private:
    void markModified(); // updated = now, needUpdate = 1
    void postShowDockTile();
};
