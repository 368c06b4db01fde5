#include "content/TypesConversor.h"

#include "content/CompletedContent.h"
#include "content/DueDateContent.h"
#include "content/ServiceName.h"
#include "content/TaskContent.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"

#include <QRegularExpression>

#include <string>
#include <vector>

namespace {
std::string wire(const QString &text)
{
    return text.toStdString();
}

// Each name once: the service knows a tag by its name whatever the case, and two local tags
// can come out of ServiceName as the same name.
std::vector<std::string> wireTagNames(const QStringList &names)
{
    QStringList sent;
    for (const QString &name : names) {
        const QString serviceName = ServiceName::tagName(name);
        if (!sent.contains(serviceName, Qt::CaseInsensitive))
            sent.append(serviceName);
    }
    std::vector<std::string> result;
    result.reserve(size_t(sent.size()));
    for (const QString &name : sent)
        result.push_back(wire(name));
    return result;
}

// The fields both conversions of a task set alike.
EDAMNote commonNote(const TypesConversor::Task &task)
{
    EDAMNote note;
    note.__set_title(wire(ServiceName::noteTitle(task.title)));
    if (!task.notebookGuid.isEmpty())
        note.__set_notebookGuid(wire(task.notebookGuid));
    return note;
}

// An empty note comes back as a self-closing element, with or without attributes; it gets a
// closing tag for the markers to go in front of, its attributes kept.
QString withClosingTag(const QString &content)
{
    static const QRegularExpression selfClosing(QStringLiteral(R"(<en-note((?:\s[^<>]*?)?)\s*/>)"),
                                                QRegularExpression::CaseInsensitiveOption);
    QString result = content;
    result.replace(selfClosing, QStringLiteral("<en-note\\1></en-note>"));
    return result;
}
} // namespace

TypesConversor::Task TypesConversor::task(const MyNote &note)
{
    Task task;
    task.guid = note.guid();
    task.title = note.title();
    task.created = note.created();
    task.updated = note.updated();
    task.active = note.active();
    task.dueDated = note.dueDated();
    task.completed = note.completed();
    task.notesText = note.content();
    if (const MyNotebook *notebook = note.notebook())
        task.notebookGuid = notebook->guid();
    for (const MyTag *tag : note.tags())
        task.tagNames.append(tag->name());
    return task;
}

EDAMNotebook TypesConversor::notebook(const MyNotebook &notebook)
{
    EDAMNotebook result;
    result.__set_name(wire(ServiceName::notebookName(notebook.name())));
    result.__set_serviceCreated(notebook.serviceCreated());
    return result;
}

EDAMNotebook TypesConversor::notebookWithGuid(const MyNotebook &notebook)
{
    EDAMNotebook result = TypesConversor::notebook(notebook);
    result.__set_guid(wire(notebook.guid()));
    result.__set_serviceUpdated(notebook.serviceUpdated());
    return result;
}

EDAMTag TypesConversor::tag(const MyTag &tag)
{
    EDAMTag result;
    result.__set_name(wire(ServiceName::tagName(tag.name())));
    return result;
}

EDAMTag TypesConversor::tagWithGuid(const MyTag &tag)
{
    EDAMTag result = TypesConversor::tag(tag);
    result.__set_guid(wire(tag.guid()));
    return result;
}

EDAMNote TypesConversor::note(const MyNote &note)
{
    return TypesConversor::note(task(note));
}

EDAMNote TypesConversor::note(const Task &task)
{
    EDAMNote note = commonNote(task);
    note.__set_created(task.created);
    // A task trashed before it was ever sent would otherwise arrive live on every other device.
    if (!task.active)
        note.__set_active(false);

    std::optional<QString> content;
    if (task.dueDated.isValid())
        content = DueDateContent::newContentWithDate(task.dueDated);
    if (task.completed)
        content = content ? CompletedContent::setCompletedInContent(*content) : CompletedContent::newContentWithCompleted();
    if (!task.notesText.isEmpty())
        content = content ? TaskContent::setTaskc(task.notesText, *content) : TaskContent::newContentWithTaskc(task.notesText);
    if (content)
        note.__set_content(wire(*content));

    if (!task.tagNames.isEmpty())
        note.__set_tagNames(wireTagNames(task.tagNames));
    return note;
}

EDAMNote TypesConversor::noteWithGuid(const MyNote &note, const ContentFetch &fetchContent)
{
    return noteWithGuid(task(note), fetchContent);
}

EDAMNote TypesConversor::noteWithGuid(const Task &task, const ContentFetch &fetchContent)
{
    EDAMNote note = commonNote(task);
    note.__set_guid(wire(task.guid));
    note.__set_updated(task.updated);
    note.__set_active(task.active);

    std::optional<QString> fetched = fetchContent ? fetchContent(task.guid) : std::nullopt;
    if (fetched && fetched->isEmpty())
        fetched.reset();
    if (fetched)
        fetched = withClosingTag(*fetched);

    // Each field works on what the fields before it built, or on the fetched content while
    // nothing is built. A field the task does not have is removed only when the content holds
    // it: with nothing to change no content is sent, and the service keeps its own untouched.
    std::optional<QString> built;
    const auto current = [&] { return built ? built : fetched; };

    if (task.dueDated.isValid())
        built = fetched ? DueDateContent::setDueDate(task.dueDated, *fetched) : DueDateContent::newContentWithDate(task.dueDated);
    else if (fetched && DueDateContent::dueDate(*fetched))
        built = DueDateContent::removeDueDatedInContent(*fetched);

    if (const std::optional<QString> base = current(); task.completed)
        built = base ? CompletedContent::setCompletedInContent(*base) : CompletedContent::newContentWithCompleted();
    else if (base && CompletedContent::completed(*base))
        built = CompletedContent::removeCompletedInContent(*base);

    if (const std::optional<QString> base = current(); !task.notesText.isEmpty())
        built = base ? TaskContent::setTaskc(task.notesText, *base) : TaskContent::newContentWithTaskc(task.notesText);
    else if (base && TaskContent::taskc(*base))
        built = TaskContent::removeTaskcInContent(*base);

    if (built)
        note.__set_content(wire(*built));

    // Always a list, the empty one included: without one the service leaves the note's tags as
    // they were, and the last tag taken off a task would stay on its note.
    note.__set_tagNames(wireTagNames(task.tagNames));
    return note;
}
