#include "core/credentials/SharedData.h"

#include <QMutexLocker>

SharedData *SharedData::sharedManager()
{
    // Never destroyed: a synchronisation run still finishing on the worker at exit may read it
    // after static destructors have started.
    static SharedData *const instance = new SharedData;
    return instance;
}

std::optional<QString> SharedData::userName() const
{
    QMutexLocker lock(&m_mutex);
    return m_userName;
}

void SharedData::setUserName(const std::optional<QString> &userName)
{
    QMutexLocker lock(&m_mutex);
    m_userName = userName;
}

std::optional<QString> SharedData::password() const
{
    QMutexLocker lock(&m_mutex);
    return m_password;
}

void SharedData::setPassword(const std::optional<QString> &password)
{
    QMutexLocker lock(&m_mutex);
    m_password = password;
}
