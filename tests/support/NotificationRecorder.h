#pragma once

#include "core/NotificationCenter.h"

// Counts the posts of one notification on the default centre while it lives, keeping the last.
class NotificationRecorder
{
public:
    explicit NotificationRecorder(const QString &name)
    {
        NotificationCenter::defaultCenter().addObserver(this, name, [this](const Notification &n) {
            ++count;
            last = n;
        });
    }
    ~NotificationRecorder() { NotificationCenter::defaultCenter().removeObserver(this); }
    NotificationRecorder(const NotificationRecorder &) = delete;
    NotificationRecorder &operator=(const NotificationRecorder &) = delete;

    int count = 0;
    Notification last;
};
