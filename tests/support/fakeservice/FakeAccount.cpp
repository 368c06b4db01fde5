#include "tests/support/fakeservice/FakeAccount.h"

#include "core/Clock.h"
#include "service/EDAMNotFoundException.h"
#include "service/EDAMUserException.h"

#include <QCryptographicHash>
#include <QString>
#include <QUuid>
#include <QXmlStreamReader>

#include <algorithm>

using Lock = std::lock_guard<std::mutex>;

namespace {

std::string newGuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
}

bool sameName(const std::string &a, const std::string &b)
{
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

[[noreturn]] void refuse(int32_t code, const std::string &parameter)
{
    throw EDAMUserException(code, parameter);
}

// The service's rule for names and titles: present, not too long, no space at either end.
// One left unset passes when it is not required (an update keeps the old one).
void checkText(const std::string &text, bool isSet, bool required, qsizetype longest, const std::string &parameter)
{
    if (!isSet) {
        if (required)
            refuse(FakeAccount::DataRequired, parameter);
        return;
    }
    const QString value = QString::fromStdString(text);
    if (value.isEmpty() || value.size() > longest || value.trimmed() != value)
        refuse(FakeAccount::BadDataFormat, parameter);
}

// Well-formed XML whose root element is en-note; the DTD is named, never fetched.
bool isEnml(const std::string &content)
{
    QXmlStreamReader xml(QByteArray::fromStdString(content));
    bool root = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && !root) {
            if (xml.name() != QLatin1String("en-note"))
                return false;
            root = true;
        }
    }
    return root && !xml.hasError();
}

// The object of that guid in one of the account's lists, or null.
template <typename List>
auto findByGuid(List &list, const std::string &guid) -> decltype(&list.front())
{
    const auto it = std::find_if(list.begin(), list.end(), [&](const auto &object) { return object.guid == guid; });
    return it == list.end() ? nullptr : &*it;
}

// The object of that guid, or the service's answer that the parameter names none.
template <typename List>
auto &existing(List &list, const std::string &guid, const std::string &parameter)
{
    auto *found = findByGuid(list, guid);
    if (!found)
        throw EDAMNotFoundException(parameter, guid);
    return *found;
}

} // namespace

FakeAccount::FakeAccount(int32_t userId, const std::string &username, const std::string &password,
                         const std::string &shardId)
    : m_userId(userId)
    , m_username(username)
    , m_password(password)
    , m_shardId(shardId)
    , m_created(Clock::nowMilliseconds())
{
    EDAMNotebook notebook;
    notebook.__set_guid(newGuid());
    notebook.__set_name(username + "'s notebook");
    notebook.__set_defaultNotebook(true);
    notebook.__set_serviceCreated(Clock::nowMilliseconds());
    notebook.__set_serviceUpdated(notebook.serviceCreated);
    notebook.__set_updateSequenceNum(++m_updateCount);
    m_defaultNotebookGuid = notebook.guid;
    m_notebooks.push_back(notebook);
}

bool FakeAccount::hasPassword(const std::string &password) const
{
    return password == m_password;
}

EDAMUser FakeAccount::user() const
{
    EDAMUser user;
    user.__set_id(m_userId);
    user.__set_username(m_username);
    user.__set_email(m_username + "@example.com");
    user.__set_name(m_username);
    user.__set_timezone("Europe/Madrid");
    user.__set_privilege(1);
    user.__set_created(m_created);
    user.__set_updated(m_created);
    user.__set_active(true);
    user.__set_shardId(m_shardId);
    edam::EDAMUserAttributes attributes;
    attributes.__set_defaultLocationName("Madrid");
    attributes.__set_defaultLatitude(40.4168);
    attributes.__set_defaultLongitude(-3.7038);
    attributes.__set_preactivation(false);
    attributes.__set_viewedPromotions({"welcome", "premium"});
    attributes.__set_incomingEmailAddress(m_username + ".1a2b@m.example.com");
    attributes.__set_dateAgreedToTermsOfService(m_created);
    attributes.__set_dailyEmailLimit(50);
    attributes.__set_preferredLanguage("es");
    attributes.__set_preferredCountry("ES");
    attributes.__set_clipFullPage(true);
    user.__set_attributes(attributes);
    edam::EDAMAccounting accounting;
    accounting.__set_uploadLimit(62914560);
    accounting.__set_uploadLimitEnd(m_created + 30LL * 24 * 3600 * 1000);
    accounting.__set_uploadLimitNextMonth(62914560);
    accounting.__set_premiumServiceStatus(0);
    accounting.__set_updated(m_created);
    user.__set_accounting(accounting);
    return user;
}

