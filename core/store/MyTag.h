#pragma once

#include "core/store/ManagedObject.h"

#include <QList>

class MyNote;

// A tag. Its setters mark it for synchronisation but stamp no time: tags carry none.
class MyTag : public ManagedObject
{
public:
    static constexpr const char *entityName = "MyTag";
    using ManagedObject::ManagedObject;

    QString name() const;
    bool deleted() const;
    QString parentGuid() const; // null: none
    QString guid() const;
    qint32 updateSequenceNum() const;
    bool needUpdate() const;
    QList<MyNote *> notes() const;

    void setName(const QString &name);
    void setDeleted(bool deleted);
    void addNotesObject(MyNote *note);
    void removeNotesObject(MyNote *note);
    void addNotes(const QList<MyNote *> &notes);
    void removeNotes(const QList<MyNote *> &notes);

    void awakeFromInsert();
};
