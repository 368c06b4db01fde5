#pragma once

#include "core/Notification.h"

#include <QMutex>
#include <QString>
#include <QVariantMap>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// Named notifications delivered to every observer of that name (optionally only for one sender).
// Observers are views and the delegate, which touch widgets and the store: by default an observer
// is called on the main thread, at once when the post is made there (the views rely on that
// order) and through the main thread's event loop when a worker posts. An observer removed
// before such a queued delivery runs is not called (its owner may be gone); remove observers on
// the main thread for that to hold. Observers may be added or removed while a notification is
// being delivered: one removed during delivery is not called afterwards.
class NotificationCenter
{
public:
    using Handler = std::function<void(const Notification &)>;
    using ObserverId = quint64;

    enum class Delivery {
        MainThread,    // on the main thread: at once when posted there, queued to it otherwise
        PostingThread, // at once, on whatever thread posts
    };

    static NotificationCenter &defaultCenter();

    // `owner` groups observers for removeObserver(owner); `object`, when given, filters senders.
    ObserverId addObserver(const void *owner, const QString &name, Handler handler,
                           const void *object = nullptr, Delivery delivery = Delivery::MainThread);
    void removeObserver(ObserverId id);
    void removeObserver(const void *owner); // every observer of that owner
    void removeObserver(const void *owner, const QString &name);

    void post(const Notification &notification);
    void post(const QString &name, const void *object = nullptr, const QVariantMap &userInfo = {});


private:
    struct Observer
    {
        ObserverId id;
        const void *owner;
        QString name;
        const void *object;
        Handler handler;
        Delivery delivery;
        // Shared with deliveries under way or queued, which may outlive the observer (and the
        // centre).
        std::shared_ptr<std::atomic<bool>> alive;
    };
    mutable QMutex m_mutex;
    std::vector<Observer> m_observers;
    ObserverId m_nextId = 1;
};
