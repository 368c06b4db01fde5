#include "tests/sync/SyncTest.h"

#include "core/Clock.h"
#include "core/store/ReceivingNotebook.h"

#include <QMap>

#include <random>

// Two devices and one account: seeded random sequences of user actions on both sides,
// interleaved with runs and with faults on random calls. Once the faults stop and each device
// has synced twice with no further edits, both stores and the service hold the same tasks with
// the same fields, and no task is lost or doubled. A failing seed prints itself; set
// KELVARA_SEED to replay one.
namespace {

constexpr int SeedsPerCase = 50;
constexpr int Cases = 4;

class Scenario
{
public:
    Scenario(unsigned seed, FakeService &service, FakeAccount &account)
        : m_random(seed)
        , m_service(service)
        , m_account(account)
    {
    }

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    bool chance(int percent) { return pick(100) < percent; }
    QString name(const char *kind) { return QStringLiteral("%1 %2").arg(QLatin1String(kind)).arg(++m_names); }

    template <typename T>
    T *any(Device &device, const QString &predicate)
    {
        const QList<T *> objects = device.all<T>(predicate);
        return objects.isEmpty() ? nullptr : objects[pick(int(objects.size()))];
    }

    // One thing a user does in the window, through the same setters the views use.
    void act(Device &device)
    {
        MyNote *task = any<MyNote>(device, QStringLiteral("toExpunged == 0"));
        MyNotebook *notebook = any<MyNotebook>(device, QStringLiteral("deleted == 0"));
        MyTag *tag = any<MyTag>(device, QStringLiteral("deleted == 0"));
        switch (pick(task ? 14 : 4)) {
        case 0:
            if (notebook)
                device.store.task(name("Task"), notebook);
            break;
        case 1:
            device.store.notebook(name("Notebook"));
            break;
        case 2:
            if (chance(50))
                device.store.tag(name("Tag"));
            else if (tag)
                tag->setName(name("Tag"));
            break;
        case 3:
            if (notebook && chance(50))
                notebook->setName(name("Notebook"));
            else if (notebook)
                deleteNotebook(device, notebook);
            else if (tag)
                tag->guid().isEmpty() ? device.context().deleteObject(tag) : tag->setDeleted(true);
            break;
        case 4:
            task->setTitle(name("Task"));
            break;
        case 5:
            task->setDueDated(chance(70) ? QDateTime(QDate(2026, 12, 1 + pick(28)), QTime(0, 0), Clock::timeZone()) : QDateTime());
            break;
        case 6:
            task->setCompleted(!task->completed());
            break;
        case 7:
            task->setContent(name("Notes"));
            break;
        case 8:
            if (tag && !task->tags().contains(tag))
                task->addTagsObject(tag);
            else if (!task->tags().isEmpty())
                task->removeTagsObject(task->tags().first());
            break;
        case 9:
            if (notebook)
                task->setNotebook(notebook);
            break;
        case 10:
            task->setActive(!task->active());
            break;
        case 11:
            if (!task->active())
                task->guid().isEmpty() ? device.context().deleteObject(task) : task->setToExpunged(true);
            break;
        default:
            task->setTitle(name("Task"));
            break;
        }
    }

    // The notebooks view's deletion: the tasks go to the receiving notebook, into the trash.
    void deleteNotebook(Device &device, MyNotebook *notebook)
    {
        MyNotebook *receiving = ReceivingNotebook::find(&device.context(), device.context().fetch(QStringLiteral("MyNotebook")),
                                                        notebook, {notebook});
        if (!receiving)
            return;
        for (MyNote *task : notebook->notes()) {
            task->setNotebook(receiving);
            task->setActive(false);
        }
        notebook->guid().isEmpty() ? device.context().deleteObject(notebook) : notebook->setDeleted(true);
    }

    // A fault on a random call of the next run, or none.
    void maybeFault()
    {
        static const char *calls[] = {"getSyncChunk", "createNote", "updateNote", "getNoteContent",
                                      "createNotebook", "updateNotebook", "createTag", "expungeNotebook"};
        if (!chance(40))
            return;
        const std::string call = calls[pick(int(std::size(calls)))];
        switch (pick(4)) {
        case 0:
            m_service.inject(call, FakeFault::userException(FakeAccount::BadDataFormat, "refused"));
            break;
        case 1:
            m_service.inject(call, FakeFault::httpStatus(503));
            break;
        case 2:
            m_service.inject(call, FakeFault::dropConnection());
            break;
        default:
            m_service.inject("getNoteContent", FakeFault::userException(FakeAccount::DataRequired, "Note.guid"));
            break;
        }
    }

