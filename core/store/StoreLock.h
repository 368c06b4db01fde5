#pragma once

#include <QString>

#include <memory>

// Keeps two processes from writing one store: an exclusive lock (flock) on the file
// "<store>.lock" beside the store, held while the store is open. Within one process the lock is
// shared, so that a second look at the same store (tests, tools) does not lock itself out.
// The kernel drops the lock when the process ends, however it ends.
class StoreLock
{
public:
    // The lock on the store at `storePath`, or nullptr when another process holds it; then
    // `holder` is that process's id when it left one. Where no lock file can be made (a folder
    // that cannot be written), nobody can write the store either and a lock that locks nothing
    // is returned.
    static std::shared_ptr<StoreLock> acquire(const QString &storePath, qint64 *holder = nullptr);
    static QString lockPath(const QString &storePath);

    ~StoreLock();
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;

private:
    explicit StoreLock(int fd);

    int m_fd;
};
