#pragma once

#include "tests/sync/ServiceTest.h"

#include "content/CompletedContent.h"
#include "content/DueDateContent.h"
#include "content/TaskContent.h"
#include "core/Defaults.h"
#include "core/NotificationCenter.h"
#include "core/OperationQueue.h"
#include "core/SettingsKeys.h"
#include "sync/FirstSync.h"
#include "sync/MainSync.h"
#include "tests/support/TempStore.h"
#include "tests/support/WaitUntil.h"

#include <QVariantMap>

#include <memory>
#include <optional>

// One device: a store of its own and the settings the runs keep. The process has one settings
// store, so a device's settings are put in place for its run and taken back after it.
struct Device
{
    TempStore store;
    QVariantMap settings{{QString::fromLatin1(Key::firstSync), true}, {QString::fromLatin1(Key::chunkHighUSN), 0}};

    ManagedObjectContext &context() { return store.context(); }
    int32_t chunkHighUSN() const { return settings.value(QString::fromLatin1(Key::chunkHighUSN)).toInt(); }
    bool firstSync() const { return settings.value(QString::fromLatin1(Key::firstSync)).toBool(); }
    template <typename T>
    QList<T *> all(const QString &predicate = {}, const QVariantList &arguments = {})
    {
        QList<T *> result;
        const Predicate filter = predicate.isEmpty() ? Predicate() : Predicate::withFormat(predicate, arguments);
        for (ManagedObject *o : context().fetch(QLatin1String(T::entityName), filter))
            result.push_back(static_cast<T *>(o));
        return result;
    }
};

// Alice's account on the fake service and "this device"; a run goes through the real operation
// queue, whose worker reaches the store through the main thread while the test waits.
class SyncTest : public ServiceTest
{
protected:
    // A run of the kind the device's "firstSync" asks for, waited for to its "hideSyncStatus";
    // whether it succeeded.
    bool sync(Device &device)
    {
        Defaults &defaults = Defaults::standardUserDefaults();
        for (auto it = device.settings.cbegin(); it != device.settings.cend(); ++it) {
            if (it.value().isValid())
                defaults.setObject(it.key(), it.value());
            else
                defaults.removeObjectForKey(it.key());
        }
        std::shared_ptr<SyncRun> run;
        if (device.firstSync())
            run = std::make_shared<FirstSync>(&device.context());
        else
            run = std::make_shared<MainSync>(&device.context());
        std::optional<bool> success;
        NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("hideSyncStatus"), [&](const Notification &n) {
            success = n.userInfo.value(QStringLiteral("success")).toBool();
        });
        queue.addOperation([run] { run->main(); });
        queue.waitUntilAllOperationsAreFinished();
        EXPECT_TRUE(waitUntil([&] { return success.has_value(); }));
        NotificationCenter::defaultCenter().removeObserver(this);
        for (const char *key : {Key::firstSync, Key::chunkHighUSN, Key::defaultNotebook})
            device.settings[QString::fromLatin1(key)] = defaults.objectForKey(key);
        return success.value_or(false);
    }

    // The task here, and the note on the service, with that guid or title.
    MyNote *task(const std::string &key)
    {
        for (MyNote *task : here.all<MyNote>()) {
            if (task->guid().toStdString() == key || task->title().toStdString() == key)
                return task;
        }
        return nullptr;
    }
    EDAMNote serviceNote(const std::string &key) const
    {
        for (const EDAMNote &note : alice.notes()) {
            if (note.guid == key || note.title == key)
                return note;
        }
        ADD_FAILURE() << "no note " << key << " on the service";
        return {};
    }
    int32_t updateCount() const { return alice.syncChunk(0, 1, false).updateCount; }

    static std::string content(const QString &body)
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<!DOCTYPE en-note SYSTEM \"http://xml.evernote.com/pub/enml2.dtd\">\n<en-note>"
               + body.toStdString() + "</en-note>";
    }

    OperationQueue queue;
    Device here;
};
