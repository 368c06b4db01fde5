#include "ContentTest.h"

#include "content/ServiceName.h"
#include "content/TypesConversor.h"
#include "core/Localized.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "service/TBinaryProtocol.h"
#include "tests/support/TempStore.h"

#include <thrift/transport/TBufferTransports.h>

#include <set>
#include <tuple>

using apache::thrift::protocol::TType;

namespace {
const QString header = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                      "<!DOCTYPE en-note SYSTEM \"http://xml.evernote.com/pub/enml2.dtd\">\n");

// The ids of the fields an object puts on the wire, read back from its bytes.
template<typename Wire>
std::set<int> writtenFields(const Wire &object)
{
    auto buffer = std::make_shared<apache::thrift::transport::TMemoryBuffer>();
    TBinaryProtocol protocol(buffer);
    object.write(&protocol);
    std::set<int> ids;
    std::string name;
    TType type;
    int16_t id;
    protocol.readStructBegin(name);
    while (protocol.readFieldBegin(name, type, id), type != apache::thrift::protocol::T_STOP) {
        ids.insert(id);
        protocol.skip(type);
    }
    return ids;
}

std::optional<QString> contentOf(const EDAMNote &note)
{
    return note.__isset.content ? std::optional(QString::fromStdString(note.content)) : std::nullopt;
}
} // namespace

class TypesConversorTest : public ContentTest
{
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        DatePattern::setSystemLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        notebook->setValue(QStringLiteral("guid"), QStringLiteral("nb-1"));
    }

    MyNote *uploadedTask(const QString &title = QStringLiteral("Call Ann"))
    {
        MyNote *task = store.task(title, notebook);
        task->setValue(QStringLiteral("guid"), QStringLiteral("note-1"));
        return task;
    }

    static QDateTime march5() { return QDateTime(QDate(2011, 3, 5), QTime(10, 30), Clock::timeZone()); }

    TempStore store;
    MyNotebook *notebook = store.firstNotebook();
};