int32_t FakeAccount::updateCount() const
{
    Lock lock(m_mutex);
    return m_updateCount;
}

std::vector<EDAMNotebook> FakeAccount::notebooks() const
{
    Lock lock(m_mutex);
    return m_notebooks;
}

std::vector<EDAMTag> FakeAccount::tags() const
{
    Lock lock(m_mutex);
    return m_tags;
}

std::vector<EDAMNote> FakeAccount::notes() const
{
    Lock lock(m_mutex);
    return m_notes;
}

std::optional<EDAMNote> FakeAccount::note(const std::string &guid) const
{
    Lock lock(m_mutex);
    const EDAMNote *found = findByGuid(m_notes, guid);
    return found ? std::optional<EDAMNote>(*found) : std::nullopt;
}

EDAMNotebook FakeAccount::defaultNotebook() const
{
    Lock lock(m_mutex);
    return *findByGuid(m_notebooks, m_defaultNotebookGuid);
}

EDAMNotebook FakeAccount::createNotebook(const EDAMNotebook &notebook)
{
    Lock lock(m_mutex);
    checkNotebookName(notebook, true);
    EDAMNotebook created;
    created.__set_guid(newGuid());
    created.__set_name(notebook.name);
    created.__set_defaultNotebook(false);
    const int64_t now = Clock::nowMilliseconds();
    created.__set_serviceCreated(notebook.__isset.serviceCreated ? notebook.serviceCreated : now);
    created.__set_serviceUpdated(notebook.__isset.serviceUpdated ? notebook.serviceUpdated : now);
    created.__set_updateSequenceNum(++m_updateCount);
    m_notebooks.push_back(created);
    return created;
}

int32_t FakeAccount::updateNotebook(const EDAMNotebook &notebook)
{
    Lock lock(m_mutex);
    EDAMNotebook *stored = &existing(m_notebooks, notebook.guid, "Notebook.guid");
    checkNotebookName(notebook, false);
    if (notebook.__isset.name)
        stored->__set_name(notebook.name);
    if (notebook.__isset.serviceCreated)
        stored->__set_serviceCreated(notebook.serviceCreated);
    stored->__set_serviceUpdated(notebook.__isset.serviceUpdated ? notebook.serviceUpdated
                                                                 : Clock::nowMilliseconds());
    stored->__set_updateSequenceNum(++m_updateCount);
    return stored->updateSequenceNum;
}

int32_t FakeAccount::expungeNotebook(const std::string &guid)
{
    Lock lock(m_mutex);
    existing(m_notebooks, guid, "Notebook.guid");
    if (guid == m_defaultNotebookGuid)
        refuse(DataConflict, "Notebook.guid");
    const int64_t now = Clock::nowMilliseconds();
    for (EDAMNote &note : m_notes) {
        if (note.notebookGuid != guid)
            continue;
        note.__set_notebookGuid(m_defaultNotebookGuid);
        note.__set_active(false);
        note.__set_deleted(now);
        note.__set_updateSequenceNum(++m_updateCount);
    }
    std::erase_if(m_notebooks, [&](const EDAMNotebook &n) { return n.guid == guid; });
    m_expunged.push_back({Expunged::Notebook, guid, ++m_updateCount});
    return m_updateCount;
}

EDAMTag FakeAccount::createTag(const EDAMTag &tag)
{
    Lock lock(m_mutex);
    checkTagName(tag, true);
    if (tag.__isset.parentGuid)
        existing(m_tags, tag.parentGuid, "Tag.parentGuid");
    EDAMTag created;
    created.__set_guid(newGuid());
    created.__set_name(tag.name);
    if (tag.__isset.parentGuid)
        created.__set_parentGuid(tag.parentGuid);
    created.__set_updateSequenceNum(++m_updateCount);
    m_tags.push_back(created);
    return created;
}

