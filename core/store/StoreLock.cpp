#include "core/store/StoreLock.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
QMutex registryMutex;

QHash<QString, std::weak_ptr<StoreLock>> &registry()
{
    static QHash<QString, std::weak_ptr<StoreLock>> locks;
    return locks;
}

qint64 readHolder(int fd)
{
    char buffer[32] = {};
    const ssize_t n = pread(fd, buffer, sizeof buffer - 1, 0);
    return n > 0 ? QByteArray(buffer, int(n)).trimmed().toLongLong() : 0;
}
} // namespace

QString StoreLock::lockPath(const QString &storePath)
{
    return storePath + QStringLiteral(".lock");
}

StoreLock::StoreLock(int fd)
    : m_fd(fd)
{
}

StoreLock::~StoreLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

std::shared_ptr<StoreLock> StoreLock::acquire(const QString &storePath, qint64 *holder)
{
    const QString path = lockPath(QFileInfo(storePath).absoluteFilePath());
    QMutexLocker lock(&registryMutex);
    if (std::shared_ptr<StoreLock> held = registry().value(path).lock())
        return held;

    const QByteArray name = QFile::encodeName(path);
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC); // a lock is taken on a read-only file too
    if (fd < 0) {
        std::shared_ptr<StoreLock> none(new StoreLock(-1));
        registry().insert(path, none);
        return none;
    }
    int rc;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        if (holder)
            *holder = readHolder(fd);
        ::close(fd);
        return nullptr;
    }
    // Who holds it, for the message another launch shows.
    const QByteArray pid = QByteArray::number(qint64(getpid())) + '\n';
    if (ftruncate(fd, 0) == 0) // a read-only lock file still locks; only the id is missing then
        (void)!pwrite(fd, pid.constData(), size_t(pid.size()), 0);
    std::shared_ptr<StoreLock> acquired(new StoreLock(fd));
    registry().insert(path, acquired);
    return acquired;
}
