#pragma once

#include <QMutex>
#include <QString>

#include <optional>

// The service account's user name and password for the whole process. The preferences window
// and the launch sequence write them on the main thread while synchronisation runs read them on
// the worker, so every read and every write holds the lock: a reader sees either the old value
// or the new one, never a mix. std::nullopt means "none" (cleared), distinct from an empty text.
class SharedData
{
public:
    static SharedData *sharedManager();

    std::optional<QString> userName() const;
    void setUserName(const std::optional<QString> &userName);
    std::optional<QString> password() const;
    void setPassword(const std::optional<QString> &password);

    SharedData(const SharedData &) = delete;
    SharedData &operator=(const SharedData &) = delete;
    SharedData(SharedData &&) = delete;
    SharedData &operator=(SharedData &&) = delete;

private:
    SharedData() = default;
    ~SharedData() = default;

    mutable QMutex m_mutex;
    std::optional<QString> m_userName;
    std::optional<QString> m_password;
};