int32_t FakeAccount::updateTag(const EDAMTag &tag)
{
    Lock lock(m_mutex);
    EDAMTag *stored = &existing(m_tags, tag.guid, "Tag.guid");
    checkTagName(tag, false);
    if (tag.__isset.parentGuid) {
        existing(m_tags, tag.parentGuid, "Tag.parentGuid");
        if (tag.parentGuid == tag.guid)
            refuse(BadDataFormat, "Tag.parentGuid");
        stored->__set_parentGuid(tag.parentGuid);
    }
    if (tag.__isset.name)
        stored->__set_name(tag.name);
    stored->__set_updateSequenceNum(++m_updateCount);
    return stored->updateSequenceNum;
}

int32_t FakeAccount::expungeTag(const std::string &guid)
{
    Lock lock(m_mutex);
    existing(m_tags, guid, "Tag.guid");
    for (EDAMNote &note : m_notes) {
        std::erase(note.tagGuids, guid);
        note.__isset.tagGuids = !note.tagGuids.empty();
    }
    for (EDAMTag &tag : m_tags) {
        if (tag.parentGuid == guid) {
            tag.parentGuid.clear();
            tag.__isset.parentGuid = false;
        }
    }
    std::erase_if(m_tags, [&](const EDAMTag &t) { return t.guid == guid; });
    m_expunged.push_back({Expunged::Tag, guid, ++m_updateCount});
    return m_updateCount;
}

std::string FakeAccount::noteContent(const std::string &guid) const
{
    Lock lock(m_mutex);
    const EDAMNote *note = &existing(m_notes, guid, "Note.guid");
    return note->content;
}

EDAMNote FakeAccount::createNote(const EDAMNote &note)
{
    Lock lock(m_mutex);
    checkNote(note, true);
    EDAMNote created;
    created.__set_guid(newGuid());
    created.__set_title(note.title);
    setContent(created, note.__isset.content ? note.content : emptyContent());
    const int64_t now = Clock::nowMilliseconds();
    created.__set_created(note.__isset.created ? note.created : now);
    created.__set_updated(note.__isset.updated ? note.updated : created.created);
    created.__set_active(note.__isset.active ? note.active : true);
    created.__set_notebookGuid(note.__isset.notebookGuid ? note.notebookGuid : m_defaultNotebookGuid);
    const std::vector<std::string> tags = resolveTags(note);
    if (!tags.empty())
        created.__set_tagGuids(tags);
    created.__set_updateSequenceNum(++m_updateCount);
    m_notes.push_back(created);
    created.__isset.content = false;
    created.content.clear();
    return created;
}

EDAMNote FakeAccount::updateNote(const EDAMNote &note)
{
    Lock lock(m_mutex);
    EDAMNote *stored = &existing(m_notes, note.guid, "Note.guid");
    checkNote(note, false);
    if (note.__isset.title)
        stored->__set_title(note.title);
    if (note.__isset.content)
        setContent(*stored, note.content);
    if (note.__isset.created)
        stored->__set_created(note.created);
    stored->__set_updated(note.__isset.updated ? note.updated : Clock::nowMilliseconds());
    if (note.__isset.active) {
        stored->__set_active(note.active);
        if (note.active)
            stored->__isset.deleted = false;
        else if (!stored->__isset.deleted)
            stored->__set_deleted(Clock::nowMilliseconds());
    }
    if (note.__isset.notebookGuid)
        stored->__set_notebookGuid(note.notebookGuid);
    if (note.__isset.tagGuids || note.__isset.tagNames) {
        stored->tagGuids = resolveTags(note);
        stored->__isset.tagGuids = !stored->tagGuids.empty();
    }
    stored->__set_updateSequenceNum(++m_updateCount);
    EDAMNote updated = *stored;
    updated.__isset.content = false;
    updated.content.clear();
    return updated;
}

