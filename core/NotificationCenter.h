#pragma once

#include "core/Notification.h"

#include <QMutex>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <vector>

// Named notifications delivered synchronously, on the posting thread, to every observer of
// that name (optionally only for one sender). Posting from a worker is safe; an observer that
// must touch widgets hops to the main thread itself. Observers may be added or removed while a
// notification is being delivered: one removed during delivery is not called afterwards.
class NotificationCenter
{
public:
    using Handler = std::function<void(const Notification &)>;
    using ObserverId = quint64;

    static NotificationCenter &defaultCenter();

    // `owner` groups observers for removeObserver(owner); `object`, when given, filters senders.
    ObserverId addObserver(const void *owner, const QString &name, Handler handler,
                           const void *object = nullptr);
    void removeObserver(ObserverId id);
    void removeObserver(const void *owner); // every observer of that owner
    void removeObserver(const void *owner, const QString &name);

    void post(const Notification &notification);
    void post(const QString &name, const void *object = nullptr, const QVariantMap &userInfo = {});

    int observerCount(const QString &name) const;

private:
    struct Observer
    {
        ObserverId id;
        const void *owner;
        QString name;
        const void *object;
        Handler handler;
        std::shared_ptr<bool> alive;
    };
    mutable QMutex m_mutex;
    std::vector<Observer> m_observers;
    ObserverId m_nextId = 1;
};
