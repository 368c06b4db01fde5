#include "sync/SyncRun.h"

#include "core/Defaults.h"
#include "core/Log.h"
#include "core/MainThread.h"
#include "core/NotificationCenter.h"
#include "core/SettingsKeys.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "sync/EvernoteSync.h"
#include "sync/SyncFailureMessage.h"
#include "sync/SyncSession.h"

#include <stdexcept>

SyncRun::SyncRun(ManagedObjectContext *moc)
    : m_moc(moc)
{
}

SyncRun::~SyncRun() = default;

void SyncRun::main()
{
    QVariantMap result{{QStringLiteral("success"), false}};
    try {
        if (m_stop->load())
            throw std::runtime_error("synchronisation stopped");
        if (std::unique_ptr<EvernoteSync> service = EvernoteSync::init()) {
            const auto stored = blockingCallOnMainThread(
                [] { return int32_t(Defaults::standardUserDefaults().integerForKey(Key::chunkHighUSN)); });
            SyncSession session(*m_moc, *service, startingMark(stored));
            session.setStopFlag(m_stop);
            session.setProgressHandler(m_progress);
            try {
                steps(session);
            } catch (...) {
                // What was taken in before the failure need not be fetched again; the mark
                // never passes what was not.
                try {
                    session.storeMark();
                } catch (...) {
                }
                throw;
            }
            result[QStringLiteral("success")] = true;
        }
    } catch (const std::exception &e) {
        Log::line(QStringLiteral("Excepción en sincronización: %@"), {QString::fromUtf8(e.what())});
        result[QStringLiteral("message")] = SyncFailureMessage::forException(std::current_exception());
    } catch (...) {
        Log::line(QStringLiteral("Excepción en sincronización: %@"), {QStringLiteral("unknown exception")});
        result[QStringLiteral("message")] = SyncFailureMessage::forException(std::current_exception());
    }
    launchHideSyncStatusNotification(result);
}

MyNotebook *SyncRun::notebookWithGuid(const QString &guid) const
{
    const QList<ManagedObject *> found =
        m_moc->fetch(QLatin1String(MyNotebook::entityName), Predicate::withFormat(QStringLiteral("guid like %@"), {guid}));
    return found.isEmpty() ? nullptr : static_cast<MyNotebook *>(found.first());
}

QList<MyTag *> SyncRun::tagsForGuidsArray(const std::vector<std::string> &guids) const
{
    QList<MyTag *> tags;
    for (const std::string &guid : guids) {
        const QList<ManagedObject *> found = m_moc->fetch(
            QLatin1String(MyTag::entityName),
            Predicate::withFormat(QStringLiteral("guid like %@"), {QString::fromStdString(guid)}));
        if (!found.isEmpty() && !tags.contains(static_cast<MyTag *>(found.first())))
            tags.push_back(static_cast<MyTag *>(found.first()));
    }
    return tags;
}

void SyncRun::launchHideSyncStatusNotification(const QVariantMap &result)
{
    NotificationCenter::defaultCenter().post(QStringLiteral("hideSyncStatus"), this, result);
}
