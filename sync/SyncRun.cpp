#include "sync/SyncRun.h"

#include "core/Defaults.h"
#include "core/Log.h"
#include "core/MainThread.h"
#include "core/NotificationCenter.h"
#include "core/SettingsKeys.h"
#include "core/store/ManagedObjectContext.h"
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

void SyncRun::launchHideSyncStatusNotification(const QVariantMap &result)
{
    NotificationCenter::defaultCenter().post(QStringLiteral("hideSyncStatus"), this, result);
}
