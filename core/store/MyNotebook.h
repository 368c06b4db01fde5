#pragma once

#include "core/store/ManagedObject.h"

#include <QList>

class MyNote;

// A notebook. `hide` and the synchronisation bookkeeping have no setter: they change through
// raw writes, so hiding a notebook stays local.
class MyNotebook : public ManagedObject
{
public:
    static constexpr const char *entityName = "MyNotebook";
    using ManagedObject::ManagedObject;

    QString name() const;
    bool hide() const;
    bool deleted() const;
    qint64 serviceCreated() const;
    qint64 serviceUpdated() const;
    QString guid() const;
    qint32 updateSequenceNum() const;
    bool needUpdate() const;
    QList<MyNote *> notes() const; // live, completed, trashed and expunged alike

    void setName(const QString &name);
    void setDeleted(bool deleted);
    void addNotesObject(MyNote *note);
    void removeNotesObject(MyNote *note);
    void addNotes(const QList<MyNote *> &notes);
    void removeNotes(const QList<MyNote *> &notes);

    qint32 numberOfNotes() const;
    // One past the largest `mysorter` of the notebook's tasks; 0 for an empty notebook.
    qint32 nextMysorterValue() const;

    void awakeFromInsert();

private:
    void markModified(); // serviceUpdated = now, needUpdate = 1
};