    // Another client expunges a note, a tag or a notebook other than the default on the service.
    void expungeElsewhere()
    {
        const std::vector<EDAMNote> notes = m_account.notes();
        const std::vector<EDAMTag> tags = m_account.tags();
        std::vector<EDAMNotebook> notebooks = m_account.notebooks();
        std::erase_if(notebooks, [&](const EDAMNotebook &n) { return n.guid == m_account.defaultNotebook().guid; });
        const int which = pick(3);
        if (which == 0 && !notes.empty())
            m_account.expungeNote(notes[pick(int(notes.size()))].guid);
        else if (which == 1 && !notebooks.empty())
            m_account.expungeNotebook(notebooks[pick(int(notebooks.size()))].guid);
        else if (!tags.empty())
            m_account.expungeTag(tags[pick(int(tags.size()))].guid);
    }

    // Every task of the device as its note on the service, field by field; returns what differs,
    // empty when nothing does. Tags go by identity: a tag renamed on both sides keeps a
    // different name on each.
    QStringList differences(Device &device, const QString &which)
    {
        const auto fields = [](const QString &title, const QDate &due, bool completed, const QString &notes, bool active,
                               const QString &notebook, QStringList tags) {
            tags.sort();
            return QStringLiteral("\"%1\" due %2 completed %3 notes \"%4\" active %5 notebook %6 tags %7")
                .arg(title, due.toString(Qt::ISODate)).arg(completed).arg(notes).arg(active).arg(notebook, tags.join(u','));
        };
        QMap<QString, QString> there;
        for (const EDAMNote &note : m_account.notes()) {
            const QString content = QString::fromStdString(note.content);
            QStringList tags;
            for (const std::string &guid : note.tagGuids)
                tags << QString::fromStdString(guid);
            there.insert(QString::fromStdString(note.guid),
                         fields(QString::fromStdString(note.title), DueDateContent::dueDate(content).value_or(QDateTime()).date(),
                                CompletedContent::completed(content), TaskContent::taskc(content).value_or(QString()),
                                note.active, QString::fromStdString(note.notebookGuid), tags));
        }
        QStringList found;
        QMap<QString, QString> here;
        for (MyNote *task : device.all<MyNote>()) {
            QStringList tags;
            for (MyTag *tag : task->tags())
                tags << tag->guid();
            const QString line = fields(task->title(), task->dueDated().date(), task->completed(), task->content(), task->active(),
                                        task->notebook() ? task->notebook()->guid() : QString(), tags);
            if (task->guid().isEmpty() || task->needUpdate())
                found << which + QStringLiteral(" never sent ") + line;
            else if (here.contains(task->guid()))
                found << which + QStringLiteral(" doubled ") + line;
            here.insert(task->guid(), line);
        }
        here.remove(QString());
        for (const QString &guid : here.keys() + there.keys()) {
            if (here.value(guid) != there.value(guid))
                found << QStringLiteral("%1 %2 here: %3\n  service: %4").arg(which, guid, here.value(guid), there.value(guid));
        }
        found.removeDuplicates();
        return found;
    }

private:
    std::mt19937 m_random;
    FakeService &m_service;
    FakeAccount &m_account;
    int m_names = 0;
};

class ConvergenceTest : public SyncTest, public ::testing::WithParamInterface<int>
{
protected:
    // One seed's story; the differences left at its end.
    QStringList play(unsigned seed)
    {
        FakeService fake;
        fake.exportEndpoints();
        FakeAccount &account = fake.addAccount("alice", Password.toStdString(), "s7");
        Scenario scenario(seed, fake, account);
        Device a;
        Device b;
        Device *devices[] = {&a, &b};
        for (Device *device : devices) {
            scenario.act(*device);
            if (!sync(*device))
                return {QStringLiteral("a device could not join")};
        }
        for (int round = 0; round < 6; ++round) {
            Device &device = *devices[scenario.pick(2)];
            for (int i = scenario.pick(4); i >= 0; --i)
                scenario.act(device);
            if (scenario.chance(15))
                scenario.expungeElsewhere();
            scenario.maybeFault();
            sync(device);
            fake.clearFaults();
        }
        for (int pass = 0; pass < 2; ++pass) {
            for (Device *device : devices) {
                if (!sync(*device))
                    return {QStringLiteral("a run failed after the faults stopped")};
            }
        }
        return scenario.differences(a, QStringLiteral("A")) + scenario.differences(b, QStringLiteral("B"));
    }
};

} // namespace

TEST_P(ConvergenceTest, TwoDevicesAndTheServiceAgreeOnceTheFaultsStop)
{
    const bool replay = qEnvironmentVariableIsSet("KELVARA_SEED");
    if (replay && GetParam() != 0)
        GTEST_SKIP();
    const unsigned first = replay ? unsigned(qEnvironmentVariableIntValue("KELVARA_SEED")) : unsigned(GetParam() * SeedsPerCase);
    for (unsigned seed = first; seed < first + (replay ? 1 : SeedsPerCase); ++seed) {
        const QStringList differences = play(seed);
        ASSERT_TRUE(differences.isEmpty()) << "KELVARA_SEED=" << seed << " replays it:\n"
                                          << differences.join(u'\n').toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ConvergenceTest, ::testing::Range(0, Cases));
