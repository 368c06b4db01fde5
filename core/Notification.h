#pragma once

#include <QString>
#include <QVariantMap>

// A named event with its sender (compared by identity only) and its user info.
struct Notification
{
    QString name;
    const void *object = nullptr;
    QVariantMap userInfo;
};
