#include "tests/support/fakeservice/FakeAccount.h"

#include "core/Clock.h"
#include "service/EDAMNotFoundException.h"
#include "service/EDAMUserException.h"

#include <QString>
#include <QUuid>
#include <QXmlStreamReader>

#include <algorithm>
#include <type_traits>

using Lock = std::lock_guard<std::mutex>;

namespace {

constexpr char EmptyContent[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<!DOCTYPE en-note SYSTEM \"http://xml.evernote.com/pub/enml2.dtd\">\n<en-note/>";

[[noreturn]] void refuse(int32_t code, const std::string &parameter)
{
    throw EDAMUserException(code, parameter);
}

// Names and titles: present when required, not too long, no space at either end.
void checkText(const std::string &text, bool isSet, bool required, qsizetype longest, const std::string &parameter)
{
    if (!isSet && required)
        refuse(FakeAccount::DataRequired, parameter);
    const QString value = QString::fromStdString(text);
    if (isSet && (value.isEmpty() || value.size() > longest || value.trimmed() != value))
        refuse(FakeAccount::BadDataFormat, parameter);
}

// Well-formed XML whose root element is en-note; the DTD is named, never fetched.
bool isEnml(const std::string &content)
{
    QXmlStreamReader xml(QByteArray::fromStdString(content));
    while (!xml.atEnd() && !xml.isStartElement())
        xml.readNext();
    if (xml.name() != QLatin1String("en-note"))
        return false;
    while (!xml.atEnd())
        xml.readNext();
    return !xml.hasError();
}

// The object of that guid, or the service's answer that the parameter names none.
template <typename List>
auto &existing(List &list, const std::string &guid, const std::string &parameter)
{
    const auto it = std::find_if(list.begin(), list.end(), [&](const auto &object) { return object.guid == guid; });
    if (it == list.end())
        throw EDAMNotFoundException(parameter, guid);
    return *it;
}

EDAMNote withoutContent(EDAMNote note)
{
    note.__isset.content = false;
    note.content.clear();
    return note;
}

} // namespace

FakeAccount::FakeAccount(int32_t userId, const std::string &username, const std::string &password,
                         const std::string &shardId)
    : m_userId(userId)
    , m_username(username)
    , m_password(password)
    , m_shardId(shardId)
{
    EDAMNotebook notebook;
    notebook.__set_name(username + "'s notebook");
    m_defaultNotebookGuid = createNamed(m_notebooks, notebook, "Notebook.name").guid;
}

EDAMUser FakeAccount::user() const
{
    EDAMUser user;
    user.__set_id(m_userId);
    user.__set_username(m_username);
    user.__set_shardId(m_shardId);
    return user;
}

std::vector<EDAMNotebook> FakeAccount::notebooks() const { Lock lock(m_mutex); return m_notebooks; }

std::vector<EDAMTag> FakeAccount::tags() const { Lock lock(m_mutex); return m_tags; }

std::vector<EDAMNote> FakeAccount::notes() const { Lock lock(m_mutex); return m_notes; }

EDAMNotebook FakeAccount::defaultNotebook() const
{
    Lock lock(m_mutex);
    return existing(m_notebooks, m_defaultNotebookGuid, "Notebook.guid");
}

EDAMNotebook FakeAccount::createNotebook(const EDAMNotebook &notebook)
{
    Lock lock(m_mutex);
    return createNamed(m_notebooks, notebook, "Notebook.name");
}

int32_t FakeAccount::updateNotebook(const EDAMNotebook &notebook)
{
    Lock lock(m_mutex);
    return updateNamed(m_notebooks, notebook, "Notebook");
}

int32_t FakeAccount::expungeNotebook(const std::string &guid)
{
    Lock lock(m_mutex);
    existing(m_notebooks, guid, "Notebook.guid");
    if (guid == m_defaultNotebookGuid)
        refuse(DataConflict, "Notebook.guid");
    for (EDAMNote &note : m_notes) {
        if (note.notebookGuid == guid) {
            note.__set_notebookGuid(m_defaultNotebookGuid);
            note.__set_active(false);
            note.__set_updateSequenceNum(++m_updateCount);
        }
    }
    return expunge(m_notebooks, guid, "Notebook.guid", Expunged::Notebook);
}

EDAMTag FakeAccount::createTag(const EDAMTag &tag) { Lock lock(m_mutex); return createNamed(m_tags, tag, "Tag.name"); }

int32_t FakeAccount::updateTag(const EDAMTag &tag) { Lock lock(m_mutex); return updateNamed(m_tags, tag, "Tag"); }

int32_t FakeAccount::expungeTag(const std::string &guid)
{
    Lock lock(m_mutex);
    for (EDAMNote &note : m_notes) {
        std::erase(note.tagGuids, guid);
        note.__isset.tagGuids = !note.tagGuids.empty();
    }
    return expunge(m_tags, guid, "Tag.guid", Expunged::Tag);
}

std::string FakeAccount::noteContent(const std::string &guid) const
{
    Lock lock(m_mutex);
    return existing(m_notes, guid, "Note.guid").content;
}

EDAMNote FakeAccount::createNote(const EDAMNote &note)
{
    Lock lock(m_mutex);
    checkNote(note, true);
    EDAMNote created = note;
    created.__set_guid(QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString());
    if (!note.__isset.content)
        created.__set_content(EmptyContent);
    if (!note.__isset.active)
        created.__set_active(true);
    if (!note.__isset.notebookGuid)
        created.__set_notebookGuid(m_defaultNotebookGuid);
    if (!note.__isset.created)
        created.__set_created(Clock::nowMilliseconds());
    if (!note.__isset.updated)
        created.__set_updated(created.created);
    takeTagNames(created, note);
    created.__set_updateSequenceNum(++m_updateCount);
    m_notes.push_back(created);
    return withoutContent(created);
}

EDAMNote FakeAccount::updateNote(const EDAMNote &note)
{
    Lock lock(m_mutex);
    EDAMNote &stored = existing(m_notes, note.guid, "Note.guid");
    checkNote(note, false);
    if (note.__isset.title)
        stored.__set_title(note.title);
    if (note.__isset.content)
        stored.__set_content(note.content);
    if (note.__isset.updated)
        stored.__set_updated(note.updated);
    if (note.__isset.active)
        stored.__set_active(note.active);
    if (note.__isset.notebookGuid)
        stored.__set_notebookGuid(note.notebookGuid);
    if (note.__isset.tagGuids)
        stored.__set_tagGuids(note.tagGuids);
    takeTagNames(stored, note);
    stored.__set_updateSequenceNum(++m_updateCount);
    return withoutContent(stored);
}

void FakeAccount::takeTagNames(EDAMNote &stored, const EDAMNote &sent)
{
    stored.tagNames.clear();
    stored.__isset.tagNames = false;
    if (!sent.__isset.tagNames)
        return;
    std::vector<std::string> guids;
    for (const std::string &name : sent.tagNames) {
        const auto same = std::find_if(m_tags.begin(), m_tags.end(), [&](const EDAMTag &tag) {
            return QString::fromStdString(tag.name).compare(QString::fromStdString(name), Qt::CaseInsensitive) == 0;
        });
        EDAMTag named;
        named.__set_name(name);
        const std::string guid = same != m_tags.end() ? same->guid : createNamed(m_tags, named, "Tag.name").guid;
        if (std::find(guids.begin(), guids.end(), guid) == guids.end())
            guids.push_back(guid);
    }
    stored.tagGuids = guids;
    stored.__isset.tagGuids = !guids.empty();
}

int32_t FakeAccount::expungeNote(const std::string &guid)
{
    Lock lock(m_mutex);
    return expunge(m_notes, guid, "Note.guid", Expunged::Note);
}

EDAMSyncChunk FakeAccount::syncChunk(int32_t afterUSN, int32_t maxEntries, bool fullSyncOnly) const
{
    Lock lock(m_mutex);
    if (maxEntries < 1)
        refuse(BadDataFormat, "maxEntries");

    // Numbers are unique within an account: the chunk is every object numbered after afterUSN
    // up to the maxEntries-th such number.
    std::vector<int32_t> numbers;
    const auto collect = [&](const auto &list) {
        for (const auto &object : list) {
            if (object.updateSequenceNum > afterUSN)
                numbers.push_back(object.updateSequenceNum);
        }
    };
    collect(m_notebooks);
    collect(m_tags);
    collect(m_notes);
    if (!fullSyncOnly)
        collect(m_expunged);
    std::sort(numbers.begin(), numbers.end());
    const int32_t high = numbers.empty() ? afterUSN : numbers[std::min(numbers.size(), size_t(maxEntries)) - 1];
    // Each list in the order of the numbers. Only the objects picked are copied: an account of
    // tens of thousands of notes is asked for a chunk of a few.
    const auto pick = [&](const auto &list) {
        std::remove_cvref_t<decltype(list)> picked;
        for (const auto &o : list) {
            if (o.updateSequenceNum > afterUSN && o.updateSequenceNum <= high)
                picked.push_back(o);
        }
        std::sort(picked.begin(), picked.end(), [](const auto &a, const auto &b) { return a.updateSequenceNum < b.updateSequenceNum; });
        return picked;
    };

    EDAMSyncChunk chunk;
    chunk.__set_currentTime(Clock::nowMilliseconds());
    chunk.__set_updateCount(m_updateCount);
    if (!numbers.empty())
        chunk.__set_chunkHighUSN(high);
    chunk.notebooks = pick(m_notebooks);
    chunk.tags = pick(m_tags);
    for (const EDAMNote &note : pick(m_notes))
        chunk.notes.push_back(withoutContent(note));
    for (const Expunged &gone : fullSyncOnly ? std::vector<Expunged>{} : pick(m_expunged)) {
        auto &list = gone.kind == Expunged::Notebook ? chunk.expungedNotebooks
                     : gone.kind == Expunged::Tag    ? chunk.expungedTags
                                                     : chunk.expungedNotes;
        list.push_back(gone.guid);
    }
    chunk.__isset.notebooks = !chunk.notebooks.empty();
    chunk.__isset.tags = !chunk.tags.empty();
    chunk.__isset.notes = !chunk.notes.empty();
    chunk.__isset.expungedNotebooks = !chunk.expungedNotebooks.empty();
    chunk.__isset.expungedTags = !chunk.expungedTags.empty();
    chunk.__isset.expungedNotes = !chunk.expungedNotes.empty();
    return chunk;
}

EDAMNotebook FakeAccount::addNotebook(const std::string &name)
{
    EDAMNotebook notebook;
    notebook.__set_name(name);
    return createNotebook(notebook);
}

EDAMTag FakeAccount::addTag(const std::string &name)
{
    EDAMTag tag;
    tag.__set_name(name);
    return createTag(tag);
}

EDAMNote FakeAccount::addNote(const std::string &title, const std::string &content)
{
    EDAMNote note;
    note.__set_title(title);
    if (!content.empty())
        note.__set_content(content);
    return createNote(note);
}

template <typename Object>
void FakeAccount::checkName(const Object &object, const std::vector<Object> &others, const std::string &parameter,
                            bool required) const
{
    checkText(object.name, object.__isset.name, required, 100, parameter);
    if (!object.__isset.name)
        return;
    if (std::is_same_v<Object, EDAMTag> && object.name.find(',') != std::string::npos)
        refuse(BadDataFormat, parameter);
    const QString name = QString::fromStdString(object.name);
    for (const Object &other : others) {
        if (other.guid != object.guid && QString::fromStdString(other.name).compare(name, Qt::CaseInsensitive) == 0)
            refuse(DataConflict, parameter);
    }
}

void FakeAccount::checkNote(const EDAMNote &note, bool required) const
{
    checkText(note.title, note.__isset.title, required, 255, "Note.title");
    if (note.__isset.content && !isEnml(note.content))
        refuse(EnmlValidation, "Note.content");
    if (note.__isset.notebookGuid)
        existing(m_notebooks, note.notebookGuid, "Note.notebookGuid");
    for (const std::string &guid : note.__isset.tagGuids ? note.tagGuids : std::vector<std::string>{})
        existing(m_tags, guid, "Note.tagGuids");
}

template <typename Object>
Object FakeAccount::createNamed(std::vector<Object> &list, const Object &object, const std::string &parameter)
{
    checkName(object, list, parameter, true);
    Object created;
    created.__set_guid(QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString());
    created.__set_name(object.name);
    created.__set_updateSequenceNum(++m_updateCount);
    list.push_back(created);
    return created;
}

template <typename Object>
int32_t FakeAccount::updateNamed(std::vector<Object> &list, const Object &object, const std::string &kind)
{
    Object &stored = existing(list, object.guid, kind + ".guid");
    checkName(object, list, kind + ".name", false);
    if (object.__isset.name)
        stored.__set_name(object.name);
    stored.__set_updateSequenceNum(++m_updateCount);
    return stored.updateSequenceNum;
}

template <typename Object>
int32_t FakeAccount::expunge(std::vector<Object> &list, const std::string &guid, const std::string &parameter,
                             Expunged::Kind kind)
{
    existing(list, guid, parameter);
    std::erase_if(list, [&](const Object &o) { return o.guid == guid; });
    m_expunged.push_back({kind, guid, ++m_updateCount});
    return m_updateCount;
}
