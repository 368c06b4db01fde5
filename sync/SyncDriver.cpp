#include "sync/SyncDriver.h"

#include "core/Defaults.h"
#include "core/MainThread.h"
#include "core/OperationQueue.h"
#include "core/SettingsKeys.h"
#include "service/THTTPClient.h"
#include "sync/FirstSync.h"
#include "sync/MainSync.h"

#include <utility>

SyncDriver::SyncDriver(OperationQueue &queue, std::function<ManagedObjectContext *()> context, QObject *parent)
    : QObject(parent)
    , m_queue(queue)
    , m_context(std::move(context))
{
    connect(&m_timer, &QTimer::timeout, this, &SyncDriver::timerFired);
}

SyncDriver::~SyncDriver()
{
    // The runs it stopped are over by now (their queue goes first): later exchanges go ahead.
    if (m_abandoned)
        THTTPClient::abandonExchanges(false);
}

bool SyncDriver::start(Kind kind)
{
    if (m_waiting->load())
        return true;
    ManagedObjectContext *context = m_context ? m_context() : nullptr;
    if (!context)
        return false;
    std::shared_ptr<SyncRun> run;
    if (kind == Kind::First)
        run = std::make_shared<FirstSync>(context);
    else
        run = std::make_shared<MainSync>(context);
    run->setProgressHandler([this](const SyncProgress &progress) {
        postToMainThread([this, progress] { emit this->progress(progress); }, this);
    });
    m_runs.insert(run);
    ++m_outstanding;
    m_waiting->store(true);
    m_queue.addOperation([run, waiting = m_waiting] {
        waiting->store(false);
        run->main();
    });
    return true;
}

int SyncDriver::runEnded()
{
    if (m_outstanding > 0)
        --m_outstanding;
    // Runs that have ended no longer need a way to be stopped.
    if (m_outstanding == 0) {
        m_runs.clear();
        if (std::exchange(m_abandoned, false))
            THTTPClient::abandonExchanges(false);
    }
    return m_outstanding;
}

void SyncDriver::startTimerSync()
{
    const Defaults &defaults = Defaults::standardUserDefaults();
    const double interval = defaults.doubleForKey(Key::SyncingInterval);
    if (!defaults.boolForKey(Key::firstSync) && defaults.boolForKey(Key::SyncingActive) && interval != MANUALLY
        && !m_timer.isActive())
        m_timer.start(int(interval * 1000));
}

void SyncDriver::restartTimerSync()
{
    m_timer.stop();
    startTimerSync();
}

void SyncDriver::stopRuns()
{
    for (const std::shared_ptr<SyncRun> &run : m_runs)
        run->stop();
    // A request waiting on a service that does not answer would hold the run for its whole
    // timeout; it ends now, as a transport failure, before anything it would have written back.
    if (!m_runs.empty()) {
        THTTPClient::abandonExchanges(true);
        m_abandoned = true;
    }
}