TEST_F(TypesConversorTest, EachConversionWritesItsOwnFieldsAndNoOther)
{
    notebook->setValue(QStringLiteral("serviceCreated"), qlonglong(1'300'000'000'123));
    notebook->setValue(QStringLiteral("serviceUpdated"), qlonglong(1'300'000'999'456));
    MyTag *tag = store.tag(QStringLiteral("home"));
    tag->setValue(QStringLiteral("guid"), QStringLiteral("tag-1"));
    tag->setValue(QStringLiteral("parentGuid"), QStringLiteral("tag-0"));
    MyNote *bare = uploadedTask();
    MyNote *tagged = store.task(QStringLiteral("Tagged"), store.notebook(QStringLiteral("Local only")));
    tagged->addTagsObject(tag);
    const auto unchanged = [](const QString &) { return std::optional(QStringLiteral("<en-note>hi</en-note>")); };

    const std::pair<std::set<int>, std::set<int>> cases[] = {
        {writtenFields(TypesConversor::notebook(*notebook)), {2, 7}},
        {writtenFields(TypesConversor::notebookWithGuid(*notebook)), {1, 2, 7, 8}},
        {writtenFields(TypesConversor::tag(*tag)), {2}},
        {writtenFields(TypesConversor::tagWithGuid(*tag)), {1, 2}},
        // No due date, not completed, no notes text: no content; no tags: no tag list.
        {writtenFields(TypesConversor::note(*bare)), {2, 6, 11}},
        // Tags by name only; a notebook not on the service yet is left to the service's default.
        {writtenFields(TypesConversor::note(*tagged)), {2, 6, 15}},
        // Content whose markers already say what the task says is not sent again.
        {writtenFields(TypesConversor::noteWithGuid(*bare, unchanged)), {1, 2, 7, 9, 11, 15}},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;

    // Times beyond 32 bits pass unchanged.
    const EDAMNotebook sent = TypesConversor::notebookWithGuid(*notebook);
    EXPECT_EQ(std::tuple(sent.serviceCreated, sent.serviceUpdated), std::tuple(1'300'000'000'123LL, 1'300'000'999'456LL));
    bare->setActive(false);
    const EDAMNote update = TypesConversor::noteWithGuid(*bare, unchanged);
    EXPECT_EQ(std::tuple(update.updated, update.active, update.notebookGuid), std::tuple(bare->updated(), false, "nb-1"));
}

TEST_F(TypesConversorTest, NewNoteContentCarriesTheTaskFieldsInTheTemplate)
{
    const struct { bool due, completed; const char *notes, *body; } cases[] = {
        {false, false, "Buy milk\n& eggs <2>", "<en-note>.KVONotes.<div>Buy milk</div><div>&amp; eggs &lt;2&gt;</div>.KVCNotes.</en-note>"},
        {true, true, "x", "<en-note>.DT.2011-03-05.KVDone..KVONotes.<div>x</div>.KVCNotes.</en-note>"},
    };
    for (const auto &c : cases) {
        MyNote *task = store.task(QStringLiteral("t"));
        if (c.due)
            task->setDueDated(march5());
        task->setCompleted(c.completed);
        task->setContent(QString::fromUtf8(c.notes));
        EXPECT_EQ(contentOf(TypesConversor::note(*task)), header + QString::fromUtf8(c.body)) << c.body;
    }

    // Without a template there is no content to send, for a new note as for an updated one.
    ContentTemplate::setPath(QStringLiteral("/nonexistent/contentModel.txt"));
    MyNote *task = uploadedTask();
    task->setCompleted(true);
    EXPECT_FALSE(TypesConversor::note(*task).__isset.content);
    EXPECT_FALSE(TypesConversor::noteWithGuid(*task, [](const QString &) { return std::nullopt; }).__isset.content);
}

TEST_F(TypesConversorTest, UpdateChangesTheTaskMarkersAndKeepsEverythingElseByteForByte)
{
    // What other clients write around the markers: text, attributes, media, non-ASCII text.
    const QString other = QStringLiteral("<en-note style=\"word-wrap: break-word\"><div>Café ☕ 🍰</div>"
                                         "<en-media type=\"image/png\" hash=\"0f1e\"/>");
    const struct { bool due, completed; QString notes; std::optional<QString> fetched, sent; } cases[] = {
        // An empty note gets a closing tag to write in front of, attributes kept.
        {true, false, {}, QStringLiteral("<en-note/>"), QStringLiteral("<en-note>.DT.2011-03-05</en-note>")},
        {false, true, {}, QStringLiteral("<EN-NOTE style=\"a\" />"), QStringLiteral("<en-note style=\"a\">.KVDone.</en-note>")},
        {true, false, {}, other + QStringLiteral(".DT.2011-01-09tail</en-note>"), other + QStringLiteral(".DT.2011-03-05tail</en-note>")},
        {false, false, {}, other + QStringLiteral(".DT.2011-01-09</en-note>"), other + QStringLiteral("</en-note>")},
        {false, false, {}, other + QStringLiteral(".KVDone.</en-note>"), other + QStringLiteral("</en-note>")},
        {false, false, {}, other + QStringLiteral(".KVONotes.<div>old</div>.KVCNotes.</en-note>"), other + QStringLiteral("</en-note>")},
        {false, false, QStringLiteral("new"), other + QStringLiteral(".KVONotes.<div>old</div>.KVCNotes.x</en-note>"),
         other + QStringLiteral(".KVONotes.<div>new</div>.KVCNotes.x</en-note>")},
        // Nothing to change: the service keeps its content.
        {false, false, {}, other + QStringLiteral("</en-note>"), std::nullopt},
        // No content from the service: a fresh one, or none at all.
        {true, false, {}, std::nullopt, header + QStringLiteral("<en-note>.DT.2011-03-05</en-note>")},
        {false, false, {}, QString(), std::nullopt},
    };
    for (const auto &c : cases) {
        MyNote *task = uploadedTask();
        task->setDueDated(c.due ? march5() : QDateTime());
        task->setCompleted(c.completed);
        task->setContent(c.notes);
        QStringList asked;
        const EDAMNote note = TypesConversor::noteWithGuid(*task, [&](const QString &guid) {
            asked.append(guid);
            return c.fetched;
        });
        EXPECT_EQ(contentOf(note), c.sent) << c.fetched.value_or(QStringLiteral("(none)")).toStdString();
        EXPECT_EQ(asked, QStringList{QStringLiteral("note-1")});
    }

    // A transport failure is not a missing content: it ends the run instead of resetting the note.
    EXPECT_THROW(TypesConversor::noteWithGuid(*uploadedTask(), [](const QString &) -> std::optional<QString> {
        throw std::runtime_error("connection reset");
    }), std::runtime_error);
}

TEST_F(TypesConversorTest, TagsTravelByNameAndTakingOffTheLastOneReachesTheService)
{
    MyNote *task = uploadedTask();
    MyTag *work = store.tag(QStringLiteral("work"));
    MyTag *listed = store.tag(QStringLiteral("Shops, Market"));
    task->addTagsObject(listed);
    task->addTagsObject(work);
    task->addTagsObject(store.tag(QStringLiteral("Work")));
    const auto fetch = [](const QString &) { return std::optional(QStringLiteral("<en-note/>")); };

    // The task's order, each name as the tag itself is sent, a name the service would take
    // for the same tag only once.
    const std::vector<std::string> names{TypesConversor::tag(*listed).name, "work"};
    EXPECT_EQ(names.front(), "Shops Market");
    EXPECT_EQ(TypesConversor::note(*task).tagNames, names);
    EXPECT_EQ(TypesConversor::noteWithGuid(*task, fetch).tagNames, names);

    task->removeTags(task->tags());
    const EDAMNote update = TypesConversor::noteWithGuid(*task, fetch);
    EXPECT_TRUE(update.__isset.tagNames);
    EXPECT_TRUE(update.tagNames.empty());
    EXPECT_FALSE(TypesConversor::note(*task).__isset.tagNames);
}

TEST(ServiceNameTest, NamesComeOutAsTheServiceTakesThem)
{
    const QString emoji = QStringLiteral("🍰"); // a surrogate pair
    const struct { QString (*convert)(const QString &); QString name, sent; } cases[] = {
        {ServiceName::notebookName, QStringLiteral("  Groceries\u00a0"), QStringLiteral("Groceries")},
        {ServiceName::notebookName, QStringLiteral("Home\r\n\tWork\u0007"), QStringLiteral("Home Work")},
        {ServiceName::noteTitle, QStringLiteral("Call\u2028Ann, Bob"), QStringLiteral("Call Ann, Bob")},
        {ServiceName::tagName, QStringLiteral(",a ,, b,"), QStringLiteral("a b")},
        {ServiceName::tagName, QString(99, u't') + emoji, QString(99, u't')},
        {ServiceName::noteTitle, QString(253, u't') + emoji, QString(253, u't') + emoji},
        // Nothing left: the name a new object of its kind gets.
        {ServiceName::noteTitle, QStringLiteral(" \t "), Localized::string(QStringLiteral("NEW_TASK"))},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.convert(c.name), c.sent) << c.name.toStdString();
}
