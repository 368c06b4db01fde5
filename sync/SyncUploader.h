#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class ManagedObject;
class MyNote;
class SyncChunks;
class SyncSession;
class SyncWriteScope;

// The sending half of a run: deletions, new and changed notebooks, tags and tasks, one request
// each. Every object is read in one short hop, sent with no store object in hand, and written
// back in another hop, which first checks that the object is still there. A write-back clears
// needUpdate only when the user has not changed the object since it was read: an edit made
// while its old version was on the way stays marked, and goes out with the next run.
class SyncUploader
{
public:
    explicit SyncUploader(SyncSession &session);

    // A deletion the service refuses (it keeps an account's default notebook) is taken back
    // here too: removed on one side only, the notebook's notes from elsewhere would find no
    // notebook here. One the service had expunged already (the chunks say so) leaves.
    void sendDeletedNotebooks(const SyncChunks &chunks);
    void sendNewNotebooks();
    void sendChangedNotebooks();
    void sendDeletedTags(const SyncChunks &chunks);
    void sendNewTags();
    void sendChangedTags();
    // A task whose notebook is not on the service (not sent yet, or expunged there, as the
    // chunks say) waits, marked: the service would refuse it with an exception that ends every
    // run at that point.
    void sendNewTasks(const SyncChunks &chunks);
    // A task whose note in the fetched chunks is newer by the server-newer rule is not sent:
    // the chunk's version is applied to it later in the run. It waits for its notebook as above.
    void sendChangedTasks(const SyncChunks &chunks);
    // Some task waited for a notebook the chunks say the service expunged: applying the
    // expunge moves it, and it can go out in the same run.
    bool heldBack() const { return m_heldBack; }

private:
    // One object through the three stages; `Prepared` is what the first hop reads, `Sent` what
    // the service answered.
    template <typename Prepared, typename Sent>
    struct Stages
    {
        std::function<std::optional<Prepared>(ManagedObject *)> prepare; // in a hop; none: not now
        std::function<std::optional<Sent>(const Prepared &)> send;       // on the worker; none: refused
        // In a hop, on a live object; `unchanged` says the user did not touch it meanwhile.
        std::function<void(SyncWriteScope &, ManagedObject *, const Sent &, bool unchanged)> writeBack;
        // On the worker, for a new object the user removed while it was being created: removes
        // it from the service; the number of that change, or -1. None for changes.
        std::function<int32_t(const Sent &)> takeBack = {};
    };
    template <typename Prepared, typename Sent>
    void sendEach(const char *entityName, const QString &predicate, const char *message,
                  const Stages<Prepared, Sent> &stages);
    void sendDeleted(const char *entityName, const char *message, const std::vector<std::string> &expunged,
                     const std::function<int32_t(const QString &)> &remove);

    // In a hop: whether the task's notebook is on the service, as far as this run knows.
    bool notebookOnService(const MyNote &task, const SyncChunks &chunks);
    // In a hop, before a changed notebook or tag takes the number of its update.
    void rememberUsn(ManagedObject *object);

    SyncSession &m_session;
    bool m_heldBack = false;
};
