#include "core/NotificationCenter.h"

#include <QMutexLocker>

#include <algorithm>

NotificationCenter &NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::ObserverId NotificationCenter::addObserver(const void *owner, const QString &name,
                                                               Handler handler, const void *object)
{
    QMutexLocker lock(&m_mutex);
    const ObserverId id = m_nextId++;
    m_observers.push_back({id, owner, name, object, std::move(handler), std::make_shared<bool>(true)});
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
    // Deliver outside the lock, so that handlers may post, add and remove observers.
    std::vector<std::pair<Handler, std::shared_ptr<bool>>> targets;
    {
        QMutexLocker lock(&m_mutex);
        for (const Observer &o : m_observers) {
            if (o.name == notification.name && (!o.object || o.object == notification.object))
                targets.emplace_back(o.handler, o.alive);
        }
    }
    for (const auto &[handler, alive] : targets) {
        bool stillObserving;
        {
            QMutexLocker lock(&m_mutex);
            stillObserving = *alive;
        }
        if (stillObserving)
            handler(notification);
    }
}

void NotificationCenter::post(const QString &name, const void *object, const QVariantMap &userInfo)
{
    post(Notification{name, object, userInfo});
}

int NotificationCenter::observerCount(const QString &name) const
{
    QMutexLocker lock(&m_mutex);
    return int(std::count_if(m_observers.begin(), m_observers.end(),
                             [&](const Observer &o) { return o.name == name; }));
}
