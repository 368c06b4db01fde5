#pragma once

#include "core/NotificationCenter.h"

#include <QList>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <iterator>

// Records, in order, the posts of the watched notifications on the default centre while it lives.
class NotificationRecorder
{
public:
    explicit NotificationRecorder(const QStringList &watched)
    {
        for (const QString &name : watched)
            NotificationCenter::defaultCenter().addObserver(this, name, [this](const Notification &n) { posts << n; });
    }
    explicit NotificationRecorder(const QString &name) : NotificationRecorder(QStringList{name}) {}
    ~NotificationRecorder() { NotificationCenter::defaultCenter().removeObserver(this); }
    NotificationRecorder(const NotificationRecorder &) = delete;
    NotificationRecorder &operator=(const NotificationRecorder &) = delete;

    int count() const { return int(posts.size()); }
    int count(const QString &name) const
    {
        return int(std::count_if(posts.begin(), posts.end(), [&](const Notification &n) { return n.name == name; }));
    }
    QVariant lastInfo(const QString &key) const { return posts.isEmpty() ? QVariant() : posts.last().userInfo.value(key); }
    // The names posted, in order; with a sender, only those it posted.
    QStringList names(const void *sender = nullptr) const
    {
        QStringList result;
        for (const Notification &n : posts) {
            if (!sender || n.object == sender)
                result << n.name;
        }
        return result;
    }
    QList<const void *> senders() const
    {
        QList<const void *> result;
        std::transform(posts.begin(), posts.end(), std::back_inserter(result), [](const Notification &n) { return n.object; });
        return result;
    }

    QList<Notification> posts;
};