int32_t FakeAccount::expungeNote(const std::string &guid)
{
    Lock lock(m_mutex);
    existing(m_notes, guid, "Note.guid");
    std::erase_if(m_notes, [&](const EDAMNote &n) { return n.guid == guid; });
    m_expunged.push_back({Expunged::Note, guid, ++m_updateCount});
    return m_updateCount;
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
    const auto inChunk = [&](const auto &object) {
        return object.updateSequenceNum > afterUSN && object.updateSequenceNum <= high;
    };
    // Each list in the order of the numbers.
    const auto pick = [&](auto list) {
        std::erase_if(list, [&](const auto &object) { return !inChunk(object); });
        std::sort(list.begin(), list.end(),
                  [](const auto &a, const auto &b) { return a.updateSequenceNum < b.updateSequenceNum; });
        return list;
    };

    EDAMSyncChunk chunk;
    chunk.__set_currentTime(Clock::nowMilliseconds());
    chunk.__set_updateCount(m_updateCount);
    if (!numbers.empty())
        chunk.__set_chunkHighUSN(high);
    chunk.notebooks = pick(m_notebooks);
    chunk.tags = pick(m_tags);
    chunk.notes = pick(m_notes);
    for (EDAMNote &note : chunk.notes) {
        note.__isset.content = false;
        note.content.clear();
    }
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

EDAMTag FakeAccount::addTag(const std::string &name, const std::string &parentGuid)
{
    EDAMTag tag;
    tag.__set_name(name);
    if (!parentGuid.empty())
        tag.__set_parentGuid(parentGuid);
    return createTag(tag);
}

EDAMNote FakeAccount::addNote(const std::string &title, const std::string &content,
                              const std::string &notebookGuid, const std::vector<std::string> &tagGuids)
{
    EDAMNote note;
    note.__set_title(title);
    if (!content.empty())
        note.__set_content(content);
    if (!notebookGuid.empty())
        note.__set_notebookGuid(notebookGuid);
    if (!tagGuids.empty())
        note.__set_tagGuids(tagGuids);
    return createNote(note);
}

std::string FakeAccount::emptyContent()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE en-note SYSTEM \"http://xml.evernote.com/pub/enml2.dtd\">\n"
           "<en-note/>";
}

void FakeAccount::checkNotebookName(const EDAMNotebook &notebook, bool required) const
{
    checkText(notebook.name, notebook.__isset.name, required, 100, "Notebook.name");
    if (!notebook.__isset.name)
        return;
    for (const EDAMNotebook &other : m_notebooks) {
        if (other.guid != notebook.guid && sameName(other.name, notebook.name))
            refuse(DataConflict, "Notebook.name");
    }
}

void FakeAccount::checkTagName(const EDAMTag &tag, bool required) const
{
    checkText(tag.name, tag.__isset.name, required, 100, "Tag.name");
    if (!tag.__isset.name)
        return;
    if (tag.name.find(',') != std::string::npos)
        refuse(BadDataFormat, "Tag.name");
    for (const EDAMTag &other : m_tags) {
        if (other.guid != tag.guid && sameName(other.name, tag.name))
            refuse(DataConflict, "Tag.name");
    }
}

void FakeAccount::checkNote(const EDAMNote &note, bool required) const
{
    checkText(note.title, note.__isset.title, required, 255, "Note.title");
    if (note.__isset.content && !isEnml(note.content))
        refuse(EnmlValidation, "Note.content");
    if (note.__isset.notebookGuid)
        existing(m_notebooks, note.notebookGuid, "Note.notebookGuid");
    if (note.__isset.tagGuids) {
        for (const std::string &guid : note.tagGuids)
            existing(m_tags, guid, "Note.tagGuids");
    }
    if (note.__isset.tagNames) {
        for (const std::string &name : note.tagNames)
            checkText(name, true, true, 100, "Tag.name");
    }
}

std::vector<std::string> FakeAccount::resolveTags(const EDAMNote &note)
{
    std::vector<std::string> guids = note.__isset.tagGuids ? note.tagGuids : std::vector<std::string>{};
    if (!note.__isset.tagNames)
        return guids;
    for (const std::string &name : note.tagNames) {
        auto it = std::find_if(m_tags.begin(), m_tags.end(), [&](const EDAMTag &t) { return sameName(t.name, name); });
        if (it == m_tags.end()) {
            EDAMTag created;
            created.__set_guid(newGuid());
            created.__set_name(name);
            created.__set_updateSequenceNum(++m_updateCount);
            m_tags.push_back(created);
            it = m_tags.end() - 1;
        }
        if (std::find(guids.begin(), guids.end(), it->guid) == guids.end())
            guids.push_back(it->guid);
    }
    return guids;
}

void FakeAccount::setContent(EDAMNote &note, const std::string &content)
{
    note.__set_content(content);
    note.__set_contentLength(int32_t(content.size()));
    note.__set_contentHash(QCryptographicHash::hash(QByteArray::fromStdString(content), QCryptographicHash::Md5)
                               .toStdString());
}
