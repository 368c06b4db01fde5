#include "core/NotificationCenter.h"

#include "core/MainThread.h"

#include <QMutexLocker>

#include <algorithm>

NotificationCenter &NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::ObserverId NotificationCenter::addObserver(const void *owner, const QString &name,
                                                               Handler handler, const void *object,
                                                               Delivery delivery)
{
    QMutexLocker lock(&m_mutex);
    const ObserverId id = m_nextId++;
    m_observers.push_back(
        {id, owner, name, object, std::move(handler), delivery, std::make_shared<std::atomic<bool>>(true)});
    return id;
}

void NotificationCenter::removeObserver(ObserverId id)
{
    QMutexLocker lock(&m_mutex);
    std::erase_if(m_observers, [&](Observer &o) {
        if (o.id != id)
            return false;
        *o.alive = false;
        return true;
    });
}

void NotificationCenter::removeObserver(const void *owner)
{
    QMutexLocker lock(&m_mutex);
    std::erase_if(m_observers, [&](Observer &o) {
        if (o.owner != owner)
            return false;
        *o.alive = false;
        return true;
    });
}

void NotificationCenter::removeObserver(const void *owner, const QString &name)
{
    QMutexLocker lock(&m_mutex);
    std::erase_if(m_observers, [&](Observer &o) {
        if (o.owner != owner || o.name != name)
            return false;
        *o.alive = false;
        return true;
    });
}

void NotificationCenter::post(const Notification &notification)
{
    using Target = std::pair<Handler, std::shared_ptr<std::atomic<bool>>>;
    // Deliver outside the lock, so that handlers may post, add and remove observers.
    std::vector<Target> now, onMainThread;
    const bool postedOnMainThread = isMainThread();
    {
        QMutexLocker lock(&m_mutex);
        for (const Observer &o : m_observers) {
            if (o.name != notification.name || (o.object && o.object != notification.object))
                continue;
            const bool queued = o.delivery == Delivery::MainThread && !postedOnMainThread;
            (queued ? onMainThread : now).emplace_back(o.handler, o.alive);
        }
    }
    const auto deliver = [](const std::vector<Target> &targets, const Notification &n) {
        for (const auto &[handler, alive] : targets) {
            if (*alive)
                handler(n);
        }
    };
    deliver(now, notification);
    // One queued call for all of them keeps their order.
    if (!onMainThread.empty())
        postToMainThread([deliver, targets = std::move(onMainThread), notification] { deliver(targets, notification); });
}

void NotificationCenter::post(const QString &name, const void *object, const QVariantMap &userInfo)
{
    post(Notification{name, object, userInfo});
}

