#pragma once

#include "service/EDAMTypes.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class MyNote;
class MyNotebook;
class MyTag;

// Turns the store's notebooks, tags and tasks into the service's objects just before they are
// sent: one conversion for an object the service does not know yet (a create) and one for an
// object it knows by its guid (an update). Each sets the fields it names and no other: a field
// left unset is not written to the wire, while one set to a blank value would overwrite what
// the service holds. Titles and names go out in the form the service takes (ServiceName).
// Stateless.
class TypesConversor
{
public:
    // The note's current content on the service, by its guid, or nothing when the service
    // would not give it (the conversion then starts from the template). A transport failure is
    // thrown and passes through the conversion, to end the synchronisation run.
    using ContentFetch = std::function<std::optional<QString>(const QString &guid)>;

    // What converting a task reads from it. A worker copies it in one short hop to the main
    // thread and fetches and converts outside the hop, with no store object in hand.
    struct Task
    {
        QString guid;
        QString title;
        qint64 created = 0;
        qint64 updated = 0;
        bool active = true;
        QDateTime dueDated; // invalid: none
        bool completed = false;
        QString notesText; // empty: none
        QString notebookGuid; // empty: no notebook, or one not on the service yet
        QStringList tagNames; // as the store has them, in the order of the task's tags
    };
    static Task task(const MyNote &note);

    // name, serviceCreated.
    static EDAMNotebook notebook(const MyNotebook &notebook);
    // guid, name, serviceCreated, serviceUpdated.
    static EDAMNotebook notebookWithGuid(const MyNotebook &notebook);
    // name. A tag's parent is never sent.
    static EDAMTag tag(const MyTag &tag);
    // guid, name.
    static EDAMTag tagWithGuid(const MyTag &tag);

    // title, created, notebookGuid, active only when the task is in the trash, the content built from the template when the task has a
    // due date, is completed or has a notes text, and tagNames when it has tags. A note's tags
    // always travel by name; tagGuids is never sent.
    static EDAMNote note(const MyNote &note);
    static EDAMNote note(const Task &task);
    // guid, title, updated, active, notebookGuid, tagNames (empty when the task has no tags
    // left: the service replaces a note's tags only when it is sent a list), and the content
    // fetched from the service with the task's markers changed, when any of them changes.
    // Everything else in the service's content is kept as it is.
    static EDAMNote noteWithGuid(const MyNote &note, const ContentFetch &fetchContent);
    static EDAMNote noteWithGuid(const Task &task, const ContentFetch &fetchContent);

    TypesConversor() = delete;
};
